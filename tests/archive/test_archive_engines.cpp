// The archive commands on both engines through the same data: the SQLite file and the office
// server. Rows named "pg" need the tests' own server (VARNEL_TEST_PG); without it they are skipped.
#ifdef _WIN32
#include <winsock2.h> // before windows.h, which the Qt headers bring
#endif
#include "archive/case_import.h"
#include "archive/database.h"
#include "box_answerer.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "common/varnel_error.h"
#include "engine_fixture.h"
#include "window_test.h"

#include <QAction>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QToolTip>
#ifndef _WIN32
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

using Rows = QList<QStringList>;

// Texts that would end a quoted literal, start a comment, end a statement or be read as an
// escape if they reached the SQL text unguarded.
const Rows 交款{{"O'Brien", "100", "C:\\案卷\\", "a;b -- c"}, {"Null", "'", "\\'", "  "}};
const Rows 债权{{"丙'; DELETE FROM 案件; --", "80", "一般债权", "", "", "/* x */"},
                {"", "", "", "", "", ""}};

// A port on the loopback interface whose connections the kernel accepts and nobody answers.
struct SilentPort {
#ifdef Q_OS_WIN
    using socklen_t = int;
    const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    SOCKET fd = ::socket(AF_INET, SOCK_STREAM, 0);
    ~SilentPort() {
        ::closesocket(fd);
        WSACleanup();
    }
#else
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    ~SilentPort() { ::close(fd); }
#endif
    int port = 0;
    SilentPort() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        ::bind(fd, reinterpret_cast<sockaddr *>(&a), len);
        ::listen(fd, 8);
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len);
        port = ntohs(a.sin_port);
    }
};

} // namespace

