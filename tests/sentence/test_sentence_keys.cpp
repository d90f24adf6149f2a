// The sentence window as a clerk uses it from the keyboard, and its date picker's calendar and
// date box.
#include "box_answerer.h"
#include "common/grid.h"
#include "sentence/sentence_window.h"
#include "typing.h"
#include "window_test.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

class TestSentenceKeys : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void tabOrderFollowsReading();
    void custodyGridFromTheKeyboard();
    void escapeCancelsAndFocusReturns();
    void executionDateFocusReturns();
    void calendarEnterConfirms();
    void pickerOnAnEmptyCellAfterAnEarlierPick();
    void releaseDateFirstInTheLastRow();
    void systemShortFormIsADate();
    void dateBoxIsWhite();
    void calendarShowsEveryDay();
    void termPickRefreshesOnce();
    void tabWalksTheCustodyCells_data();
    void tabWalksTheCustodyCells();
    void typingOnAHighlightedCell();
    void pickerButtonsShowTheFocus();

  private:
    template <class T> T *c(const char *name) { return child<T>(w, name); }
    // The window's focus widget: the one that has the focus while the window is active.
    QWidget *focus() { return w->focusWidget(); }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(focus(), Qt::Key(k), mods);
    }
    FlexGrid *grid() { return c<FlexGrid>("MSF"); }
    bool pickerShown() { return c<QFrame>("Picture1")->isVisible(); }
    QComboBox *term(int i) {
        return w->findChild<QComboBox *>(QStringLiteral("Com刑期(%1)").arg(i));
    }
    QString result() { return c<QPlainTextEdit>("Text1")->toPlainText(); }

    Fo刑期计算 *w = nullptr;
    std::unique_ptr<BoxAnswerer> guard;
};

void TestSentenceKeys::init() {
    guard = std::make_unique<BoxAnswerer>();
    w = new Fo刑期计算;
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

void TestSentenceKeys::cleanup() {
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
}

// In the custody table Tab walks its cells: from the highlighted detention cell of the blank row
// to its release cell, whose picker opens, and past it out of the table.
void TestSentenceKeys::tabOrderFollowsReading() {
    term(0)->setFocus();
    QStringList order;
    for (int i = 0; i < 7; ++i) {
        QWidget *f = focus();
        order << (f->objectName().isEmpty() ? f->parentWidget()->objectName() : f->objectName());
        key(Qt::Key_Tab);
    }
    QCOMPARE(order, (QStringList{"Com刑期(0)", "Com刑期(1)", "Com刑期(2)", "MSF", "Tex日期",
                                 "Tex执行日期", "Text1"}));
    QCOMPARE(focus(), term(0));
    QVERIFY(!pickerShown());
}

// Tab into the custody grid, Enter opens the picker with the focus in the date box, Enter
// confirms and the focus is back on the grid: a digit typed next changes no term.
void TestSentenceKeys::custodyGridFromTheKeyboard() {
    term(2)->setFocus();
    key(Qt::Key_Tab);
    QCOMPARE(focus(), grid());
    key(Qt::Key_Return);
    QVERIFY(pickerShown());
    QCOMPARE(focus(), c<QWidget>("Tex日期"));
    typeText(focus(), "2019-5-10");
    key(Qt::Key_Return);
    QVERIFY(!pickerShown());
    QCOMPARE(grid()->TextMatrix(1, 0), QStringLiteral("2019-5-10"));
    QCOMPARE(focus(), grid());
    key(Qt::Key_Right);
    key(Qt::Key_Space);
    QVERIFY(pickerShown());
    typeText(focus(), "2019-6-9");
    key(Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(grid()->TextMatrix(1, 1), QStringLiteral("2019-6-9"));
    QCOMPARE(grid()->Rows(), 3);
    QTest::keyClicks(focus(), "7"); // opens the highlighted cell, as in the case fund tables
    for (int i = 0; i < 3; ++i)
        QCOMPARE(term(i)->currentText(), QString());
    QCOMPARE(c<QLineEdit>("Tex日期")->text(), QStringLiteral("7"));
    key(Qt::Key_Escape);
    key(Qt::Key_Tab); // Tab walks on to the next row's detention cell
    QVERIFY(pickerShown());
    QCOMPARE(grid()->currentRow() + 1, 2);
}

void TestSentenceKeys::escapeCancelsAndFocusReturns() {
    grid()->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Return);
    typeText(focus(), "2019-5-10");
    key(Qt::Key_Escape);
    QVERIFY(!pickerShown());
    QCOMPARE(grid()->TextMatrix(1, 0), QString());
    QCOMPARE(focus(), grid());
    // Esc from the calendar as well.
    key(Qt::Key_Return);
    c<QCalendarWidget>("MonthView1")->setFocus();
    key(Qt::Key_Escape);
    QVERIFY(!pickerShown());
    QCOMPARE(focus(), grid());
    // A date the parser refuses keeps the panel open with the focus in the date box.
    BoxAnswerer answerer;
    key(Qt::Key_Return);
    typeText(focus(), "2019-13-1");
    key(Qt::Key_Return);
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("日期格式出错！")});
    QVERIFY(pickerShown());
    QCOMPARE(focus(), c<QWidget>("Tex日期"));
    QCOMPARE(c<QLineEdit>("Tex日期")->selectedText(), QStringLiteral("2019-13-1"));
}

