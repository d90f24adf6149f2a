#include "output/pdf_output.h"

#include "common/message_box.h"
#include "common/varnel_error.h"
#include "output/page_output.h"
#include "output/print_routine.h"

#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

PDF文件名询问 &询问() {
    static PDF文件名询问 ask;
    return ask;
}

PDF文件来源 &来源() {
    static PDF文件来源 source;
    return source;
}

// The save dialog appends ".pdf" to a name typed without it before it checks whether the file
// exists, so that its question about replacing a file is asked of the file really written.
QString 对话框询问(QWidget *parent, const QString &建议) {
    QFileDialog dialog(parent, QStringLiteral("保存为PDF文件"), 建议,
                       QStringLiteral("PDF文件 (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(建议);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

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
                   const QString &案件名) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    设页面(writer);
    writer.setTitle(案件名.isEmpty() ? 标题 : 标题 + QStringLiteral(" — ") + 案件名);
    writer.setCreator(消息框::应用标题);
    打印页面 page;
    page.载入();
    const int pages = 输出各页(page, 表格快照自(grid), 标题, 注释,
                               [&]() -> QPagedPaintDevice & { return writer; }, 案件名);
    return pages > 0 ? buffer.data() : QByteArray();
}

QString 写入失败(const QString &文件名, const QString &原因) {
    return QStringLiteral("不能保存PDF文件“%1”：%2").arg(QDir::toNativeSeparators(文件名), 原因);
}

} // namespace

void 设PDF文件名询问(PDF文件名询问 ask) {
    询问() = std::move(ask);
}

void 设PDF文件来源(PDF文件来源 source) {
    来源() = std::move(source);
}

QString PDF建议文件名(const QString &标题, const QString &案件名) {
    QString name = 标题 + 案件名 + QStringLiteral(".pdf");
    // A case's name may hold a folder separator or a character that Windows refuses in a file
    // name: each becomes "-".
    for (const QChar c : QStringLiteral("/\\:*?\"<>|"))
        name.replace(c, QLatin1Char('-'));
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(name);
}

void 写PDF文件(const FlexGrid &grid, const QString &标题, const QString &注释,
               const QString &案件名, const QString &文件名) {
    const QByteArray pdf = PDF内容(grid, 标题, 注释, 案件名);
    if (pdf.isEmpty())
        return; // a table without rows or columns has no page
    std::unique_ptr<QSaveFile> file = 来源() ? 来源()(文件名) : std::make_unique<QSaveFile>(文件名);
    if (!file->open(QIODevice::WriteOnly))
        throw VarnelError(写入失败(文件名, QStringLiteral("这个文件夹不能写入。")));
    if (file->write(pdf) != pdf.size() || !file->commit()) {
        file->cancelWriting();
        throw VarnelError(写入失败(文件名, QStringLiteral("文件没有写完，磁盘可能已满。")));
    }
}

QString 输出PDF文件(QWidget *parent, const FlexGrid &grid, const QString &标题, const QString &注释,
                    const QString &案件名) {
    const QString 建议 = PDF建议文件名(标题, 案件名);
    QString name = 询问() ? 询问()(parent, 建议) : 对话框询问(parent, 建议);
    if (name.isEmpty())
        return {};
    // A name given with another suffix gets ".pdf" here, after the dialog's check: a file of
    // that final name is not replaced unasked.
    if (QFileInfo(name).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) != 0) {
        name += QStringLiteral(".pdf");
        if (QFileInfo::exists(name) &&
            !消息框::是否(QStringLiteral("文件“%1”已经存在，要替换它吗？")
                              .arg(QDir::toNativeSeparators(name)),
                          QStringLiteral("保存为PDF文件"), 消息框::默认钮::否))
            return {};
    }
    if (!捕获错误([&] { 写PDF文件(grid, 标题, 注释, 案件名, name); }))
        return {};
    return name;
}