class TestArchiveEngines : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void hostileTextsRoundTrip_data() { engines(); }
    void hostileTextsRoundTrip();
    void saveIsAllOrNothing_data() { engines(); }
    void saveIsAllOrNothing();
    void importCases_data();
    void importCases();
    void listFilter_data();
    void listFilter();
    void longNamesShowWholeAsTooltip();
    void changedElsewhere_data();
    void changedElsewhere();
    void eightClerksAtOnce();
    void saveCutShortOnTheServer_data();
    void saveCutShortOnTheServer();
    void serverFaults_data();
    void serverFaults();
    void refusedRowLateInASave_data();
    void refusedRowLateInASave();
    void deleteAfterAnotherClerksSave_data();
    void deleteAfterAnotherClerksSave();
    void loadAfterTheCaseWasDeleted_data() { engines(); }
    void loadAfterTheCaseWasDeleted();
    void loadIsOneState_data() { engines(); }
    void loadIsOneState();
    void setupRemovesRowsWithoutACase();
    void waitsAreBounded();

  private:
    void engines() {
        QTest::addColumn<QString>("engine");
        QTest::newRow("sqlite") << "sqlite";
        QTest::newRow("pg") << "pg";
    }
    // The archive of the current row; skips a server row without the test server.
    bool open(const QString &engine) {
        archive = std::make_unique<EngineArchive>(engine);
        if (archive->server && !TestServer::get().ok)
            return false;
        设应用目录(加尾分隔符(archive->dir.path()));
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

#define OPEN_ENGINE()                                                                              \
    QFETCH(QString, engine);                                                                       \
    if (!open(engine))                                                                             \
        QSKIP("no test server (VARNEL_TEST_PG)");                                                  \
    QVERIFY(archive->ok);                                                                          \
    w = std::make_unique<Fo案款分配计算>();                                                        \
    w->show()

void TestArchiveEngines::init() {}

void TestArchiveEngines::cleanup() {
    w.reset();
    archive.reset();
    数据库设置::语句记录 = nullptr;
    消息框::应答器 = nullptr;
}

void TestArchiveEngines::hostileTextsRoundTrip() {
    OPEN_ENGINE();
    fill(*w);
    const QString name = QStringLiteral("O'Neil \\ 案; --");
    QStringList sent;
    数据库设置::语句记录 = [&sent](const QString &sql, bool) { sent << sql; };
    QCOMPARE(command(w->存入内容, QMessageBox::Yes, name).last(), QStringLiteral("保存成功！"));
    // The save's texts exactly; a server gets them joined into one execution.
    const QString n = QString::number(w->当前案件号());
    const QString pay = " insert into 交款 ( ajid , 交款人, 金额, 交款时间, 备注) values ( " + n;
    const QString debt = " insert into 债权 ( ajid ,债权人, 债权金额, 债权性质, "
                         "其中抵押优先金额, 分配金额, 备注) values ( " +
                         n;
    const QStringList texts{
        "delete from 交款 where ajid = " + n,
        "delete from 债权 where ajid = " + n,
        pay + " , 'O''Brien','100','C:\\案卷\\','a;b -- c' )",
        pay + " , 'Null','''','\\''',Null )",
        debt + " , '丙''; DELETE FROM 案件; --','80','一般债权',Null ,Null,'/* x */'  )",
        debt + " , Null,Null,Null,Null ,Null,Null  )"};
    const QStringList expected = archive->server ? QStringList{texts.join(u';')} : texts;
    const qsizetype at = sent.indexOf(expected[0]);
    QVERIFY2(at >= 0, qPrintable(sent.join(u'\n')));
    QCOMPARE(sent.mid(at, expected.size()), expected);
    数据库设置::语句记录 = nullptr;
    const Rows stored{
        {"c", name, "", "", "", "", ""},
        {"d", name, "丙'; DELETE FROM 案件; --", "80", "一般债权", "<NULL>", "<NULL>", "/* x */"},
        {"d", name, "<NULL>", "<NULL>", "<NULL>", "<NULL>", "<NULL>", "<NULL>"},
        {"p", name, "O'Brien", "100", "C:\\案卷\\", "a;b -- c", "", ""},
        {"p", name, "Null", "'", "\\'", "<NULL>", "", ""}};
    Rows all = archive->everything();
    for (QStringList &row : all)
        row = row.mid(0, row[0] == "c" ? 7 : 8);
    QCOMPARE(all.size(), stored.size());
    for (int i = 0; i < all.size(); ++i)
        QCOMPARE(all[i].mid(0, stored[i].size()), stored[i]);

    w->Com清除->click();
    command(w->读出内容);
    QCOMPARE(w->MSFysj->TextMatrix(1, 1), name);
    clickGridCell(w->MSFysj, 1, 1);
    Rows payments = 交款;
    payments[1][3] = QString(); // blanks alone are an empty cell
    QCOMPARE(grid(w->MSFjk), payments);
    QStringList claim = grid(w->MSFzc).value(0);
    claim[4] = QString(); // the distributed amount is worked out anew on loading
    QCOMPARE(claim, 债权[0]);
}

void TestArchiveEngines::saveIsAllOrNothing() {
    OPEN_ENGINE();
    fill(*w);
    command(w->存入内容, QMessageBox::Yes, QStringLiteral("甲"));
    const Rows before = archive->everything();
    w->MSFjk->setTextMatrix(1, 0, QStringLiteral("改过"));
    // The claims are the last statements of a save: failing there, the deletes and the new
    // payments must not stay.
    数据库设置::语句记录 = [](const QString &sql, bool) {
        if (sql.contains(QStringLiteral("insert into 债权")))
            throw VarnelError(QStringLiteral("planted"));
    };
    const QStringList boxes = command(w->存入内容);
    QVERIFY2(boxes.last().contains(QStringLiteral("planted")), qPrintable(boxes.join('|')));
    数据库设置::语句记录 = nullptr;
    QCOMPARE(archive->everything(), before);
    QCOMPARE(w->MSFjk->TextMatrix(1, 0), QStringLiteral("改过"));
    QCOMPARE(command(w->存入内容).last(), QStringLiteral("保存成功！"));
    QCOMPARE(archive->rows("SELECT 交款人 FROM 交款 ORDER BY id").value(0), QStringList{"改过"});
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
    OPEN_ENGINE();
    QFETCH(QString, ini);
    fill(*w);
    command(w->存入内容, QMessageBox::Yes, QStringLiteral("甲"));
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
    QVERIFY(open(QStringLiteral("sqlite")));
    QVERIFY(archive->ok);
    w = std::make_unique<Fo案款分配计算>();
    w->show();
    for (const QString &name : QStringList{"（2024）执字第1号", "Abc公司", "xaBd"}) {
        w->MSFjk->setTextMatrix(1, 0, name);
        command(w->存入内容, QMessageBox::Yes, name);
        w->Com清除->click();
    }
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
    QVERIFY(open(QStringLiteral("sqlite")));
    QVERIFY(archive->ok);
    w = std::make_unique<Fo案款分配计算>();
    w->show();
    const QString longName = QString(u'长').repeated(40);
    for (const QString &name : QStringList{QStringLiteral("短"), longName}) {
        command(w->存入内容, QMessageBox::Yes, name);
        w->Com清除->click();
    }
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
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("overwrite");
    for (const char *engine : {"sqlite", "pg"}) {
        QTest::addRow("%s, No keeps the other clerk's rows", engine) << engine << false;
        QTest::addRow("%s, Yes saves this window's rows", engine) << engine << true;
    }
}

// Two windows hold one stored case; the second saves first. The first one's save asks, and
// stores only on Yes.
void TestArchiveEngines::changedElsewhere() {
    OPEN_ENGINE();
    QFETCH(bool, overwrite);
    fill(*w);
    command(w->存入内容, QMessageBox::Yes, QStringLiteral("甲"));
    Fo案款分配计算 other;
    other.show();
    {
        BoxAnswerer answerer(QMessageBox::Yes);
        other.读出内容->trigger();
        clickGridCell(other.MSFysj, 1, 1);
        other.MSFjk->setTextMatrix(1, 0, QStringLiteral("别人改的"));
        other.存入内容->trigger();
        QCOMPARE(answerer.texts.last(), QStringLiteral("保存成功！"));
    }
    w->MSFjk->setTextMatrix(2, 0, QStringLiteral("我改的"));
    QStringList boxes, titles;
    消息框::应答器 = [&](消息框::框类, const QString &text, const QString &caption) {
        boxes << text;
        titles << caption;
        return 消息框::框应答{!text.startsWith(QStringLiteral("这个案件在你读出以后")) || overwrite,
                              {}};
    };
    w->存入内容->trigger();
    const QString question =
        QStringLiteral("这个案件在你读出以后已被别人修改，保存会覆盖别人的修改。"
                       "确实要保存点“是”，取消保存点“否”。");
    QCOMPARE(boxes.value(1), question);
    QCOMPARE(titles.value(1), QStringLiteral("保存提示"));
    QCOMPARE(boxes.size(), overwrite ? 3 : 2);
    const Rows payers = archive->rows("SELECT 交款人 FROM 交款 ORDER BY id");
    QCOMPARE(payers.value(0), QStringList{overwrite ? "O'Brien" : "别人改的"});
    QCOMPARE(payers.value(1), QStringList{overwrite ? "我改的" : "Null"});
    // After 是 the other clerk's rows were overwritten knowingly: the next save asks only the
    // routine question. After 否 nothing changed: every save asks again.
    boxes.clear();
    w->存入内容->trigger();
    消息框::应答器 = nullptr;
    QCOMPARE(boxes.value(1), overwrite ? QStringLiteral("保存成功！") : question);
    QCOMPARE(archive->rows("SELECT 交款人 FROM 交款 ORDER BY id").value(0),
             QStringList{overwrite ? "O'Brien" : "别人改的"});
}

// Eight clerks at once against one server (the duration is cut to 10 s to keep the test run
// short): afterwards no case holds rows of another or half a save, every save that said
// "保存成功！" is stored unless its clerk deleted or saved the case again, and of the eight new
// cases saved under one name at the same moment exactly one is stored.
void TestArchiveEngines::eightClerksAtOnce() {
    if (!open(QStringLiteral("pg")))
        QSKIP("no test server (VARNEL_TEST_PG)");
    QVERIFY(archive->ok);
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

// A save cut short on the server: by a statement timeout while another session holds the case,
// or by the server restarting in the middle. The stored case stays as it was, the window keeps
// its rows, and the next save works.
void TestArchiveEngines::saveCutShortOnTheServer_data() {
    QTest::addColumn<bool>("restart");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("statement timeout") << false << "statement_timeout=500" << "超过了允许的时间";
    QTest::newRow("lock wait runs out")
        << false << "lock_timeout=300" << "别的办案人员正在保存或删除这个案件，请稍后再试。";
    QTest::newRow("server restarted") << true << "statement_timeout=500" << "案件档案没有改变";
}

void TestArchiveEngines::saveCutShortOnTheServer() {
    QFETCH(bool, restart);
    QFETCH(QString, options);
    QFETCH(QString, sentence);
    if (!open(QStringLiteral("pg")))
        QSKIP("no test server (VARNEL_TEST_PG)");
    QVERIFY(archive->ok);
    QVERIFY(archive->writeIni(TestServer::get().clerk() + " options='-c " + options + "'"));
    w = std::make_unique<Fo案款分配计算>();
    w->show();
    fill(*w);
    command(w->存入内容, QMessageBox::Yes, QStringLiteral("甲"));
    const Rows before = archive->everything();
    w->MSFjk->setTextMatrix(1, 0, QStringLiteral("改过"));
    QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "holder");
    holder.setConnectOptions(TestServer::get().clerk(QStringLiteral("varnel_admin")));
    QVERIFY(holder.open());
    QSqlQuery hold(holder);
    if (restart) {
        数据库设置::语句记录 = [](const QString &sql, bool) {
            if (sql.startsWith(QStringLiteral("delete from 交款")))
                runOnHost(QStringLiteral("bash"),
                          {QStringLiteral(VARNEL_SOURCE_DIR "/tests/archive/pg_server.sh"),
                           QStringLiteral("restart"), qEnvironmentVariable("VARNEL_TEST_PG")});
        };
    } else {
        QVERIFY(hold.exec(QStringLiteral("BEGIN")));
        QVERIFY(hold.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(w->当前案件号())));
    }
    const QStringList boxes = command(w->存入内容);
    数据库设置::语句记录 = nullptr;
    QVERIFY2(boxes.last().section(u'\n', 0, 0).contains(sentence), qPrintable(boxes.last()));
    hold.exec(QStringLiteral("ROLLBACK"));
    hold = QSqlQuery();
    holder.close();
    holder = QSqlDatabase();
    QSqlDatabase::removeDatabase("holder");
    QCOMPARE(w->MSFjk->TextMatrix(1, 0), QStringLiteral("改过"));
    archive->reopen(); // a restart cut the reader off
    QCOMPARE(archive->everything(), before);
    QCOMPARE(command(w->存入内容).last(), QStringLiteral("保存成功！"));
}

