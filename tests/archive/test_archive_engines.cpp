// The archive's commands as the case fund window gives them: the list's filter and tooltips, the
// questions when another clerk changed the case, a load of a case deleted meanwhile; and the
// import tool, eight clerks at once and the office's setup script on the server. Rows named "pg"
// need the tests' own server (VARNEL_TEST_PG); without it they are skipped.
#ifdef _WIN32
#include <winsock2.h> // before windows.h, which the Qt headers bring
#endif
#include "archive/case_import.h"
#include "box_answerer.h"
#include "casefund/case_fund_window.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "service_fixture.h"
#include "window_test.h"

#include <QAction>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>

namespace {

using Rows = QList<QStringList>;

// Texts that would end a quoted literal, start a comment, end a statement or be read as an
// escape if they reached the SQL text unguarded.
const Rows 交款{{"O'Brien", "100", "C:\\案卷\\", "a;b -- c"}, {"Null", "'", "\\'", "  "}};
const Rows 债权{{"丙'; DELETE FROM 案件; --", "80", "一般债权", "", "", "/* x */"},
                {"", "", "", "", "", ""}};

} // namespace

class TestArchiveEngines : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void importCases_data();
    void importCases();
    void listFilter_data();
    void listFilter();
    void longNamesShowWholeAsTooltip();
    void changedElsewhere_data();
    void changedElsewhere();
    void eightClerksAtOnce();
    void loadAfterTheCaseWasDeleted();
    void loadShowsTheBusyCursor();
    void setupRemovesRowsWithoutACase();

  private:
    // The case fund window on a varnel.db of its own.
    bool openWindow() {
        if (!用档案(archive, QStringLiteral("sqlite")) || !archive->ok)
            return false;
        w = std::make_unique<Fo案款分配计算>();
        w->show();
        return true;
    }
    void fill(Fo案款分配计算 &window) {
        auto put = [](FlexGrid *g, const Rows &rows) {
            g->setRows(1 + int(rows.size()));
            for (int r = 0; r < rows.size(); ++r)
                for (int k = 0; k < rows[r].size(); ++k)
                    g->setTextMatrix(r + 1, k, rows[r][k]);
        };
        put(window.MSFjk, 交款);
        put(window.MSFzc, 债权);
    }
    static Rows grid(FlexGrid *g) { return gridRows(g); }
    QStringList command(QAction *action, QMessageBox::StandardButton answer = QMessageBox::Yes,
                        const QString &input = QString()) {
        BoxAnswerer answerer(answer, input);
        action->trigger();
        return answerer.texts;
    }

    std::unique_ptr<EngineArchive> archive;
    std::unique_ptr<Fo案款分配计算> w;
};

void TestArchiveEngines::init() {}

void TestArchiveEngines::cleanup() {
    w.reset();
    archive.reset();
    数据库设置::语句记录 = nullptr;
    消息框::应答器 = nullptr;
}

// A PC's varnel.db brought into the server archive: oldest first, cells and names cleaned as a
// save cleans them, a blank name given one, a name already there renamed, a case already there
// skipped, a number that does not fit reported, nothing copied twice, the file untouched. With no
// server in the settings (the SQLite rows) nothing is imported, and the message names the file.
void TestArchiveEngines::importCases_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("ini"); // for the SQLite rows: varnel.ini's text; none: no file
    QTest::newRow("pg") << "pg" << QString();
    QTest::newRow("sqlite, no settings file") << "sqlite" << QString();
    QTest::newRow("sqlite, connection commented out")
        << "sqlite" << "[archive]\n;connection=host=db dbname=varnel\n";
}

