#include "box_answerer.h"
#include "common/date_text.h"
#include "common/grid.h"
#include "common/twips.h"
#include "sentence/sentence_window.h"
#include "typing.h"
#include "window_test.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

class TestSentenceWindow : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void loadState();
    void pickerForAnEmptyCell();
    void calendarClickFillsTheDateBox();
    void confirmWritesCellAndGrowsTheTable();
    void confirmRefusesWhatIsNotADate();
    void cancelAndFreeAreaWriteNothing();
    void keyboardFocusConfirms();
    void executionDateKeepsLastPickerText();
    void workedResults_data();
    void workedResults();
    void emptyingTheRowAboveShrinksTheTable();
    void badTermTextsNeverCrash_data();
    void badTermTextsNeverCrash();
    void deductionOverflowIsShown();
    void custodyDatesPastedCopiedUndone();
    void reversedPeriodRefused_data();
    void reversedPeriodRefused();
    void reversedRowNotCreditedAndMarked();
    void pickerOpensOnASensibleDate();
    void pickerOpensWhereTheClerkWorks_data();
    void pickerOpensWhereTheClerkWorks();
    void linesUnderTheResult_data();
    void linesUnderTheResult();
    void typedExecutionDateCounts();

  private:
    template <class T> T *c(const char *name) { return child<T>(w, name); }
    void clickCell(int row, int col);
    void pick(const QString &text); // types into the date box and confirms
    void setTerm(int field, const QString &text);
    QString result() { return c<QPlainTextEdit>("Text1")->toPlainText(); }

    Fo刑期计算 *w = nullptr;
    std::unique_ptr<BoxAnswerer> guard; // answers any box the test did not expect
};

void TestSentenceWindow::init() {
    guard = std::make_unique<BoxAnswerer>();
    w = new Fo刑期计算;
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

void TestSentenceWindow::cleanup() {
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // A box no test expected fails the test; the guard has answered it.
    QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
}

void TestSentenceWindow::clickCell(int row, int col) {
    clickGridCell(c<FlexGrid>("MSF"), row, col);
}

void TestSentenceWindow::pick(const QString &text) {
    auto *box = c<QLineEdit>("Tex日期");
    box->clear();
    typeText(box, text);
    QTest::mouseClick(c<QPushButton>("Command2"), Qt::LeftButton);
}

void TestSentenceWindow::setTerm(int field, const QString &text) {
    auto *combo = w->findChild<QComboBox *>(QStringLiteral("Com刑期(%1)").arg(field));
    combo->lineEdit()->clear();
    typeText(combo->lineEdit(), text);
}

void TestSentenceWindow::loadState() {
    QVERIFY(result().isEmpty());
    auto *panel = c<QFrame>("Picture1");
    QVERIFY(!panel->isVisible());
    QCOMPARE(缇左(panel), (6090 - 4455) / 2);
    QCOMPARE(缇上(panel), (6345 - 2775) / 2);
    auto *grid = c<FlexGrid>("MSF");
    QCOMPARE(grid->Rows(), 2);
    QCOMPARE(grid->Cols(), 2);
    QCOMPARE(grid->TextMatrix(0, 0), QStringLiteral("关押日期"));
    QCOMPARE(grid->TextMatrix(0, 1), QStringLiteral("释放日期"));
    QCOMPARE(grid->ColWidth(0), 1500);
    QCOMPARE(grid->ColWidth(1), 1500);
    const int counts[] = {20, 12, 30};
    for (int i = 0; i < 3; ++i) {
        auto *combo = w->findChild<QComboBox *>(QStringLiteral("Com刑期(%1)").arg(i));
        QCOMPARE(combo->count(), counts[i]);
        QCOMPARE(combo->itemText(0), QStringLiteral("1"));
        QCOMPARE(combo->itemText(counts[i] - 1), QString::number(counts[i]));
        QVERIFY(combo->currentText().isEmpty());
        QVERIFY(combo->isEditable());
    }
    QCOMPARE(缇左(grid), 1680);
    QCOMPARE(c<QFrame>("Line1")->palette().color(QPalette::Window), QColor(128, 128, 0));
}

void TestSentenceWindow::pickerForAnEmptyCell() {
    clickCell(0, 0); // the header row opens nothing
    QVERIFY(!c<QFrame>("Picture1")->isVisible());
    clickCell(1, 1);
    QVERIFY(c<QFrame>("Picture1")->isVisible());
    QVERIFY(c<QLineEdit>("Tex日期")->text().isEmpty());
    QCOMPARE(c<QCalendarWidget>("MonthView1")->selectedDate(), QDate::currentDate());
}

void TestSentenceWindow::calendarClickFillsTheDateBox() {
    clickCell(1, 0);
    auto *calendar = c<QCalendarWidget>("MonthView1");
    calendar->setSelectedDate(QDate(2019, 5, 10));
    auto *view = calendar->findChild<QTableView *>();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->currentIndex()).center());
    // Written in the Chinese short form whatever the system locale.
    QCOMPARE(c<QLineEdit>("Tex日期")->text(), QStringLiteral("2019/5/10"));
    QTest::mouseClick(c<QPushButton>("Command2"), Qt::LeftButton);
    QCOMPARE(c<FlexGrid>("MSF")->TextMatrix(1, 0), QStringLiteral("2019/5/10"));
    // Opening the cell again loads the calendar from it.
    calendar->setSelectedDate(QDate(2000, 1, 1));
    clickCell(1, 0);
    QCOMPARE(calendar->selectedDate(), QDate(2019, 5, 10));
}

