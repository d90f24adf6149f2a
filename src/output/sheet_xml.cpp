#include "output/sheet_xml.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <map>
#include <stdexcept>

namespace {

const char *const 表格命名空间 = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

struct 位置 {
    int 行 = 0;
    int 列 = 0;
};

// "B12" → row 12, column 2; "B" → column 2 and row 0. Anything else → {0, 0}.
位置 解析引用(const char *ref) {
    位置 p;
    const char *s = ref;
    for (; *s >= 'A' && *s <= 'Z'; ++s)
        if ((p.列 = p.列 * 26 + (*s - 'A' + 1)) > 最大列)
            return {};
    for (; *s >= '0' && *s <= '9'; ++s)
        if ((p.行 = p.行 * 10 + (*s - '0')) > 最大行)
            return {};
    return *s ? 位置{} : p;
}

std::string 引用(int row, int col) {
    return 列名(col) + std::to_string(row);
}

// The shortest text that reads back as the same double, in plain digits where spreadsheet
// programs write plain digits (1000000, not 1e+06).
std::string 数字文本(double value) {
    char buf[400];
    const double size = std::fabs(value);
    const bool plain = size == 0 || (size >= 1e-6 && size < 1e15);
    const auto end = plain
                         ? std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed).ptr
                         : std::to_chars(buf, buf + sizeof buf, value).ptr;
    return std::string(buf, end);
}

bool 是十六进制(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

bool XML不容(char16_t c) {
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF;
}

// True where the underscore text[i] would be written as the start of an _xHHHH_, which a
// spreadsheet program reads as an escaped character. What is written counts: the closing
// underscore may be the first character of the escape written for the character after it.
bool 是转义样式(const QString &text, qsizetype i) {
    if (i + 7 > text.size() || text[i] != u'_' || text[i + 1] != u'x' ||
        (text[i + 6] != u'_' && !XML不容(text[i + 6].unicode())))
        return false;
    for (qsizetype k = i + 2; k < i + 6; ++k)
        if (!是十六进制(text[k]))
            return false;
    return true;
}

// The text as it is written: escapes for what XML cannot hold and for look-alikes of them, and
// U+FFFD for half of a surrogate pair, which no encoding can write.
QString 转义文本(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (XML不容(c) || (c == u'_' && 是转义样式(text, i)))
            out += QString::asprintf("_x%04X_", unsigned(c));
        else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            out += text.mid(i++, 2);
        else if (QChar::isSurrogate(c))
            out += QChar(QChar::ReplacementCharacter);
        else
            out += QChar(c);
    }
    return out;
}

struct 字符串输出 : pugi::xml_writer {
    std::string 内容;
    void write(const void *data, size_t size) override {
        内容.append(static_cast<const char *>(data), size);
    }
};

class 工作表编辑 {
  public:
    工作表编辑(pugi::xml_node root, int 样式行);
    void 写入(const std::vector<写入格> &cells);

  private:
    std::string 名(const char *local) const { return 前缀 + local; }
    std::map<int, pugi::xml_node> 格表(pugi::xml_node row, int r);
    pugi::xml_node 取行(int r);
    pugi::xml_node 取格(pugi::xml_node row, std::map<int, pugi::xml_node> &cells, int r, int col);
    std::string 新格样式(pugi::xml_node row, int r, int col) const;
    void 写值(pugi::xml_node c, const 写入格 &w);
    static void 扩展跨度(pugi::xml_attribute spans, int lo, int hi);
    void 扩展维度(位置 lo, 位置 hi);

    std::string 前缀;
    // Element names with the sheet's prefix; a node range keeps the pointer to its name, so the
    // names must outlive every loop over children.
    std::string 行名, 格名, 列名元素;
    pugi::xml_node 根, 数据;
    bool 原无数据 = true;
    int 样式行;
    std::map<int, pugi::xml_node> 行表;
    std::map<int, std::string> 样式行格式;
    pugi::xml_node 样式行节点;
    struct 列样式 {
        int 起, 止;
        std::string 样式;
    };
    std::vector<列样式> 列格式;
};