void TestSentenceKeys::executionDateFocusReturns() {
    auto *execution = c<QLineEdit>("Tex执行日期");
    QTest::mouseClick(execution, Qt::LeftButton);
    QVERIFY(pickerShown());
    QCOMPARE(focus(), c<QWidget>("Tex日期"));
    typeText(focus(), "2020-1-2");
    key(Qt::Key_Return);
    QCOMPARE(execution->text(), QStringLiteral("2020-1-2"));
    QCOMPARE(focus(), execution);
    QVERIFY(execution->selectedText().isEmpty());
    // Opened again, the date box holds the last date selected: a date typed replaces it.
    QTest::mouseClick(execution, Qt::LeftButton);
    QCOMPARE(c<QLineEdit>("Tex日期")->selectedText(), QStringLiteral("2020-1-2"));
    typeText(focus(), "2020-3-4");
    key(Qt::Key_Return);
    QCOMPARE(execution->text(), QStringLiteral("2020-3-4"));
    // Tab onto "取消" cancels, as a click would; the focus goes back all the same.
    QTest::mouseClick(execution, Qt::LeftButton);
    typeText(c<QLineEdit>("Tex日期"), "x");
    BoxAnswerer answerer;
    key(Qt::Key_Tab); // onto "确定": refused, the message is answered
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("日期格式出错！")});
    QCOMPARE(focus(), c<QWidget>("Tex日期"));
    key(Qt::Key_Escape);
    QCOMPARE(focus(), execution);
    QCOMPARE(execution->text(), QStringLiteral("2020-3-4"));
}

void TestSentenceKeys::calendarEnterConfirms() {
    grid()->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Return);
    auto *calendar = c<QCalendarWidget>("MonthView1");
    calendar->setSelectedDate(QDate(2026, 8, 31));
    calendar->findChild<QTableView *>()->setFocus();
    key(Qt::Key_Return);
    QVERIFY(!pickerShown());
    QCOMPARE(grid()->TextMatrix(1, 0), QStringLiteral("2026/8/31"));
    QCOMPARE(focus(), grid());
}

void TestSentenceKeys::pickerOnAnEmptyCellAfterAnEarlierPick() {
    clickGridCell(grid(), 1, 0);
    auto *calendar = c<QCalendarWidget>("MonthView1");
    calendar->setSelectedDate(QDate(2019, 5, 10));
    QTest::mouseClick(calendar->findChild<QTableView *>()->viewport(), Qt::LeftButton, {},
                      calendar->findChild<QTableView *>()
                          ->visualRect(calendar->findChild<QTableView *>()->currentIndex())
                          .center());
    QTest::mouseClick(c<QPushButton>("Command2"), Qt::LeftButton);
    QCOMPARE(grid()->TextMatrix(1, 0), QStringLiteral("2019/5/10"));
    clickGridCell(grid(), 1, 1);
    QVERIFY(pickerShown());
    QCOMPARE(c<QLineEdit>("Tex日期")->text(), QString());
    // The calendar opens on the row's other date.
    QCOMPARE(calendar->selectedDate(), QDate(2019, 5, 10));
}

