#include "code_units.h"
#include "common/blank_row.h"
#include "common/grid.h"
#include "common/twips.h"
#include "common/varnel_error.h"
#include "window_test.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>
#include <QScrollBar>
#include <QTest>

class TestGrid : public QObject {
    Q_OBJECT
  private slots:
    void blankRowRule_data();
    void blankRowRule();
    void countsAndTexts();
    void clicksMoveTheCurrentCell();
    void positionsAgreeWithDrawnCells();
    void headerStaysWhenScrolled();
    void gridWithoutFixedRow();
    void cutCellsShowTheirTextAsTooltip();
    void outsideTheGridRaises_data();
    void outsideTheGridRaises();
    void fixedColumnNeverCurrent_data();
    void fixedColumnNeverCurrent();
};

void TestGrid::blankRowRule_data() {
    QTest::addColumn<QStringList>("rows"); // one letter per row below the header: x filled
    QTest::addColumn<int>("edited");
    QTest::addColumn<int>("change");
    QTest::newRow("last row filled") << QStringList{"x"} << 1 << +1;
    QTest::newRow("only blank row") << QStringList{" "} << 1 << 0;
    QTest::newRow("row above last emptied") << QStringList{"x", " ", " "} << 2 << -1;
    QTest::newRow("edited is the last") << QStringList{" ", " "} << 2 << 0;
    QTest::newRow("row above last filled") << QStringList{"x", " "} << 1 << 0;
    QTest::newRow("never below 2 rows") << QStringList{" "} << 0 << 0;
    QTest::newRow("middle blank kept") << QStringList{" ", "x", " "} << 1 << 0;
}

void TestGrid::blankRowRule() {
    QFETCH(QStringList, rows);
    QFETCH(int, edited);
    QFETCH(int, change);
    const int count = rows.size() + 1;
    QCOMPARE(末行变化(count, edited, [&](int r) { return r > 0 && rows[r - 1] == "x"; }), change);

    // The same rule through a grid, with filled meaning a non-blank text in columns 0..1.
    FlexGrid g(nullptr);
    g.setCols(3);
    g.setRows(count);
    for (int r = 1; r < count; ++r)
        g.setTextMatrix(r, 2, "remark");
    for (int r = 1; r < count; ++r)
        g.setTextMatrix(r, 1, rows[r - 1] == "x" ? "2020-1-1  " : "   ");
    保持末行空白(g, edited, 1);
    QCOMPARE(g.Rows(), count + change);
}

void TestGrid::countsAndTexts() {
    FlexGrid g(nullptr);
    g.setCols(2);
    g.setRows(3);
    g.setTextMatrix(0, 0, "关押日期");
    g.setTextMatrix(2, 1, "x");
    QCOMPARE(g.TextMatrix(0, 0), QStringLiteral("关押日期"));
    QCOMPARE(g.TextMatrix(0, 1), QString());
    QCOMPARE(g.TextMatrix(1, 1), QString());
    g.setRow(2);
    g.setCol(1);
    QCOMPARE(g.Text(), QStringLiteral("x"));
    g.setText("y");
    QCOMPARE(g.TextMatrix(2, 1), QStringLiteral("y"));
    g.setRows(2); // drops row 2 with its text
    g.setRows(3);
    QCOMPARE(g.TextMatrix(2, 1), QString());
    // What enters a cell is cleaned: a lone half of a surrogate pair, U+0000.
    g.setTextMatrix(1, 1, 码元({0xD800, u'\'', 0}));
    QCOMPARE(g.TextMatrix(1, 1), QStringLiteral("\uFFFD'"));
    g.setColWidth(0, 0); // hidden, keeps its cells
    g.setTextMatrix(1, 0, "id");
    QCOMPARE(g.ColWidth(0), 0);
    QCOMPARE(g.TextMatrix(1, 0), QStringLiteral("id"));
    g.setColWidth(1, 1500);
    QCOMPARE(g.ColWidth(1), 1500);
    g.setRows(1);
    QCOMPARE(g.Rows(), 1);
    QVERIFY_THROWS_EXCEPTION(VarnelError, g.setRows(0));
    QVERIFY_THROWS_EXCEPTION(VarnelError, g.TextMatrix(5, 0));
}

void TestGrid::clicksMoveTheCurrentCell() {
    FlexGrid g(nullptr);
    g.setCols(3);
    g.setRows(4);
    g.resize(400, 200);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    int clicks = 0;
    g.设单击([&] { ++clicks; });
    clickGridCell(&g, 2, 1);
    QCOMPARE(clicks, 1);
    QCOMPARE(g.Row(), 2);
    QCOMPARE(g.Col(), 1);
    clickGridCell(&g, 0, 2);
    QCOMPARE(clicks, 2);
    QCOMPARE(g.Row(), 0);
    QCOMPARE(g.Col(), 2);
}