void TestSentenceWindow::confirmWritesCellAndGrowsTheTable() {
    auto *grid = c<FlexGrid>("MSF");
    clickCell(1, 0);
    pick("2019-5-10");
    QVERIFY(!c<QFrame>("Picture1")->isVisible());
    QCOMPARE(grid->TextMatrix(1, 0), QStringLiteral("2019-5-10"));
    QCOMPARE(grid->Rows(), 3);
    QVERIFY(result().startsWith(QStringLiteral("刑满日期：")));
    // An empty date box clears the cell.
    clickCell(1, 0);
    QCOMPARE(c<QLineEdit>("Tex日期")->text(), QStringLiteral("2019-5-10"));
    pick("");
    QCOMPARE(grid->TextMatrix(1, 0), QString());
}

void TestSentenceWindow::confirmRefusesWhatIsNotADate() {
    clickCell(1, 0);
    BoxAnswerer answerer;
    pick("abc");
    QCOMPARE(answerer.texts, QStringList{"日期格式出错！"});
    QCOMPARE(answerer.titles, QStringList{"日期出错提示"});
    QCOMPARE(answerer.icons.value(0), QMessageBox::NoIcon);
    QVERIFY(c<QFrame>("Picture1")->isVisible());
    auto *box = c<QLineEdit>("Tex日期");
    QCOMPARE(w->focusWidget(), box);
    QCOMPARE(box->selectedText(), QStringLiteral("abc"));
    QCOMPARE(c<FlexGrid>("MSF")->TextMatrix(1, 0), QString());
    QCOMPARE(c<FlexGrid>("MSF")->Rows(), 2);
    QCOMPARE(result(), QStringLiteral("刑满日期：1899年12月30日")); // refreshed all the same
    // The window taking the focus back when the box has gone asks nothing again.
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTRY_VERIFY(box->hasFocus());
    QCOMPARE(answerer.texts.size(), 1);
}

void TestSentenceWindow::cancelAndFreeAreaWriteNothing() {
    clickCell(1, 0);
    typeText(c<QLineEdit>("Tex日期"), "2019-5-10");
    QTest::mouseClick(c<QPushButton>("Command1"), Qt::LeftButton);
    QVERIFY(!c<QFrame>("Picture1")->isVisible());
    QCOMPARE(c<FlexGrid>("MSF")->TextMatrix(1, 0), QString());
    clickCell(1, 1);
    QVERIFY(c<QFrame>("Picture1")->isVisible());
    QTest::mouseClick(w->centralWidget(), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!c<QFrame>("Picture1")->isVisible());
    QVERIFY(result().isEmpty());
}

// For the execution date; Tab in the date box of a table cell walks the table's cells.
void TestSentenceWindow::keyboardFocusConfirms() {
    QTest::mouseClick(c<QLineEdit>("Tex执行日期"), Qt::LeftButton);
    auto *box = c<QLineEdit>("Tex日期");
    box->setFocus();
    typeText(box, "2019-5-10");
    QTest::keyClick(box, Qt::Key_Tab); // the focus moves on to "确定"
    QVERIFY(!c<QFrame>("Picture1")->isVisible());
    QCOMPARE(c<QLineEdit>("Tex执行日期")->text(), QStringLiteral("2019-5-10"));
}

