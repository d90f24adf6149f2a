#include "common/table_html.h"

#include <QHash>
#include <algorithm>

// The first table of an HTML text, read by a scanner of its own: a clipboard table of ten
// thousand rows is read in a few milliseconds, where a full HTML document model takes a second.
namespace {

bool 是空白(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// The character an entity stands for, or the entity itself when it is not one of the ones a
// table on the clipboard uses.
QString 实体(QStringView name) {
    static const QHash<QString, QString> named = {{QStringLiteral("amp"), QStringLiteral("&")},
                                                  {QStringLiteral("lt"), QStringLiteral("<")},
                                                  {QStringLiteral("gt"), QStringLiteral(">")},
                                                  {QStringLiteral("quot"), QStringLiteral("\"")},
                                                  {QStringLiteral("apos"), QStringLiteral("'")},
                                                  {QStringLiteral("nbsp"), QStringLiteral(" ")},
                                                  {QStringLiteral("ensp"), QStringLiteral(" ")},
                                                  {QStringLiteral("emsp"), QStringLiteral(" ")}};
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.size() > 1 && (name[1] == u'x' || name[1] == u'X')
                              ? name.mid(2).toUInt(&ok, 16)
                              : name.mid(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
            const char32_t c = code == 0xA0 ? U' ' : char32_t(code);
            return QString::fromUcs4(&c, 1);
        }
    } else if (const auto it = named.constFind(name.toString()); it != named.constEnd()) {
        return *it;
    }
    return QLatin1Char('&') + name.toString() + QLatin1Char(';');
}

// A tag's name in lower case, with a leading '/' for an end tag.
QString 标签名(QStringView tag) {
    int i = 0;
    QString name;
    if (i < tag.size() && tag[i] == u'/') {
        name += u'/';
        ++i;
    }
    while (i < tag.size() && tag[i].isLetterOrNumber())
        name += tag[i++].toLower();
    return name;
}

// The whole-number value of an attribute such as colspan="2"; 1 when absent or not a number.
int 跨度(QStringView tag, QLatin1String attribute) {
    const qsizetype at = tag.indexOf(attribute, 0, Qt::CaseInsensitive);
    if (at < 0)
        return 1;
    qsizetype i = at + attribute.size();
    while (i < tag.size() &&
           (是空白(tag[i]) || tag[i] == u'=' || tag[i] == u'"' || tag[i] == u'\''))
        ++i;
    qsizetype j = i;
    while (j < tag.size() && tag[j].isDigit())
        ++j;
    const int n = tag.mid(i, j - i).toInt();
    return std::clamp(n, 1, 1000);
}

class 表格扫描 {
  public:
    表格块 rows;

    void 开始行() {
        结束行();
        行中 = true;
        rows.append(QStringList());
        列 = 0;
    }
    // Columns at the end of a row that a cell above still covers are empty cells of it.
    void 结束行() {
        结束格();
        if (!行中)
            return;
        const int r = int(rows.size()) - 1;
        int last = -1;
        for (auto it = 占用.cbegin(); it != 占用.cend(); ++it)
            if (it.value() > r)
                last = std::max(last, it.key());
        for (; 列 <= last; ++列)
            rows.last().append(QString());
        行中 = false;
    }
    void 开始格(QStringView tag) {
        if (!行中)
            开始行();
        结束格();
        QStringList &row = rows.last();
        const int r = int(rows.size()) - 1;
        for (; 占用.value(列) > r; ++列)
            row.append(QString());
        格起 = int(row.size());
        row.append(QString());
        const int cols = 跨度(tag, QLatin1String("colspan"));
        const int span = 跨度(tag, QLatin1String("rowspan"));
        for (int k = 0; k < cols; ++k) {
            if (span > 1)
                占用[列 + k] = r + span;
            if (k > 0)
                row.append(QString());
        }
        列 += cols;
        格中 = true;
        文本.clear();
    }
    void 结束格() {
        if (!格中)
            return;
        rows.last()[格起] = 文本.trimmed();
        格中 = false;
    }
    void 文字(QStringView text) {
        if (!格中)
            return;
        for (const QChar c : text) {
            if (c == QChar::Nbsp) {
                文本 += u' ';
            } else if (是空白(c)) {
                if (!文本.isEmpty() && !文本.endsWith(u' ') && !文本.endsWith(u'\n'))
                    文本 += u' ';
            } else {
                文本 += c;
            }
        }
    }
    void 实体字(const QString &text) {
        if (格中)
            文本 += text;
    }
    void 换行() {
        if (!格中)
            return;
        while (文本.endsWith(u' '))
            文本.chop(1);
        文本 += u'\n';
    }

  private:
    bool 行中 = false, 格中 = false;
    int 列 = 0, 格起 = 0;
    QString 文本;
    QHash<int, int> 占用; // column → the first row a row-spanning cell no longer covers
};

} // namespace

表格块 读HTML表格(const QString &html) {
    const qsizetype begin = html.indexOf(QLatin1String("<table"), 0, Qt::CaseInsensitive);
    if (begin < 0)
        return {};
    表格扫描 scan;
    int depth = 0;
    qsizetype i = begin;
    while (i < html.size()) {
        if (html[i] == u'<') {
            if (QStringView(html).mid(i, 4) == QLatin1String("<!--")) {
                const qsizetype end = html.indexOf(QLatin1String("-->"), i + 4);
                i = end < 0 ? html.size() : end + 3;
                continue;
            }
            const qsizetype end = html.indexOf(u'>', i);
            if (end < 0)
                break;
            const QStringView tag = QStringView(html).mid(i + 1, end - i - 1);
            i = end + 1;
            const QString name = 标签名(tag);
            if (name == QLatin1String("table")) {
                ++depth;
            } else if (name == QLatin1String("/table")) {
                if (--depth == 0)
                    break;
            } else if (depth > 1) {
                continue; // a table inside a cell is left out
            } else if (name == QLatin1String("tr")) {
                scan.开始行();
            } else if (name == QLatin1String("/tr")) {
                scan.结束行();
            } else if (name == QLatin1String("td") || name == QLatin1String("th")) {
                scan.开始格(tag);
            } else if (name == QLatin1String("/td") || name == QLatin1String("/th")) {
                scan.结束格();
            } else if (name == QLatin1String("br") || name == QLatin1String("/p") ||
                       name == QLatin1String("/div") || name == QLatin1String("/li")) {
                scan.换行();
            } else if (name == QLatin1String("style") || name == QLatin1String("script")) {
                const qsizetype close =
                    html.indexOf(QStringLiteral("</") + name, i, Qt::CaseInsensitive);
                i = close < 0 ? html.size() : close;
            }
            continue;
        }
        if (depth > 1) {
            ++i;
            continue;
        }
        if (html[i] == u'&') {
            const qsizetype semi = html.indexOf(u';', i);
            if (semi > i && semi - i <= 10) {
                scan.实体字(实体(QStringView(html).mid(i + 1, semi - i - 1)));
                i = semi + 1;
                continue;
            }
        }
        qsizetype j = i;
        while (j < html.size() && html[j] != u'<' && html[j] != u'&')
            ++j;
        if (j == i)
            ++j;
        scan.文字(QStringView(html).mid(i, j - i));
        i = j;
    }
    scan.结束行();
    return scan.rows;
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
