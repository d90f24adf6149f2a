#include "box_answerer.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "common/twips.h"
#include "output/print_routine.h"
#include "output/print_window.h"
#include "pdf_reader.h"
#ifdef VARNEL_CUPS
#include "print_scheduler.h"
#endif
#include "window_test.h"

#include <QDir>
#include <QImage>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

const QString 标题 = QStringLiteral("案款分配表");
const QString 短注释 = QStringLiteral("已交案款：300元。");
// The summary of a distribution over all five classes, as the case fund window keeps it.
const QString 五类注释 = QStringLiteral(
    "已交案款：100000元，债权总额：250000元（总比例40%）。\r\n分配案款中：诉讼费用5000元(100%)，"
    "抵押物优先权：50000元(100%)，工资和劳动保险20000元(100%)，税款10000元(100%)， "
    "一般债权15000元(8.5%)，余款0归还交款人。");

// Where a twips position of the page lies on the test printer's paper, in points.
double pt(int twips) {
    return 边距点() + twips / 20.0;
}

// The word of a page that equals a text.
const PdfWord *findPlain(const PdfFile &pdf, int page, const QString &text) {
    for (const PdfWord &w : pdf.words)
        if (w.page == page && w.text == text)
            return &w;
    return nullptr;
}

// The note as printed: the words in its box right of the title and above the table, and the
// lowest point they reach.
QStringList noteLines(const PdfFile &pdf, int page, double *bottom) {
    QStringList lines;
    *bottom = 0;
    for (const PdfWord &w : pdf.onPage(page))
        if (w.xMin >= pt(3240) - 1 && w.yMin < pt(960)) {
            lines.append(w.text);
            *bottom = std::max(*bottom, w.yMax);
        }
    return lines;
}

QString withoutBreaksAndBlanks(QString text) {
    return text.remove(QStringLiteral("\r\n")).remove(' ');
}

// Top-level windows of a name that are still open.
int openWindows(const QString &name) {
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            ++n;
    return n;
}

void closePrintWindows() {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("MDI打印"))
            关闭不保存(w);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A grid whose cell (r, c) holds "rRcC", with the given column widths.
void numberCells(FlexGrid &grid, int rows, const QList<int> &widths) {
    grid.setCols(int(widths.size()));
    grid.setRows(rows);
    for (int c = 0; c < widths.size(); ++c) {
        grid.setColWidth(c, widths[c]);
        for (int r = 0; r < rows; ++r)
            grid.setTextMatrix(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
    }
}

// Rendered pages: the pixels lying wholly inside a rectangle of the page (twips from the page's
// top left), and how many of them are dark. Poppler moves thin lines to whole pixels: at 4
// pixels a point a line may lie up to 5 twips from its place.
struct PixelBox {
    int x0, y0, x1, y1; // inclusive, in the image
    int count() const { return std::max(0, x1 - x0 + 1) * std::max(0, y1 - y0 + 1); }
};
PixelBox pixelsIn(const RenderedPage &page, int left, int top, int right, int bottom) {
    const auto first = [&](int twips, int origin) {
        return int(std::ceil(pt(twips) * page.scale)) - origin;
    };
    const auto last = [&](int twips, int origin) {
        return int(std::floor(pt(twips) * page.scale)) - 1 - origin;
    };
    return {first(left, page.origin.x()), first(top, page.origin.y()), last(right, page.origin.x()),
            last(bottom, page.origin.y())};
}
int darkPixels(const RenderedPage &page, const PixelBox &box) {
    int dark = 0;
    for (int y = box.y0; y <= box.y1; ++y)
        for (int x = box.x0; x <= box.x1; ++x)
            dark += qGray(page.image.pixel(x, y)) < 160;
    return dark;
}
int darkPixels(const RenderedPage &page, int left, int top, int right, int bottom) {
    return darkPixels(page, pixelsIn(page, left, top, right, bottom));
}
bool allDark(const RenderedPage &page, int left, int top, int right, int bottom) {
    const PixelBox box = pixelsIn(page, left, top, right, bottom);
    return box.count() > 0 && darkPixels(page, box) == box.count();
}
// A part of a page at one pixel a twip: the square of the given side around a point.
RenderedPage renderAround(const QString &path, int x, int y, int side) {
    const QRect part(int(pt(x - side / 2) * 20), int(pt(y - side / 2) * 20), side, side);
    return renderPdfPage(path, 1, 20, part);
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void pagesOfAGrid_data();
    void pagesOfAGrid();
    void textsWhereThePageSaysInTwips();
    void zeroWidthColumnPrintsNothing();
    void lineBreaksInACell();
    void pageScaledDownToASmallPrintableArea();
    void longNoteShrinksToFit();
    void overlongNoteEndsWithEllipsis();
    void noPrinterLeavesTheWindowsOpen();
    void printerThatCannotStart();
    void secondPageCannotStart();
    void printQueueAnswers_data();
    void printQueueAnswers();
    void limitsCheckedBeforePrinting();
    void pageWindowDrawsItsLabelsAndLines();
    void caseFundCommandPrintsClaims();
    void claimsTableClosedOnPaper();
    void emptyClaimsStillPrintTitleAndNote();
    void fullPageOfClaimsFitsTheSheet();
    void nextLabelHidesTextRunningOn();
    void frameLiesInsideThePanel();
    void cellsInTheirOwnFontSize();
    void gridWithoutRowsOrColumnsPrintsNothing_data();
    void gridWithoutRowsOrColumnsPrintsNothing();

  private:
    PdfFile print(const FlexGrid &grid, const QString &title, const QString &note);

    QTemporaryDir dir;
    QString pdfPath;
    std::unique_ptr<BoxAnswerer> guard; // answers any box the test did not expect
};

void TestPrinting::init() {
    pdfPath = dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentTestFunction()));
    QFile::remove(pdfPath);
    设打印机来源([this] { return pdfPrinter(pdfPath); });
    guard = std::make_unique<BoxAnswerer>();
}