void TestArchiveEngines::serverFaults_data() {
    QTest::addColumn<QString>("connection"); // %H socket folder, %P port, %S silent port
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("engineWords");
    QTest::newRow("refused") << "host=127.0.0.1 port=1 dbname=varnel_test user=clerk_a"
                             << "数据库服务器拒绝连接"
                             << "127.0.0.1";
    QTest::newRow("no answer") << "host=127.0.0.1 port=%S dbname=varnel_test user=clerk_a "
                                  "connect_timeout=2"
                               << "没有应答"
                               << "127.0.0.1";
    QTest::newRow("not a clerk") << "host=%H port=%P dbname=varnel_test user=outsider"
                                 << "加入 varnel_clerk"
                                 << "permission denied";
    QTest::newRow("no tables") << "host=%H port=%P dbname=postgres user=clerk_a"
                               << "没有案件档案的数据表"
                               << "案件";
    QTest::newRow("certificate not verifiable")
        << "host=127.0.0.1 port=%P dbname=varnel_test user=clerk_a sslmode=verify-full "
           "sslrootcert=/nonexistent/root.crt"
        << "证书"
        << "root.crt";
    QTest::newRow("no password") << "host=127.0.0.1 port=%P dbname=varnel_test user=needs_pw "
                                    "sslmode=disable"
                                 << 口令文件名
                                 << "password";
    QTest::newRow("backslashes as escapes") << "host=%H port=%P dbname=varnel_test user=clerk_old"
                                            << "standard_conforming_strings"
                                            << "";
    QTest::newRow("access rules over TLS") << "host=127.0.0.1 port=%P dbname=varnel_test "
                                              "user=hba_refused sslmode=require"
                                           << "不允许从这台电脑"
                                           << "pg_hba.conf";
    QTest::newRow("password file others can read")
        << "host=127.0.0.1 port=%P dbname=varnel_test user=needs_pw sslmode=disable"
        << "的权限必须是 0600"
        << "password";
}