void TestSentenceWindow::executionDateKeepsLastPickerText() {
    clickCell(1, 0);
    pick("2019-5-10");
    QTest::mouseClick(c<QLineEdit>("Tex执行日期"), Qt::LeftButton);
    QVERIFY(c<QFrame>("Picture1")->isVisible());
    QCOMPARE(c<QLineEdit>("Tex日期")->text(), QStringLiteral("2019-5-10"));
    pick("2019-12-1");
    QCOMPARE(c<QLineEdit>("Tex执行日期")->text(), QStringLiteral("2019-12-1"));
    QCOMPARE(c<FlexGrid>("MSF")->TextMatrix(1, 0), QStringLiteral("2019-5-10"));
}

void TestSentenceWindow::workedResults_data() {
    QTest::addColumn<QStringList>("rows"); // detention, release pairs
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<QString>("execution");
    QTest::addColumn<QString>("text");
    QTest::newRow("open period") << QStringList{"2019-5-10", ""} << QStringList{"3", "", ""}
                                 << "2019-12-1"
                                 << "刑满日期：2022年5月9日\n执行前扣除羁押：0年6月21日";
    QTest::newRow("completed period") << QStringList{"2018-1-1", "2018-2-15", "2019-5-10", ""}
                                      << QStringList{"3", "", ""} << "2019-12-1"
                                      << "刑满日期：2022年3月25日\n执行前扣除羁押：0年8月5日";
    QTest::newRow("no deduction") << QStringList{"2019-5-10", ""} << QStringList{"3", "", ""}
                                  << "2019-5-10"
                                  << "刑满日期：2022年5月9日";
    QTest::newRow("no term") << QStringList{} << QStringList{"", "", ""} << "2020-5-10"
                             << "刑满日期：1899年12月30日\n执行前扣除羁押：120年4月9日";
    QTest::newRow("start day lacking")
        << QStringList{"2019-1-31", ""} << QStringList{"", "1", ""} << "2019-1-31"
        << "刑满日期：2019年2月28日\n执行前扣除羁押：0年0月2日";
    QTest::newRow("25 years typed")
        << QStringList{"2000-3-1", ""} << QStringList{"25", "", ""} << ""
        << "刑满日期：2025年2月28日";
    QTest::newRow("release not a date")
        << QStringList{"2018-1-1", "2018-2-15"} << QStringList{"1", "", ""} << ""
        << "";
}

void TestSentenceWindow::workedResults() {
    QFETCH(QStringList, rows);
    QFETCH(QStringList, terms);
    QFETCH(QString, execution);
    QFETCH(QString, text);
    for (int i = 0; i < rows.size(); ++i) {
        clickCell(1 + i / 2, i % 2);
        pick(rows[i]);
    }
    if (!execution.isEmpty()) {
        QTest::mouseClick(c<QLineEdit>("Tex执行日期"), Qt::LeftButton);
        pick(execution);
    }
    for (int i = 0; i < 3; ++i)
        setTerm(i, terms[i]);
    if (text.isEmpty()) {
        // A completed period whose release cell is then spoiled fails the whole end date.
        c<FlexGrid>("MSF")->setTextMatrix(1, 1, "x");
        setTerm(0, "2");
        QCOMPARE(result(), QStringLiteral("刑满日期：1899年12月30日"));
        return;
    }
    QCOMPARE(result(), text);
    QCOMPARE(w->结果文本(), QString(text).replace("\n", "\r\n"));
}

void TestSentenceWindow::emptyingTheRowAboveShrinksTheTable() {
    auto *grid = c<FlexGrid>("MSF");
    clickCell(1, 0);
    pick("2019-5-10");
    clickCell(2, 0);
    pick("2019-6-10");
    QCOMPARE(grid->Rows(), 4);
    clickCell(2, 0);
    pick("");
    QCOMPARE(grid->Rows(), 3);
    clickCell(1, 0);
    pick("");
    QCOMPARE(grid->Rows(), 2);
}

void TestSentenceWindow::badTermTextsNeverCrash_data() {
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("text");
    QTest::newRow("letters") << "abc"
                             << "刑满日期：1899年12月30日";
    QTest::newRow("blanks") << "   "
                            << "刑满日期：1899年12月30日";
    QTest::newRow("1e9") << "1e9"
                         << "刑满日期：1899年12月30日";
    QTest::newRow("-32769") << "-32769"
                            << "刑满日期：1899年12月30日";
    QTest::newRow("beyond 32 bits") << "99999999999"
                                    << "刑满日期：1899年12月30日";
    QTest::newRow("carries past 9999") << "8000"
                                       << "刑满日期：1899年12月30日";
    QTest::newRow("chosen 2") << "2"
                              << "刑满日期：2021年5月9日";
}