void TestPrinting::cleanup() {
    设打印机来源({});
    closePrintWindows();
    // A box no test expected fails the test; the guard has answered it.
    QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
}

PdfFile TestPrinting::print(const FlexGrid &grid, const QString &title, const QString &note) {
    打印表格内容(grid, title, note);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return readPdf(pdfPath);
}

void TestPrinting::pagesOfAGrid_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("widths");
    // Per page: "first row-last row:first column-last column" of the cells printed on it.
    QTest::addColumn<QStringList>("pages");
    QTest::newRow("50 rows") << 50 << QList<int>{1500, 960} << QStringList{"0-49:0-1"};
    QTest::newRow("51 rows") << 51 << QList<int>{1500, 960} << QStringList{"0-49:0-1", "50-50:0-1"};
    QTest::newRow("three 4000 columns")
        << 51 << QList<int>{4000, 4000, 4000}
        << QStringList{"0-49:0-1", "50-50:0-1", "0-49:2-2", "50-50:2-2"};
    QTest::newRow("a column wider than the page")
        << 3 << QList<int>{11000, 500} << QStringList{"0-2:0-0", "0-2:1-1"};
}

void TestPrinting::pagesOfAGrid() {
    QFETCH(int, rows);
    QFETCH(QList<int>, widths);
    QFETCH(QStringList, pages);
    FlexGrid grid(nullptr);
    numberCells(grid, rows, widths);
    const PdfFile pdf = print(grid, 标题, 短注释);
    QCOMPARE(pdf.pages, pages.size());
    for (int p = 1; p <= pages.size(); ++p) {
        const QString range = pages[p - 1];
        const int r0 = range.section(':', 0, 0).section('-', 0, 0).toInt();
        const int r1 = range.section(':', 0, 0).section('-', 1, 1).toInt();
        const int c0 = range.section(':', 1, 1).section('-', 0, 0).toInt();
        const int c1 = range.section(':', 1, 1).section('-', 1, 1).toInt();
        QStringList expected{标题, 短注释, QStringLiteral("第%1页").arg(p)};
        for (int c = c0; c <= c1; ++c)
            for (int r = r0; r <= r1; ++r)
                expected.append(QStringLiteral("r%1c%2").arg(r).arg(c));
        QStringList found;
        for (const PdfWord &w : pdf.onPage(p))
            found.append(w.text);
        expected.sort();
        found.sort();
        QCOMPARE(found, expected);
    }
    QCOMPARE(openWindows(QStringLiteral("MDI打印")), 0);
    QVERIFY(guard->texts.isEmpty());
}

