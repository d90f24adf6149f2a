#include "archive/case_archive.h"
#include "archive_fixture.h"
#include "box_answerer.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "window_test.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using Rows = QList<QStringList>;

// A case as the clerk typed it: rows of the payments grid and of the claims grid, the blank
// bottom row of each included.
struct 案例 {
    Rows 交款;
    Rows 债权;
};

const 案例 两笔两项{
    {{"甲公司", "100", "2020-5-10", "首付"}, {"乙", "50.5", "", ""}, {"", "", "", ""}},
    {{"丙", "80", "一般债权", "", "", "备注一"},
     {"丁", "120", "抵押", "100", "", ""},
     {"", "", "", "", "", ""}},
};

bool 含案件连接() {
    for (const QString &name : QSqlDatabase::connectionNames())
        if (name.startsWith(QStringLiteral("varnel-case-db")))
            return true;
    return false;
}

} // namespace

class TestArchiveWindow : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void cleanup();
    void savingANewCase();
    void caseNames_data();
    void caseNames();
    void savingAStoredCaseAsksAndReplacesItsRows();
    void listShowsEveryCaseOldestFirst();
    void confirmAndClickLoad();
    void loadRecomputesTheDistribution();
    void deleteAsksThenRemovesTheCase();
    void failuresKeepDatabaseAndWindow_data();
    void failuresKeepDatabaseAndWindow();
    void noWriteLockWhileABoxIsOpen();
    void caseDeletedElsewhereIsNotSavedUnderItsNumber();
    void questionsShowTheirWholeText();
    void menusFromTheKeyboard();
    void enterKeepsStoredData_data();
    void enterKeepsStoredData();
    void captionNamesTheStoredCase();
    void unsavedContentIsAskedAbout_data();
    void unsavedContentIsAskedAbout();

  private:
    template <class T> T *c(const char *name) { return child<T>(w, name); }
    FlexGrid *grid(const char *name) { return c<FlexGrid>(name); }
    QString dbFile() const { return QDir(appDir).filePath(QStringLiteral("varnel.db")); }
    void 填入(const 案例 &data);
    Rows 表内容(const char *name);
    QStringList 命令(const char *action, QMessageBox::StandardButton answer = QMessageBox::Yes,
                     const QString &input = QString(), bool acceptInput = true);
    QStringList 保存新案件(const QString &name) { return 命令("存入内容", QMessageBox::Yes, name); }
    void 列出并选(int row);
    // A case stored by the archive itself, as another copy of the program would store it.
    static void 存案(const QString &name, const 案例 &data) {
        std::unique_ptr<数据库连接> connection;
        打开数据库(connection, 数据库用途::保存);
        QCOMPARE(int(保存案件(*connection, 0, name, {data.交款, data.债权}, {}).结果),
                 int(写入结果::已成));
    }

    Fo案款分配计算 *w = nullptr;
    std::unique_ptr<QTemporaryDir> dir;
    QString appDir;
    QStringList statements; // every statement in the order run
    std::unique_ptr<BoxAnswerer> guard; // answers any box the test did not expect
    int defaultBusyWait = 0;
    QStringList titles;                          // the captions of the boxes of the last command
    QList<QMessageBox::StandardButtons> buttons; // and their buttons
};

// The settings as the program has them, put back after every test.
void TestArchiveWindow::initTestCase() {
    defaultBusyWait = 数据库设置::忙等待毫秒;
}

void TestArchiveWindow::init() {
    guard = std::make_unique<BoxAnswerer>();
    dir = std::make_unique<QTemporaryDir>();
    appDir = dir->path();
    QVERIFY(makeCaseDatabase(dbFile()));
    设应用目录(加尾分隔符(QDir::toNativeSeparators(appDir)));
    { 数据库连接 first(dbFile(), 数据库用途::保存); } // the file gains the record of versions
    statements.clear();
    数据库设置::语句记录 = [this](const QString &sql, bool) { statements << sql; };
    w = new Fo案款分配计算;
    w->show();
}

