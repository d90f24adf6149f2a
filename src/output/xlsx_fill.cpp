#include "output/xlsx_fill.h"

#include "common/varnel_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <pugixml.hpp>
#include <zip.h>

#include <cctype>
#include <functional>
#include <optional>
#include <stdexcept>

namespace {

QString 显示名(const QString &path) {
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void 模板缺失(const QString &模板) {
    throw VarnelError(QStringLiteral("找不到电子表格模板 %1。").arg(显示名(模板)));
}
[[noreturn]] void 不是工作簿(const QString &模板) {
    throw VarnelError(QStringLiteral("%1 不是可用的电子表格模板。").arg(显示名(模板)));
}
[[noreturn]] void 不能写入(const QString &副本) {
    throw VarnelError(QStringLiteral("不能写入文件 %1。").arg(显示名(副本)));
}

QByteArray 本地路径(const QString &path) {
#ifdef _WIN32
    return path.toUtf8(); // libzip takes UTF-8 names on Windows
#else
    return QFile::encodeName(path);
#endif
}

// An archive opened by this module; discarded (never written) unless closed on purpose.
struct 压缩包 {
    zip_t *z = nullptr;
    ~压缩包() {
        if (z)
            zip_discard(z);
    }
};

// A part of the template that cannot be used: its name and the message that names the
// template (%1) and the part (%2).
struct 坏部件 {
    std::string 名;
    const char16_t *说明;
};
constexpr const char16_t *部件损坏 =
    u"电子表格模板 %1 已损坏：其中的 %2 读不出来，或与它的校验和不符。";
constexpr const char16_t *不是UTF8 = u"电子表格模板 %1 中的 %2 不是 UTF-8 编码的，不能使用。";
constexpr const char16_t *不是计算链 =
    u"电子表格模板 %1 已损坏：它的计算链关系指向的 %2 不是计算链。";

// The whole of one entry, read to its end, where libzip compares it with its checksum.
std::optional<std::string> 读索引(zip_t *z, zip_uint64_t index) {
    zip_stat_t st;
    if (zip_stat_index(z, index, 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE) ||
        st.size > 512u * 1024 * 1024)
        return std::nullopt;
    zip_file_t *f = zip_fopen_index(z, index, 0);
    if (!f)
        return std::nullopt;
    std::string data(st.size, '\0');
    char beyond = 0;
    const zip_int64_t got = zip_fread(f, data.data(), st.size);
    const zip_int64_t rest = zip_fread(f, &beyond, 1);
    zip_fclose(f);
    if (got < 0 || zip_uint64_t(got) != st.size || rest != 0)
        return std::nullopt;
    return data;
}

// Every entry of the template is read once, so that a damaged one is found before the copy is
// made: the entries the export does not change go into the copy as they are, unchecked.
void 检查全部条目(zip_t *z) {
    const zip_int64_t count = zip_get_num_entries(z, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char *name = zip_get_name(z, zip_uint64_t(i), 0);
        if (!name)
            throw 坏部件{"#" + std::to_string(i), 部件损坏};
        if (!std::string_view(name).ends_with('/') && !读索引(z, zip_uint64_t(i)))
            throw 坏部件{name, 部件损坏};
    }
}

// The whole of one entry; std::nullopt when the archive has no such entry.
std::optional<std::string> 读条目(zip_t *z, const std::string &name) {
    const zip_int64_t index = zip_name_locate(z, name.c_str(), 0);
    if (index < 0)
        return std::nullopt;
    auto data = 读索引(z, zip_uint64_t(index));
    if (!data)
        throw 坏部件{name, 部件损坏};
    return data;
}

// The encoding a part's XML declaration names, lower case; empty when it names none.
std::string 声明的编码(std::string_view xml) {
    if (!xml.starts_with("<?xml"))
        return {};
    const std::string_view declaration = xml.substr(0, xml.find("?>"));
    size_t at = declaration.find("encoding");
    if (at == std::string_view::npos)
        return {};
    at = declaration.find_first_of("\"'", at);
    const size_t end =
        at == std::string_view::npos ? at : declaration.find(declaration[at], at + 1);
    if (end == std::string_view::npos)
        return "?";
    std::string name(declaration.substr(at + 1, end - at - 1));
    for (char &c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// A part the export reads must be UTF-8, as spreadsheet programs write them: the parts it
// changes are written back as UTF-8, which another declared encoding would belie.
void 要求UTF8(const std::string &name, std::string_view xml) {
    if (xml.starts_with("\xEF\xBB\xBF"))
        xml.remove_prefix(3);
    // Decoding the whole part tells whether it holds a byte sequence that is not UTF-8.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(QByteArrayView(xml.data(), qsizetype(xml.size())));
    const std::string declared = 声明的编码(xml);
    if (decoder.hasError() || xml.find('\0') != std::string_view::npos ||
        !(declared.empty() || declared == "utf-8" || declared == "utf8"))
        throw 坏部件{name, 不是UTF8};
}

std::string 本地名(pugi::xml_node n) {
    const std::string name = n.name();
    const auto colon = name.find(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

pugi::xml_node 子元素(pugi::xml_node parent, const char *local) {
    for (pugi::xml_node c : parent.children())
        if (本地名(c) == local)
            return c;
    return {};
}

// The text of a part the export reads as XML; throws when it is missing or not UTF-8.
std::string 读XML文本(zip_t *z, const std::string &name) {
    auto text = 读条目(z, name);
    if (!text)
        throw std::runtime_error("part missing: " + name);
    要求UTF8(name, *text);
    return std::move(*text);
}

pugi::xml_document 读XML(zip_t *z, const std::string &name) {
    pugi::xml_document doc;
    const std::string text = 读XML文本(z, name);
    if (!doc.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_declaration))
        throw std::runtime_error("part not XML: " + name);
    return doc;
}

bool 类型为(pugi::xml_node relationship, const std::string &suffix) {
    const std::string type = relationship.attribute("Type").value();
    return type.size() >= suffix.size() &&
           type.compare(type.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The Target of the relationship in a .rels part that 选中 picks.
std::string 关系目标(zip_t *z, const std::string &relsName,
                     const std::function<bool(pugi::xml_node)> &选中) {
    const pugi::xml_document rels = 读XML(z, relsName);
    for (pugi::xml_node r : rels.document_element().children())
        if (本地名(r) == "Relationship" && 选中(r))
            return r.attribute("Target").value();
    throw std::runtime_error("relationship missing in " + relsName);
}

std::string 文件夹(const std::string &part) {
    const auto slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

struct 字符串输出 : pugi::xml_writer {
    std::string 内容;
    void write(const void *data, size_t size) override {
        内容.append(static_cast<const char *>(data), size);
    }
};

std::string 存XML(const pugi::xml_document &doc) {
    字符串输出 out;
    doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return std::move(out.内容);
}

// Where the workbook keeps its parts: its folder ("xl/"), its relationships part and its first
// worksheet.
struct 工作簿位置 {
    std::string 目录, 关系, 工作表;
};

// The workbook's first worksheet is the first sheet of its list, found through the workbook's
// relationships (not by a guessed part name).
工作簿位置 找工作簿(zip_t *z) {
    std::string workbook = "xl/workbook.xml";
    try {
        workbook = 包内路径("", 关系目标(z, "_rels/.rels", [](pugi::xml_node r) {
                                return 类型为(r, "/officeDocument");
                            }));
    } catch (const std::runtime_error &) {
        // A package without its root relationships: the workbook is at its usual place.
    }
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
    w.关系 = w.目录 + "_rels/" + workbook.substr(w.目录.size()) + ".rels";
    w.工作表 = 包内路径(w.目录, 关系目标(z, w.关系, [&id](pugi::xml_node r) {
                            return id == r.attribute("Id").value();
                        }));
    return w;
}

// A change to one entry of the copy: its new content, or none when the entry goes. A large
// entry is added afresh at the end of the archive (see 写条目); a small one is replaced where it
// is, so that [Content_Types].xml stays the first entry, by which programs recognise a workbook.
struct 条目改动 {
    std::string 名;
    std::optional<std::string> 内容;
    bool 重新添加 = false;
};

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
    int error = 0;
    压缩包 book{zip_open(本地路径(模板).constData(), ZIP_RDONLY, &error)};
    if (!book.z) {
        if (error == ZIP_ER_NOENT)
            模板缺失(模板);
        不是工作簿(模板);
    }
    try {
        检查全部条目(book.z);
        const 工作簿位置 w = 找工作簿(book.z);
        const std::string xml = 读XML文本(book.z, w.工作表);
        std::vector<条目改动> changes{{w.工作表, 填写工作表(xml, cells, 样式行), true}};
        去掉计算链(book.z, w, changes);
        return changes;
    } catch (const 坏部件 &bad) {
        throw VarnelError(
            QString::fromUtf16(bad.说明).arg(显示名(模板), QString::fromStdString(bad.名)));
    } catch (const std::runtime_error &) {
        不是工作簿(模板);
    }
}

// Puts one changed entry into the archive. A large entry is deleted and added afresh: libzip
// keeps the deflate level it found for a replaced entry (the best, slow for a long table), and
// takes the fastest level, which packs the repetitive sheet nearly as small, only for an entry it
// adds.
bool 写条目(zip_t *z, const 条目改动 &c) {
    const zip_int64_t old = zip_name_locate(z, c.名.c_str(), 0);
    if (!c.内容)
        return old < 0 || zip_delete(z, zip_uint64_t(old)) == 0;
    zip_source_t *source = zip_source_buffer(z, c.内容->data(), c.内容->size(), 0);
    if (!source)
        return false;
    if (old >= 0 && !c.重新添加) {
        if (zip_file_replace(z, zip_uint64_t(old), source, 0) == 0)
            return true;
        zip_source_free(source);
        return false;
    }
    if (old >= 0 && zip_delete(z, zip_uint64_t(old)) != 0) {
        zip_source_free(source);
        return false;
    }
    const zip_int64_t added = zip_file_add(z, c.名.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (added < 0) {
        zip_source_free(source);
        return false;
    }
    return zip_set_file_compression(z, zip_uint64_t(added), ZIP_CM_DEFLATE, 1) == 0;
}

// Applies the changes to the archive at path; false when it cannot be written.
bool 改写(const QString &path, const std::vector<条目改动> &changes) {
    压缩包 copy{zip_open(本地路径(path).constData(), 0, nullptr)};
    if (!copy.z)
        return false;
    for (const 条目改动 &c : changes)
        if (!写条目(copy.z, c))
            return false;
    if (zip_close(copy.z) != 0)
        return false;
    copy.z = nullptr;
    return true;
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

std::string 包内路径(const std::string &folder, const std::string &target) {
    const std::string joined =
        !target.empty() && target[0] == '/' ? target.substr(1) : folder + target;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= joined.size()) {
        const size_t end = std::min(joined.find('/', start), joined.size());
        const std::string part = joined.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string path;
    for (const std::string &p : parts)
        path += (path.empty() ? "" : "/") + p;
    return path;
}

void 填写副本(const QString &模板, const QString &副本, const std::vector<写入格> &cells,
              int 样式行) {
    if (!QFileInfo(模板).isFile())
        模板缺失(模板);
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