void TestPrinting::textsWhereThePageSaysInTwips() {
    FlexGrid grid(nullptr);
    numberCells(grid, 3, {1500, 950, 1600});
    grid.setRowHeight(1, 600);
    const PdfFile pdf = print(grid, 标题, 短注释);
    QCOMPARE(pdf.pages, 1);
    // Cell texts 5 twips right of the column's left and 10 below the row's top, in the panel
    // at 960 from the top of the page; title, note and page number at their places.
    const struct {
        QString text;
        int left, top;
    } expected[] = {{"r0c0", 5, 960 + 10},
                    {"r1c0", 5, 960 + 300 + 10},
                    {"r2c1", 1500 + 5, 960 + 900 + 10},
                    {"r2c2", 2450 + 5, 960 + 900 + 10},
                    {标题, 240, 240},
                    {短注释, 3240, 120},
                    {QStringLiteral("第1页"), 5640, 14342}};
    for (const auto &e : expected) {
        const PdfWord *w = findPlain(pdf, 1, e.text);
        QVERIFY2(w, qPrintable(e.text));
        QVERIFY2(qAbs(w->xMin - pt(e.left)) <= 1, qPrintable(e.text));
        QVERIFY2(qAbs(w->yMin - pt(e.top)) <= 1, qPrintable(e.text));
    }
}

void TestPrinting::zeroWidthColumnPrintsNothing() {
    FlexGrid grid(nullptr);
    numberCells(grid, 2, {1500, 0, 950});
    const PdfFile pdf = print(grid, 标题, QString());
    const QString page = pdf.text(1);
    QVERIFY(!page.contains(QStringLiteral("c1")));
    // The next column starts where the zero-width one does.
    const PdfWord *w = pdf.find(1, QStringLiteral("r1c2"));
    QVERIFY(w);
    QVERIFY(qAbs(w->xMin - pt(1500 + 5)) <= 1);
}

void TestPrinting::lineBreaksInACell() {
    FlexGrid grid(nullptr);
    numberCells(grid, 2, {2000, 1500});
    grid.setRowHeight(0, 300);
    grid.setRowHeight(1, 300);
    grid.setTextMatrix(0, 0, QStringLiteral("第一行\r\n第二行"));
    grid.setTextMatrix(1, 0, QStringLiteral("下一行"));
    const PdfFile pdf = print(grid, 标题, QString());
    // The second line starts at the cell's left below the first; the row grows to hold it, so
    // the next row starts below it.
    const PdfWord *first = findPlain(pdf, 1, QStringLiteral("第一行"));
    const PdfWord *second = findPlain(pdf, 1, QStringLiteral("第二行"));
    const PdfWord *next = findPlain(pdf, 1, QStringLiteral("下一行"));
    QVERIFY(first && second && next);
    QVERIFY(qAbs(first->xMin - pt(5)) <= 1 && qAbs(first->yMin - pt(960 + 10)) <= 1);
    QVERIFY(qAbs(second->xMin - pt(5)) <= 1 && second->yMin >= first->yMax - 1);
    QVERIFY(next->yMin >= second->yMax);
}

void TestPrinting::pageScaledDownToASmallPrintableArea() {
    // 40 mm side margins leave 130 mm of the A4 width, less than the page's 10433 twips.
    设打印机来源([this] {
        auto printer = pdfPrinter(pdfPath);
        printer->setPageMargins(QMarginsF(40, 10, 40, 10), QPageLayout::Millimeter);
        return printer;
    });
    FlexGrid grid(nullptr);
    numberCells(grid, 2, {1500});
    const PdfFile pdf = print(grid, 标题, 短注释);
    const double scale = (130 / 25.4 * 1440) / 页面尺寸::宽;
    const PdfWord *number = findPlain(pdf, 1, QStringLiteral("第1页"));
    QVERIFY(number);
    QVERIFY(qAbs(number->xMin - (40 / 25.4 * 72 + scale * 5640 / 20)) <= 1);
    QVERIFY(qAbs(number->yMin - (边距点() + scale * 14342 / 20)) <= 1);
}