void TestArchiveWindow::cleanup() {
    QVERIFY2(!含案件连接(), "a command left its connection behind");
    关闭不保存(w);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    数据库设置::语句记录 = nullptr;
    数据库设置::打开方式 = QStringLiteral("rw");
    数据库设置::忙等待毫秒 = defaultBusyWait;
    // A box no test expected fails the test; the guard has answered it.
    QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
}

void TestArchiveWindow::填入(const 案例 &data) {
    auto fill = [](FlexGrid *g, const Rows &rows) {
        g->setRows(1 + int(rows.size()));
        for (int r = 0; r < rows.size(); ++r)
            for (int k = 0; k < rows[r].size(); ++k)
                g->setTextMatrix(r + 1, k, rows[r][k]);
    };
    fill(grid("MSFjk"), data.交款);
    fill(grid("MSFzc"), data.债权);
}

Rows TestArchiveWindow::表内容(const char *name) {
    return gridRows(grid(name));
}

// Runs a menu command or clicks a button by its name; every box that opens is answered.
QStringList TestArchiveWindow::命令(const char *name, QMessageBox::StandardButton answer,
                                    const QString &input, bool acceptInput) {
    BoxAnswerer answerer(answer, input, acceptInput);
    if (auto *action = w->findChild<QAction *>(QString::fromUtf8(name)))
        action->trigger();
    else
        c<QPushButton>(name)->click();
    titles = answerer.titles;
    buttons = answerer.buttons;
    return answerer.texts;
}

void TestArchiveWindow::列出并选(int row) {
    命令("读出内容");
    FlexGrid *list = grid("MSFysj");
    if (row >= 0)
        clickGridCell(list, row, 1);
}

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

void TestArchiveWindow::listShowsEveryCaseOldestFirst() {
    for (const char *name : {"丙案", "甲案", "乙案"})
        存案(QString::fromUtf8(name), 两笔两项);
    列出并选(-1);
    FlexGrid *list = grid("MSFysj");
    QVERIFY(c<QFrame>("Pic原数据")->isVisible());
    QCOMPARE(list->Rows(), 4);
    QCOMPARE(list->ColWidth(0), 0);
    for (int r = 1; r <= 3; ++r) {
        QCOMPARE(list->TextMatrix(r, 0), QString::number(r));
        QVERIFY(list->item(r - 1, 1)->textAlignment() & Qt::AlignLeft);
    }
    QCOMPARE(list->TextMatrix(1, 1), QStringLiteral("丙案"));
    QCOMPARE(list->TextMatrix(3, 1), QStringLiteral("乙案"));
    QCOMPARE(list->Row(), 3);
    // Listing again rebuilds the list rather than adding to it, scrolled back to the left.
    list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
    命令("读出内容");
    QCOMPARE(list->Rows(), 4);
    QCOMPARE(list->horizontalScrollBar()->value(), 0);
}

