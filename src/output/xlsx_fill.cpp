#include "output/xlsx_fill.h"

#include "common/varnel_error.h"
#include "output/ooxml_package.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>
#include <stdexcept>

namespace {

const QString 种类 = QStringLiteral("电子表格模板");

[[noreturn]] void 不能写入(const QString &副本) {
    throw VarnelError(QStringLiteral("不能写入文件 %1。").arg(QDir::toNativeSeparators(副本)));
}

constexpr const char16_t *不是计算链 = u"%1 已损坏：它的计算链关系指向的 %2 不是计算链。";

// Where the workbook keeps its parts: its folder ("xl/"), its relationships part and its first
// worksheet.
struct 工作簿位置 {
    std::string 目录, 关系, 工作表;
};

// The workbook's first worksheet is the first sheet of its list, found through the workbook's
// relationships (not by a guessed part name).
工作簿位置 找工作簿(zip_t *z) {
    const std::string workbook = 主部件(z, "xl/workbook.xml");
    const pugi::xml_document book = 读XML(z, workbook);
    const pugi::xml_node sheet = 子元素(子元素(book.document_element(), "sheets"), "sheet");
    std::string id;
    for (pugi::xml_attribute a : sheet.attributes()) {
        const std::string name = a.name();
        if (name.size() > 3 && name.compare(name.size() - 3, 3, ":id") == 0)
            id = a.value();
    }
    if (id.empty())
        throw std::runtime_error("workbook without a sheet");
    工作簿位置 w;
    w.目录 = 文件夹(workbook);
    w.关系 = 关系部件(workbook);
    w.工作表 = 包内路径(w.目录, 关系目标(z, w.关系, [&id](pugi::xml_node r) {
                            return id == r.attribute("Id").value();
                        }));
    return w;
}

// The relationship types of the calculation chain, in the two namespaces of the standard.
bool 是计算链关系(pugi::xml_node r) {
    const std::string_view type = r.attribute("Type").value();
    return type ==
               "http://schemas.openxmlformats.org/officeDocument/2006/relationships/calcChain" ||
           type == "http://purl.oclc.org/ooxml/officeDocument/relationships/calcChain";
}

// Spreadsheet programs keep a list of the cells that hold formulas (the calculation chain); a
// formula that the export overwrote would stay on that list and make the copy look damaged.
// The list is optional and rebuilt when the workbook opens, so the copy goes without it. Only a
// part that is a calculation chain goes: a chain relationship that points at any other part
// (the worksheet, a relationships part) marks the template as damaged.
void 去掉计算链(zip_t *z, const 工作簿位置 &w, std::vector<条目改动> &changes) {
    pugi::xml_document rels = 读XML(z, w.关系);
    std::vector<pugi::xml_node> chains;
    for (pugi::xml_node r : rels.document_element().children())
        if (本地名(r) == "Relationship" && 是计算链关系(r))
            chains.push_back(r);
    if (chains.empty())
        return;
    std::vector<std::string> parts;
    for (pugi::xml_node chain : chains) {
        const std::string part = 包内路径(w.目录, chain.attribute("Target").value());
        if (zip_name_locate(z, part.c_str(), 0) >= 0) {
            if (本地名(读XML(z, part).document_element()) != "calcChain")
                throw 坏部件{part, 不是计算链};
            parts.push_back(part);
        }
        rels.document_element().remove_child(chain);
    }
    changes.push_back({w.关系, 存XML(rels)});
    pugi::xml_document types = 读XML(z, "[Content_Types].xml");
    for (const std::string &part : parts) {
        changes.push_back({part, std::nullopt});
        std::vector<pugi::xml_node> overrides;
        for (pugi::xml_node o : types.document_element().children())
            if (本地名(o) == "Override" && "/" + part == o.attribute("PartName").value())
                overrides.push_back(o);
        for (pugi::xml_node o : overrides)
            types.document_element().remove_child(o);
    }
    changes.push_back({"[Content_Types].xml", 存XML(types)});
}

// Reads the template and returns the changes that make the copy: its first worksheet with the
// cells written, and the calculation chain gone.
std::vector<条目改动> 副本改动(const QString &模板, const std::vector<写入格> &cells, int 样式行) {
    std::vector<条目改动> changes;
    读模板(模板, 种类, [&](zip_t *z) {
        const 工作簿位置 w = 找工作簿(z);
        const std::string xml = 读XML文本(z, w.工作表);
        changes.push_back({w.工作表, 填写工作表(xml, cells, 样式行), true});
        去掉计算链(z, w, changes);
    });
    return changes;
}

// Removes the temporary copy unless it was renamed.
struct 临时文件 {
    QString path;
    bool kept = false;
    ~临时文件() {
        if (!kept)
            QFile::remove(path);
    }
};

} // namespace

文件复制函数 &模板复制器() {
    static 文件复制函数 copy = [](const QString &from, const QString &to) {
        return QFile::copy(from, to);
    };
    return copy;
}

void 填写副本(const QString &模板, const QString &副本, const std::vector<写入格> &cells,
              int 样式行) {
    const std::vector<条目改动> changes = 副本改动(模板, cells, 样式行);

    临时文件 temp{副本 + QStringLiteral(".part")};
    QFile::remove(temp.path);
    if (!模板复制器()(模板, temp.path))
        不能写入(副本);
    // A template installed read-only must not make the clerk's copy read-only.
    QFile::setPermissions(temp.path, QFile::permissions(temp.path) | QFileDevice::WriteOwner);
    if (!改写(temp.path, changes) || !QFile::rename(temp.path, 副本))
        不能写入(副本);
    temp.kept = true;
}
