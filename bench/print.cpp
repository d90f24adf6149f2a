// Printing the claims table of the case fund window to a PDF file: 1 000 and 10 000 claim rows
// (10 000 rows are 201 pages), against a floor: a bare QPainter drawing the same texts and
// lines onto the same kind of PDF printer, with nothing else around it. The same pages saved as
// a PDF file are timed against printing them to the PDF printer.
#include "casefund/case_fund_window.h"
#include "common/grid.h"
#include "output/page_painter.h"
#include "output/pdf_output.h"
#include "output/print_routine.h"
#include "timing.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

std::unique_ptr<QPrinter> pdfPrinter(const QString &path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(QPageSize::A4));
    return printer;
}

void fill(Fo案款分配计算 &w, int claimRows) {
    const char *natures[] = {"诉讼费用", "抵押", "工资", "劳动保险", "税款", "一般债权"};
    w.MSFjk->setRows(3);
    w.MSFjk->setTextMatrix(1, 1, QStringLiteral("1500000.5"));
    w.MSFzc->setRows(claimRows + 2);
    for (int r = 1; r <= claimRows; ++r) {
        w.MSFzc->setTextMatrix(r, 0, QStringLiteral("债权人%1").arg(r));
        w.MSFzc->setTextMatrix(r, 1, QString::number(100 + r * 7.13, 'f', 2));
        w.MSFzc->setTextMatrix(r, 2, QString::fromUtf8(natures[r % 6]));
        if (r % 6 == 1)
            w.MSFzc->setTextMatrix(r, 3, QString::number(50 + r));
        w.MSFzc->setTextMatrix(r, 5, QStringLiteral("备注%1").arg(r));
    }
    w.分配计算();
}

// The floor: every page's title, note, cell texts, table lines and page number drawn straight
// from the grid, at the same places and sizes.
void floorPrint(const FlexGrid &grid, const QString &title, const QString &note,
                const QString &path) {
    auto printer = pdfPrinter(path);
    QPainter p(printer.get());
    const double scale = printer->resolution() / 1440.0;
    const int rows = grid.Rows(), cols = grid.Cols();
    std::vector<int> x(cols + 1, 0);
    for (int c = 0; c < cols; ++c)
        x[c + 1] = x[c] + grid.ColWidth(c);
    const QFont titleFont = 页面字体(12, true), noteFont = 页面字体(8.25),
                cellFont = 页面字体(8.25), pageFont = 页面字体(9);
    QPen pen(Qt::black);
    pen.setWidth(15);
    for (int first = 0, page = 1; first < rows; first += 50, ++page) {
        if (first > 0)
            printer->newPage();
        p.save();
        p.scale(scale, scale);
        p.setPen(pen);
        p.setFont(titleFont);
        p.drawText(QRect(240, 240, 2895, 315), Qt::AlignLeft | Qt::AlignTop, title);
        p.setFont(noteFont);
        p.drawText(QRect(3240, 120, 6495, 735), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   note);
        p.setFont(cellFont);
        const int last = std::min(rows, first + 50);
        int y = 960;
        for (int r = first; r < last; ++r) {
            const int h = grid.RowHeight(r);
            for (int c = 0; c < cols; ++c) {
                const QString text = grid.TextMatrix(r, c);
                if (!text.trimmed().isEmpty())
                    p.drawText(QRect(x[c] + 5, y + 10, grid.ColWidth(c) + 50, h - 20),
                               Qt::AlignLeft | Qt::AlignTop, text);
            }
            if (r > first)
                p.drawLine(0, y, x[cols], y);
            y += h;
        }
        for (int c = 1; c < cols; ++c)
            p.drawLine(x[c], 960, x[c], y);
        p.drawRect(QRect(0, 960, x[cols], y - 960));
        p.setFont(pageFont);
        p.drawText(QRect(5640, 14342, 1500, 255), Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("第%1页").arg(page));
        p.restore();
    }
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("ours.pdf"));
    const QString floor = dir.filePath(QStringLiteral("floor.pdf"));
    const QString saved = dir.filePath(QStringLiteral("saved.pdf"));
    设打印机来源([&] { return pdfPrinter(ours); });
    for (const int claimRows : {1000, 10000}) {
        Fo案款分配计算 w;
        w.show();
        fill(w, claimRows);
        const QString title = QStringLiteral("案款分配表");
        const int runs = claimRows > 1000 ? 5 : 9;
        const double oursMs = 中位毫秒(runs, [&] {
            打印表格内容(*w.MSFzc, title, w.分配说明());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
        const double floorMs =
            中位毫秒(runs, [&] { floorPrint(*w.MSFzc, title, w.分配说明(), floor); });
        const double fileMs = 中位毫秒(runs, [&] {
            写PDF文件(*w.MSFzc, title, w.分配说明(), QStringLiteral("某某执行案"), saved);
        });
        const int pages = (w.MSFzc->Rows() + 49) / 50;
        std::printf("claim rows %5d (%3d pages): ours %8.1f ms, floor %8.1f ms, ours/floor %.2f\n",
                    claimRows, pages, oursMs, floorMs, oursMs / floorMs);
        std::printf("claim rows %5d (%3d pages): PDF file %8.1f ms, PDF file/printed %.2f\n",
                    claimRows, pages, fileMs, fileMs / oursMs);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return 0;
}
