#include "common/varnel_error.h"
#include "output/page_model.h"

#include <QTest>

namespace {

// A grid of the given row count and column widths; cell (r, c) holds "rRcC", rows 300 high.
表格快照 numbered(int rows, const QList<int> &widths) {
    表格快照 s;
    s.列宽 = widths;
    for (int r = 0; r < rows; ++r) {
        s.行高.append(300);
        QStringList cells;
        for (int c = 0; c < widths.size(); ++c)
            cells.append(QStringLiteral("r%1c%2").arg(r).arg(c));
        s.行.append(cells);
    }
    return s;
}

// A page as "first column:columns:first row:rows".
QString shape(const 版面 &page) {
    return QStringLiteral("%1:%2:%3:%4")
        .arg(page.首列)
        .arg(page.列宽.size())
        .arg(page.首行)
        .arg(page.行高.size());
}

QString labelText(const 页面文字 &l) {
    return QStringLiteral("%1@%2,%3,%4,%5")
        .arg(l.标题)
        .arg(l.矩形.left())
        .arg(l.矩形.top())
        .arg(l.矩形.width())
        .arg(l.矩形.height());
}

QString lineText(const QLine &l) {
    return QStringLiteral("%1,%2-%3,%4").arg(l.x1()).arg(l.y1()).arg(l.x2()).arg(l.y2());
}

// The layout grid of a page window filled with the given sizes; cell (r, c) holds "RC".
void fill(打印页面 &page, const QList<int> &widths, const QList<int> &heights) {
    版面 layout;
    layout.列宽 = widths;
    layout.行高 = heights;
    for (int r = 0; r < heights.size(); ++r) {
        QStringList cells;
        for (int c = 0; c < widths.size(); ++c)
            cells.append(QStringLiteral("%1%2").arg(r).arg(c));
        layout.格.append(cells);
    }
    填入布局(page.MSF列表, layout);
}

} // namespace

class TestPageModel : public QObject {
    Q_OBJECT
  private slots:
    void pagesInOrder_data();
    void pagesInOrder();
    void cellCopyRule();
    void tallRowsMoveToTheNextPage_data();
    void tallRowsMoveToTheNextPage();
    void tableClosedOnPaper_data();
    void tableClosedOnPaper();
    void pageNumbersRunAcrossGroups();
    void labelsAndLines_data();
    void labelsAndLines();
    void clearingLabelsKeepsLines();
    void tooManyLabelsOrLinesEndQuietly();
    void limits_data();
    void limits();
};

void TestPageModel::pagesInOrder_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<QStringList>("pages");
    QTest::newRow("50 rows: one page") << 50 << QList<int>{1500, 960} << QStringList{"0:2:0:50"};
    QTest::newRow("51 rows: the second page holds row 50 only")
        << 51 << QList<int>{1500, 960} << QStringList{"0:2:0:50", "0:2:50:1"};
    QTest::newRow("100 rows: two full blocks")
        << 100 << QList<int>{1500} << QStringList{"0:1:0:50", "0:1:50:50"};
    QTest::newRow("three 4000 columns: two groups, all blocks of a group first")
        << 51 << QList<int>{4000, 4000, 4000}
        << QStringList{"0:2:0:50", "0:2:50:1", "2:1:0:50", "2:1:50:1"};
    QTest::newRow("widths summing to 10433 fit")
        << 1 << QList<int>{5000, 5433} << QStringList{"0:2:0:1"};
    QTest::newRow("one twip more does not")
        << 1 << QList<int>{5000, 5434} << QStringList{"0:1:0:1", "1:1:0:1"};
    QTest::newRow("a column wider than the page stands alone")
        << 1 << QList<int>{100, 12000, 100} << QStringList{"0:1:0:1", "1:1:0:1", "2:1:0:1"};
    QTest::newRow("zero-width columns keep their place in a group")
        << 1 << QList<int>{4000, 0, 4000, 0, 4000} << QStringList{"0:4:0:1", "4:1:0:1"};
    QTest::newRow("six claim columns in one group")
        << 2 << QList<int>{1500, 960, 950, 1600, 960, 1700} << QStringList{"0:6:0:2"};
    QTest::newRow("no columns: no page") << 2 << QList<int>{} << QStringList{};
}

