#include "output/docx_paragraphs.h"

#include <string_view>
#include <vector>

namespace {

pugi::xml_node 首个标记(pugi::xml_node p) {
    return p.find_node([](pugi::xml_node n) { return bool(n.attribute(分段标记)); });
}

bool 是属性元素(pugi::xml_node n) {
    const std::string_view name = n.name();
    return name.size() >= 2 && name.substr(name.size() - 2) == "Pr";
}

// Takes out what follows the node inside top, level by level up to top.
void 去后文(pugi::xml_node n, pugi::xml_node top) {
    for (; n && n != top; n = n.parent())
        while (n.next_sibling())
            n.parent().remove_child(n.next_sibling());
}

// Takes out what precedes the node inside top, but the property elements (pPr, rPr), which keep
// the paragraph's and the run's formatting.
void 去前文(pugi::xml_node n, pugi::xml_node top) {
    for (; n && n != top; n = n.parent()) {
        std::vector<pugi::xml_node> before;
        for (pugi::xml_node b = n.previous_sibling(); b; b = b.previous_sibling())
            if (b.type() != pugi::node_element || !是属性元素(b))
                before.push_back(b);
        for (pugi::xml_node b : before)
            n.parent().remove_child(b);
    }
}

// A copied paragraph does not keep the identity its word processor gave the original.
void 去段落标识(pugi::xml_node p) {
    std::vector<pugi::xml_attribute> ids;
    for (pugi::xml_attribute a : p.attributes()) {
        const std::string_view name = a.name();
        if (name.ends_with(":paraId") || name.ends_with(":textId"))
            ids.push_back(a);
    }
    for (pugi::xml_attribute a : ids)
        p.remove_attribute(a);
}

} // namespace

void 分段(pugi::xml_node p) {
    for (pugi::xml_node mark = 首个标记(p); mark; mark = 首个标记(p)) {
        const pugi::xml_node copy = p.parent().insert_copy_after(p, p);
        去后文(mark, p);
        mark.parent().remove_child(mark);
        const pugi::xml_node copied = 首个标记(copy);
        去前文(copied, copy);
        copied.parent().remove_child(copied);
        去段落标识(copy);
        p = copy;
    }
}

bool 后有行(pugi::xml_node row, const std::string &行名, const std::string &控件名) {
    for (pugi::xml_node n = row.next_sibling(); n; n = n.next_sibling())
        if (行名 == n.name() || 控件名 == n.name())
            return true;
    return false;
}

void 与下行同页(pugi::xml_node row, const std::string &段名, const std::string &段属性名) {
    const std::string w = 段属性名.substr(0, 段属性名.size() - 3);
    const std::string 同页名 = w + "keepNext", 样式名 = w + "pStyle";
    std::vector<pugi::xml_node> paragraphs;
    std::vector<pugi::xml_node> stack{row};
    while (!stack.empty()) {
        const pugi::xml_node n = stack.back();
        stack.pop_back();
        for (pugi::xml_node c = n.last_child(); c; c = c.previous_sibling())
            if (c.type() == pugi::node_element)
                (段名 == c.name() ? paragraphs : stack).push_back(c);
    }
    for (pugi::xml_node p : paragraphs) {
        pugi::xml_node pPr = p.child(段属性名.c_str());
        if (!pPr)
            pPr = p.prepend_child(段属性名.c_str());
        if (pPr.child(同页名.c_str()))
            continue;
        // keepNext comes right after the style in the paragraph's properties.
        const pugi::xml_node style = pPr.child(样式名.c_str());
        if (style)
            pPr.insert_child_after(同页名.c_str(), style);
        else
            pPr.prepend_child(同页名.c_str());
    }
}