void TestPrinting::longNoteShrinksToFit() {
    FlexGrid grid(nullptr);
    numberCells(grid, 2, {1500});
    const PdfFile pdf = print(grid, 标题, 五类注释);
    double bottom = 0;
    QCOMPARE(noteLines(pdf, 1, &bottom).join(QString()), withoutBreaksAndBlanks(五类注释));
    QVERIFY(bottom <= pt(120 + 735) + 1);
}

void TestPrinting::overlongNoteEndsWithEllipsis() {
    FlexGrid grid(nullptr);
    numberCells(grid, 2, {1500});
    const QString note = QString(QStringLiteral("债权分配说明")).repeated(80);
    const PdfFile pdf = print(grid, 标题, note);
    double bottom = 0;
    const QStringList lines = noteLines(pdf, 1, &bottom);
    QVERIFY(lines.size() >= 4);
    QVERIFY(lines.first().startsWith(QStringLiteral("债权分配说明债权")));
    QVERIFY(lines.last().endsWith(QChar(0x2026)));
    QVERIFY(lines.join(QString()).size() < note.size());
    QVERIFY(bottom <= pt(120 + 735) + 1);
}

void TestPrinting::noPrinterLeavesTheWindowsOpen() {
    BoxAnswerer boxes;
    设打印机来源([] { return std::unique_ptr<QPrinter>(); });
    FlexGrid grid(nullptr);
    numberCells(grid, 3, {1500, 950});
    打印表格内容(grid, 标题, 短注释);
    QCOMPARE(boxes.texts, QStringList{QStringLiteral("没有可用的打印机，不能打印。")});
    QCOMPARE(boxes.titles, QStringList{QStringLiteral("Varnel")});
    QCOMPARE(openWindows(QStringLiteral("MDI打印")), 1);
    // The page window still shows the first page.
    打印For列表 *page = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("MDI打印"))
            page = w->findChild<打印For列表 *>(QStringLiteral("打印For列表"));
    QVERIFY(page);
    QCOMPARE(page->标签数(), 6);
    QCOMPARE(page->页面().La页数.标题, QStringLiteral("第1页"));
    QVERIFY(!QFile::exists(pdfPath));
}

void TestPrinting::printerThatCannotStart() {
    BoxAnswerer boxes;
    const QString unwritable = dir.filePath(QStringLiteral("no such folder/a.pdf"));
    设打印机来源([unwritable] { return pdfPrinter(unwritable); });
    FlexGrid grid(nullptr);
    numberCells(grid, 3, {1500});
    打印表格内容(grid, 标题, 短注释);
    QCOMPARE(boxes.texts, QStringList{QStringLiteral("打印机不能开始打印。")});
    QCOMPARE(openWindows(QStringLiteral("MDI打印")), 1);
}

void TestPrinting::secondPageCannotStart() {
    BoxAnswerer boxes;
    // A printer that cannot start a second sheet: the first page is printed all the same.
    struct OneSheetOnly : QPrinter {
        bool newPage() override { return false; }
    };
    设打印机来源([this] {
        auto printer = std::make_unique<OneSheetOnly>();
        printer->setOutputFileName(pdfPath);
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setPageMargins(QMarginsF(测试边距点, 测试边距点, 测试边距点, 测试边距点),
                                QPageLayout::Point);
        return printer;
    });
    FlexGrid grid(nullptr);
    numberCells(grid, 51, {1500, 950});
    打印表格内容(grid, 标题, 短注释);
    QCOMPARE(boxes.texts, QStringList{QStringLiteral("打印机不能开始新的一页。")});
    QCOMPARE(openWindows(QStringLiteral("MDI打印")), 1);
    const PdfFile pdf = readPdf(pdfPath);
    QCOMPARE(pdf.pages, 1);
    QVERIFY(findPlain(pdf, 1, QStringLiteral("r49c1")));
    QVERIFY(findPlain(pdf, 1, QStringLiteral("第1页")));
}