void TestArchiveEngines::serverFaults() {
    QFETCH(QString, connection);
    QFETCH(QString, sentence);
    QFETCH(QString, engineWords);
    if (!open(QStringLiteral("pg")))
        QSKIP("no test server (VARNEL_TEST_PG)");
    QVERIFY(archive->ok);
    static const bool roles = TestServer::get().psql(
        "varnel_test",
        "DO $$ BEGIN "
        "IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'outsider') THEN "
        "CREATE ROLE outsider LOGIN; END IF; "
        "IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'clerk_old') THEN "
        "CREATE ROLE clerk_old LOGIN IN ROLE varnel_clerk; END IF; "
        "IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'needs_pw') THEN "
        "CREATE ROLE needs_pw LOGIN PASSWORD 'x' IN ROLE varnel_clerk; END IF; END $$; "
        "GRANT CONNECT ON DATABASE varnel_test TO outsider; "
        "ALTER ROLE clerk_old SET standard_conforming_strings = off;");
    QVERIFY(roles);
    SilentPort silent;
    connection.replace("%H", TestServer::get().host)
        .replace("%P", TestServer::get().port)
        .replace("%S", QString::number(silent.port));
    QVERIFY(archive->writeIni(connection));
    // The password file libpq will not read: a line for the role, readable by all.
    QFile pgpass(archive->dir.filePath(QStringLiteral("pgpass")));
    const bool wide = QByteArray(QTest::currentDataTag()).contains("others can read");
#ifdef Q_OS_WIN
    if (wide)
        QSKIP("libpq does not check a password file's permissions on Windows");
#endif
    if (wide) {
        QVERIFY(pgpass.open(QIODevice::WriteOnly) && pgpass.write("*:*:*:needs_pw:x\n") > 0);
        pgpass.close();
        QVERIFY(pgpass.setPermissions(pgpass.permissions() | QFileDevice::ReadOther));
        qputenv("PGPASSFILE", pgpass.fileName().toLocal8Bit());
    }
    const auto unset = qScopeGuard([] { qunsetenv("PGPASSFILE"); });
    w = std::make_unique<Fo案款分配计算>();
    w->show();
    fill(*w);
    const Rows before = grid(w->MSFjk);
    const QStringList boxes = command(w->存入内容, QMessageBox::Yes, QStringLiteral("甲"));
    const QStringList lines = boxes.last().split(u'\n');
    QVERIFY2(lines[0].contains(sentence), qPrintable(boxes.last()));
    QVERIFY2(lines.mid(1).join(u'\n').contains(engineWords), qPrintable(boxes.last()));
    // The settings words name the file that was read.
    if (lines[0].contains(QStringLiteral("设置文件")))
        QVERIFY2(lines[0].contains(QDir::toNativeSeparators(archive->dir.filePath("varnel.ini"))),
                 qPrintable(lines[0]));
    QCOMPARE(grid(w->MSFjk), before);
    QCOMPARE(w->当前案件号(), 0);
    QCOMPARE(archive->rows("SELECT count(*) FROM 案件"), (Rows{{"0"}}));
}

