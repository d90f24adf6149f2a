// The archive commands of the case fund window as the clerk sees them when storing: the
// questions and messages of a save and a delete, and what a failure leaves.
#include "archive_window_fixture.h"

class TestArchiveWindow : public QObject, public ArchiveWindowFixture {
    Q_OBJECT
  private slots:
    void initTestCase() { 开始(); }
    void init() { 准备(); }
    void cleanup() { 收拾(); }
    void savingANewCase();
    void caseNames_data();
    void caseNames();
    void savingAStoredCaseAsksAndReplacesItsRows();
    void deleteAsksThenRemovesTheCase();
    void failuresKeepDatabaseAndWindow_data();
    void failuresKeepDatabaseAndWindow();
    void noWriteLockWhileABoxIsOpen();
    void caseDeletedElsewhereIsNotSavedUnderItsNumber();
    void questionsShowTheirWholeText();
};

// A new case asks for its name and says it is stored; the window then holds the stored case,
// named in its caption, whose rows are what the tables show (the statements and the stored
// rows: test_case_archive.cpp).
void TestArchiveWindow::savingANewCase() {
    填入(两笔两项);
    const QStringList boxes = 保存新案件(QStringLiteral("张三诉李四  "));
    QCOMPARE(boxes, (QStringList{"请输入案件名称，以便以后查询", "保存成功！"}));
    QCOMPARE(titles, (QStringList{"案件名称", "提示"}));
    QCOMPARE(buttons,
             (QList<QMessageBox::StandardButtons>{QMessageBox::NoButton, QMessageBox::Ok}));
    QCOMPARE(w->当前案件号(), 1);
    QVERIFY(c<QPushButton>("Com删除案件")->isVisible());
    Reader db(dbFile());
    QCOMPARE(db.rows("SELECT ajid, 名称 FROM 案件"), (Rows{{"1", "张三诉李四"}}));
    QCOMPARE(db.rows("SELECT 交款人, 金额, 交款时间, 备注 FROM 交款 ORDER BY id"),
             (Rows{{"甲公司", "100", "2020-5-10", "首付"},
                   {"乙", "50.5", "<NULL>", "<NULL>"},
                   {"<NULL>", "<NULL>", "<NULL>", "<NULL>"}}));
}

void TestArchiveWindow::caseNames_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("names");
    const QString ask = QStringLiteral("请输入案件名称，以便以后查询");
    QTest::newRow("trailing blanks")
        << ""
        << "甲案   " << true << QStringList{ask, "保存成功！"} << "甲案";
    QTest::newRow("leading blanks kept")
        << ""
        << "  甲案" << true << QStringList{ask, "保存成功！"} << "  甲案";
    QTest::newRow("empty") << ""
                           << "" << true << QStringList{ask, "没有案件名称，不能保存！"} << "";
    QTest::newRow("blanks only") << ""
                                 << "   " << true << QStringList{ask, "没有案件名称，不能保存！"}
                                 << "";
    QTest::newRow("cancelled") << ""
                               << "甲案" << false << QStringList{ask, "没有案件名称，不能保存！"}
                               << "";
    QTest::newRow("duplicate") << "甲案"
                               << "甲案  " << true
                               << QStringList{ask, "名称重复，不能保存，请改变名称保存！"}
                               << "甲案";
}

void TestArchiveWindow::caseNames() {
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(QStringList, boxes);
    QFETCH(QString, names);
    if (!stored.isEmpty())
        存案(stored, 两笔两项);
    填入(两笔两项);
    QCOMPARE(命令("存入内容", QMessageBox::Yes, typed, accepted), boxes);
    Reader db(dbFile());
    QStringList got;
    for (const QStringList &row : db.rows("SELECT 名称 FROM 案件 ORDER BY ajid"))
        got << row[0];
    QCOMPARE(got.join('|'), names);
    QCOMPARE(titles.last(), QStringLiteral("提示"));
    const bool saved = boxes.last() == QStringLiteral("保存成功！");
    QCOMPARE(w->当前案件号(), saved ? int(got.size()) : 0);
    QCOMPARE(c<QPushButton>("Com删除案件")->isVisible(), saved);
    // A refused save writes no rows at all.
    QCOMPARE(db.scalar("SELECT count(*) FROM 债权"), QString::number(got.size() * 3));
}