void TestPrinting::printQueueAnswers_data() {
    QTest::addColumn<QString>("queue");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("queued"); // the job is in the queue afterwards
    QTest::newRow("accepting") << "accepting" << false << true;
    QTest::newRow("not accepting jobs") << "rejecting" << true << false;
    QTest::newRow("stopped (paused)") << "stopped" << false << true;
}

// The default printer is a real print queue of a scheduler of the test's own.
void TestPrinting::printQueueAnswers() {
#ifdef VARNEL_CUPS
    QFETCH(QString, queue);
    QFETCH(bool, refused);
    QFETCH(bool, queued);
    if (geteuid() != 0)
        QSKIP("the print scheduler of the test runs as root only");
    PrintScheduler scheduler;
    BoxAnswerer boxes;
    QVERIFY2(scheduler.ready(), "the print scheduler of the test did not start");
    qputenv("PRINTER", queue.toLatin1());
    设打印机来源({});
    FlexGrid grid(nullptr);
    numberCells(grid, 51, {1500, 950});
    打印表格内容(grid, 标题, 短注释);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    qunsetenv("PRINTER");
    QCOMPARE(openWindows(QStringLiteral("MDI打印")), refused ? 1 : 0);
    QCOMPARE(scheduler.jobTitles(queue.toLatin1()), queued ? QStringList{标题} : QStringList());
    // A paused queue holds the job and prints it later: the clerk is told so, not to print again.
    if (!refused) {
        QCOMPARE(boxes.texts, queue == u"stopped"
                                  ? QStringList{"打印机“stopped”已暂停，打印任务正在队列中等待，"
                                                "打印机恢复后就会打印。"}
                                  : QStringList());
        return;
    }
    // The reason is the scheduler's own words, which name the queue.
    QCOMPARE(boxes.texts.size(), 1);
    const QString prefix = QStringLiteral("打印机“%1”拒绝了打印任务：").arg(queue);
    QVERIFY2(boxes.texts[0].startsWith(prefix) && boxes.texts[0].mid(prefix.size()).contains(queue),
             qPrintable(boxes.texts[0]));
#else
    QSKIP("print queues are read through CUPS");
#endif
}

void TestPrinting::limitsCheckedBeforePrinting() {
    BoxAnswerer boxes;
    FlexGrid grid(nullptr);
    grid.setCols(32769);
    打印表格内容(grid, 标题, 短注释);
    QCOMPARE(boxes.texts, QStringList{QStringLiteral("溢出")});
    QVERIFY(!QFile::exists(pdfPath));
    QCOMPARE(openWindows(QStringLiteral("MDI打印")), 1);
}

void TestPrinting::pageWindowDrawsItsLabelsAndLines() {
    auto *container = new MDI打印;
    container->show();
    打印For列表 *page = container->显示页面窗口();
    QCOMPARE(page->页面().标签数(), 0);
    版面 layout;
    layout.列宽 = {1000, 2000, 0, 1500};
    layout.行高 = {300, 400, 250};
    layout.格 = {{"a", "b", "", "c"}, {"", "", "", ""}, {"", "", "", ""}};
    填入布局(page->页面().MSF列表, layout);
    page->页面().Picnr可见 = true;
    page->送到标题();
    QCOMPARE(page->标签数(), 12);
    QCOMPARE(page->线条数(), 5);
    // What the window shows: dark pixels down the vertical line at 1000 twips inside the panel,
    // none down the middle of the empty second row of the first column.
    const QImage shown = page->grab().toImage();
    const auto darkRun = [&](int xTwips, int fromTwips, int toTwips) {
        int dark = 0;
        const int x = xTwips / 缇(1); // the line's pixel, or the one after it
        for (int y = 像素(fromTwips); y < 像素(toTwips); ++y)
            dark += std::min(qGray(shown.pixel(x, y)), qGray(shown.pixel(x + 1, y))) < 128;
        return dark;
    };
    QVERIFY(darkRun(1000, 960 + 320, 960 + 680) >= 20);
    QCOMPARE(darkRun(500, 960 + 320, 960 + 680), 0);
    page->标题清空();
    QCOMPARE(page->标签数(), 0);
    QCOMPARE(page->线条数(), 5);
    container->close();
}

