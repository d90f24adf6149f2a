#include "output/docx_xml.h"

#include "output/ooxml_package.h"

#include <pugixml.hpp>

#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

namespace {

constexpr std::string_view 左书名号 = "\u00AB", 右书名号 = "\u00BB";

// The prefix (with its colon) that the root binds to WordprocessingML, in either namespace of
// the standard; std::runtime_error when it binds none (the part is no word-processing part).
std::string 文字前缀(pugi::xml_node root) {
    for (pugi::xml_attribute a : root.attributes()) {
        const std::string_view name = a.name(), value = a.value();
        if (value != "http://schemas.openxmlformats.org/wordprocessingml/2006/main" &&
            value != "http://purl.oclc.org/ooxml/wordprocessingml/main")
            continue;
        if (name == "xmlns")
            return {};
        if (name.starts_with("xmlns:"))
            return std::string(name.substr(6)) + ':';
    }
    throw std::runtime_error("not a word-processing part");
}

// A value as text runs hold it: CR LF and a lone CR become LF, characters that XML 1.0 cannot
// hold go, half of a surrogate pair becomes U+FFFD.
QString 可写文本(const QString &value) {
    QString text = value;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if ((c < 0x20 && c != u'\t' && c != u'\n') || c == 0xFFFE || c == 0xFFFF)
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            out += text.mid(i++, 2);
        else
            out += QChar::isSurrogate(c) ? QChar(QChar::ReplacementCharacter) : QChar(c);
    }
    return out;
}

// The value of a field: the item's, else the document's; none when neither has it.
using 查找函数 = std::function<const QString *(const QString &name)>;

class 部件填写 {
  public:
    部件填写(pugi::xml_node root, const 文书字段 &fields);
    void 填写();

  private:
    // A text element of a paragraph and where its text starts in the paragraph's joined text.
    struct 文字段 {
        pugi::xml_node t;
        size_t 起;
    };
    // A field found in a paragraph's joined text: [起, 止) and its name.
    struct 字段位置 {
        size_t 起, 止;
        QString 名;
    };

    bool 是(pugi::xml_node n, const std::string &name) const { return name == n.name(); }
    void 遍历(pugi::xml_node n, const std::function<bool(pugi::xml_node)> &visit) const;
    std::vector<文字段> 段内文字(pugi::xml_node p, std::string &joined) const;
    static std::vector<字段位置> 找字段(const std::string &joined);
    int 重复种类(pugi::xml_node p) const;
    pugi::xml_node 所在行(pugi::xml_node p) const;
    void 填段落(pugi::xml_node p, const 查找函数 &lookup);
    void 替换(const std::vector<文字段> &segments, const 字段位置 &field, const QString &value);
    void 写文字(pugi::xml_node t, const std::string &text) const;
    void 去掉段落(pugi::xml_node p);
    void 去掉行(pugi::xml_node row);

    const 文书字段 &字段;
    pugi::xml_node 根;
    // Element names with the part's prefix; pugixml compares names as C strings.
    std::string 段名, 文字名, 表名, 行名, 格名, 换行名, 制表名, 段属性名, 分节名;
    std::vector<pugi::xml_node> 待去段落;
};

部件填写::部件填写(pugi::xml_node root, const 文书字段 &fields) : 字段(fields), 根(root) {
    const std::string w = 文字前缀(root);
    段名 = w + "p";
    文字名 = w + "t";
    表名 = w + "tbl";
    行名 = w + "tr";
    格名 = w + "tc";
    换行名 = w + "br";
    制表名 = w + "tab";
    段属性名 = w + "pPr";
    分节名 = w + "sectPr";
}

// Visits the elements under n in document order; an element whose visit returns false is not
// gone into.
void 部件填写::遍历(pugi::xml_node n, const std::function<bool(pugi::xml_node)> &visit) const {
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && visit(c))
            遍历(c, visit);
}