void TestPageModel::pagesInOrder() {
    QFETCH(int, rows);
    QFETCH(QList<int>, widths);
    QFETCH(QStringList, pages);
    QStringList shapes;
    for (const 版面 &page : 分页(numbered(rows, widths)))
        shapes.append(shape(page));
    QCOMPARE(shapes, pages);
}

void TestPageModel::cellCopyRule() {
    表格快照 s;
    s.列宽 = {1000, 0, 1000};
    s.行高 = {300, 300};
    s.行 = {{"a  ", "x", "   "}, {" b", "y", QStringLiteral("　")}};
    const QList<版面> pages = 分页(s);
    QCOMPARE(pages.size(), 1);
    // Trailing blanks are kept on a copied text; a blank cell and a zero-width column's cell
    // print empty; only the ASCII blank counts as blank.
    QCOMPARE(pages[0].格[0], (QStringList{"a  ", "", ""}));
    QCOMPARE(pages[0].格[1], (QStringList{" b", "", QStringLiteral("　")}));
}

// Rows grown from 300 twips for wrapped text: a page holds no more than the table's 13382 twips,
// unless its rows were as high before they grew.
void TestPageModel::tallRowsMoveToTheNextPage_data() {
    QTest::addColumn<QList<int>>("heights");
    QTest::addColumn<QStringList>("pages");
    QTest::newRow("exactly the table's height fits")
        << QList<int>{13000, 382} << QStringList{"0:1:0:2"};
    QTest::newRow("one twip more goes on")
        << QList<int>{13000, 383} << QStringList{"0:1:0:1", "0:1:1:1"};
    QTest::newRow("a row higher than the table stands alone")
        << QList<int>{300, 14000, 300} << QStringList{"0:1:0:1", "0:1:1:1", "0:1:2:1"};
    QList<int> grown(60, 300);
    grown[10] = 6000; // ten rows of 300, this one and 14 more of 300 fill the first page
    QTest::newRow("a grown row shortens its block")
        << grown << QStringList{"0:1:0:25", "0:1:25:35"};
    QTest::newRow("50 rows of 300 that did not grow stay one block")
        << QList<int>(50, 300) << QStringList{"0:1:0:50"};
}

void TestPageModel::tallRowsMoveToTheNextPage() {
    QFETCH(QList<int>, heights);
    QFETCH(QStringList, pages);
    表格快照 s = numbered(int(heights.size()), {1000});
    s.原行高 = s.行高;
    s.行高 = heights;
    QStringList shapes;
    for (const 版面 &page : 分页(s))
        shapes.append(shape(page));
    QCOMPARE(shapes, pages);
}