// The blank-row rule looks at both cells of the last row.
void TestSentenceKeys::releaseDateFirstInTheLastRow() {
    clickGridCell(grid(), 1, 1);
    typeText(focus(), "2019-6-1");
    key(Qt::Key_Return);
    QCOMPARE(grid()->TextMatrix(1, 1), QStringLiteral("2019-6-1"));
    QCOMPARE(grid()->Rows(), 3);
    QVERIFY(grid()->格在视野内(2, 0));
}

// The short form of the system locale (5/10/19 under en_US) is a date of 2019, and gives the
// same end of term as the year-month-day form.
void TestSentenceKeys::systemShortFormIsADate() {
    const QString local = QLocale::system().toString(QDate(2019, 5, 10), QLocale::ShortFormat);
    term(0)->lineEdit()->setText(QStringLiteral("1"));
    clickGridCell(grid(), 1, 0);
    typeText(focus(), local);
    key(Qt::Key_Return);
    QCOMPARE(grid()->TextMatrix(1, 0), local);
    const QString first = result();
    clickGridCell(grid(), 1, 0);
    c<QLineEdit>("Tex日期")->clear();
    typeText(focus(), "2019-5-10");
    key(Qt::Key_Return);
    QCOMPARE(result(), first);
    QVERIFY2(first.startsWith(QStringLiteral("刑满日期：2020年")), qPrintable(first));
}

void TestSentenceKeys::dateBoxIsWhite() {
    clickGridCell(grid(), 1, 0);
    QCOMPARE(c<QLineEdit>("Tex日期")->palette().color(QPalette::Base), QColor(Qt::white));
}

// Every day of every month has a cell inside the panel that a click reaches.
void TestSentenceKeys::calendarShowsEveryDay() {
    clickGridCell(grid(), 1, 0);
    auto *calendar = c<QCalendarWidget>("MonthView1");
    auto *view = calendar->findChild<QTableView *>();
    const QRect panel = c<QFrame>("Picture1")->rect();
    for (int year = 2019; year <= 2030; ++year) {
        for (int month = 1; month <= 12; ++month) {
            calendar->setCurrentPage(year, month);
            const int days = QDate(year, month, 1).daysInMonth();
            for (int day = 1; day <= days; ++day) {
                // Days of the month before stand in the first week, those of the month after
                // in the last two: the first cell with the number is the day for 1 to 14, the
                // last for 15 on.
                QModelIndex found;
                for (int r = 0; r < view->model()->rowCount(); ++r)
                    for (int col = 0; col < view->model()->columnCount(); ++col) {
                        const QModelIndex i = view->model()->index(r, col);
                        if (i.data().toString() == QString::number(day) &&
                            (!found.isValid() || day >= 15))
                            found = i;
                    }
                QVERIFY(found.isValid());
                const QRect cell = view->visualRect(found);
                const QString where = QStringLiteral("%1-%2-%3").arg(year).arg(month).arg(day);
                QVERIFY2(view->viewport()->rect().contains(cell), qPrintable(where));
                const QRect inPanel(view->viewport()->mapTo(c<QFrame>("Picture1"), cell.topLeft()),
                                    cell.size());
                QVERIFY2(panel.contains(inPanel), qPrintable(where));
            }
        }
    }
    // The last row of August 2026: 30 and 31 can be clicked.
    calendar->setCurrentPage(2026, 8);
    calendar->setSelectedDate(QDate(2026, 8, 31));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->currentIndex()).center());
    QCOMPARE(c<QLineEdit>("Tex日期")->text(), QStringLiteral("2026/8/31"));
}

// A pick from a term list ran the refresh twice, and an overflow showed twice.
void TestSentenceKeys::termPickRefreshesOnce() {
    QTest::mouseClick(c<QLineEdit>("Tex执行日期"), Qt::LeftButton);
    typeText(c<QLineEdit>("Tex日期"), "2020-5-10");
    key(Qt::Key_Return);
    BoxAnswerer answerer;
    term(2)->lineEdit()->setText(QStringLiteral("40000"));
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("溢出")});
    QComboBox *years = term(0);
    years->showPopup();
    QAbstractItemView *list = years->view();
    QTRY_VERIFY(list->isVisible());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(1, 0)).center());
    QCOMPARE(years->currentText(), QStringLiteral("2"));
    QCOMPARE(answerer.texts, (QStringList{QStringLiteral("溢出"), QStringLiteral("溢出")}));
}