void TestPrinting::caseFundCommandPrintsClaims() {
    QTemporaryDir appDir;
    设应用目录(加尾分隔符(QDir::toNativeSeparators(appDir.path())));
    auto *w = new Fo案款分配计算;
    w->show();
    w->MSFjk->setTextMatrix(1, 1, QStringLiteral("300"));
    w->MSFzc->setRows(4);
    w->MSFzc->setTextMatrix(1, 0, QStringLiteral("张三"));
    w->MSFzc->setTextMatrix(1, 1, QStringLiteral("200"));
    w->MSFzc->setTextMatrix(1, 2, QStringLiteral("一般债权"));
    w->MSFzc->setTextMatrix(2, 0, QStringLiteral("李四"));
    w->MSFzc->setTextMatrix(2, 1, QStringLiteral("400"));
    w->MSFzc->setTextMatrix(2, 2, QStringLiteral("一般债权"));
    w->分配计算();
    QVERIFY(!w->分配说明().isEmpty());
    w->menuBar()->findChild<QAction *>(QStringLiteral("打印分配结果"))->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const PdfFile pdf = readPdf(pdfPath);
    QCOMPARE(pdf.pages, 1);
    const QString page = pdf.text(1);
    for (const QString &text :
         {标题, QStringLiteral("债权人或案款项目"), QStringLiteral("张三"), QStringLiteral("李四"),
          QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("第1页")})
        QVERIFY2(page.contains(text), qPrintable(text));
    double bottom = 0;
    QCOMPARE(noteLines(pdf, 1, &bottom).join(QString()), withoutBreaksAndBlanks(w->分配说明()));
    QVERIFY(guard->texts.isEmpty());
    关闭不保存(w);
}

// A realistic case through the window's command: names wider than their column wrap inside it,
// whole; the blank entry row is not printed; a totals row closes the table.
void TestPrinting::claimsTableClosedOnPaper() {
    QTemporaryDir appDir;
    设应用目录(加尾分隔符(QDir::toNativeSeparators(appDir.path())));
    auto *w = new Fo案款分配计算;
    w->show();
    // The mortgage's 1,500,000 first; its other 500,000 and the general claim get half.
    w->MSFjk->setTextMatrix(1, 1, QStringLiteral("2575617.25"));
    const QString bank = QStringLiteral("中国工商银行股份有限公司北京朝阳支行");
    const QString plaintiff = QStringLiteral("（2024）京0105民初10号案原告张三");
    const QStringList rows[] = {{bank, "2000000", "抵押", "1500000"},
                                {plaintiff, "1651234.5", "一般债权", ""}};
    w->MSFzc->setRows(4);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c)
            w->MSFzc->setTextMatrix(r + 1, c, rows[r][c]);
    w->分配计算();
    QCOMPARE(w->MSFzc->TextMatrix(3, 4), QStringLiteral("0")); // the entry row on screen
    child<QAction>(w, "打印分配结果")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    关闭不保存(w);
    const PdfFile pdf = readPdf(pdfPath);
    QCOMPARE(pdf.pages, 1);
    // The first column, 1500 twips wide, top to bottom: every name whole inside it, then 合计.
    QList<PdfWord> first;
    for (const PdfWord &word : pdf.onPage(1))
        if (word.yMin > pt(960) && word.xMin < pt(1500))
            first.append(word);
    std::sort(first.begin(), first.end(),
              [](const PdfWord &a, const PdfWord &b) { return a.yMin < b.yMin; });
    QString column;
    for (const PdfWord &word : first) {
        QVERIFY2(word.xMax <= pt(1500), qPrintable(word.text));
        column += word.text;
    }
    QCOMPARE(column, QStringLiteral("债权人或案款项目") + bank + plaintiff + QStringLiteral("合计"));
    // The totals row: 2,000,000 + 1,651,234.5 claimed, 1,500,000 of priority, and all that was
    // paid in allocated (1,750,000 and 825,617.25).
    QStringList totals;
    for (const PdfWord &word : pdf.onPage(1))
        if (qAbs(word.yMin - first.last().yMin) < 1 && word.xMin >= pt(1500))
            totals.append(word.text);
    QCOMPARE(totals, (QStringList{"3651234.5", "1500000", "2575617.25"}));
    QVERIFY(!findPlain(pdf, 1, QStringLiteral("0")));
}