// The text elements of a paragraph in order (not those of a paragraph inside it, as in a text
// box), and their texts joined.
std::vector<部件填写::文字段> 部件填写::段内文字(pugi::xml_node p, std::string &joined) const {
    std::vector<文字段> segments;
    joined.clear();
    遍历(p, [&](pugi::xml_node n) {
        if (是(n, 段名))
            return false;
        if (是(n, 文字名)) {
            segments.push_back({n, joined.size()});
            joined += n.child_value();
            return false;
        }
        return true;
    });
    return segments;
}

// Every «name» of the text, in order. Of « « », the second « opens the field.
std::vector<部件填写::字段位置> 部件填写::找字段(const std::string &joined) {
    std::vector<字段位置> fields;
    for (size_t at = joined.find(左书名号); at != std::string::npos;) {
        const size_t close = joined.find(右书名号, at);
        if (close == std::string::npos)
            break;
        const size_t open = joined.rfind(左书名号, close);
        const size_t start = open + 左书名号.size();
        fields.push_back({open, close + 右书名号.size(),
                          QString::fromUtf8(joined.data() + start, qsizetype(close - start))});
        at = joined.find(左书名号, close);
    }
    return fields;
}

// The kind of repeated row whose field the paragraph holds (the first kind listed); -1 for none.
int 部件填写::重复种类(pugi::xml_node p) const {
    std::string joined;
    段内文字(p, joined);
    int kind = -1;
    for (const 字段位置 &f : 找字段(joined))
        for (int k = 0; k < 字段.重复.size() && (kind < 0 || k < kind); ++k)
            if (字段.重复[k].标志.contains(f.名))
                kind = k;
    return kind;
}

pugi::xml_node 部件填写::所在行(pugi::xml_node p) const {
    pugi::xml_node n = p.parent();
    while (n && !是(n, 行名))
        n = n.parent();
    return n;
}

void 部件填写::写文字(pugi::xml_node t, const std::string &text) const {
    t.text().set(text.c_str());
    pugi::xml_attribute space = t.attribute("xml:space");
    (space ? space : t.append_attribute("xml:space")).set_value("preserve");
}

// Puts the value where the field starts and takes the field's text out of the text elements it
// spans. A value of several lines (or with tabs) continues in new text elements of the same
// run, after a break (or a tab).
void 部件填写::替换(const std::vector<文字段> &segments, const 字段位置 &field,
                    const QString &value) {
    size_t first = 0;
    while (first + 1 < segments.size() && segments[first + 1].起 <= field.起)
        ++first;
    size_t last = first;
    while (last + 1 < segments.size() && segments[last + 1].起 < field.止)
        ++last;
    // The first element keeps what stands before the field; the last what follows it.
    const std::string firstText = segments[first].t.child_value();
    const std::string before = firstText.substr(0, field.起 - segments[first].起);
    const std::string lastText = segments[last].t.child_value();
    const std::string after = lastText.substr(std::min(lastText.size(), field.止 - segments[last].起));
    for (size_t k = first + 1; k <= last; ++k)
        写文字(segments[k].t, k == last ? after : std::string());

    const QString text = 可写文本(value);
    pugi::xml_node t = segments[first].t;
    std::string piece = before;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\n' && text[i] != u'\t')
            continue;
        piece += text.mid(from, i - from).toStdString();
        if (i == text.size())
            break;
        写文字(t, piece);
        pugi::xml_node mark = t.parent().insert_child_after((text[i] == u'\n' ? 换行名 : 制表名).c_str(), t);
        t = t.parent().insert_child_after(文字名.c_str(), mark);
        piece.clear();
        from = i + 1;
    }
    写文字(t, piece + (first == last ? after : std::string()));
}

void 部件填写::填段落(pugi::xml_node p, const 查找函数 &lookup) {
    std::string joined;
    const std::vector<文字段> segments = 段内文字(p, joined);
    const std::vector<字段位置> fields = 找字段(joined);
    for (const 字段位置 &f : fields)
        if (字段.去段.contains(f.名)) {
            去掉段落(p);
            return;
        }
    // From the last field to the first, so that the places of the earlier ones stay.
    for (auto it = fields.rbegin(); it != fields.rend(); ++it)
        if (const QString *value = lookup(it->名))
            替换(segments, *it, *value);
}