// The claims table closed as on paper: the computed column is 4, the amounts 1, 3 and 4.
void TestPageModel::tableClosedOnPaper_data() {
    QTest::addColumn<QList<QStringList>>("rows"); // data rows, under a header row
    QTest::addColumn<QList<QStringList>>("printed");
    const QStringList header{"债权人", "债权金额", "性质", "优先", "分配金额", "备注"};
    QTest::newRow("entry row left out, totals to the fen")
        << QList<QStringList>{{"甲", "1000.005", "一般债权", "", "333.33", ""},
                              {"乙", "2000.5", "抵押", "1500", "666.67", ""},
                              {"", "", "", "", "0", ""}}
        << QList<QStringList>{header,
                              {"甲", "1000.005", "一般债权", "", "333.33", ""},
                              {"乙", "2000.5", "抵押", "1500", "666.67", ""},
                              {"合计", "3000.51", "", "1500", "1000", ""}};
    QTest::newRow("a row with a remark or a name stays; blanks count as empty")
        << QList<QStringList>{{"", "", "", "", "0", "备注"}, {"丙", "", "", "", "0", ""},
                              {"  ", " ", "", "", "", ""}, {"", "", "", "", "0  ", ""}}
        << QList<QStringList>{header, {"", "", "", "", "0", "备注"}, {"丙", "", "", "", "0", ""},
                              {"合计", "0", "", "0", "0", ""}};
    QTest::newRow("a zero typed as the amount is no entry row")
        << QList<QStringList>{{"", "0", "", "", "0", ""}, {"", "", "", "", "5", ""}}
        << QList<QStringList>{header, {"", "0", "", "", "0", ""}, {"", "", "", "", "5", ""},
                              {"合计", "0", "", "0", "5", ""}};
    QTest::newRow("text in an amount column counts as nothing")
        << QList<QStringList>{{"甲", "待定", "", "", "0", ""}, {"乙", "10", "", "", "2.5", ""}}
        << QList<QStringList>{header, {"甲", "待定", "", "", "0", ""}, {"乙", "10", "", "", "2.5", ""},
                              {"合计", "10", "", "0", "2.5", ""}};
}

void TestPageModel::tableClosedOnPaper() {
    QFETCH(QList<QStringList>, rows);
    QFETCH(QList<QStringList>, printed);
    表格快照 s;
    s.列宽 = QList<int>(6, 1000);
    s.行 = QList<QStringList>{printed[0]} + rows;
    for (int r = 0; r < s.行.size(); ++r)
        s.行高.append(300 + r);
    const 表格快照 closed = 整理打印表格(s, {4, {1, 3, 4}});
    QCOMPARE(closed.行, printed);
    QCOMPARE(closed.行高.size(), printed.size());
    // The totals row is as high as the last row printed above it.
    QCOMPARE(closed.行高.last(), closed.行高[closed.行高.size() - 2]);
    // Without a rule the table prints as it is.
    QCOMPARE(整理打印表格(s, {}).行, s.行);
}

void TestPageModel::pageNumbersRunAcrossGroups() {
    const QList<版面> pages = 分页(numbered(51, {4000, 4000, 4000}));
    QList<int> numbers;
    for (const 版面 &page : pages)
        numbers.append(page.页码);
    QCOMPARE(numbers, (QList<int>{1, 2, 3, 4}));
    // The second block starts at grid row 50: the header row is on the first block only.
    QCOMPARE(pages[1].格[0], (QStringList{"r50c0", "r50c1"}));
    QCOMPARE(pages[2].格[0], (QStringList{"r0c2"}));
    QCOMPARE(页码文字(1), QStringLiteral("第1页"));
    QCOMPARE(页码文字(201), QStringLiteral("第201页"));
}

void TestPageModel::labelsAndLines_data() {
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<QList<int>>("heights");
    QTest::addColumn<QStringList>("labels"); // a few of them, by index
    QTest::addColumn<int>("labelCount");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QRect>("panel");
    QTest::newRow("1 x 1") << QList<int>{1500} << QList<int>{300}
                           << QStringList{"1=00@5,10,1550,280"} << 1 << QStringList{}
                           << QRect(0, 960, 1500, 300);
    // Column-major: label 1 is (0,0), label 2 (1,0), label 3 (2,0), label 4 (0,1) ...
    QTest::newRow("3 x 4 with a zero-width column")
        << QList<int>{1000, 2000, 0, 1500} << QList<int>{300, 400, 250}
        << QStringList{"1=00@5,10,1050,280", "3=20@5,710,1050,230", "6=21@1005,710,2050,230",
                       "9=22@3005,710,50,230", "12=23@3005,710,1550,230"}
        << 12
        << QStringList{"0,300-4500,300", "0,700-4500,700", "1000,0-1000,950", "3000,0-3000,950",
                       "3000,0-3000,950"}
        << QRect(0, 960, 4500, 950);
}