void TestGrid::positionsAgreeWithDrawnCells() {
    FlexGrid g(nullptr);
    g.setCols(4);
    g.setRows(3);
    g.setColWidth(0, 1500);
    g.setColWidth(2, 2000);
    g.resize(600, 200);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            const auto [target, rect] = g.格位置(r, c);
            const QPoint inGrid = target->mapTo(&g, rect.topLeft());
            QCOMPARE(g.ColPos(c), 缇(inGrid.x()));
            QCOMPARE(g.RowPos(r), 缇(inGrid.y()));
            if (c > 0) // a cell runs from its left edge to the next column's, to the pixel
                QVERIFY(qAbs(g.ColPos(c) - g.ColPos(c - 1) - g.ColWidth(c - 1)) < 15);
        }
    QCOMPARE(g.ColPos(1) - g.ColPos(0), 1500);
}

void TestGrid::headerStaysWhenScrolled() {
    FlexGrid g(nullptr);
    g.setCols(2);
    g.setRows(60);
    g.setTextMatrix(0, 0, "关押日期");
    g.resize(300, 120);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    const int headerTop = g.RowPos(0);
    g.verticalScrollBar()->setValue(g.verticalScrollBar()->maximum());
    QVERIFY(g.horizontalHeader()->isVisible());
    QCOMPARE(g.RowPos(0), headerTop);
    QVERIFY(g.RowPos(1) < headerTop); // the first data row has scrolled away under the header
}

void TestGrid::cutCellsShowTheirTextAsTooltip() {
    FlexGrid g(nullptr);
    g.setCols(2);
    g.setRows(3);
    g.setColWidth(1, 600);
    const QString amount = QStringLiteral("12345678.90");
    g.setTextMatrix(1, 0, QStringLiteral("100"));
    g.setTextMatrix(1, 1, amount);
    g.setTextMatrix(2, 1, QStringLiteral("1"));
    g.resize(400, 200);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    // The cut cell last: a tip that was shown stays readable for a while after it is hidden.
    for (const auto &[row, col, tip] : {std::tuple{1, 0, QString()}, {2, 1, QString()},
                                        {1, 1, amount}}) {
        const QRect cell = g.visualRect(g.model()->index(row - 1, col));
        QHelpEvent help(QEvent::ToolTip, cell.center(), g.viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(g.viewport(), &help);
        QCOMPARE(QToolTip::text(), tip);
    }
}

void TestGrid::gridWithoutFixedRow() {
    FlexGrid g(nullptr, 0);
    g.setRows(0);
    g.setCols(0);
    QCOMPARE(g.Rows(), 0);
    g.setCols(2);
    g.setRows(2);
    g.setTextMatrix(0, 1, "页");
    QCOMPARE(g.TextMatrix(0, 1), QStringLiteral("页"));
    QVERIFY(!g.horizontalHeader()->isVisible());
}

void TestGrid::outsideTheGridRaises_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    // A grid of 3 rows and 2 columns.
    QTest::newRow("row count") << 3 << 0;
    QTest::newRow("column count") << 0 << 2;
    QTest::newRow("row -1") << -1 << 1;
    QTest::newRow("column -1") << 2 << -1;
}

void TestGrid::outsideTheGridRaises() {
    QFETCH(int, row);
    QFETCH(int, col);
    FlexGrid g(nullptr);
    g.setCols(2);
    g.setRows(3);
    const auto raises = [](const std::function<void()> &call) {
        try {
            call();
        } catch (const VarnelError &e) {
            return e.description() == QStringLiteral("下标越界");
        }
        return false;
    };
    QVERIFY(raises([&] { g.TextMatrix(row, col); }));
    QVERIFY(raises([&] { g.setTextMatrix(row, col, "x"); }));
    if (col >= 0 && col < 2)
        QVERIFY(raises([&] { g.setRow(row); }));
    if (row >= 0 && row < 3)
        QVERIFY(raises([&] { g.setCol(col); }));
    QVERIFY(raises([&] { g.单击格(row, col); }));
    QCOMPARE(g.TextMatrix(2, 1), QString()); // the last cell is inside
}

void TestGrid::fixedColumnNeverCurrent_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Left") << int(Qt::Key_Left) << int(Qt::NoModifier);
    QTest::newRow("Home") << int(Qt::Key_Home) << int(Qt::NoModifier);
    QTest::newRow("Ctrl+Home") << int(Qt::Key_Home) << int(Qt::ControlModifier);
}

// A fixed column of width 0 (the case numbers of the list of stored cases) keeps its cells, but
// the keys never move the highlight into it.
void TestGrid::fixedColumnNeverCurrent() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    FlexGrid g(nullptr, 1, 1);
    g.setCols(3);
    g.setRows(4);
    g.setColWidth(0, 0);
    g.setTextMatrix(2, 0, "17");
    g.resize(300, 200);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    g.setFocus();
    g.setCurrentCell(1, 1);
    QTest::keyClick(&g, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(g.currentColumn(), 1);
    QCOMPARE(g.TextMatrix(2, 0), QStringLiteral("17"));
    QTest::keyClick(&g, Qt::Key_Right);
    QCOMPARE(g.currentColumn(), 2);
}

int runGridTests(int argc, char **argv) {
    TestGrid t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_grid.moc"
