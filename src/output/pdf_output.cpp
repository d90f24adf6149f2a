#include "output/pdf_output.h"

#include "common/message_box.h"
#include "output/page_output.h"
#include "output/print_routine.h"
#include "output/saved_file.h"

#include <QBuffer>
#include <QPdfWriter>

namespace {

const 文件种类 PDF种类{QStringLiteral("PDF文件"), QStringLiteral("保存为PDF文件"),
                     QStringLiteral("PDF文件 (*.pdf)"), QStringLiteral("pdf")};

// The page on A4 as on the printer, at 1200 dots an inch; the page window's 10433 × 14742 twips
// (184 × 260 mm) lie in the middle of the sheet.
void 设页面(QPdfWriter &writer) {
    writer.setResolution(1200);
    const QPageSize a4(QPageSize::A4);
    const QSizeF sheet = a4.size(QPageSize::Point);
    const double 左右 = (sheet.width() - 页面尺寸::宽 / 20.0) / 2;
    const double 上下 = (sheet.height() - 页面尺寸::高 / 20.0) / 2;
    writer.setPageLayout(QPageLayout(a4, QPageLayout::Portrait, QMarginsF(左右, 上下, 左右, 上下),
                                     QPageLayout::Point));
}

// The whole document in memory, so that the file is written in one piece and a failed write is
// seen.
QByteArray PDF内容(const FlexGrid &grid, const QString &标题, const QString &注释,
                   const QString &案件名, const 合计规则 &规则) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    设页面(writer);
    writer.setTitle(案件名.isEmpty() ? 标题 : 标题 + QStringLiteral(" — ") + 案件名);
    writer.setCreator(消息框::应用标题);
    打印页面 page;
    page.载入();
    const int pages = 输出各页(page, 表格快照自(grid), 标题, 注释,
                               [&]() -> QPagedPaintDevice & { return writer; }, 案件名, 规则);
    return pages > 0 ? buffer.data() : QByteArray();
}

} // namespace

QString PDF建议文件名(const QString &标题, const QString &案件名) {
    return 建议文件名(标题 + 案件名, PDF种类.后缀);
}

void 写PDF文件(const FlexGrid &grid, const QString &标题, const QString &注释,
               const QString &案件名, const QString &文件名, const 合计规则 &规则) {
    const QByteArray pdf = PDF内容(grid, 标题, 注释, 案件名, 规则);
    if (pdf.isEmpty())
        return; // a table without rows or columns has no page
    保存文件(PDF种类, 文件名, pdf);
}

QString 输出PDF文件(QWidget *parent, const FlexGrid &grid, const QString &标题, const QString &注释,
                    const QString &案件名, const 合计规则 &规则) {
    const QString name = 询问文件名(parent, PDF种类, PDF建议文件名(标题, 案件名));
    if (name.isEmpty() || !捕获错误([&] { 写PDF文件(grid, 标题, 注释, 案件名, name, 规则); }))
        return {};
    return name;
}