void TestSentenceWindow::badTermTextsNeverCrash() {
    QFETCH(QString, term);
    QFETCH(QString, text);
    clickCell(1, 0);
    pick("2019-5-10");
    BoxAnswerer answerer;
    setTerm(0, term);
    QCOMPARE(result(), text);
    QVERIFY(answerer.texts.isEmpty());
    QVERIFY(w->isVisible());
}

void TestSentenceWindow::deductionOverflowIsShown() {
    QTest::mouseClick(c<QLineEdit>("Tex执行日期"), Qt::LeftButton);
    pick("2020-5-10");
    BoxAnswerer answerer;
    setTerm(2, "40000"); // the day part of the implied start leaves the 16-bit range
    QVERIFY(answerer.texts.contains(QStringLiteral("溢出")));
    QVERIFY(result().startsWith(QStringLiteral("刑满日期：")));
    QVERIFY(w->isVisible());
}

// The worked example of an open period and a completed one, pasted as Calc copies it; a cell
// that is not a date is named and left empty, and the result is refreshed once.
void TestSentenceWindow::custodyDatesPastedCopiedUndone() {
    auto *grid = c<FlexGrid>("MSF");
    setTerm(0, "3");
    auto *data = new QMimeData;
    data->setText("2019-5-10\t\n2018-1-1\t2018-2-15\nabc\t2018/3/1\n");
    QGuiApplication::clipboard()->setMimeData(data);
    clickCell(1, 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    {
        BoxAnswerer answer;
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(answer.texts, QStringList{"第3行“关押日期”：“abc”不是日期"});
        QCOMPARE(answer.titles, QStringList{"粘贴提示"});
    }
    QCOMPARE(grid->Rows(), 5);
    QCOMPARE(grid->TextMatrix(3, 0), QString());
    QCOMPARE(grid->TextMatrix(3, 1), QStringLiteral("2018/3/1"));
    QCOMPARE(result(), QStringLiteral("刑满日期：2022年3月25日"));
    QVERIFY(c<QFrame>("Picture1")->isHidden());

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      grid->格位置(2, 1).second.center());
    QVERIFY(c<QFrame>("Picture1")->isHidden());
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("2019-5-10\t\n2018-1-1\t2018-2-15\n"));

    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(grid->Rows(), 2);
    QCOMPARE(grid->TextMatrix(1, 0), QString());
}

// A custody period that would end before it begins is refused where its date is entered, by the
// picker or by a paste; the cell keeps what it held and the result does not change.
void TestSentenceWindow::reversedPeriodRefused_data() {
    QTest::addColumn<bool>("paste");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("box");
    const QString sentence = QStringLiteral("释放日期不能早于关押日期。");
    QTest::newRow("picked release") << false << 1 << "2022-03-01" << sentence;
    QTest::newRow("picked detention") << false << 0 << "2022-03-09" << sentence;
    QTest::newRow("pasted release") << true << 1 << "2022-03-01"
                                    << "第1行“释放日期”：" + sentence;
    QTest::newRow("pasted detention") << true << 0 << "2022-03-09"
                                      << "第1行“关押日期”：" + sentence;
    QTest::newRow("released the day of detention") << false << 1 << "2022-03-05" << QString();
}

void TestSentenceWindow::reversedPeriodRefused() {
    QFETCH(bool, paste);
    QFETCH(int, col);
    QFETCH(QString, date);
    QFETCH(QString, box);
    auto *grid = c<FlexGrid>("MSF");
    setTerm(0, "3");
    clickCell(1, 0);
    pick("2022-03-05");
    clickCell(1, 1);
    pick("2022-03-08");
    const QString before = result();
    const QString held = grid->TextMatrix(1, col);
    BoxAnswerer answer;
    clickCell(1, col);
    if (paste) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        auto *data = new QMimeData;
        data->setText(date);
        QGuiApplication::clipboard()->setMimeData(data);
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    } else {
        pick(date);
        QTest::mouseClick(c<QPushButton>("Command1"), Qt::LeftButton);
    }
    if (box.isEmpty()) { // a period of one day is taken
        QCOMPARE(answer.texts, QStringList());
        QCOMPARE(grid->TextMatrix(1, col), date);
        return;
    }
    QCOMPARE(answer.texts, QStringList{box});
    QCOMPARE(grid->TextMatrix(1, col), held);
    QCOMPARE(result(), before);
}

