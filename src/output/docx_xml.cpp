#include "output/docx_xml.h"

#include "output/docx_paragraphs.h"
#include "output/ooxml_package.h"

#include <pugixml.hpp>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
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

// Word processors nest elements a few dozen levels deep; a part nesting them deeper is refused.
constexpr int 最深层数 = 500;

// Visits the elements under `top` in document order, without recursion however deep they nest,
// with their depth (0 for top's children); an element whose visit returns false is not gone into.
template <class 访问> void 遍历(pugi::xml_node top, 访问 &&visit) {
    int depth = 0;
    for (pugi::xml_node n = top.first_child(); n;) {
        if (n.type() == pugi::node_element && visit(n, depth) && n.first_child()) {
            n = n.first_child();
            ++depth;
            continue;
        }
        while (n != top && !n.next_sibling()) {
            n = n.parent();
            --depth;
        }
        n = n == top ? pugi::xml_node() : n.next_sibling();
    }
}

// Whether elements nest deeper than 层数 levels under n.
bool 嵌套过深(pugi::xml_node n, int 层数) {
    bool deep = false;
    遍历(n, [&](pugi::xml_node, int depth) {
        deep = deep || depth >= 层数;
        return !deep;
    });
    return deep;
}

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
    // A field that is given a value: [起, 止), the value as text runs hold it, and the first and
    // last text elements the field spans.
    struct 替换项 {
        size_t 起, 止;
        QString 值;
        size_t 首, 末;
    };

    bool 是(pugi::xml_node n, const std::string &name) const { return name == n.name(); }
    bool 是容器(pugi::xml_node n) const;
    std::vector<文字段> 段内文字(pugi::xml_node p, std::string &joined) const;
    static std::vector<字段位置> 找字段(const std::string &joined);
    int 重复种类(pugi::xml_node p) const;
    void 填段落(pugi::xml_node p, const 查找函数 &lookup);
    void 替换(const std::vector<文字段> &segments, std::vector<替换项> &given);
    void 写文字(pugi::xml_node t, const std::string &text) const;
    void 清空段落(pugi::xml_node p);
    template <class 判断> void 各行(pugi::xml_node table, 判断 &&each) const;
    void 去掉(const std::vector<pugi::xml_node> &patterns);

    const 文书字段 &字段;
    pugi::xml_node 根;
    // Element names with the part's prefix; pugixml compares names as C strings.
    std::string 段名, 文字名, 表名, 行名, 格名, 换行名, 制表名, 段属性名, 分节名, 控件名,
        控件内容名;
    std::vector<std::string> 容器名;
    std::set<pugi::xml_node> 待去段落;
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
    控件名 = w + "sdt";
    控件内容名 = w + "sdtContent";
    容器名 = {格名, w + "body", w + "hdr", w + "ftr", w + "txbxContent"};
}

// What must hold a paragraph: a table cell, the body, a header, a footer, a text box.
bool 部件填写::是容器(pugi::xml_node n) const {
    return std::find(容器名.begin(), 容器名.end(), n.name()) != 容器名.end();
}