void TestPrinting::emptyClaimsStillPrintTitleAndNote() {
    // The claims grid of a fresh case fund window: the header row and one blank row.
    QTemporaryDir appDir;
    设应用目录(加尾分隔符(QDir::toNativeSeparators(appDir.path())));
    auto *w = new Fo案款分配计算;
    w->show();
    const PdfFile pdf = print(*w->MSFzc, 标题, 短注释);
    QCOMPARE(pdf.pages, 1);
    for (const QString &text : {标题, 短注释, QStringLiteral("分配金额"), QStringLiteral("第1页")})
        QVERIFY2(findPlain(pdf, 1, text), qPrintable(text));
    QVERIFY(guard->texts.isEmpty());
    关闭不保存(w);
}

void TestPrinting::fullPageOfClaimsFitsTheSheet() {
    // 120 claims in the case fund window: its first page holds the header and 49 claims.
    QTemporaryDir appDir;
    设应用目录(加尾分隔符(QDir::toNativeSeparators(appDir.path())));
    auto *w = new Fo案款分配计算;
    w->show();
    FlexGrid *claims = w->MSFzc;
    claims->setRows(121);
    for (int r = 1; r <= 120; ++r) {
        claims->setTextMatrix(r, 0, QStringLiteral("债权人%1").arg(r));
        claims->setTextMatrix(r, 1, QStringLiteral("100"));
    }
    int tableBottom = 页面尺寸::表格顶;
    for (int r = 0; r < 50; ++r)
        tableBottom += claims->RowHeight(r);
    const PdfFile pdf = print(*claims, 标题, 短注释);
    关闭不保存(w);
    QCOMPARE(pdf.pages, 3);
    const PdfWord *number = findPlain(pdf, 1, QStringLiteral("第1页"));
    QVERIFY(number);
    QVERIFY(qAbs(number->yMin - pt(14342)) <= 1);
    QVERIFY(findPlain(pdf, 1, QStringLiteral("债权人49")));
    for (const PdfWord &word : pdf.onPage(1))
        if (word.text != QStringLiteral("第1页"))
            QVERIFY2(word.yMax <= number->yMin, qPrintable(word.text));
    // The lowest line across the first column is the table's bottom, above the page number.
    const RenderedPage page = renderPdfPage(pdfPath, 1);
    QVERIFY(!page.image.isNull());
    const PixelBox across = pixelsIn(page, 20, 0, 1480, 0);
    int lowest = -1;
    for (int y = page.image.height() - 1; y >= 0 && lowest < 0; --y)
        if (darkPixels(page, {across.x0, y, across.x1, y}) == across.x1 - across.x0 + 1)
            lowest = y;
    QVERIFY(lowest > 0);
    const double lowestPt = (lowest + 1) / page.scale;
    QVERIFY(qAbs(lowestPt - pt(tableBottom)) <= 0.5);
    QVERIFY(lowestPt <= pt(页面尺寸::页数顶));
}

void TestPrinting::nextLabelHidesTextRunningOn() {
    // Texts longer than their 600-twip cells, with an empty cell between them.
    FlexGrid grid(nullptr, 0);
    grid.setCols(3);
    grid.setRows(1);
    grid.setColWidth(0, 600);
    grid.setColWidth(1, 2000);
    grid.setColWidth(2, 600);
    grid.setRowHeight(0, 300);
    grid.setTextMatrix(0, 0, QStringLiteral("一二三四五六七八九十"));
    grid.setTextMatrix(0, 2, QStringLiteral("一二三四五六七八九十"));
    print(grid, 标题, QString());
    const RenderedPage page = renderPdfPage(pdfPath, 1);
    QVERIFY(!page.image.isNull());
    QVERIFY(darkPixels(page, 20, 960 + 20, 580, 960 + 280) > 0);
    QVERIFY(darkPixels(page, 2620, 960 + 20, 3180, 960 + 280) > 0);
    // Right of the column line at 600 nothing shows, nor right of the table's edge at 3200.
    QCOMPARE(darkPixels(page, 600 + 20, 960 + 20, 2600 - 20, 960 + 280), 0);
    QCOMPARE(darkPixels(page, 3200 + 10, 960 + 20, 3200 + 300, 960 + 280), 0);
}