// A reversed row that is in the table all the same adds nothing and shows light red.
void TestSentenceWindow::reversedRowNotCreditedAndMarked() {
    auto *grid = c<FlexGrid>("MSF");
    setTerm(0, "3");
    clickCell(1, 0);
    pick("2019-5-10");
    const QString open = result();
    grid->setRows(4);
    grid->setTextMatrix(2, 0, QStringLiteral("2018-3-5"));
    grid->setTextMatrix(2, 1, QStringLiteral("2018-3-1"));
    w->刷新结果();
    QCOMPARE(result(), open);
    QCOMPARE(grid->item(1, 0)->background().color(), QColor(255, 128, 128));
    QCOMPARE(grid->item(0, 0)->background().style(), Qt::NoBrush);
}

// The execution date's calendar opens on that date, else today: never on what a cancelled edit
// of a table cell left.
void TestSentenceWindow::pickerOpensOnASensibleDate() {
    auto *calendar = c<QCalendarWidget>("MonthView1");
    clickCell(1, 0);
    calendar->setSelectedDate(QDate(2001, 1, 1));
    QTest::mouseClick(c<QPushButton>("Command1"), Qt::LeftButton);
    QTest::mouseClick(c<QLineEdit>("Tex执行日期"), Qt::LeftButton);
    QCOMPARE(calendar->selectedDate(), QDate::currentDate());
}

// A picker opens on its cell's date, else on the row's other date, else on the last date
// entered (a date cleared is none), else on today; the execution date's on that date, else on
// the last date entered.
void TestSentenceWindow::pickerOpensWhereTheClerkWorks_data() {
    QTest::addColumn<QStringList>("entered"); // "row,col" (0,0: the execution date) and a date
    QTest::addColumn<int>("row");             // what is opened then
    QTest::addColumn<int>("col");
    QTest::addColumn<QDate>("shown");
    const QStringList period{"1,0", "2019-5-10", "1,1", "2019-6-9"};
    QTest::newRow("cell's own date") << period << 1 << 0 << QDate(2019, 5, 10);
    QTest::newRow("new row: last entered") << period << 2 << 0 << QDate(2019, 6, 9);
    QTest::newRow("row's other date first")
        << QStringList{"1,0", "2019-5-10", "0,0", "2020-1-2"} << 1 << 1 << QDate(2019, 5, 10);
    QTest::newRow("execution: last entered") << period << 0 << 0 << QDate(2019, 6, 9);
    QTest::newRow("execution: its own date")
        << QStringList{"0,0", "2020-1-2", "1,0", "2019-5-10"} << 0 << 0 << QDate(2020, 1, 2);
    QTest::newRow("cleared is no date")
        << QStringList{"1,0", "2019-5-10", "1,0", ""} << 0 << 0 << QDate(2019, 5, 10);
}

void TestSentenceWindow::pickerOpensWhereTheClerkWorks() {
    QFETCH(QStringList, entered);
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QDate, shown);
    const auto open = [&](int r, int k) {
        if (r == 0)
            QTest::mouseClick(c<QLineEdit>("Tex执行日期"), Qt::LeftButton);
        else
            clickCell(r, k);
    };
    for (int i = 0; i < entered.size(); i += 2) {
        const QStringList at = entered[i].split(u',');
        open(at[0].toInt(), at[1].toInt());
        pick(entered[i + 1]);
    }
    open(row, col);
    QCOMPARE(c<QCalendarWidget>("MonthView1")->selectedDate(), shown);
}