void TestArchiveWindow::confirmAndClickLoad() {
    // An empty list: 确定 loads nothing and only puts the panel away.
    命令("读出内容");
    QCOMPARE(grid("MSFysj")->Row(), 0);
    命令("Com确定");
    QVERIFY(!c<QFrame>("Pic原数据")->isVisible());
    QCOMPARE(w->当前案件号(), 0);

    存案(QStringLiteral("甲案"), 两笔两项);
    案例 second = 两笔两项;
    second.交款[0][0] = QStringLiteral("第二案交款人");
    存案(QStringLiteral("乙案"), second);

    // 确定 without a pick loads the newest case and shows the delete button for it.
    命令("读出内容");
    命令("Com确定");
    QCOMPARE(w->当前案件号(), 2);
    QCOMPARE(表内容("MSFjk"), second.交款);
    QVERIFY(c<QPushButton>("Com删除案件")->isVisible());
    QVERIFY(!c<QFrame>("Pic原数据")->isVisible());

    // The list has the focus; a case picked with the arrow keys is the one 确定 loads; Esc puts
    // the panel away as 取消 does.
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    命令("读出内容");
    QCOMPARE(grid("MSFysj")->currentRow(), 1);
    QTest::keyClick(grid("MSFysj"), Qt::Key_Escape);
    QVERIFY(!c<QFrame>("Pic原数据")->isVisible());
    QCOMPARE(w->当前案件号(), 2); // nothing loaded
    命令("读出内容");
    // The filter box takes the typing; Down goes on into the list, at the newest case.
    QCOMPARE(QApplication::focusWidget(), c<QLineEdit>("Txt案件筛选"));
    QTest::keyClick(c<QLineEdit>("Txt案件筛选"), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), grid("MSFysj"));
    QCOMPARE(grid("MSFysj")->currentRow(), 1);
    QTest::keyClick(grid("MSFysj"), Qt::Key_Up);
    // The hidden case-number column never takes the highlight.
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Home}) {
        QTest::keyClick(grid("MSFysj"), key);
        QCOMPARE(grid("MSFysj")->currentColumn(), 1);
    }
    命令("Com确定");
    QCOMPARE(w->当前案件号(), 1);
    // The focus goes to the payments table, not to 清除内容 under the panel, with its first cell
    // highlighted for the typing.
    QCOMPARE(QApplication::focusWidget(), grid("MSFjk"));
    QCOMPARE(grid("MSFjk")->currentIndex(), grid("MSFjk")->model()->index(0, 0));
    QCOMPARE(表内容("MSFjk"), 两笔两项.交款);

    // A click on a case loads it and shows the delete button.
    列出并选(1);
    QCOMPARE(w->当前案件号(), 1);
    QCOMPARE(表内容("MSFjk"), 两笔两项.交款);
    QCOMPARE(表内容("MSFzc")[1][3], QStringLiteral("100"));
    QVERIFY(c<QPushButton>("Com删除案件")->isVisible());
    QVERIFY(!c<QFrame>("Pic原数据")->isVisible());
    QVERIFY(grid("MSFzc")->item(0, 0)->textAlignment() & Qt::AlignLeft);
    // Loading with 确定 shows the delete button too.
    命令("读出内容");
    命令("Com确定");
    QVERIFY(c<QPushButton>("Com删除案件")->isVisible());

    // A click on the header row loads nothing.
    命令("Com清除");
    列出并选(0);
    QCOMPARE(w->当前案件号(), 0);
    QVERIFY(!c<QFrame>("Pic原数据")->isVisible());

    // A double click on 确定: its second click lands on the claims table where the button was
    // and opens no editor there; a click after a double click's time does.
    命令("读出内容");
    const QPoint at = grid("MSFzc")->格位置(1, 0).second.center();
    QTest::mouseClick(c<QPushButton>("Com确定"), Qt::LeftButton);
    QTest::mouseClick(grid("MSFzc")->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(!c<QLineEdit>("Tefp")->isVisible());
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(grid("MSFzc")->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(c<QLineEdit>("Tefp")->isVisible());

    // After a delete, a load shows the delete button again.
    命令("Com删除案件");
    QVERIFY(!c<QPushButton>("Com删除案件")->isVisible());
    命令("读出内容");
    命令("Com确定");
    QVERIFY(c<QPushButton>("Com删除案件")->isVisible());
}

void TestArchiveWindow::loadRecomputesTheDistribution() {
    // Stored distributed amounts that are not the distribution.
    存案(QStringLiteral("甲案"), {{{"甲", "100", "", ""}},
                                  {{"乙", "60", "一般债权", "", "999", ""},
                                   {"丙", "60", "一般债权", "", "999", ""}}});
    列出并选(1);
    QCOMPARE(grid("MSFzc")->TextMatrix(1, 4), QStringLiteral("50"));
    QCOMPARE(grid("MSFzc")->TextMatrix(2, 4), QStringLiteral("50"));
    QVERIFY(!w->分配说明().isEmpty());
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

// F10 opens the menu bar's commands for the keyboard, so that the archive's commands need no
// mouse: 数据保存 is chosen first and its menu opens; Enter there runs 存入内容.
void TestArchiveWindow::menusFromTheKeyboard() {
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QStringList shown;
    QTimer keys;
    int ticks = 0;
    connect(&keys, &QTimer::timeout, this, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        if (++ticks > 100) // never hang: give up and close the menus
            QTest::keyClick(menu, Qt::Key_Escape);
        else if (!menu->activeAction() && menu->objectName() != QStringLiteral("菜单命令"))
            QTest::keyClick(menu, Qt::Key_Down); // a submenu opens with nothing chosen
        else if (menu->activeAction()) {
            shown << menu->activeAction()->text();
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    keys.start(5);
    QStringList boxes;
    {
        BoxAnswerer answerer(QMessageBox::Ok, QString(), false); // the name box, cancelled
        QTest::keyClick(w, Qt::Key_F10);
        QTRY_VERIFY(!answerer.texts.isEmpty());
        boxes = answerer.texts;
    }
    keys.stop();
    QCOMPARE(shown.last(), QStringLiteral("存入内容"));
    QCOMPARE(boxes.first(), QStringLiteral("请输入案件名称，以便以后查询"));
}

void TestArchiveWindow::enterKeepsStoredData_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("overwrite") << "存入内容";
    QTest::newRow("delete") << "Com删除案件";
}

// The questions whose 是 overwrites or deletes a stored case take 否 on Enter.
void TestArchiveWindow::enterKeepsStoredData() {
    QFETCH(QString, command);
    填入(两笔两项);
    保存新案件(QStringLiteral("甲案"));
    grid("MSFzc")->setTextMatrix(1, 5, QStringLiteral("改过"));
    const Rows before = Reader(dbFile()).everything();
    QList<QMessageBox::StandardButton> pressed;
    {
        BoxAnswerer enter;
        enter.act = [&](QMessageBox *box) {
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus && box->isAncestorOf(focus) ? focus : box, Qt::Key_Return);
            pressed << box->standardButton(box->clickedButton());
        };
        if (auto *action = w->findChild<QAction *>(command))
            action->trigger();
        else
            c<QPushButton>(command.toUtf8().constData())->click();
        QCOMPARE(enter.buttons,
                 QList<QMessageBox::StandardButtons>{QMessageBox::Yes | QMessageBox::No});
    }
    QCOMPARE(pressed, QList<QMessageBox::StandardButton>{QMessageBox::No});
    QCOMPARE(Reader(dbFile()).everything(), before);
    QCOMPARE(w->当前案件号(), 1);
    QCOMPARE(grid("MSFzc")->TextMatrix(1, 5), QStringLiteral("改过"));
}

// The caption names the stored case on screen, from its save or load until a clear or delete,
// and ends with （未保存） while the tables hold what is not stored.
void TestArchiveWindow::captionNamesTheStoredCase() {
    const QString none = QStringLiteral("案款分配计算");
    const auto named = [](const char *name) {
        return QStringLiteral("案款分配计算 — ") + QString::fromUtf8(name);
    };
    const QString unsaved = QStringLiteral("（未保存）");
    QCOMPARE(w->windowTitle(), none);
    const auto type = [this](const char *text) {
        clickGridCell(grid("MSFjk"), 1, 1);
        QTest::keyClicks(c<QLineEdit>("tEXTAK"), QString::fromUtf8(text));
    };
    type("7");
    QCOMPARE(w->windowTitle(), none + unsaved);
    填入(两笔两项);
    保存新案件(QStringLiteral("甲案  "));
    QCOMPARE(w->windowTitle(), named("甲案"));
    type("5");
    QCOMPARE(w->windowTitle(), named("甲案") + unsaved);
    命令("存入内容");
    QCOMPARE(w->windowTitle(), named("甲案"));
    命令("Com清除");
    QCOMPARE(w->windowTitle(), none);
    填入(两笔两项);
    保存新案件(QStringLiteral("乙案"));
    QCOMPARE(w->windowTitle(), named("乙案"));
    列出并选(1);
    QCOMPARE(w->windowTitle(), named("甲案"));
    命令("读出内容");
    命令("Com确定"); // the newest case
    QCOMPARE(w->windowTitle(), named("乙案"));
    命令("Com删除案件");
    QCOMPARE(w->windowTitle(), none);
    填入(两笔两项);
    保存新案件(QStringLiteral("甲案")); // refused: the name is taken
    QCOMPARE(w->windowTitle(), none);
}

void TestArchiveWindow::unsavedContentIsAskedAbout_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("answer");
    for (const char *command : {"close", "clear", "load"})
        for (const auto answer : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            QTest::newRow(QByteArray(command)
                              .append(answer == QMessageBox::Yes  ? ", Yes"
                                      : answer == QMessageBox::No ? ", No"
                                                                  : ", Cancel")
                              .constData())
                << command << int(answer);
}

// A stored case changed on screen: closing, clearing or loading asks first; 是 saves (and the
// overwrite question is answered 是), 否 goes on without, 取消 leaves everything as it was.
void TestArchiveWindow::unsavedContentIsAskedAbout() {
    QFETCH(QString, command);
    QFETCH(int, answer);
    填入(两笔两项);
    保存新案件(QStringLiteral("甲案"));
    QVERIFY(!w->有未存修改());
    命令("Com清除"); // as saved: no question
    列出并选(1);
    grid("MSFjk")->setTextMatrix(1, 0, QStringLiteral("改过"));
    QVERIFY(w->有未存修改());
    QPointer<Fo案款分配计算> window = w;
    QStringList boxes;
    {
        BoxAnswerer answerer;
        answerer.act = [&](QMessageBox *box) {
            const bool question = box->text() == QStringLiteral("案件内容已修改，还没有保存。要保存吗？");
            box->button(question ? QMessageBox::StandardButton(answer)
                                 : box->button(QMessageBox::Yes) ? QMessageBox::Yes
                                                                 : QMessageBox::Ok)
                ->click();
        };
        if (command == QLatin1String("close"))
            w->close();
        else if (command == QLatin1String("clear"))
            w->Com清除->click();
        else
            列出并选(1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        boxes = answerer.texts;
    }
    QCOMPARE(boxes.value(0), QStringLiteral("案件内容已修改，还没有保存。要保存吗？"));
    const bool saved = answer == QMessageBox::Yes, goesOn = answer != QMessageBox::Cancel;
    QCOMPARE(boxes.size(), saved ? 3 : 1); // the overwrite question and 保存成功！
    QCOMPARE(Reader(dbFile()).scalar("SELECT 交款人 FROM 交款 ORDER BY id"),
             saved ? QStringLiteral("改过") : QStringLiteral("甲公司"));
    const QString shown = command == QLatin1String("clear") && goesOn ? QString()
                          : goesOn && !saved && command == QLatin1String("load")
                              ? QStringLiteral("甲公司")
                              : QStringLiteral("改过");
    if (command == QLatin1String("close") && goesOn) {
        QVERIFY(!window);
        w = new Fo案款分配计算;
        w->show();
    } else {
        QCOMPARE(grid("MSFjk")->TextMatrix(1, 0), shown);
        QCOMPARE(w->有未存修改(), !goesOn);
    }
}

int runArchiveWindowTests(int argc, char **argv) {
    TestArchiveWindow t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_archive_window.moc"