工作表编辑::工作表编辑(pugi::xml_node root, int patternRow) : 根(root), 样式行(patternRow) {
    const std::string name = root.name();
    const auto colon = name.find(':');
    前缀 = colon == std::string::npos ? std::string() : name.substr(0, colon + 1);
    const std::string xmlns =
        前缀.empty() ? std::string("xmlns") : "xmlns:" + 前缀.substr(0, 前缀.size() - 1);
    if (name != 名("worksheet") ||
        std::string(root.attribute(xmlns.c_str()).value()) != 表格命名空间)
        throw std::runtime_error("not a worksheet");
    数据 = root.child(名("sheetData").c_str());
    if (!数据)
        throw std::runtime_error("worksheet without sheetData");
    行名 = 名("row");
    格名 = 名("c");
    列名元素 = 名("col");
    int previous = 0;
    for (pugi::xml_node row : 数据.children(行名.c_str())) {
        int r = row.attribute("r").as_int(0);
        if (r <= previous) {
            r = previous + 1;
            (row.attribute("r") ? row.attribute("r") : row.prepend_attribute("r")).set_value(r);
        }
        行表[previous = r] = row;
    }
    原无数据 = 行表.empty();
    if (auto it = 行表.find(样式行); it != 行表.end()) {
        样式行节点 = it->second;
        for (auto &[col, c] : 格表(it->second, 样式行))
            if (c.attribute("s"))
                样式行格式[col] = c.attribute("s").value();
    }
    for (pugi::xml_node col : root.child(名("cols").c_str()).children(列名元素.c_str()))
        if (col.attribute("style"))
            列格式.push_back({col.attribute("min").as_int(), col.attribute("max").as_int(),
                              col.attribute("style").value()});
}

// The cells of a row by column; a cell without a reference gets the one after its neighbour.
std::map<int, pugi::xml_node> 工作表编辑::格表(pugi::xml_node row, int r) {
    std::map<int, pugi::xml_node> cells;
    int previous = 0;
    for (pugi::xml_node c : row.children(格名.c_str())) {
        int col = 解析引用(c.attribute("r").value()).列;
        if (col <= previous) {
            col = previous + 1;
            (c.attribute("r") ? c.attribute("r") : c.prepend_attribute("r"))
                .set_value(引用(r, col).c_str());
        }
        cells[previous = col] = c;
    }
    return cells;
}

pugi::xml_node 工作表编辑::取行(int r) {
    const auto next = 行表.lower_bound(r);
    if (next != 行表.end() && next->first == r)
        return next->second;
    pugi::xml_node row = next != 行表.end() ? 数据.insert_child_before(行名.c_str(), next->second)
                                            : 数据.append_child(行名.c_str());
    row.append_attribute("r").set_value(r);
    // Rows added below the pattern row are as tall as it is.
    if (r > 样式行 && 样式行节点)
        for (const char *a : {"ht", "customHeight"})
            if (样式行节点.attribute(a))
                row.append_attribute(a).set_value(样式行节点.attribute(a).value());
    行表.emplace(r, row);
    return row;
}

pugi::xml_node 工作表编辑::取格(pugi::xml_node row, std::map<int, pugi::xml_node> &cells, int r,
                                int col) {
    const auto next = cells.lower_bound(col);
    if (next != cells.end() && next->first == col)
        return next->second;
    pugi::xml_node c;
    if (next != cells.end())
        c = row.insert_child_before(格名.c_str(), next->second);
    else if (pugi::xml_node ext = row.child(名("extLst").c_str()))
        c = row.insert_child_before(格名.c_str(), ext);
    else
        c = row.append_child(格名.c_str());
    c.append_attribute("r").set_value(引用(r, col).c_str());
    const std::string style = 新格样式(row, r, col);
    if (!style.empty() && style != "0")
        c.append_attribute("s").set_value(style.c_str());
    cells.emplace(col, c);
    return c;
}

// The style of a cell the template does not have: the pattern row's cell of the same column in
// and below the pattern row, else the row's own style, else the column's.
std::string 工作表编辑::新格样式(pugi::xml_node row, int r, int col) const {
    if (r >= 样式行)
        if (auto it = 样式行格式.find(col); it != 样式行格式.end())
            return it->second;
    if (row.attribute("customFormat").as_bool() && row.attribute("s"))
        return row.attribute("s").value();
    for (const auto &c : 列格式)
        if (col >= c.起 && col <= c.止)
            return c.样式;
    return {};
}

void 工作表编辑::写值(pugi::xml_node c, const 写入格 &w) {
    c.remove_attribute("t");
    for (pugi::xml_node child = c.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        const std::string n = child.name();
        if (n == 名("f") || n == 名("v") || n == 名("is"))
            c.remove_child(child);
        child = next;
    }
    const pugi::xml_node ext = c.child(名("extLst").c_str());
    auto add = [&](const std::string &n) {
        return ext ? c.insert_child_before(n.c_str(), ext) : c.append_child(n.c_str());
    };
    if (w.数 && std::isfinite(*w.数)) {
        add(名("v")).text().set(数字文本(*w.数).c_str());
    } else if (!w.文本.isEmpty()) {
        c.append_attribute("t").set_value("inlineStr");
        pugi::xml_node t = add(名("is")).append_child(名("t").c_str());
        t.append_attribute("xml:space").set_value("preserve");
        t.text().set(单元格文本(w.文本).c_str());
    }
}