// A paragraph left out: removed at the end, or emptied where it cannot go.
void 部件填写::去掉段落(pugi::xml_node p) {
    const bool endsSection = p.child(段属性名.c_str()).child(分节名.c_str());
    bool onlyInCell = 是(p.parent(), 格名);
    for (pugi::xml_node s = p.parent().first_child(); onlyInCell && s; s = s.next_sibling())
        onlyInCell = s == p || !是(s, 段名);
    if (!endsSection && !onlyInCell) {
        待去段落.push_back(p);
        return;
    }
    std::string joined;
    for (const 文字段 &s : 段内文字(p, joined))
        写文字(s.t, {});
}

// A pattern row goes; a table left without rows, which word processors take for damage, gives
// way to an empty paragraph.
void 部件填写::去掉行(pugi::xml_node row) {
    pugi::xml_node table = row.parent();
    table.remove_child(row);
    if (!是(table, 表名) || table.child(行名.c_str()))
        return;
    table.parent().insert_child_before(段名.c_str(), table);
    table.parent().remove_child(table);
}

void 部件填写::填写() {
    // The pattern rows, in document order, with their kinds.
    std::vector<std::pair<pugi::xml_node, int>> patterns;
    std::map<pugi::xml_node, size_t> patternAt;
    std::vector<pugi::xml_node> paragraphs;
    遍历(根, [&](pugi::xml_node n) {
        if (是(n, 段名)) {
            paragraphs.push_back(n);
            const int kind = 重复种类(n);
            const pugi::xml_node row = kind < 0 ? pugi::xml_node() : 所在行(n);
            if (row) {
                const auto [it, added] = patternAt.emplace(row, patterns.size());
                if (added)
                    patterns.emplace_back(row, kind);
                else
                    patterns[it->second].second = std::min(patterns[it->second].second, kind);
            }
        }
        return true;
    });

    // A row inside another pattern row is copied with it and is no pattern of its own.
    const auto inPattern = [&](pugi::xml_node n) {
        for (n = n.parent(); n; n = n.parent())
            if (patternAt.contains(n))
                return true;
        return false;
    };
    std::erase_if(patterns, [&](const auto &pattern) { return inPattern(pattern.first); });

    const 查找函数 document = [this](const QString &name) {
        const auto it = 字段.全文.constFind(name);
        return it == 字段.全文.cend() ? nullptr : &*it;
    };
    for (pugi::xml_node p : paragraphs)
        if (!inPattern(p))
            填段落(p, document);
    for (const auto &[row, kind] : patterns) {
        for (const 字段值 &item : 字段.重复[kind].各项) {
            const pugi::xml_node copy = row.parent().insert_copy_before(row, row);
            const 查找函数 lookup = [&](const QString &name) {
                const auto it = item.constFind(name);
                return it != item.cend() ? &*it : document(name);
            };
            std::vector<pugi::xml_node> inCopy;
            遍历(copy, [&](pugi::xml_node n) {
                if (是(n, 段名))
                    inCopy.push_back(n);
                return true;
            });
            for (pugi::xml_node p : inCopy)
                填段落(p, lookup);
        }
        去掉行(row);
    }
    for (pugi::xml_node p : 待去段落)
        p.parent().remove_child(p);
}

} // namespace

std::string 填写文书部件(std::string_view xml, const 文书字段 &fields) {
    pugi::xml_document doc;
    const auto parsed = doc.load_buffer(xml.data(), xml.size(),
                                        pugi::parse_default | pugi::parse_declaration |
                                            pugi::parse_ws_pcdata_single);
    if (!parsed || !doc.document_element())
        throw std::runtime_error("part not XML");
    部件填写(doc.document_element(), fields).填写();
    return 存XML(doc);
}
