#include "common/table_text.h"

namespace {

bool 分隔符(QChar c) {
    return c == u'\t' || c == u'\r' || c == u'\n';
}

// The position just after the closing quote of a quoted cell that starts at `start`, or -1
// when the cell is not a well-formed quoted cell (it is then read as it stands).
qsizetype 引号格结尾(const QString &text, qsizetype start) {
    const qsizetype n = text.size();
    for (qsizetype i = start + 1; i < n; ++i) {
        if (text[i] != u'"')
            continue;
        if (i + 1 < n && text[i + 1] == u'"') {
            ++i;
            continue;
        }
        return i + 1 == n || 分隔符(text[i + 1]) ? i + 1 : -1;
    }
    return -1;
}

} // namespace

表格块 读表格文本(const QString &text) {
    表格块 rows;
    QStringList row;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (n > 0) {
        const qsizetype quotedEnd = i < n && text[i] == u'"' ? 引号格结尾(text, i) : -1;
        if (quotedEnd >= 0) {
            row.append(text.mid(i + 1, quotedEnd - i - 2)
                           .replace(QStringLiteral("\"\""), QStringLiteral("\"")));
            i = quotedEnd;
        } else {
            qsizetype j = i;
            while (j < n && !分隔符(text[j]))
                ++j;
            row.append(text.mid(i, j - i));
            i = j;
        }
        if (i < n && text[i] == u'\t') {
            ++i;
            continue;
        }
        rows.append(row);
        row.clear();
        if (i >= n)
            break;
        i += text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n' ? 2 : 1;
        if (i >= n)
            break;
    }
    return rows;
}

QString 表格文本(const 表格块 &block) {
    QString out;
    for (const QStringList &row : block) {
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (c > 0)
                out += u'\t';
            const QString &cell = row[c];
            const bool quote = cell.contains(u'\t') || cell.contains(u'\n') ||
                               cell.contains(u'\r') || cell.contains(u'"');
            if (quote)
                out += u'"' + QString(cell).replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
                       u'"';
            else
                out += cell;
        }
        out += u'\n';
    }
    return out;
}

bool 有填写单元格(const 表格块 &block) {
    for (const QStringList &row : block)
        for (const QString &cell : row)
            if (!cell.trimmed().isEmpty())
                return true;
    return false;
}

qsizetype 单元格数(const 表格块 &block) {
    qsizetype n = 0;
    for (const QStringList &row : block)
        n += row.size();
    return n;
}