// A row refused late in a long save, by an error or by being skipped without one: no
// "保存成功！", a database message, the stored case and the window as they were; with the
// trigger gone, the next save works.
void TestArchiveEngines::refusedRowLateInASave_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("refusal"); // what the trigger does to the row
    QTest::addColumn<QString>("sentence");
    for (const char *engine : {"sqlite", "pg"}) {
        QTest::addRow("%s, error", engine) << engine << "error" << "拒绝这一行";
        QTest::addRow("%s, skipped", engine) << engine << "skip" << "没有存下这个案件的全部行";
    }
}

void TestArchiveEngines::refusedRowLateInASave() {
    OPEN_ENGINE();
    QFETCH(QString, refusal);
    QFETCH(QString, sentence);
    fill(*w);
    command(w->存入内容, QMessageBox::Yes, QStringLiteral("甲"));
    const Rows before = archive->everything();
    w->MSFjk->setRows(601); // 600 payments, then the claims: the refused row is the last
    for (int r = 1; r < 601; ++r)
        w->MSFjk->setTextMatrix(r, 1, QString::number(r));
    w->MSFzc->setTextMatrix(2, 0, QStringLiteral("拒收"));
    const bool error = refusal == QLatin1String("error");
    const QString when = QStringLiteral("NEW.债权人 = '拒收'");
    QStringList make, drop;
    if (archive->server) {
        make << QStringLiteral("CREATE FUNCTION 拒收() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                               "IF %1 THEN %2; END IF; RETURN NEW; END $$")
                    .arg(when, error ? "RAISE EXCEPTION '拒绝这一行'" : "RETURN NULL")
             << QStringLiteral("CREATE TRIGGER 拒收 BEFORE INSERT ON 债权 FOR EACH ROW "
                               "EXECUTE FUNCTION 拒收()");
        drop << QStringLiteral("DROP TRIGGER 拒收 ON 债权") << QStringLiteral("DROP FUNCTION 拒收()");
    } else {
        make << QStringLiteral("CREATE TRIGGER 拒收 BEFORE INSERT ON 债权 WHEN %1 BEGIN "
                               "SELECT RAISE(%2); END")
                    .arg(when, error ? "ABORT, '拒绝这一行'" : "IGNORE");
        drop << QStringLiteral("DROP TRIGGER 拒收");
    }
    for (const QString &sql : make)
        archive->rows(sql);
    archive->reopen();
    const QStringList boxes = command(w->存入内容);
    QVERIFY2(boxes.last().contains(sentence), qPrintable(boxes.join(u'|')));
    QVERIFY(!boxes.contains(QStringLiteral("保存成功！")));
    QCOMPARE(archive->everything(), before);
    QCOMPARE(w->MSFjk->Rows(), 601);
    for (const QString &sql : drop)
        archive->rows(sql);
    archive->reopen();
    QCOMPARE(command(w->存入内容).last(), QStringLiteral("保存成功！"));
    QCOMPARE(archive->rows("SELECT count(*) FROM 交款"), (Rows{{"600"}}));
    QCOMPARE(archive->rows("SELECT 债权人 FROM 债权 ORDER BY id").value(1), QStringList{"拒收"});
}

// Another clerk saved the case after this window loaded it: the delete asks, 否 keeps the case
// and the other clerk's rows, 是 deletes it.
void TestArchiveEngines::deleteAfterAnotherClerksSave_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("yes");
    for (const char *engine : {"sqlite", "pg"}) {
        QTest::addRow("%s, No", engine) << engine << false;
        QTest::addRow("%s, Yes", engine) << engine << true;
    }
}