void TestArchiveEngines::importCases() {
    QFETCH(QString, engine);
    QFETCH(QString, ini);
    OPEN_ARCHIVE(engine);
    QVERIFY(存新案(QStringLiteral("甲"), {交款, 债权}) >= 1);
    QTemporaryDir pc;
    const QString file = pc.filePath(QStringLiteral("varnel.db"));
    QVERIFY(makeCaseDatabase(
        file, QStringLiteral(
                  "INSERT INTO 案件 (名称) VALUES ('乙''案'), ('甲'), ('丙'), ('   ');"
                  "INSERT INTO 案件 (ajid, 名称) VALUES (3000000000, '大号');"
                  "INSERT INTO 交款 (ajid, 交款人, 金额) VALUES (2, '张三', '100'), (2, NULL, '5');"
                  "INSERT INTO 交款 (ajid, 交款人, 金额) VALUES (3, '  王五', ' 7 ');"
                  "INSERT INTO 债权 (ajid, 债权人, 备注) VALUES (1, '李四', '  ');")));
    QFile source(file);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    source.close();
    QString report;
    QTextStream out(&report);
    if (!archive->server) {
        const QString iniFile = archive->dir.filePath(QStringLiteral("varnel.ini"));
        if (!ini.isEmpty()) {
            QFile f(iniFile);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(ini.toUtf8()) > 0);
        }
        try {
            导入案件(file, out);
            QFAIL("imported without a server");
        } catch (const VarnelError &e) {
            QVERIFY2(e.description().contains(QStringLiteral("没有导入")), qPrintable(e.description()));
            QVERIFY2(e.description().contains(QDir::toNativeSeparators(iniFile)),
                     qPrintable(e.description()));
        }
        QCOMPARE(archive->rows("SELECT count(*) FROM 案件"), (Rows{{"1"}}));
        return;
    }
    QCOMPARE(导入案件(file, out), 4);
    QVERIFY2(report.contains(QStringLiteral("案件号 3000000000 超出范围，跳过：大号")), qPrintable(report));
    QCOMPARE(report.split(u'\n').value(5), QStringLiteral("共 5 个案件：复制 4 个，跳过 1 个。"));
    const Rows names = archive->rows("SELECT 名称 FROM 案件 ORDER BY ajid");
    QCOMPARE(names, (Rows{{"甲"}, {"乙'案"}, {"甲 (2)"}, {"丙"}, {"未命名案件"}}));
    QCOMPARE(archive->rows("SELECT 交款人, 金额 FROM 交款 JOIN 案件 ON 案件.ajid = 交款.ajid "
                           "WHERE 名称 IN ('甲 (2)', '丙') ORDER BY id"),
             (Rows{{"张三", "100"}, {"<NULL>", "5"}, {"王五", "7"}}));
    report.clear();
    QCOMPARE(导入案件(file, out), 0);
    QCOMPARE(report.count(QStringLiteral("已有，跳过")), 4);
    QCOMPARE(archive->rows("SELECT count(*) FROM 案件"), (Rows{{"5"}}));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QCOMPARE(source.readAll(), bytes);
}

// The filter above the list: names containing the typed text, letter case ignored; Enter loads
// the last case shown, as 确定 does.
void TestArchiveEngines::listFilter_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("loaded"); // the case Enter loads; empty: none
    QTest::newRow("nothing typed")
        << "" << QStringList{"（2024）执字第1号", "Abc公司", "xaBd"} << "xaBd";
    QTest::newRow("letter case ignored") << "AB" << QStringList{"Abc公司", "xaBd"} << "xaBd";
    QTest::newRow("inside the name")
        << "执字" << QStringList{"（2024）执字第1号"} << "（2024）执字第1号";
    QTest::newRow("no name") << "zz" << QStringList{} << "";
    QTest::newRow("half-width brackets find full-width ones")
        << "(2024)" << QStringList{"（2024）执字第1号"} << "（2024）执字第1号";
    QTest::newRow("full-width letters") << "ＡＢ" << QStringList{"Abc公司", "xaBd"} << "xaBd";
}

void TestArchiveEngines::listFilter() {
    QFETCH(QString, typed);
    QFETCH(QStringList, shown);
    QFETCH(QString, loaded);
    QVERIFY(openWindow());
    for (const QString &name : QStringList{"（2024）执字第1号", "Abc公司", "xaBd"})
        存新案(name, {{{name, "", "", ""}}, {}});
    command(w->读出内容);
    auto *filter = child<QLineEdit>(w.get(), "Txt案件筛选");
    QVERIFY(filter->y() < w->MSFysj->y());
    for (const QChar c : typed) { // typed one character at a time; Chinese too
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(filter, &press);
    }
    QStringList visible;
    for (int row = 1; row < w->MSFysj->Rows(); ++row)
        if (!w->MSFysj->isRowHidden(row - 1))
            visible << w->MSFysj->TextMatrix(row, 1);
    QCOMPARE(visible, shown);
    BoxAnswerer guard;
    QTest::keyClick(filter, Qt::Key_Return);
    QVERIFY(!w->Pic原数据->isVisible());
    QCOMPARE(w->MSFjk->TextMatrix(1, 0), loaded);
}

void TestArchiveEngines::longNamesShowWholeAsTooltip() {
    QVERIFY(openWindow());
    const QString longName = QString(u'长').repeated(40);
    for (const QString &name : QStringList{QStringLiteral("短"), longName})
        存新案(name, {});
    command(w->读出内容);
    QCOMPARE(w->MSFysj->TextMatrix(2, 1), longName);
    for (int row : {1, 2}) {
        QToolTip::hideText();
        const QRect cell = w->MSFysj->visualRect(w->MSFysj->model()->index(row - 1, 1));
        QHelpEvent help(QEvent::ToolTip, cell.center(),
                        w->MSFysj->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(w->MSFysj->viewport(), &help);
        QCOMPARE(QToolTip::text(), row == 2 ? longName : QString());
    }
}

void TestArchiveEngines::changedElsewhere_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("yes");
    QTest::newRow("save, No keeps the other clerk's rows") << "save" << false;
    QTest::newRow("save, Yes saves this window's rows") << "save" << true;
    QTest::newRow("delete, No keeps the case") << "delete" << false;
    QTest::newRow("delete, Yes deletes it") << "delete" << true;
}