void TestArchiveWindow::savingAStoredCaseAsksAndReplacesItsRows() {
    填入(两笔两项);
    保存新案件(QStringLiteral("甲案"));
    Reader db(dbFile());
    const Rows before = db.everything();

    grid("MSFzc")->setTextMatrix(1, 5, QStringLiteral("改过"));
    statements.clear();
    QCOMPARE(
        命令("存入内容", QMessageBox::No),
        (QStringList{"你将保存内容，会覆盖原来的数据，如果确实要保存点“是”，取消保存点“否”。"}));
    QCOMPARE(titles, QStringList{"保存提示"});
    QCOMPARE(db.everything(), before);
    QCOMPARE(statements.size(), 1); // the probe only

    // Asked each time, the window's own save not taken for someone else's change.
    for (int time = 0; time < 2; ++time)
        QCOMPARE(命令("存入内容"),
                 (QStringList{"你将保存内容，会覆盖原来的数据，如果确实要保存点“是”，"
                              "取消保存点“否”。",
                              "保存成功！"}));
    QCOMPARE(db.rows("SELECT 备注 FROM 债权 WHERE ajid = 1 ORDER BY id"),
             (Rows{{"改过"}, {"<NULL>"}, {"<NULL>"}}));
    QCOMPARE(w->当前案件号(), 1);
}

void TestArchiveWindow::deleteAsksThenRemovesTheCase() {
    填入(两笔两项);
    保存新案件(QStringLiteral("甲案"));
    命令("Com清除");
    填入(两笔两项);
    保存新案件(QStringLiteral("乙案"));
    Reader db(dbFile());
    const Rows before = db.everything();

    const QString question =
        QStringLiteral("你要删除这个已保存的数据，删除后可以在“已删除的案件”中恢复。"
                       "确实要删除点“是”，取消删除点“否”。");
    {
        BoxAnswerer no(QMessageBox::No);
        c<QPushButton>("Com删除案件")->click();
        QCOMPARE(no.texts, QStringList{question});
        QCOMPARE(no.titles, QStringList{"删除提示"});
        QCOMPARE(no.icons, QList<QMessageBox::Icon>{QMessageBox::NoIcon});
    }
    QCOMPARE(db.everything(), before);
    QCOMPARE(w->当前案件号(), 2);
    QCOMPARE(表内容("MSFjk"), 两笔两项.交款);

    QCOMPARE(命令("Com删除案件"), (QStringList{question, "删除成功！"}));
    QCOMPARE(buttons, (QList<QMessageBox::StandardButtons>{QMessageBox::Yes | QMessageBox::No,
                                                           QMessageBox::Ok}));
    QCOMPARE(db.scalar("SELECT group_concat(名称) FROM 案件"), QStringLiteral("甲案"));
    QCOMPARE(w->当前案件号(), 0);
    QVERIFY(!c<QPushButton>("Com删除案件")->isVisible());
    QCOMPARE(表内容("MSFjk"), (Rows{{"", "", "", ""}}));
    // The window holds no stored case now: the next save asks for a name.
    QCOMPARE(保存新案件(QStringLiteral("丙案")).first(),
             QStringLiteral("请输入案件名称，以便以后查询"));
}

void TestArchiveWindow::failuresKeepDatabaseAndWindow_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");
    // What happened and what to do; %1 is what could not be done.
    // A file that fails at the open, and one that fails inside the write (each kind's message
    // and the file left as it was: test_archive_failures.cpp).
    const QList<std::pair<const char *, const char *>> kinds{
        {"missing", "找不到案件数据库文件，%1请把它放回原处，或换上备份的案件数据库文件。"},
        {"being written", "案件数据库正被另一个程序使用，%1请稍后再试。"},
    };
    for (const auto &[kind, message] : kinds)
        for (const char *command : {"save new", "save stored", "delete"})
            QTest::addRow("%s, %s", kind, command)
                << kind << command
                << QString::fromUtf8(message).arg(qstrcmp(command, "delete") == 0
                                                      ? QStringLiteral("不能删除案件。")
                                                      : QStringLiteral("不能保存。"));
}

namespace {
// An error box: the archive's message (its lines: test_archive_failures.cpp), OK only, under the
// program's title.
void 核对错误框(const QString &text, const QString &title, QMessageBox::StandardButtons buttons,
                const QString &sentence) {
    QVERIFY2(text.startsWith(sentence + QLatin1Char('\n')), qPrintable(text));
    QCOMPARE(title, QStringLiteral("Varnel"));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}
} // namespace

// A save or delete that fails shows why, and leaves the stored cases, the case number, the
// delete button and every cell on screen as they were.
void TestArchiveWindow::failuresKeepDatabaseAndWindow() {
    QFETCH(QString, kind);
    QFETCH(QString, command);
    QFETCH(QString, message);
    填入(两笔两项);
    保存新案件(QStringLiteral("甲案"));
    if (command == "save new")
        命令("Com清除");
    案例 changed = 两笔两项;
    changed.债权[0][0] = QStringLiteral("改过的债权人");
    填入(changed);
    const int caseNumber = w->当前案件号();
    const bool deleteShown = c<QPushButton>("Com删除案件")->isVisible();
    std::unique_ptr<Reader> holder;
    弄坏文件(kind, dbFile(), holder);

    const QStringList boxes = command == "delete"     ? 命令("Com删除案件")
                              : command == "save new" ? 保存新案件(QStringLiteral("乙案"))
                                                      : 命令("存入内容");
    QVERIFY(!boxes.isEmpty());
    核对错误框(boxes.last(), titles.last(), buttons.last(), message);
    // A file that cannot be opened fails a save at the open, before any question is asked.
    if (command != "delete" && kind == "missing")
        QCOMPARE(boxes.size(), 1);
    QCOMPARE(w->当前案件号(), caseNumber);
    QCOMPARE(c<QPushButton>("Com删除案件")->isVisible(), deleteShown);
    QCOMPARE(表内容("MSFjk"), changed.交款);
    QCOMPARE(表内容("MSFzc")[0][0], changed.债权[0][0]);
}