void TestArchiveEngines::deleteAfterAnotherClerksSave() {
    OPEN_ENGINE();
    QFETCH(bool, yes);
    fill(*w);
    command(w->存入内容, QMessageBox::Yes, QStringLiteral("甲"));
    Fo案款分配计算 other;
    other.show();
    command(other.读出内容);
    clickGridCell(other.MSFysj, 1, 1);
    other.MSFjk->setTextMatrix(1, 0, QStringLiteral("别人改的"));
    command(other.存入内容);
    QStringList boxes, titles;
    消息框::应答器 = [&](消息框::框类, const QString &text, const QString &caption) {
        boxes << text;
        titles << caption;
        return 消息框::框应答{!text.startsWith(QStringLiteral("这个案件在你读出以后")) || yes, {}};
    };
    w->Com删除案件->click();
    消息框::应答器 = nullptr;
    QCOMPARE(boxes.value(1), QStringLiteral("这个案件在你读出以后已被别人修改，删除会同时删除别人的"
                                            "修改。确实要删除点“是”，取消删除点“否”。"));
    QCOMPARE(titles.value(1), QStringLiteral("删除提示"));
    QCOMPARE(archive->rows("SELECT count(*) FROM 案件"), (Rows{{yes ? "0" : "1"}}));
    QCOMPARE(archive->rows("SELECT 交款人 FROM 交款 ORDER BY id").value(0),
             yes ? QStringList{} : QStringList{"别人改的"});
    QCOMPARE(w->当前案件号() == 0, yes);
}