// The window holds a stored case that another clerk saved since (what the archive answers:
// test_case_archive.cpp). Its save or delete asks, and acts only on Yes; after Yes to a save the
// other clerk's rows were overwritten knowingly and the next save asks only the routine
// question; after No every save asks again.
void TestArchiveEngines::changedElsewhere() {
    QFETCH(QString, command);
    QFETCH(bool, yes);
    QVERIFY(openWindow());
    fill(*w);
    this->command(w->存入内容, QMessageBox::Yes, QStringLiteral("甲"));
    const std::int32_t id = w->当前案件号();
    案件行 others = *读出存储案件(id);
    others.交款[0][0] = QStringLiteral("别人改的");
    QCOMPARE(int(保存(id, {}, others, *读出存储案件(id)).结果), int(写入结果::已成));
    w->MSFjk->setTextMatrix(2, 0, QStringLiteral("我改的"));
    QStringList boxes, titles;
    消息框::应答器 = [&](消息框::框类, const QString &text, const QString &caption) {
        boxes << text;
        titles << caption;
        return 消息框::框应答{!text.startsWith(QStringLiteral("这个案件在你读出以后")) || yes, {}};
    };
    const bool save = command == QLatin1String("save");
    if (save)
        w->存入内容->trigger();
    else
        w->Com删除案件->click();
    const QString question =
        save ? QStringLiteral("这个案件在你读出以后已被别人修改，保存会覆盖别人的修改。"
                              "确实要保存点“是”，取消保存点“否”。")
             : QStringLiteral("这个案件在你读出以后已被别人修改，删除会同时删除别人的"
                              "修改。确实要删除点“是”，取消删除点“否”。");
    QCOMPARE(boxes.value(1), question);
    QCOMPARE(titles.value(1), save ? QStringLiteral("保存提示") : QStringLiteral("删除提示"));
    QCOMPARE(boxes.size(), yes ? 3 : 2);
    const Rows payers = archive->rows("SELECT 交款人 FROM 交款 ORDER BY id");
    if (!save) {
        消息框::应答器 = nullptr;
        QCOMPARE(payers.value(0), yes ? QStringList{} : QStringList{"别人改的"});
        QCOMPARE(w->当前案件号() == 0, yes);
        return;
    }
    QCOMPARE(payers.value(0), QStringList{yes ? "O'Brien" : "别人改的"});
    QCOMPARE(payers.value(1), QStringList{yes ? "我改的" : "Null"});
    boxes.clear();
    w->存入内容->trigger();
    消息框::应答器 = nullptr;
    QCOMPARE(boxes.value(1), yes ? QStringLiteral("保存成功！") : question);
}

// Eight clerks at once against one server, each calling the archive as the window does (the
// duration is cut to 10 s to keep the test run short): afterwards no case holds rows of another
// or half a save, every save that was done is stored unless its clerk deleted or saved the case
// again, and of the eight new cases saved under one name at the same moment exactly one is
// stored.
void TestArchiveEngines::eightClerksAtOnce() {
    OPEN_ARCHIVE(QStringLiteral("pg"));
    QList<QProcess *> clerks;
    for (int k = 1; k <= 8; ++k) {
        auto *p = new QProcess(this);
        p->start(QStringLiteral(VARNEL_CLERK),
                 {archive->dir.path(), QString::number(k), QStringLiteral("10")});
        clerks << p;
    }
    QMap<QString, QString> last; // case name → tag of its last save, empty after a delete
    QStringList sharedTags;
    int sameName = 0;
    for (QProcess *p : clerks) {
        QVERIFY(p->waitForFinished(60000));
        QCOMPARE(p->exitCode(), 0);
        // Windows ends the lines with \r\n.
        for (const QString &line : QString::fromUtf8(p->readAllStandardOutput()).split(u'\n')) {
            const QStringList f = line.trimmed().split(u' ');
            if (f.size() < 2)
                continue;
            const QString tag = f[0] == QStringLiteral("saved") ? f.value(2) : QString();
            if (f[1] == QStringLiteral("同名"))
                ++sameName;
            else if (f[1] == QStringLiteral("公共"))
                sharedTags << tag;
            else
                last[f[1]] = tag;
        }
    }
    QCOMPARE(sameName, 1);
    const Rows cases = archive->rows("SELECT ajid, 名称 FROM 案件");
    QMap<QString, QString> stored;
    for (const QStringList &c : cases) {
        const Rows pay = archive->rows("SELECT 交款人, 备注 FROM 交款 WHERE ajid = " + c[0]);
        const Rows debt = archive->rows("SELECT 债权人, 备注 FROM 债权 WHERE ajid = " + c[0]);
        const QString tag = pay.value(0).value(1);
        QVERIFY2(!stored.contains(c[1]), qPrintable(c[1]));
        stored[c[1]] = tag;
        QCOMPARE(QString::number(pay.size()), tag.section(u'/', 2));
        QCOMPARE(debt.size(), pay.size());
        for (const Rows &rows : {pay, debt})
            for (const QStringList &row : rows)
                QCOMPARE(row, (QStringList{c[1], tag}));
    }
    QCOMPARE(archive->rows("SELECT count(*) FROM 交款 WHERE ajid NOT IN (SELECT ajid FROM 案件)"),
             (Rows{{"0"}}));
    for (auto it = last.cbegin(); it != last.cend(); ++it)
        QCOMPARE(stored.value(it.key()), it.value());
    if (stored.contains(QStringLiteral("公共")))
        QVERIFY(sharedTags.contains(stored.value(QStringLiteral("公共"))));
    qDeleteAll(clerks);
}

