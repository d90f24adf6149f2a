#include "output/print_routine.h"

#include "common/grid.h"
#include "common/message_box.h"
#include "common/varnel_error.h"
#include "output/page_painter.h"
#include "output/print_result.h"
#include "output/print_window.h"

#include <QMdiSubWindow>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

namespace {

打印机来源 &来源() {
    static 打印机来源 source;
    return source;
}

// One print job: the painter on the printer, every page drawn at its true size from the
// printable area's top left, scaled down evenly only where the printable area is smaller.
// Ending the job (also when an error leaves it) sends the pages drawn so far.
class 打印作业 {
  public:
    explicit 打印作业(std::unique_ptr<QPrinter> device) : printer(std::move(device)) {
        if (!printer)
            throw VarnelError(无打印机说明);
        if (!painter.begin(printer.get()))
            throw VarnelError(QStringLiteral("打印机不能开始打印。"));
        const double twips = printer->resolution() / 1440.0;
        const QRectF area = printer->pageRect(QPrinter::DevicePixel);
        比例 = twips * std::min({1.0, area.width() / (页面尺寸::宽 * twips),
                                 area.height() / (页面尺寸::高 * twips)});
    }
    ~打印作业() {
        if (painter.isActive())
            painter.end();
    }
    打印作业(const 打印作业 &) = delete;
    打印作业 &operator=(const 打印作业 &) = delete;

    void 打印(const 打印页面 &page) {
        if (页数 > 0 && !printer->newPage())
            throw VarnelError(QStringLiteral("打印机不能开始新的一页。"));
        ++页数;
        painter.save();
        painter.scale(比例, 比例);
        画页面(painter, page);
        painter.restore();
    }

    // Ends the job, which hands it over to the printing system, and reports what the print
    // queue made of it.
    void 结束() {
        if (!painter.end())
            throw VarnelError(QStringLiteral("打印作业没有完成。"));
        if (const QString refused = 打印结果(*printer); !refused.isEmpty())
            throw VarnelError(refused);
    }

  private:
    std::unique_ptr<QPrinter> printer;
    QPainter painter;
    double 比例 = 1;
    int 页数 = 0;
};

std::unique_ptr<QPrinter> 取打印机(const QString &标题) {
    std::unique_ptr<QPrinter> printer = 来源() ? 来源()() : 默认打印机();
    if (printer) {
        printer->setDocName(标题);
        printer->setPageOrientation(QPageLayout::Portrait);
    }
    return printer;
}

// Preparation of the page window: the note, the hidden layout grid without border, the table
// panel shown, the title, then the page geometry.
void 准备(打印页面 &page, const QString &标题, const QString &注释) {
    page.La注释.标题 = 注释;
    page.MSF列表.Visible = false;
    page.MSF列表.Border = false;
    page.Picnr可见 = true;
    page.Lab标题名称.标题 = 标题;
    page.定页面尺寸();
}

void 卸载(打印For列表 *page, MDI打印 *container) {
    if (page) {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(page->parentWidget()))
            sub->close();
        else
            page->close();
    }
    if (container)
        container->close();
}

} // namespace

void 设打印机来源(打印机来源 source) {
    来源() = std::move(source);
}

std::unique_ptr<QPrinter> 默认打印机() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (printer->outputFormat() != QPrinter::NativeFormat)
        return nullptr;
    return printer;
}

表格快照 表格快照自(const FlexGrid &grid) {
    表格快照 snapshot;
    const int rows = grid.Rows(), cols = grid.Cols();
    // A grid without rows has no column widths to read, one without columns no row heights;
    // either makes no page.
    if (rows > 0) {
        snapshot.列宽.reserve(cols);
        for (int c = 0; c < cols; ++c)
            snapshot.列宽.append(grid.ColWidth(c));
    }
    if (cols == 0)
        return snapshot;
    snapshot.行高.reserve(rows);
    snapshot.行.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        snapshot.行高.append(grid.RowHeight(r));
        QStringList cells;
        cells.reserve(cols);
        for (int c = 0; c < cols; ++c)
            cells.append(grid.TextMatrix(r, c));
        snapshot.行.append(cells);
    }
    return snapshot;
}

void 打印表格内容(const FlexGrid &grid, const QString &标题, const QString &注释) {
    QPointer<MDI打印> container;
    QPointer<打印For列表> page;
    const bool printed = 捕获错误([&] {
        container = new MDI打印;
        container->show();
        page = container->显示页面窗口();
        准备(page->页面(), 标题, 注释);
        // Every limit is checked here, before a sheet is used.
        const QList<版面> pages = 分页(表格快照自(grid));
        std::unique_ptr<打印作业> job;
        for (const 版面 &layout : pages) {
            填入布局(page->页面().MSF列表, layout);
            page->送到标题();
            page->页面().La页数.标题 = 页码文字(layout.页码);
            if (!job)
                job = std::make_unique<打印作业>(取打印机(标题));
            job->打印(page->页面());
            page->标题清空();
        }
        if (job)
            job->结束();
    });
    if (printed)
        卸载(page, container);
}
