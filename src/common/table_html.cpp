#include "common/table_html.h"

#include <QHash>
#include <algorithm>
#include <memory>
#include <vector>

// The first table of an HTML text, read by a scanner of its own: a clipboard table of ten
// thousand rows is read in a few milliseconds, where a full HTML document model takes a second.
namespace {

// No table of the program is wider than 最大跨度 columns; a span is cut there. A clipboard table
// of more than 最多单元格 cells (spans counted) is refused: hostile markup asking for millions
// of cells costs neither memory nor time.
constexpr int 最大跨度 = 64;
constexpr qsizetype 最多单元格 = 200000;

bool 是空白(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// The text without the blanks above around it (other Unicode blanks are text, as in a browser).
QString 去空白(const QString &text) {
    qsizetype from = 0, to = text.size();
    while (from < to && 是空白(text[from]))
        ++from;
    while (to > from && 是空白(text[to - 1]))
        --to;
    return text.mid(from, to - from);
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

// Where the tag starting at `i` ('<') ends: its '>', not one inside a quoted attribute value
// (title='a>b'); -1 when it does not end.
qsizetype 标签尾(const QString &html, qsizetype i) {
    QChar quote;
    QChar last; // the last character outside a value that is not a blank
    for (qsizetype j = i + 1; j < html.size(); ++j) {
        const QChar c = html[j];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if ((c == u'"' || c == u'\'') && last == u'=') {
            quote = c;
        } else if (c == u'>') {
            return j;
        } else if (!是空白(c)) {
            last = c;
        }
    }
    return -1;
}

// The length of a character reference's name after '&' (letters and digits, or '#' and
// digits), when a ';' ends it within ten characters; 0 when the '&' is plain text. Only the
// next few characters are looked at, however long the text.
qsizetype 实体长(const QString &html, qsizetype i) {
    qsizetype j = i + 1;
    while (j < html.size() && j - i <= 10 &&
           (html[j].isLetterOrNumber() || (j == i + 1 && html[j] == u'#')))
        ++j;
    return j < html.size() && html[j] == u';' && j > i + 1 ? j - i - 1 : 0;
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
    const int n = tag.mid(i, std::min<qsizetype>(j - i, 9)).toInt();
    return std::clamp(n, 1, 最大跨度);
}

class 表格扫描 {
  public:
    explicit 表格扫描(qsizetype &cells) : 格数(cells) {}
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
            追加(rows.last());
        行中 = false;
    }
    void 开始格(QStringView tag) {
        if (!行中)
            开始行();
        结束格();
        QStringList &row = rows.last();
        const int r = int(rows.size()) - 1;
        for (; 占用.value(列) > r; ++列)
            追加(row);
        格起 = int(row.size());
        追加(row);
        const int cols = 跨度(tag, QLatin1String("colspan"));
        const int span = 跨度(tag, QLatin1String("rowspan"));
        for (int k = 0; k < cols; ++k) {
            if (span > 1)
                占用[列 + k] = r + span;
            if (k > 0)
                追加(row);
        }
        列 += cols;
        格中 = true;
        文本.clear();
    }
    void 结束格() {
        if (!格中)
            return;
        rows.last()[格起] = 去空白(文本);
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
    // A paragraph or division that opens or closes starts a new line, as a browser shows it,
    // unless one has just begun: <div><br></div> is one empty line.
    void 新段() {
        if (格中 && !去空白(文本).isEmpty() && !文本.endsWith(u'\n'))
            换行();
    }

  private:
    void 追加(QStringList &row) {
        row.append(QString());
        ++格数;
    }
    qsizetype &格数;
    bool 行中 = false, 格中 = false;
    int 列 = 0, 格起 = 0;
    QString 文本;
    QHash<int, int> 占用; // column → the first row a row-spanning cell no longer covers
};

} // namespace

表格块 读HTML表格(const QString &html, QString *refusal) {
    const qsizetype begin = html.indexOf(QLatin1String("<table"), 0, Qt::CaseInsensitive);
    if (begin < 0)
        return {};
    // One scanner for each open table, the innermost last: a cell's text goes to the table it
    // stands in. Of the tables inside the first one, the outermost whose own cells hold text
    // is read (a table whose cells only hold an inner table gives that inner table).
    qsizetype cells = 0;
    std::vector<std::unique_ptr<表格扫描>> open;
    std::unique_ptr<表格扫描> chosen, outermost;
    std::size_t chosenDepth = 0;
    const auto close = [&] {
        const std::size_t depth = open.size();
        std::unique_ptr<表格扫描> scan = std::move(open.back());
        open.pop_back();
        scan->结束行();
        // A table closes after those inside it: an outer one with text replaces an inner one,
        // a later one beside it does not.
        if (有填写单元格(scan->rows) && (!chosen || depth < chosenDepth)) {
            chosen = std::move(scan);
            chosenDepth = depth;
        } else if (open.empty()) {
            outermost = std::move(scan);
        }
    };
    qsizetype i = begin;
    while (i < html.size()) {
        if (cells > 最多单元格) {
            if (refusal)
                *refusal = QStringLiteral("剪贴板上的表格超过 %1 个单元格，没有粘贴。")
                               .arg(最多单元格);
            return {};
        }
        表格扫描 *scan = open.empty() ? nullptr : open.back().get();
        if (html[i] == u'<') {
            if (QStringView(html).mid(i, 4) == QLatin1String("<!--")) {
                const qsizetype end = html.indexOf(QLatin1String("-->"), i + 4);
                i = end < 0 ? html.size() : end + 3;
                continue;
            }
            const qsizetype end = 标签尾(html, i);
            if (end < 0)
                break;
            const QStringView tag = QStringView(html).mid(i + 1, end - i - 1);
            i = end + 1;
            const QString name = 标签名(tag);
            if (name == QLatin1String("table")) {
                open.push_back(std::make_unique<表格扫描>(cells));
            } else if (name == QLatin1String("/table")) {
                if (!open.empty())
                    close();
                if (open.empty())
                    break;
            } else if (!scan) {
                continue;
            } else if (name == QLatin1String("tr")) {
                scan->开始行();
            } else if (name == QLatin1String("/tr")) {
                scan->结束行();
            } else if (name == QLatin1String("td") || name == QLatin1String("th")) {
                scan->开始格(tag);
            } else if (name == QLatin1String("/td") || name == QLatin1String("/th")) {
                scan->结束格();
            } else if (name == QLatin1String("p") || name == QLatin1String("div") ||
                       name == QLatin1String("/p") || name == QLatin1String("/div") ||
                       name == QLatin1String("/li")) {
                scan->新段();
            } else if (name == QLatin1String("br")) {
                scan->换行();
            } else if (name == QLatin1String("style") || name == QLatin1String("script")) {
                const qsizetype closing =
                    html.indexOf(QStringLiteral("</") + name, i, Qt::CaseInsensitive);
                i = closing < 0 ? html.size() : closing;
            }
            continue;
        }
        if (html[i] == u'&') {
            if (const qsizetype n = 实体长(html, i); n > 0) {
                if (scan)
                    scan->实体字(实体(QStringView(html).mid(i + 1, n)));
                i += n + 2;
                continue;
            }
        }
        qsizetype j = i + 1;
        while (j < html.size() && html[j] != u'<' && html[j] != u'&')
            ++j;
        if (scan)
            scan->文字(QStringView(html).mid(i, j - i));
        i = j;
    }
    while (!open.empty())
        close();
    if (chosen)
        return chosen->rows;
    return outermost ? outermost->rows : 表格块{};
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
