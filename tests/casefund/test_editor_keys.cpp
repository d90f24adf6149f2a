// The editors of the case fund window as a clerk uses them: on the keyboard, while the tables
// scroll, and the nature combo's typing and list.
#include "box_answerer.h"
#include "case_fund_fixture.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "common/twips.h"
#include "typing.h"
#include "window_test.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using Cell = QPair<int, int>;
Q_DECLARE_METATYPE(QList<Cell>)

class TestEditorKeys : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void tabWalksTheEditableCells_data();
    void tabWalksTheEditableCells();
    void shiftTabGoesBack();
    void paymentsTabLeavesForTheClaimsTable();
    void escapePutsTheEditorAway();
    void enterOnTheGridOpensTheEditor();
    void typingOnTheHighlightedCellEditsIt();
    void tabOrderFollowsReading();
    void wholeCaseFromTheKeyboard();
    void editorStaysOnItsCellWhileScrolling();
    void comboFollowsItsCellToo();
    void natureKeepsWhatIsTyped_data();
    void natureKeepsWhatIsTyped();
    void natureListIsReadable();
    void downFromAnEmptyNatureStartsAtTheFirstClass();
    void pickFromTheListRunsOnce();
    void priorityComparedAsMoney_data();
    void priorityComparedAsMoney();

  private:
    template <class T> T *c(const char *name) { return child<T>(w, name); }
    FlexGrid *payments() { return c<FlexGrid>("MSFjk"); }
    FlexGrid *claims() { return c<FlexGrid>("MSFzc"); }
    QWidget *focus() { return QApplication::focusWidget(); }
    // Types as a person does: each key goes to the control that has the focus at that moment.
    void typeHere(const QString &text) {
        for (const QChar ch : text)
            typeText(focus(), QString(ch));
    }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(focus(), Qt::Key(k), mods);
    }
    // The cell the shown editor of a table lies over, found from the editor's place; (-1, -1)
    // when no editor of the table is shown.
    Cell editing(FlexGrid *grid);
    void fillClaims(int rows); // as a loaded case: many rows, no editor
    void pickItem(QComboBox *combo, int index);

    Fo案款分配计算 *w = nullptr;
    QTemporaryDir dir;
    std::unique_ptr<BoxAnswerer> guard;
};