// Widens a row's spans "first:last" to the columns lo..hi.
void 工作表编辑::扩展跨度(pugi::xml_attribute spans, int lo, int hi) {
    const std::string v = spans.value();
    const auto cut = v.rfind(':');
    const int a0 = std::atoi(v.c_str());
    const int a1 = cut == std::string::npos ? a0 : std::atoi(v.c_str() + cut + 1);
    if (a0 <= 0 || a1 < a0)
        return;
    if (lo < a0 || hi > a1)
        spans.set_value(
            (std::to_string(std::min(a0, lo)) + ':' + std::to_string(std::max(a1, hi))).c_str());
}

void 工作表编辑::写入(const std::vector<写入格> &given) {
    std::vector<const 写入格 *> order;
    order.reserve(given.size());
    for (const 写入格 &w : given)
        order.push_back(&w);
    std::stable_sort(order.begin(), order.end(), [](const 写入格 *a, const 写入格 *b) {
        return a->行 != b->行 ? a->行 < b->行 : a->列 < b->列;
    });
    const auto cells = [&order](size_t i) -> const 写入格 & { return *order[i]; };
    位置 lo{最大行 + 1, 最大列 + 1}, hi{0, 0};
    for (size_t i = 0; i < order.size();) {
        const int r = cells(i).行;
        if (r < 1 || r > 最大行)
            throw std::invalid_argument("row out of range");
        pugi::xml_node row = 取行(r);
        std::map<int, pugi::xml_node> rowCells = 格表(row, r);
        int first = cells(i).列, last = first;
        for (; i < order.size() && cells(i).行 == r; ++i) {
            const 写入格 &w = cells(i);
            if (w.列 < 1 || w.列 > 最大列)
                throw std::invalid_argument("column out of range");
            if (i + 1 < order.size() && cells(i + 1).行 == r && cells(i + 1).列 == w.列)
                continue; // a later write of the same cell wins
            写值(取格(row, rowCells, r, w.列), w);
            last = w.列;
        }
        if (pugi::xml_attribute spans = row.attribute("spans"))
            扩展跨度(spans, first, last);
        lo = {std::min(lo.行, r), std::min(lo.列, first)};
        hi = {std::max(hi.行, r), std::max(hi.列, last)};
    }
    扩展维度(lo, hi);
}

// Widens the sheet's dimension to the written cells lo..hi.
void 工作表编辑::扩展维度(位置 lo, 位置 hi) {
    pugi::xml_attribute ref = 根.child(名("dimension").c_str()).attribute("ref");
    if (!ref || hi.行 == 0)
        return;
    const std::string v = ref.value();
    const auto cut = v.find(':');
    位置 a = 解析引用(v.substr(0, cut).c_str());
    位置 b = cut == std::string::npos ? a : 解析引用(v.substr(cut + 1).c_str());
    // The dimension of a sheet without data ("A1") is replaced outright.
    if (原无数据 || a.行 == 0 || b.行 == 0)
        a = lo, b = hi;
    a = {std::min(a.行, lo.行), std::min(a.列, lo.列)};
    b = {std::max(b.行, hi.行), std::max(b.列, hi.列)};
    ref.set_value((引用(a.行, a.列) + ":" + 引用(b.行, b.列)).c_str());
}

} // namespace

std::string 列名(int col) {
    std::string name;
    for (; col > 0; col = (col - 1) / 26)
        name.insert(name.begin(), char('A' + (col - 1) % 26));
    return name;
}

std::string 单元格文本(const QString &text) {
    // Most texts need none of the steps below: a quick look saves copying them.
    const bool plain =
        text.size() <= 单元格最多字符 && std::none_of(text.begin(), text.end(), [](QChar ch) {
            return ch.unicode() < 0x20 || ch == u'_' || ch.isSurrogate() || ch.unicode() >= 0xFFFE;
        });
    if (plain)
        return text.toStdString();
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (t.size() > 单元格最多字符) {
        qsizetype keep = 单元格最多字符;
        if (t[keep - 1].isHighSurrogate())
            --keep;
        t.truncate(keep);
    }
    return 转义文本(t).toStdString();
}

std::string 填写工作表(std::string_view xml, const std::vector<写入格> &cells, int 样式行) {
    pugi::xml_document doc;
    const unsigned options =
        pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;
    if (!doc.load_buffer(xml.data(), xml.size(), options, pugi::encoding_auto))
        throw std::runtime_error("worksheet XML does not parse");
    工作表编辑(doc.document_element(), 样式行).写入(cells);
    字符串输出 out;
    doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return std::move(out.内容);
}