void TestPageModel::labelsAndLines() {
    QFETCH(QList<int>, widths);
    QFETCH(QList<int>, heights);
    QFETCH(QStringList, labels);
    QFETCH(int, labelCount);
    QFETCH(QStringList, lines);
    QFETCH(QRect, panel);
    打印页面 page;
    fill(page, widths, heights);
    page.送到标题();
    QCOMPARE(page.标签数(), labelCount);
    QCOMPARE(page.La内容标题.size(), labelCount + 1);
    for (const QString &expected : labels) {
        const int k = expected.section('=', 0, 0).toInt();
        QCOMPARE(QString::number(k) + '=' + labelText(page.La内容标题[k]), expected);
        QVERIFY(page.La内容标题[k].可见);
    }
    QStringList drawn;
    for (qsizetype k = 1; k < page.Linhx.size(); ++k) {
        QVERIFY(page.Linhx[k].可见);
        drawn.append(lineText(page.Linhx[k].线));
    }
    QCOMPARE(drawn, lines);
    QCOMPARE(page.线条数(), lines.size());
    QVERIFY(!page.Linhx[0].可见);
    QCOMPARE(page.Picnr, panel);
}

void TestPageModel::clearingLabelsKeepsLines() {
    打印页面 page;
    fill(page, {1000, 2000, 0, 1500}, {300, 400, 250});
    page.送到标题();
    page.标题清空();
    QCOMPARE(page.标签数(), 0);
    QCOMPARE(page.La内容标题.size(), 1);
    QVERIFY(page.La内容标题[0].标题.isEmpty());
    QCOMPARE(page.线条数(), 5);
    // The next page rebuilds the lines instead of adding to them.
    fill(page, {1500}, {300, 300});
    page.送到标题();
    QCOMPARE(page.线条数(), 1);
    QCOMPARE(page.Linhx.size(), 2);
    QCOMPARE(lineText(page.Linhx[1].线), QStringLiteral("0,300-1500,300"));
    QCOMPARE(page.Picnr, QRect(0, 960, 1500, 600));
}

void TestPageModel::tooManyLabelsOrLinesEndQuietly() {
    打印页面 page;
    fill(page, QList<int>(32770, 0), {300});
    page.送到标题();
    QCOMPARE(page.标签数(), 32767);
    QCOMPARE(page.线条数(), 32767);
    QCOMPARE(page.La内容标题.last().标题, QStringLiteral("032766"));
}

void TestPageModel::limits_data() {
    QTest::addColumn<qsizetype>("rows");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<bool>("overflows");
    QTest::newRow("32767 row blocks") << qsizetype(50 * 32767) << QList<int>{1000} << false;
    QTest::newRow("32768 row blocks") << qsizetype(50 * 32767 + 1) << QList<int>{1000} << true;
    QTest::newRow("last column index 32767") << qsizetype(1) << QList<int>(32768, 0) << false;
    QTest::newRow("last column index 32768") << qsizetype(1) << QList<int>(32769, 0) << true;
    QTest::newRow("two groups, 32766 pages")
        << qsizetype(50 * 16383) << QList<int>{6000, 6000} << false;
    QTest::newRow("two groups, 32768 pages")
        << qsizetype(50 * 16383 + 1) << QList<int>{6000, 6000} << true;
}

void TestPageModel::limits() {
    QFETCH(qsizetype, rows);
    QFETCH(QList<int>, widths);
    QFETCH(bool, overflows);
    QString error;
    try {
        检查打印限度(rows, widths);
    } catch (const VarnelError &e) {
        error = e.description();
    }
    QCOMPARE(error, overflows ? QStringLiteral("溢出") : QString());
}

int runPageModelTests(int argc, char **argv) {
    TestPageModel t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_page_model.moc"