// Tab and Shift+Tab from a highlighted cell (or from the date box of a picker open on it, with
// a date typed) walk the custody cells row by row, the picker opening on the cell reached; past
// the last cell and before the first they leave the table. One period is in the table: row 2 is
// its blank entry row.
void TestSentenceKeys::tabWalksTheCustodyCells_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed"); // into the picker opened on the cell; none: highlighted
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QString>("reached"); // "row,col" with the picker open, or a control
    QTest::newRow("detention to release") << 1 << 0 << QString() << true << "1,1";
    QTest::newRow("release to the next row") << 1 << 1 << QString() << true << "2,0";
    QTest::newRow("back to the row above") << 2 << 0 << QString() << false << "1,1";
    QTest::newRow("past the last cell") << 2 << 1 << QString() << true << "Tex执行日期";
    QTest::newRow("before the first cell") << 1 << 0 << QString() << false << "Com刑期(2)";
    QTest::newRow("typed release, Tab") << 2 << 1 << "2021-1-9" << true << "3,0";
    QTest::newRow("typed detention, Shift+Tab") << 2 << 0 << "2021-1-2" << false << "1,1";
}

void TestSentenceKeys::tabWalksTheCustodyCells() {
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(bool, forward);
    QFETCH(QString, reached);
    grid()->setTextMatrix(1, 0, QStringLiteral("2019-5-10"));
    grid()->setTextMatrix(1, 1, QStringLiteral("2019-6-9"));
    grid()->setRows(3);
    clickGridCell(grid(), row, col);
    if (typed.isEmpty())
        key(Qt::Key_Escape); // the picker away, the cell highlighted
    else
        typeText(focus(), typed);
    key(forward ? Qt::Key_Tab : Qt::Key_Backtab, forward ? Qt::NoModifier : Qt::ShiftModifier);
    if (!typed.isEmpty())
        QCOMPARE(grid()->TextMatrix(row, col), typed);
    const QStringList cell = reached.split(u',');
    if (cell.size() == 2) {
        QVERIFY(pickerShown());
        QCOMPARE(QString("%1,%2").arg(grid()->currentRow() + 1).arg(grid()->currentColumn()),
                 reached);
        QCOMPARE(focus(), c<QWidget>("Tex日期"));
        return;
    }
    QVERIFY(!pickerShown());
    QWidget *f = focus();
    QCOMPARE(f->objectName().isEmpty() ? f->parentWidget()->objectName() : f->objectName(),
             reached);
}

// A key typed on a highlighted custody cell opens its picker with the key in the date box,
// replacing the cell's date, as on a cell of the case fund tables.
void TestSentenceKeys::typingOnAHighlightedCell() {
    grid()->setTextMatrix(1, 0, QStringLiteral("2019-5-10"));
    grid()->setRows(3);
    clickGridCell(grid(), 1, 0);
    key(Qt::Key_Escape);
    QTest::keyClicks(grid(), "2");
    QCOMPARE(focus(), c<QWidget>("Tex日期"));
    QCOMPARE(c<QLineEdit>("Tex日期")->text(), QStringLiteral("2"));
    typeText(focus(), "018-3-1");
    key(Qt::Key_Return);
    QCOMPARE(grid()->TextMatrix(1, 0), QStringLiteral("2018-3-1"));
    QCOMPARE(focus(), grid());
}

// Each picker button draws itself otherwise while it has the focus, however the focus came.
void TestSentenceKeys::pickerButtonsShowTheFocus() {
    clickGridCell(grid(), 1, 0);
    for (const char *name : {"Command2", "Command1"}) {
        auto *button = c<QPushButton>(name);
        const QImage plain = button->grab().toImage();
        // As the focus comes back with the window: the button does not act on it.
        button->setFocus(Qt::ActiveWindowFocusReason);
        QVERIFY(button->hasFocus());
        QVERIFY2(button->grab().toImage() != plain, name);
        c<QWidget>("Tex日期")->setFocus(Qt::ActiveWindowFocusReason);
    }
}

int runSentenceKeysTests(int argc, char **argv) {
    TestSentenceKeys t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_sentence_keys.moc"