void TestPrinting::frameLiesInsideThePanel() {
    FlexGrid grid(nullptr, 0);
    numberCells(grid, 3, {1500, 950});
    const int heights[] = {60, 450, 300};
    for (int r = 0; r < 3; ++r)
        grid.setRowHeight(r, heights[r]);
    print(grid, 标题, QString());
    // The table covers 0..2450 across and 960..1770 down; its frame is a 15-twip line just
    // inside that edge, and nothing of it, nor of the row line at 1020, lies outside. Seen at
    // one pixel a twip around the top left and the bottom right corners (whose outer tip the
    // line's join cuts off).
    const int l = 0, t = 960, r = 2450, b = 1770;
    const RenderedPage topLeft = renderAround(pdfPath, l, t, 200);
    QVERIFY(!topLeft.image.isNull());
    QVERIFY(allDark(topLeft, l + 2, t + 20, l + 13, t + 90));
    QVERIFY(allDark(topLeft, l + 20, t + 2, l + 90, t + 13));
    QCOMPARE(darkPixels(topLeft, l - 90, t - 90, l - 2, t + 90), 0);
    QCOMPARE(darkPixels(topLeft, l - 90, t - 90, l + 90, t - 2), 0);
    const RenderedPage bottomRight = renderAround(pdfPath, r, b, 200);
    QVERIFY(allDark(bottomRight, r - 13, b - 90, r - 2, b - 20));
    QVERIFY(allDark(bottomRight, r - 90, b - 13, r - 20, b - 2));
    QCOMPARE(darkPixels(bottomRight, r + 2, b - 90, r + 90, b + 90), 0);
    QCOMPARE(darkPixels(bottomRight, r - 90, b + 2, r + 90, b + 90), 0);
}

void TestPrinting::cellsInTheirOwnFontSize() {
    // The same text in a cell (8.25 points) and as the note (9 points) of one font: their
    // heights on paper stand as the sizes do.
    const QString text = QStringLiteral("已交案款");
    FlexGrid grid(nullptr, 0);
    grid.setCols(1);
    grid.setRows(1);
    grid.setColWidth(0, 1500);
    grid.setTextMatrix(0, 0, text);
    const PdfFile pdf = print(grid, 标题, text);
    const PdfWord *note = nullptr, *cell = nullptr;
    for (const PdfWord &w : pdf.words)
        if (w.page == 1 && w.text == text)
            (w.yMin < pt(960) ? note : cell) = &w;
    QVERIFY(note && cell);
    const double ratio = (cell->yMax - cell->yMin) / (note->yMax - note->yMin);
    QVERIFY2(qAbs(ratio - 8.25 / 9) < 0.02, qPrintable(QString::number(ratio)));
}

void TestPrinting::gridWithoutRowsOrColumnsPrintsNothing_data() {
    QTest::addColumn<int>("fixedRows");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::newRow("no columns") << 1 << 3 << 0;
    QTest::newRow("no rows") << 0 << 0 << 3;
    QTest::newRow("neither") << 0 << 0 << 0;
}

void TestPrinting::gridWithoutRowsOrColumnsPrintsNothing() {
    QFETCH(int, fixedRows);
    QFETCH(int, rows);
    QFETCH(int, cols);
    FlexGrid grid(nullptr, fixedRows);
    grid.setCols(cols);
    grid.setRows(rows);
    打印表格内容(grid, 标题, 短注释);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard->texts.isEmpty());
    QVERIFY(!QFile::exists(pdfPath));
    QCOMPARE(openWindows(QStringLiteral("MDI打印")), 0);
}

int runPrintingTests(int argc, char **argv) {
    TestPrinting t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_printing.moc"