void TestEditorKeys::init() {
    guard = std::make_unique<BoxAnswerer>();
    w = 打开案款窗口(dir);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

void TestEditorKeys::cleanup() {
    关闭不保存(w);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
}

Cell TestEditorKeys::editing(FlexGrid *grid) {
    QList<QWidget *> editors;
    if (grid == payments())
        editors = {c<QWidget>("tEXTAK")};
    else
        editors = {c<QWidget>("Tefp"), c<QWidget>("Comzq")};
    for (QWidget *editor : editors) {
        if (!editor->isVisible())
            continue;
        for (int r = 1; r < grid->Rows(); ++r)
            for (int col = 0; col < grid->Cols(); ++col)
                if (缇左(editor) == 缇左(grid) + grid->ColPos(col) + 50 &&
                    缇上(editor) == 缇上(grid) + grid->RowPos(r) + 50)
                    return {r, col};
        return {-2, -2}; // shown, but over no cell
    }
    return {-1, -1};
}

void TestEditorKeys::fillClaims(int rows) {
    claims()->setRows(rows + 2);
    for (int r = 1; r <= rows; ++r) {
        claims()->setTextMatrix(r, 0, QStringLiteral("债权人%1").arg(r));
        claims()->setTextMatrix(r, 1, QStringLiteral("100"));
        claims()->setTextMatrix(r, 2, QStringLiteral("一般债权"));
    }
}

void TestEditorKeys::pickItem(QComboBox *combo, int index) {
    combo->showPopup();
    QAbstractItemView *list = combo->view();
    QTRY_VERIFY(list->isVisible());
    const QRect item = list->visualRect(list->model()->index(index, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    QCoreApplication::processEvents();
}

void TestEditorKeys::tabWalksTheEditableCells_data() {
    QTest::addColumn<QString>("nature");
    QTest::addColumn<int>("press");
    QTest::addColumn<QList<Cell>>("cells");
    // Column 4 is never edited, column 3 only on a mortgage row; after the last row's remark
    // the entry row follows, whose nature is empty.
    const QList<Cell> mortgage{{1, 1}, {1, 2}, {1, 3}, {1, 5}, {2, 0}, {2, 1}, {2, 2}, {2, 5}};
    const QList<Cell> wages{{1, 1}, {1, 2}, {1, 5}, {2, 0}, {2, 1}, {2, 2}, {2, 5}};
    QTest::newRow("mortgage, Tab") << "抵押" << int(Qt::Key_Tab) << mortgage;
    QTest::newRow("mortgage, Enter") << "抵押" << int(Qt::Key_Return) << mortgage;
    QTest::newRow("wages, Tab") << "工资" << int(Qt::Key_Tab) << wages;
    QTest::newRow("wages, keypad Enter") << "工资" << int(Qt::Key_Enter) << wages;
}

void TestEditorKeys::tabWalksTheEditableCells() {
    QFETCH(QString, nature);
    QFETCH(int, press);
    QFETCH(QList<Cell>, cells);
    const auto mods = press == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    claims()->setRows(3);
    claims()->setTextMatrix(1, 0, QStringLiteral("甲"));
    claims()->setTextMatrix(1, 2, nature);
    clickGridCell(claims(), 1, 0);
    QCOMPARE(editing(claims()), Cell(1, 0));
    for (const Cell &next : cells) {
        key(press, mods);
        QCOMPARE(editing(claims()), next);
        QWidget *editor = next.second == 2 ? c<QWidget>("Comzq") : c<QWidget>("Tefp");
        QVERIFY(editor == focus() || editor->isAncestorOf(focus()));
    }
    // Past the entry row's last cell the editing ends and the focus leaves the table.
    key(press, mods);
    QCOMPARE(editing(claims()), Cell(-1, -1));
    QCOMPARE(focus(), c<QWidget>("Com清除"));
    QCOMPARE(claims()->Rows(), 3);
}

void TestEditorKeys::shiftTabGoesBack() {
    claims()->setRows(3);
    claims()->setTextMatrix(1, 2, QStringLiteral("抵押"));
    clickGridCell(claims(), 2, 0);
    key(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(editing(claims()), Cell(1, 5));
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(editing(claims()), Cell(1, 3));
    key(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(editing(claims()), Cell(1, 2));
    key(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(editing(claims()), Cell(1, 1));
    key(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(editing(claims()), Cell(1, 0));
    key(Qt::Key_Tab, Qt::ShiftModifier); // before the first cell: the previous control
    QCOMPARE(editing(claims()), Cell(-1, -1));
    QCOMPARE(focus(), c<QWidget>("MSFjk"));
}

// The fault a clerk met: Tab from the payments editor went into the still-open nature combo
// of a claim row, and the digits typed for a payment replaced "税款".
void TestEditorKeys::paymentsTabLeavesForTheClaimsTable() {
    claims()->setRows(3);
    claims()->setTextMatrix(1, 2, QStringLiteral("税款"));
    clickGridCell(claims(), 1, 2);
    auto *combo = c<QComboBox>("Comzq");
    QVERIFY(combo->isVisible());
    clickGridCell(payments(), 1, 3);
    typeText(focus(), "备");
    QCOMPARE(payments()->Rows(), 3);
    clickGridCell(payments(), 2, 3); // the entry row's last cell
    key(Qt::Key_Tab);
    QCOMPARE(focus(), claims());
    QCOMPARE(editing(payments()), Cell(-1, -1));
    typeHere(QStringLiteral("123")); // types over the claims table's highlighted nature
    QCOMPARE(claims()->TextMatrix(1, 2), QStringLiteral("123"));
    QCOMPARE(payments()->TextMatrix(1, 1), QString());
}

void TestEditorKeys::escapePutsTheEditorAway() {
    clickGridCell(payments(), 1, 1);
    typeText(focus(), "250");
    key(Qt::Key_Escape);
    QVERIFY(!c<QLineEdit>("tEXTAK")->isVisible());
    QCOMPARE(focus(), payments());
    QCOMPARE(payments()->TextMatrix(1, 1), QStringLiteral("250")); // already committed
    clickGridCell(claims(), 1, 2);
    key(Qt::Key_Escape);
    QVERIFY(!c<QComboBox>("Comzq")->isVisible());
    QCOMPARE(focus(), claims());
}

void TestEditorKeys::enterOnTheGridOpensTheEditor() {
    clickGridCell(payments(), 1, 0);
    key(Qt::Key_Escape);
    key(Qt::Key_Right);
    key(Qt::Key_Return);
    QCOMPARE(editing(payments()), Cell(1, 1));
    QCOMPARE(focus(), c<QWidget>("tEXTAK"));
    key(Qt::Key_Escape);
    key(Qt::Key_Right);
    key(Qt::Key_Space);
    QCOMPARE(editing(payments()), Cell(1, 2));
}

// Keys and input-method text typed on a highlighted cell open it and replace its text, as in a
// spreadsheet; the window, and 清除内容, leave the payments table's first cell highlighted.
void TestEditorKeys::typingOnTheHighlightedCellEditsIt() {
    QCOMPARE(focus(), payments());
    typeHere(QStringLiteral("Zhang San"));
    QCOMPARE(payments()->TextMatrix(1, 0), QStringLiteral("Zhang San"));
    key(Qt::Key_Tab);
    typeHere(QStringLiteral("500"));
    clickGridCell(claims(), 1, 2);
    key(Qt::Key_Escape);
    typeHere(QStringLiteral("税款")); // the combo completes 税 and takes 款 over the completion
    QCOMPARE(claims()->TextMatrix(1, 2), QStringLiteral("税款"));
    key(Qt::Key_Escape);
    claims()->setCurrentCell(0, 1);
    typeHere(QStringLiteral("7"));
    QCOMPARE(claims()->TextMatrix(1, 1), QStringLiteral("7"));
    QCOMPARE(claims()->TextMatrix(1, 4), QStringLiteral("7"));
    {
        BoxAnswerer discard(QMessageBox::No);
        QTest::mouseClick(c<QPushButton>("Com清除"), Qt::LeftButton);
    }
    QCOMPARE(w->focusWidget(), payments()); // the focus when the window is active again
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QCOMPARE(payments()->currentIndex(), payments()->model()->index(0, 0));
    typeHere(QStringLiteral("甲"));
    QCOMPARE(payments()->TextMatrix(1, 0), QStringLiteral("甲"));
}

void TestEditorKeys::tabOrderFollowsReading() {
    c<QPushButton>("Com清除")->setFocus();
    QStringList order;
    for (int i = 0; i < 4; ++i) {
        order << focus()->objectName();
        key(Qt::Key_Tab);
    }
    QCOMPARE(order, (QStringList{"Com清除", "MSFjk", "MSFzc", "Com清除"}));
}

// A payment and two claims typed without the mouse: every new entry row comes into view.
void TestEditorKeys::wholeCaseFromTheKeyboard() {
    clickGridCell(payments(), 1, 0);
    for (const char *text : {"张三", "1500", "2020-5-10", ""}) {
        typeText(focus(), QString::fromUtf8(text));
        key(Qt::Key_Tab);
    }
    key(Qt::Key_Escape);
    clickGridCell(claims(), 1, 0);
    for (int r = 1; r <= 8; ++r) {
        typeText(focus(), QStringLiteral("债权人%1").arg(r));
        key(Qt::Key_Tab);
        typeText(focus(), QStringLiteral("1000"));
        key(Qt::Key_Tab);
        typeText(focus(), r == 1 ? QStringLiteral("诉讼费用") : QStringLiteral("一般债权"));
        key(Qt::Key_Tab);
        key(Qt::Key_Tab); // past the remark to the next row
        QCOMPARE(editing(claims()), Cell(r + 1, 0));
        QVERIFY(claims()->格在视野内(claims()->Rows() - 1, 0));
    }
    QCOMPARE(payments()->TextMatrix(1, 2), QStringLiteral("2020-5-10"));
    QCOMPARE(claims()->Rows(), 10);
    QCOMPARE(claims()->TextMatrix(1, 4), QStringLiteral("1000"));
    QCOMPARE(claims()->TextMatrix(8, 4), QStringLiteral("71.43"));
}

void TestEditorKeys::editorStaysOnItsCellWhileScrolling() {
    fillClaims(12);
    clickGridCell(claims(), 2, 1);
    auto *tefp = c<QLineEdit>("Tefp");
    QScrollBar *bar = claims()->verticalScrollBar();
    bar->setValue(bar->maximum());
    QVERIFY(!tefp->isVisible());
    QCOMPARE(focus(), claims());
    QTest::keyClicks(focus(), "9"); // brings its cell back into view and types over it
    QVERIFY(tefp->isVisible());
    QVERIFY(claims()->格在视野内(2, 1));
    for (int r = 1; r <= 12; ++r)
        QCOMPARE(claims()->TextMatrix(r, 1), r == 2 ? QStringLiteral("9") : QStringLiteral("100"));
    bar->setValue(1); // row 2 is now the top row
    QVERIFY(tefp->isVisible());
    QCOMPARE(editing(claims()), Cell(2, 1));
    QCOMPARE(claims()->RowPos(2), claims()->RowPos(0) + claims()->RowHeight(0));
    tefp->setFocus();
    typeText(tefp, "5");
    QCOMPARE(claims()->TextMatrix(2, 1), QStringLiteral("95"));
    QCOMPARE(claims()->TextMatrix(1, 1), QStringLiteral("100"));
    QCOMPARE(claims()->TextMatrix(3, 1), QStringLiteral("100"));
    // Put away while out of view, it stays away when its row comes back.
    bar->setValue(bar->maximum());
    {
        BoxAnswerer discard(QMessageBox::No);
        QTest::mouseClick(c<QPushButton>("Com清除"), Qt::LeftButton);
    }
    fillClaims(12);
    bar->setValue(1);
    QVERIFY(!tefp->isVisible());
}

void TestEditorKeys::comboFollowsItsCellToo() {
    fillClaims(12);
    clickGridCell(claims(), 3, 2);
    auto *combo = c<QComboBox>("Comzq");
    QScrollBar *bar = claims()->verticalScrollBar();
    bar->setValue(1);
    QCOMPARE(editing(claims()), Cell(3, 2));
    bar->setValue(5);
    QVERIFY(!combo->isVisible());
    bar->setValue(0);
    QCOMPARE(editing(claims()), Cell(3, 2));
    QVERIFY(!c<QLineEdit>("Tefp")->isVisible());
}

void TestEditorKeys::natureKeepsWhatIsTyped_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("税 is not 税款") << "税";
    QTest::newRow("诉 is not 诉讼费用") << "诉";
    QTest::newRow("劳 is not 劳动保险") << "劳";
    QTest::newRow("抵 is not 抵押") << "抵";
}

void TestEditorKeys::natureKeepsWhatIsTyped() {
    QFETCH(QString, typed);
    clickGridCell(payments(), 1, 1);
    typeText(focus(), "100");
    clickGridCell(claims(), 1, 1);
    typeText(focus(), "100");
    clickGridCell(claims(), 1, 2);
    typeText(focus(), typed);
    QCOMPARE(claims()->TextMatrix(1, 2), typed);
    QCOMPARE(c<QComboBox>("Comzq")->currentText(), typed);
    QVERIFY2(c<QLabel>("Label4")->text().endsWith(QStringLiteral("一般债权100元(100%)")),
             qPrintable(c<QLabel>("Label4")->text()));
}

// The arrow keys step through the classes from the cell's own class: from an empty cell the
// first step is the first class, even after another cell held 抵押.
void TestEditorKeys::downFromAnEmptyNatureStartsAtTheFirstClass() {
    fillClaims(1);
    claims()->setTextMatrix(1, 2, QStringLiteral("抵押"));
    clickGridCell(claims(), 1, 2);
    key(Qt::Key_Down);
    QCOMPARE(claims()->TextMatrix(1, 2), QStringLiteral("工资"));
    clickGridCell(claims(), 2, 2);
    key(Qt::Key_Down);
    QCOMPARE(claims()->TextMatrix(2, 2), QStringLiteral("诉讼费用"));
}

void TestEditorKeys::natureListIsReadable() {
    clickGridCell(claims(), 1, 2);
    auto *combo = c<QComboBox>("Comzq");
    QCOMPARE(缇宽(combo), claims()->ColWidth(2) - 10); // the box keeps the cell's width
    combo->showPopup();
    QAbstractItemView *list = combo->view();
    QTRY_VERIFY(list->isVisible());
    const QFontMetrics metrics(list->font());
    for (int i = 0; i < combo->count(); ++i) {
        const QRect item = list->visualRect(list->model()->index(i, 0));
        QVERIFY2(item.width() >= metrics.horizontalAdvance(combo->itemText(i)) + 4,
                 qPrintable(combo->itemText(i)));
        QVERIFY(item.height() >= metrics.height());
        QVERIFY(list->viewport()->rect().contains(item));
    }
    combo->hidePopup();
}

// Both signals of a pick ran the commit, so an overflow was reported twice.
void TestEditorKeys::pickFromTheListRunsOnce() {
    claims()->setRows(4);
    for (int r = 1; r <= 2; ++r) {
        claims()->setTextMatrix(r, 1, QStringLiteral("900000000000000"));
        claims()->setTextMatrix(r, 2, QStringLiteral("一般债权"));
    }
    BoxAnswerer answerer;
    clickGridCell(claims(), 1, 2);
    const qsizetype before = answerer.texts.size();
    auto *combo = c<QComboBox>("Comzq");
    pickItem(combo, 4);
    QCOMPARE(claims()->TextMatrix(1, 2), QStringLiteral("税款"));
    QCOMPARE(answerer.texts.mid(before), QStringList{QStringLiteral("溢出")});
    pickItem(combo, 4); // the same item again: the text stays, the commit still runs once
    QCOMPARE(answerer.texts.mid(before),
             (QStringList{QStringLiteral("溢出"), QStringLiteral("溢出")}));
}

void TestEditorKeys::priorityComparedAsMoney_data() {
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("priority");
    QTest::addColumn<QString>("kept"); // the priority cell after the typing
    QTest::newRow("equal") << "1000"
                           << "1000"
                           << "1000";
    QTest::newRow("one ten-thousandth more") << "1000"
                                             << "1000.0001"
                                             << "1000.000";
    QTest::newRow("equal as money") << "1000.00001"
                                    << "1000.00002"
                                    << "1000.00002";
    QTest::newRow("larger as money, equal as reals") << "900000000000000.1"
                                                     << "900000000000000.15"
                                                     << "900000000000000.1";
}

void TestEditorKeys::priorityComparedAsMoney() {
    QFETCH(QString, amount);
    QFETCH(QString, priority);
    QFETCH(QString, kept);
    claims()->setRows(3);
    claims()->setTextMatrix(1, 1, amount);
    claims()->setTextMatrix(1, 2, QStringLiteral("抵押"));
    clickGridCell(claims(), 1, 3);
    typeText(focus(), priority);
    QCOMPARE(claims()->TextMatrix(1, 3), kept);
    const QColor shown = c<QLineEdit>("Tefp")->palette().color(QPalette::Base);
    QCOMPARE(shown, kept == priority ? QColor(255, 255, 255) : QColor(255, 128, 128));
    // Leaving a refused priority asks first; 取消 puts back the cell's text from the opening.
    BoxAnswerer cancel(QMessageBox::Cancel);
    key(Qt::Key_Escape);
    QCOMPARE(cancel.texts.size(), kept == priority ? 0 : 1);
    QCOMPARE(claims()->TextMatrix(1, 3), kept == priority ? kept : QString());
}

int runEditorKeysTests(int argc, char **argv) {
    TestEditorKeys t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_editor_keys.moc"
