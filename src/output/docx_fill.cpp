#include "output/docx_fill.h"

#include "output/docx_xml.h"
#include "output/ooxml_package.h"

#include <QFile>

namespace {

// A part filled, or refused by its name when its elements nest deeper than a word processor
// writes them.
std::string 填写部件(zip_t *z, const std::string &part, const 文书字段 &fields) {
    try {
        return 填写文书部件(读XML文本(z, part), fields);
    } catch (const 嵌套太深 &) {
        throw 坏部件{part, u"%1 中的 %2 有超过 500 层的嵌套，不像文字处理程序写的文档，不能使用。"};
    }
}

} // namespace

QByteArray 填写文书(const QString &模板, const QString &种类, const 文书字段 &fields) {
    std::vector<条目改动> changes;
    读模板(模板, 种类, [&](zip_t *z) {
        // The main part, found through the package's relationships, then the headers and
        // footers its own relationships name.
        const std::string main = 主部件(z, "word/document.xml");
        changes.push_back({main, 填写部件(z, main, fields), true});
        const std::string rels = 关系部件(main);
        if (!读条目(z, rels))
            return;
        const pugi::xml_document relationships = 读XML(z, rels);
        for (pugi::xml_node r : relationships.document_element().children()) {
            const std::string part = 包内路径(文件夹(main), r.attribute("Target").value());
            if (本地名(r) == "Relationship" && (类型为(r, "/header") || 类型为(r, "/footer")) &&
                std::string_view(r.attribute("TargetMode").value()) != "External" &&
                std::none_of(changes.begin(), changes.end(),
                             [&](const 条目改动 &c) { return c.名 == part; }))
                changes.push_back({part, 填写部件(z, part, fields)});
        }
    });
    QFile file(模板);
    std::optional<QByteArray> document;
    if (file.open(QIODevice::ReadOnly))
        document = 改写包(file.readAll(), changes);
    if (!document)
        不是可用模板(种类, 模板);
    return *document;
}