// The list was shown, then another clerk deleted the case: loading it says so and leaves the
// window, its caption and its case as they were.
void TestArchiveEngines::loadAfterTheCaseWasDeleted() {
    QVERIFY(openWindow());
    存新案(QStringLiteral("甲"), {交款, 债权});
    w->MSFjk->setTextMatrix(1, 0, QStringLiteral("正在输入"));
    command(w->读出内容);
    archive->rows("DELETE FROM 交款");
    archive->rows("DELETE FROM 债权");
    archive->rows("DELETE FROM 案件");
    BoxAnswerer answerer(QMessageBox::No); // the typing is not to be saved
    clickGridCell(w->MSFysj, 1, 1);
    QCOMPARE(answerer.texts, (QStringList{"案件内容已修改，还没有保存。要保存吗？",
                                          "这个案件已经不在案件数据库中，可能已被删除。"}));
    QCOMPARE(w->MSFjk->TextMatrix(1, 0), QStringLiteral("正在输入"));
    QCOMPARE(w->当前案件号(), 0);
    QCOMPARE(w->windowTitle(), QStringLiteral("案款分配计算"));
    QVERIFY(!w->Com删除案件->isVisible());
}

// The busy cursor shows while a load waits on the database, and goes once it is done.
void TestArchiveEngines::loadShowsTheBusyCursor() {
    QVERIFY(openWindow());
    存新案(QStringLiteral("甲"), {交款, 债权});
    command(w->读出内容);
    bool busy = true;
    数据库设置::语句记录 = [&](const QString &, bool) {
        busy = busy && QApplication::overrideCursor() &&
               QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    };
    {
        BoxAnswerer guard;
        clickGridCell(w->MSFysj, 1, 1);
    }
    数据库设置::语句记录 = nullptr;
    QVERIFY(busy);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(w->MSFzc->TextMatrix(1, 0), 债权[0][0]);
}

// Run again on an archive that holds payment and claim rows of no case (made before the keys
// that forbid them), the office's setup script removes those rows and adds the keys.
void TestArchiveEngines::setupRemovesRowsWithoutACase() {
    OPEN_ARCHIVE(QStringLiteral("pg"));
    const TestServer &server = TestServer::get();
    QVERIFY(server.psql("varnel_test", "ALTER TABLE 交款 DROP CONSTRAINT 交款_案件; "
                                       "ALTER TABLE 债权 DROP CONSTRAINT 债权_案件; "
                                       "INSERT INTO 案件 (名称) VALUES ('甲'); "
                                       "INSERT INTO 交款 (ajid, 交款人) VALUES (-1, '无主'), "
                                       "((SELECT ajid FROM 案件), '有主'); "
                                       "INSERT INTO 债权 (ajid, 债权人) VALUES (NULL, '无主');"));
    QVERIFY(server.run(QStringLiteral("bash"),
                       {QStringLiteral(VARNEL_SOURCE_DIR "/scripts/setup-office-archive.sh"),
                        "varnel_test"}));
    QCOMPARE(archive->rows("SELECT 交款人 FROM 交款 UNION ALL SELECT 债权人 FROM 债权"),
             (Rows{{"有主"}}));
    QVERIFY(!server.psql("varnel_test", "INSERT INTO 交款 (ajid) VALUES (-1)"));
}

int runArchiveEngineTests(int argc, char **argv) {
    TestArchiveEngines t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_archive_engines.moc"