// While a box waits for the clerk, another copy of the program can still write: the save's and
// the delete's transactions hold the database only between the boxes.
void TestArchiveWindow::noWriteLockWhileABoxIsOpen() {
    QStringList lockedAt;
    int errors = 0;
    消息框::应答器 = [&](消息框::框类 kind, const QString &text, const QString &) {
        errors += text.startsWith(QStringLiteral("案件数据库出错"));
        Reader other(dbFile());
        if (!other.exec("BEGIN IMMEDIATE"))
            lockedAt << text;
        other.exec("ROLLBACK");
        // Unsaved content before a load is let go (否).
        return 消息框::框应答{kind != 消息框::框类::是否取消,
                              kind == 消息框::框类::输入 ? QStringLiteral("甲案") : QString()};
    };
    填入(两笔两项);
    w->存入内容->trigger(); // name, saved
    w->存入内容->trigger(); // overwrite?, saved
    w->Com清除->click();
    填入(两笔两项);
    w->存入内容->trigger(); // name, duplicate
    w->读出内容->trigger();
    clickGridCell(grid("MSFysj"), 1, 1);
    w->Com删除案件->click(); // delete?, deleted
    QCOMPARE(Reader(dbFile()).scalar("SELECT count(*) FROM 案件"), QStringLiteral("0"));

    // The box of a save or a delete that fails comes after its rollback.
    Reader(dbFile()).exec("CREATE TRIGGER 满 BEFORE INSERT ON 债权 BEGIN SELECT RAISE(ABORT, "
                          "'disk is full'); END");
    w->Com清除->click();
    填入(两笔两项);
    w->存入内容->trigger(); // name, error
    Reader(dbFile()).exec("DROP TRIGGER 满");
    w->存入内容->trigger(); // name, saved
    Reader(dbFile()).exec("CREATE TRIGGER 不删 BEFORE DELETE ON 交款 BEGIN SELECT RAISE(ABORT, "
                          "'disk I/O error'); END");
    w->Com删除案件->click(); // delete?, error
    消息框::应答器 = nullptr;
    QCOMPARE(lockedAt, QStringList());
    QCOMPARE(errors, 2);
}

// A case deleted by another copy of the program since it was loaded is not written back under
// its old number, where no list would ever show it: the clerk is told, and the next save asks
// for a name.
void TestArchiveWindow::caseDeletedElsewhereIsNotSavedUnderItsNumber() {
    填入(两笔两项);
    保存新案件(QStringLiteral("甲案"));
    {
        Reader other(dbFile());
        for (const char *table : {"案件", "交款", "债权"})
            other.rows(QStringLiteral("DELETE FROM %1").arg(QString::fromUtf8(table)));
    }
    const QStringList boxes = 命令("存入内容");
    QCOMPARE(boxes.size(), 2);
    QVERIFY2(boxes[1].startsWith(QStringLiteral("这个案件已经不在案件数据库中")),
             qPrintable(boxes[1]));
    QCOMPARE(w->当前案件号(), 0);
    QVERIFY(!c<QPushButton>("Com删除案件")->isVisible());
    QCOMPARE(表内容("MSFjk"), 两笔两项.交款);
    QCOMPARE(保存新案件(QStringLiteral("甲案")).last(), QStringLiteral("保存成功！"));
    QCOMPARE(w->当前案件号(), 2);
}

// The long questions wrap and show every word (the clerk must read which button does what); a
// short notice is still wide enough for its caption.
void TestArchiveWindow::questionsShowTheirWholeText() {
    填入(两笔两项);
    保存新案件(QStringLiteral("甲案"));
    QList<std::pair<int, bool>> seen; // box width, label shows all its lines
    {
        BoxAnswerer answerer;
        answerer.act = [&](QMessageBox *box) {
            auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            seen.append({box->width(), label->height() >= label->heightForWidth(label->width()) &&
                                           label->width() >= 200});
            box->button(box->button(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok)->click();
        };
        w->存入内容->trigger();  // 保存提示, answered No
        w->Com删除案件->click(); // the delete question, answered No
    }
    QCOMPARE(seen.size(), 2);
    for (const auto &[width, whole] : seen) {
        QVERIFY(whole);
        QVERIFY(width >= 200);
    }
}

int runArchiveWindowTests(int argc, char **argv) {
    TestArchiveWindow t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_archive_window.moc"
