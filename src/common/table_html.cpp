#include "common/table_html.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace {

QTextTable *第一个表(QTextFrame *frame) {
    for (QTextFrame *child : frame->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child))
            return table;
        if (QTextTable *inner = 第一个表(child))
            return inner;
    }
    return nullptr;
}

// The paragraphs of a cell, one per line; a table inside the cell is left out.
QString 格文本(const QTextTableCell &cell) {
    QStringList paragraphs;
    for (auto it = cell.begin(); !it.atEnd(); ++it)
        if (const QTextBlock block = it.currentBlock(); block.isValid())
            paragraphs.append(block.text());
    QString text = paragraphs.join(u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QChar::Nbsp, u' ');
    return text.trimmed();
}

} // namespace

表格块 读HTML表格(const QString &html) {
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    doc.setHtml(html);
    QTextTable *table = 第一个表(doc.rootFrame());
    if (!table)
        return {};
    表格块 block;
    for (int r = 0; r < table->rows(); ++r) {
        QStringList row;
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            row.append(cell.row() == r && cell.column() == c ? 格文本(cell) : QString());
        }
        block.append(row);
    }
    return block;
}

QString HTML表格(const 表格块 &block, const std::function<QString(int row, int col)> &number) {
    QString out = QStringLiteral(
        "<html xmlns:x=\"urn:schemas-microsoft-com:office:excel\"><head>"
        "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\"></head>"
        "<body><table>\n");
    for (int r = 0; r < block.size(); ++r) {
        out += QStringLiteral("<tr>");
        for (int c = 0; c < block[r].size(); ++c) {
            const QString value = number ? number(r, c) : QString();
            if (value.isEmpty())
                out += QStringLiteral("<td>");
            else
                out += QStringLiteral("<td sdval=\"%1\" sdnum=\"1033;\" x:num=\"%1\">").arg(value);
            QString text = block[r][c].toHtmlEscaped();
            text.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
            text.replace(u'\n', QStringLiteral("<br>"));
            text.replace(u'\r', QStringLiteral("<br>"));
            out += text + QStringLiteral("</td>");
        }
        out += QStringLiteral("</tr>\n");
    }
    return out + QStringLiteral("</table></body></html>\n");
}