// Under the result: where the term runs from and the custody credited, in days (both ends of
// each period counted) and as the end date takes it. A start from a row meant as a completed
// period (its release refused, or a filled row below it) is light red until the row is done.
void TestSentenceWindow::linesUnderTheResult_data() {
    QTest::addColumn<QStringList>("rows"); // detention, release pairs
    QTest::addColumn<QString>("refused");  // a release typed into row 1 and refused
    QTest::addColumn<QString>("start");    // empty: today
    QTest::addColumn<QString>("credit");
    QTest::addColumn<bool>("red");
    const QString none = QStringLiteral("已折抵羁押：0天（0年0月0日）");
    QTest::newRow("no custody") << QStringList{} << QString() << QString() << none << false;
    QTest::newRow("an open row") << QStringList{"2025-3-5", ""} << QString() << "2025年3月5日"
                                 << none << false;
    QTest::newRow("completed rows") // 365 and 46 days: 1 year, and 1 month 15 days
        << QStringList{"2017-3-1", "2018-2-28", "2018-3-1", "2018-4-15", "2019-5-10", ""}
        << QString() << "2019年5月10日"
        << "已折抵羁押：411天（1年1月15日）" << false;
    QTest::newRow("half-entered: a row below")
        << QStringList{"2018-1-1", "", "2018-3-1", "2018-4-15"} << QString() << "2018年1月1日"
        << "已折抵羁押：46天（0年1月15日）" << true;
    QTest::newRow("half-entered: release refused") << QStringList{"2019-5-10", ""} << "2019-5-1"
                                                   << "2019年5月10日" << none << true;
}

void TestSentenceWindow::linesUnderTheResult() {
    QFETCH(QStringList, rows);
    QFETCH(QString, refused);
    QFETCH(QString, start);
    QFETCH(QString, credit);
    QFETCH(bool, red);
    auto *startLine = c<QLabel>("La刑期起算");
    const auto isRed = [&] {
        return startLine->autoFillBackground() &&
               startLine->palette().color(QPalette::Window) == QColor(255, 128, 128);
    };
    const QString todayStart = QDate::currentDate().toString(
        QStringLiteral("刑期起算：yyyy年M月d日（今天；羁押表中没有未释放的羁押日期）"));
    setTerm(0, "3");
    for (int i = 0; i < rows.size(); ++i) {
        clickCell(1 + i / 2, i % 2);
        pick(rows[i]);
    }
    if (!refused.isEmpty()) {
        BoxAnswerer answer;
        clickCell(1, 1);
        pick(refused);
        QCOMPARE(answer.texts, QStringList{"释放日期不能早于关押日期。"});
        w->activateWindow(); // as the desktop gives it back when the box closes
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::mouseClick(c<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(c<QFrame>("Picture1")->isHidden());
    }
    QCOMPARE(startLine->text().remove(u'\n'),
             start.isEmpty() ? todayStart
                             : QStringLiteral("刑期起算：%1（未释放的羁押日期）").arg(start));
    QCOMPARE(c<QLabel>("La折抵羁押")->text(), credit);
    QCOMPARE(isRed(), red);
    if (!red)
        return;
    // The row completed: the start moves to today, in plain colours.
    clickCell(1, 1);
    pick("2019-6-1");
    QCOMPARE(startLine->text().remove(u'\n'), todayStart);
    QVERIFY(!isRed());
}

// A date typed straight into the execution date box refreshes the result when the clerk is done
// with it, and the picker opened over it keeps it. An execution date before the start of the
// term (today, without custody) is said in words.
void TestSentenceWindow::typedExecutionDateCounts() {
    auto *execution = c<QLineEdit>("Tex执行日期");
    setTerm(0, "3");
    const QString before = result();
    const QString early = 短日期文本(QDate::currentDate().addYears(-1));
    execution->setFocus(Qt::TabFocusReason);
    typeText(execution, early);
    QCOMPARE(result(), before); // not while typing
    QTest::keyClick(execution, Qt::Key_Return);
    QCOMPARE(result(), before + "\n执行前扣除羁押：执行日期早于刑期起算日");
    // The picker opened over it shows it; Enter keeps it.
    QTest::mouseClick(execution, Qt::LeftButton);
    QCOMPARE(c<QLineEdit>("Tex日期")->text(), early);
    QTest::keyClick(c<QLineEdit>("Tex日期"), Qt::Key_Return);
    QCOMPARE(execution->text(), early);
    // Leaving the box counts as Enter does.
    execution->clear();
    typeText(execution, 短日期文本(QDate::currentDate().addDays(40)));
    QTest::keyClick(execution, Qt::Key_Tab);
    QVERIFY2(result().contains(QStringLiteral("执行前扣除羁押：0年1月")), qPrintable(result()));
    // A date box the clerk empties still clears the execution date.
    QTest::mouseClick(execution, Qt::LeftButton);
    pick("");
    QCOMPARE(execution->text(), QString());
    QCOMPARE(result(), before);
}

int runSentenceWindowTests(int argc, char **argv) {
    TestSentenceWindow t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_sentence_window.moc"