// The text elements of a paragraph in order (not those of a paragraph inside it, as in a text
// box), and their texts joined.
std::vector<部件填写::文字段> 部件填写::段内文字(pugi::xml_node p, std::string &joined) const {
    std::vector<文字段> segments;
    joined.clear();
    遍历(p, [&](pugi::xml_node n, int) {
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

void 部件填写::写文字(pugi::xml_node t, const std::string &text) const {
    t.text().set(text.c_str());
    pugi::xml_attribute space = t.attribute("xml:space");
    (space ? space : t.append_attribute("xml:space")).set_value("preserve");
}

// Puts each value where its field starts and takes the fields' text out of the text elements
// they span, each element rewritten once, however many fields it holds. A value of several lines
// (or with tabs) continues in new text elements of the same run, after a break (or a tab).
void 部件填写::替换(const std::vector<文字段> &segments, std::vector<替换项> &given) {
    size_t first = 0, last = 0;
    for (替换项 &f : given) {
        while (first + 1 < segments.size() && segments[first + 1].起 <= f.起)
            ++first;
        last = std::max(last, first);
        while (last + 1 < segments.size() && segments[last + 1].起 < f.止)
            ++last;
        f.首 = first;
        f.末 = last;
    }
    size_t g = 0; // the first field that does not end before the element
    for (size_t k = 0; k < segments.size() && g < given.size(); ++k) {
        while (g < given.size() && given[g].末 < k)
            ++g;
        if (g == given.size() || given[g].首 > k)
            continue;
        const std::string text = segments[k].t.child_value();
        const size_t 起 = segments[k].起;
        // The element's new text, in pieces between the breaks and tabs of the values.
        std::vector<std::string> pieces(1);
        std::vector<char16_t> marks;
        size_t at = 0; // what of the element's own text is used up
        for (size_t h = g; h < given.size() && given[h].首 <= k; ++h) {
            if (given[h].首 == k) {
                pieces.back().append(text, at, given[h].起 - 起 - at);
                const QString &value = given[h].值;
                qsizetype from = 0;
                for (qsizetype i = 0; i <= value.size(); ++i) {
                    if (i < value.size() && value[i] != u'\n' && value[i] != u'\t' &&
                        value[i] != QChar::ParagraphSeparator)
                        continue;
                    pieces.back() += QStringView(value).mid(from, i - from).toUtf8().toStdString();
                    if (i < value.size()) {
                        marks.push_back(value[i].unicode());
                        pieces.emplace_back();
                    }
                    from = i + 1;
                }
            }
            at = std::min(text.size(), given[h].止 - 起);
        }
        pieces.back().append(text, at);
        pugi::xml_node t = segments[k].t;
        写文字(t, pieces[0]);
        for (size_t i = 0; i < marks.size(); ++i) {
            const std::string &name = marks[i] == u'\t' ? 制表名 : 换行名;
            pugi::xml_node mark = t.parent().insert_child_after(name.c_str(), t);
            if (marks[i] == QChar::ParagraphSeparator)
                mark.append_attribute(分段标记);
            t = t.parent().insert_child_after(文字名.c_str(), mark);
            写文字(t, pieces[i + 1]);
        }
    }
}

void 部件填写::填段落(pugi::xml_node p, const 查找函数 &lookup) {
    std::string joined;
    const std::vector<文字段> segments = 段内文字(p, joined);
    const std::vector<字段位置> fields = 找字段(joined);
    for (const 字段位置 &f : fields)
        if (字段.去段.contains(f.名)) {
            // A paragraph that ends a section cannot go: it is emptied. Any other goes at the end.
            if (p.child(段属性名.c_str()).child(分节名.c_str()))
                清空段落(p);
            else
                待去段落.insert(p);
            return;
        }
    std::vector<替换项> given;
    for (const 字段位置 &f : fields)
        if (const QString *value = lookup(f.名))
            given.push_back({f.起, f.止, 可写文本(*value), 0, 0});
    if (given.empty())
        return;
    替换(segments, given);
    if (std::any_of(given.begin(), given.end(),
                    [](const 替换项 &f) { return f.值.contains(QChar::ParagraphSeparator); }))
        分段(p);
}

void 部件填写::清空段落(pugi::xml_node p) {
    std::string joined;
    for (const 文字段 &s : 段内文字(p, joined))
        写文字(s.t, {});
}

// The rows of a table, also those inside a row-level content control (w:sdt, as Word writes a
// repeating section); each(row) returning false stops.
template <class 判断> void 部件填写::各行(pugi::xml_node table, 判断 &&each) const {
    bool going = true;
    遍历(table, [&](pugi::xml_node n, int) {
        if (going && 是(n, 行名))
            going = each(n);
        return going && (是(n, 控件名) || 是(n, 控件内容名));
    });
}

// Takes out the pattern rows and the paragraphs left out, each element once and the outermost
// first, so that nothing inside an element already taken out is touched. A table left without
// rows gives way to an empty paragraph (word processors take a table without rows for damage),
// and a cell, the body, a header, a footer or a text box whose paragraphs would all go keeps its
// last one emptied, as a cell does the paragraph that ends it after a table.
void 部件填写::去掉(const std::vector<pugi::xml_node> &patterns) {
    const std::set<pugi::xml_node> patternSet(patterns.begin(), patterns.end());
    // The pattern rows and paragraphs to take out that are not inside another one, and the
    // paragraphs of each container (not those of a container inside it).
    std::vector<pugi::xml_node> rows;
    std::set<pugi::xml_node> paragraphs;
    std::map<pugi::xml_node, std::vector<pugi::xml_node>> own;
    std::vector<pugi::xml_node> containers{是容器(根) ? 根 : pugi::xml_node()};
    遍历(根, [&](pugi::xml_node n, int depth) {
        containers.resize(size_t(depth) + 2);
        containers[size_t(depth) + 1] = 是容器(n) ? n : containers[size_t(depth)];
        if (patternSet.contains(n)) {
            rows.push_back(n);
            return false;
        }
        if (!是(n, 段名))
            return true;
        own[containers[size_t(depth)]].push_back(n);
        if (!待去段落.contains(n))
            return true;
        paragraphs.insert(n);
        return false;
    });
    // A container keeps a paragraph, and a cell ends in one (Word takes a cell ending in a
    // table for damage).
    std::vector<pugi::xml_node> emptied;
    for (const auto &[container, ps] : own) {
        if (!container)
            continue;
        pugi::xml_node last = container.last_child(), stays;
        while (last && last.type() != pugi::node_element)
            last = last.previous_sibling();
        for (stays = last; 是(stays, 段名) && paragraphs.contains(stays);)
            stays = stays.previous_sibling();
        pugi::xml_node keep;
        if (是(container, 格名) && stays != last && !是(stays, 段名))
            keep = last;
        else if (std::all_of(ps.begin(), ps.end(),
                             [&](pugi::xml_node p) { return paragraphs.contains(p); }))
            keep = ps.back();
        if (keep && paragraphs.erase(keep))
            emptied.push_back(keep);
    }
    // A pattern row goes with the content control that holds it alone; a table none of whose
    // rows stays goes as a whole.
    std::set<pugi::xml_node> goes(paragraphs.begin(), paragraphs.end()), tables;
    const std::set<pugi::xml_node> rowSet(rows.begin(), rows.end());
    for (pugi::xml_node row : rows) {
        pugi::xml_node n = row;
        while (是(n.parent(), 控件内容名) && n.parent().first_child() == n.parent().last_child() &&
               是(n.parent().parent(), 控件名))
            n = n.parent().parent();
        const pugi::xml_node table = n.parent();
        bool left = false;
        if (是(table, 表名))
            各行(table, [&](pugi::xml_node r) {
                left = !rowSet.contains(r);
                return !left;
            });
        if (是(table, 表名) && !left)
            tables.insert(table);
        else
            goes.insert(n);
    }
    goes.insert(tables.begin(), tables.end());
    std::vector<pugi::xml_node> outermost;
    遍历(根, [&](pugi::xml_node n, int) {
        if (!goes.contains(n))
            return true;
        outermost.push_back(n);
        return false;
    });
    for (pugi::xml_node p : emptied)
        清空段落(p);
    for (pugi::xml_node n : outermost) {
        if (tables.contains(n))
            n.parent().insert_child_before(段名.c_str(), n);
        n.parent().remove_child(n);
    }
}

void 部件填写::填写() {
    // The pattern rows with their kinds: the row of a paragraph that holds a repeated field.
    std::map<pugi::xml_node, int> kinds;
    std::vector<pugi::xml_node> rowOf{pugi::xml_node()};
    遍历(根, [&](pugi::xml_node n, int depth) {
        rowOf.resize(size_t(depth) + 2);
        rowOf[size_t(depth) + 1] = 是(n, 行名) ? n : rowOf[size_t(depth)];
        if (是(n, 段名) && rowOf[size_t(depth)]) {
            if (const int kind = 重复种类(n); kind >= 0) {
                const auto [it, added] = kinds.emplace(rowOf[size_t(depth)], kind);
                if (!added)
                    it->second = std::min(it->second, kind);
            }
        }
        return true;
    });
    // The paragraphs filled from the document, and the pattern rows in document order; a row
    // inside another pattern row is copied with it and is no pattern of its own.
    std::vector<pugi::xml_node> paragraphs, patterns;
    std::vector<char> inPattern{false};
    遍历(根, [&](pugi::xml_node n, int depth) {
        inPattern.resize(size_t(depth) + 2);
        const bool inside = inPattern[size_t(depth)];
        const bool pattern = kinds.contains(n);
        inPattern[size_t(depth) + 1] = inside || pattern;
        if (pattern && !inside)
            patterns.push_back(n);
        else if (是(n, 段名) && !inside)
            paragraphs.push_back(n);
        return true;
    });

    const 查找函数 document = [this](const QString &name) {
        const auto it = 字段.全文.constFind(name);
        return it == 字段.全文.cend() ? nullptr : &*it;
    };
    for (pugi::xml_node p : paragraphs)
        填段落(p, document);
    for (pugi::xml_node row : patterns) {
        pugi::xml_node last;
        for (const 字段值 &item : 字段.重复[kinds[row]].各项) {
            const pugi::xml_node copy = row.parent().insert_copy_before(row, row);
            const 查找函数 lookup = [&](const QString &name) {
                const auto it = item.constFind(name);
                return it != item.cend() ? &*it : document(name);
            };
            std::vector<pugi::xml_node> inCopy;
            遍历(copy, [&](pugi::xml_node n, int) {
                if (是(n, 段名))
                    inCopy.push_back(n);
                return true;
            });
            for (pugi::xml_node p : inCopy)
                填段落(p, lookup);
            last = copy;
        }
        if (last && 后有行(row, 行名, 控件名))
            与下行同页(last, 段名, 段属性名);
    }
    去掉(patterns);
}

} // namespace

std::string 填写文书部件(std::string_view xml, const 文书字段 &fields) {
    pugi::xml_document doc;
    const auto parsed = doc.load_buffer(xml.data(), xml.size(),
                                        pugi::parse_default | pugi::parse_declaration |
                                            pugi::parse_ws_pcdata_single);
    if (!parsed || !doc.document_element())
        throw std::runtime_error("part not XML");
    if (嵌套过深(doc, 最深层数))
        throw 嵌套太深();
    部件填写(doc.document_element(), fields).填写();
    return 存XML(doc);
}
