#include "output/print_routine.h"

#include "common/grid.h"
#include "common/message_box.h"
#include "common/varnel_error.h"
#include "output/page_output.h"
#include "output/print_result.h"
#include "output/print_window.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

打印机来源 &来源() {
    static 打印机来源 source;
    return source;
}

std::unique_ptr<QPrinter> 取打印机(const QString &标题) {
    std::unique_ptr<QPrinter> printer = 来源() ? 来源()() : 默认打印机();
    if (printer) {
        printer->setDocName(标题);
        printer->setPageOrientation(QPageLayout::Portrait);
    }
    return printer;
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
            snapshot.列宽.append(grid.原列宽(c));
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

std::optional<打印去向> 打印表格内容(const FlexGrid &grid, const QString &标题, const QString &注释,
                                    const QString &案件名, const 合计规则 &规则) {
    QPointer<MDI打印> container;
    打印去向 sent;
    QPointer<打印For列表> page;
    std::unique_ptr<QPrinter> printer;
    打印回答 answer;
    const bool printed = 捕获错误([&] {
        container = new MDI打印;
        container->show();
        page = container->显示页面窗口();
        sent.页数 = 输出各页(
            page->页面(), 表格快照自(grid), 标题, 注释,
            [&]() -> QPagedPaintDevice & {
                printer = 取打印机(标题);
                if (!printer)
                    throw VarnelError(无打印机说明);
                sent.打印机 = printer->printerName();
                return *printer;
            },
            案件名, 规则);
        // The job has been handed over; what the print queue made of it.
        if (printer)
            answer = 打印结果(*printer);
        if (answer.结果 == 打印回答::拒绝)
            throw VarnelError(answer.说明);
    });
    if (printed)
        卸载(page, container);
    if (printed && answer.结果 == 打印回答::等待)
        消息框::提示(answer.说明);
    else if (!printed && page)
        page->update(); // the page where printing stopped stays in view
    if (!printed || !printer)
        return std::nullopt;
    return sent;
}