// The list was shown, then another clerk deleted the case: loading it says so and leaves the
// window, its caption and its case as they were.
void TestArchiveEngines::loadAfterTheCaseWasDeleted() {
    OPEN_ENGINE();
    fill(*w);
    command(w->存入内容, QMessageBox::Yes, QStringLiteral("甲"));
    w->Com清除->click();
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

// Another clerk changes the claims between the load's two reads: the window shows one state of
// the case, the one before that change (on a server the load's snapshot; on SQLite the change
// waits for the load and, with no wait allowed, fails). The busy cursor shows meanwhile.
void TestArchiveEngines::loadIsOneState() {
    OPEN_ENGINE();
    fill(*w);
    command(w->存入内容, QMessageBox::Yes, QStringLiteral("甲"));
    w->Com清除->click();
    command(w->读出内容);
    QSqlDatabase writer = QSqlDatabase::addDatabase(archive->server ? "QPSQL" : "QSQLITE", "writer");
    if (archive->server) {
        writer.setConnectOptions(TestServer::get().clerk(QStringLiteral("varnel_admin")));
    } else {
        writer.setDatabaseName(archive->dir.filePath(QStringLiteral("varnel.db")));
        writer.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
    }
    QVERIFY(writer.open());
    bool busy = true; // the busy cursor shows while the load waits on the database
    数据库设置::语句记录 = [&](const QString &sql, bool) {
        busy = busy && QApplication::overrideCursor() &&
               QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        if (sql.contains(QStringLiteral("FROM 债权 WHERE")))
            QSqlQuery(writer).exec(QStringLiteral("UPDATE 债权 SET 债权人 = '后来的'"));
    };
    {
        BoxAnswerer guard;
        clickGridCell(w->MSFysj, 1, 1);
    }
    数据库设置::语句记录 = nullptr;
    QVERIFY(busy);
    QVERIFY(!QApplication::overrideCursor());
    writer.close();
    writer = QSqlDatabase();
    QSqlDatabase::removeDatabase("writer");
    QCOMPARE(w->MSFzc->TextMatrix(1, 0), 债权[0][0]);
}

// Run again on an archive that holds payment and claim rows of no case (made before the keys
// that forbid them), the office's setup script removes those rows and adds the keys.
void TestArchiveEngines::setupRemovesRowsWithoutACase() {
    if (!open(QStringLiteral("pg")))
        QSKIP("no test server (VARNEL_TEST_PG)");
    QVERIFY(archive->ok);
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

// Each connection waits for a lock at most 10 s and runs a statement at most 60 s, unless the
// office's connection string sets its own limit.
void TestArchiveEngines::waitsAreBounded() {
    if (!open(QStringLiteral("pg")))
        QSKIP("no test server (VARNEL_TEST_PG)");
    QVERIFY(archive->ok);
    const auto limits = [] {
        std::unique_ptr<数据库连接> connection;
        打开数据库(connection);
        const 记录集 r = 打开记录集(*connection, QStringLiteral(
            "SELECT current_setting('lock_timeout'), current_setting('statement_timeout')"));
        return QStringList{r.值(0, 0).toString(), r.值(0, 1).toString()};
    };
    QCOMPARE(limits(), (QStringList{"10s", "1min"}));
    QVERIFY(archive->writeIni(TestServer::get().clerk() + " options='-c lock_timeout=2s'"));
    QCOMPARE(limits(), (QStringList{"2s", "1min"}));
}

int runArchiveEngineTests(int argc, char **argv) {
    TestArchiveEngines t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_archive_engines.moc"
