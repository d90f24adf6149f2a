#include "output/xlsx_fill.h"

#include "common/varnel_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <pugixml.hpp>
#include <zip.h>

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

// The whole of one entry; std::nullopt when the archive has no such entry or it cannot be read.
std::optional<std::string> 读条目(zip_t *z, const std::string &name) {
    const zip_int64_t index = zip_name_locate(z, name.c_str(), 0);
    zip_stat_t st;
    if (index < 0 || zip_stat_index(z, zip_uint64_t(index), 0, &st) != 0 ||
        !(st.valid & ZIP_STAT_SIZE) || st.size > 512u * 1024 * 1024)
        return std::nullopt;
    zip_file_t *f = zip_fopen_index(z, zip_uint64_t(index), 0);
    if (!f)
        return std::nullopt;
    std::string data(st.size, '\0');
    const zip_int64_t got = zip_fread(f, data.data(), st.size);
    zip_fclose(f);
    if (got < 0 || zip_uint64_t(got) != st.size)
        return std::nullopt;
    return data;
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

pugi::xml_document 读XML(zip_t *z, const std::string &name) {
    pugi::xml_document doc;
    const auto text = 读条目(z, name);
    if (!text ||
        !doc.load_buffer(text->data(), text->size(), pugi::parse_default | pugi::parse_declaration))
        throw std::runtime_error("part missing or not XML: " + name);
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

// Spreadsheet programs keep a list of the cells that hold formulas (the calculation chain); a
// formula that the export overwrote would stay on that list and make the copy look damaged.
// The list is optional and rebuilt when the workbook opens, so the copy goes without it.
void 去掉计算链(zip_t *z, const 工作簿位置 &w, std::vector<条目改动> &changes) {
    pugi::xml_document rels = 读XML(z, w.关系);
    pugi::xml_node chain;
    for (pugi::xml_node r : rels.document_element().children())
        if (本地名(r) == "Relationship" && 类型为(r, "/calcChain"))
            chain = r;
    if (!chain)
        return;
    const std::string part = 包内路径(w.目录, chain.attribute("Target").value());
    rels.document_element().remove_child(chain);
    changes.push_back({w.关系, 存XML(rels)});
    changes.push_back({part, std::nullopt});
    pugi::xml_document types = 读XML(z, "[Content_Types].xml");
    std::vector<pugi::xml_node> overrides;
    for (pugi::xml_node o : types.document_element().children())
        if (本地名(o) == "Override" && "/" + part == o.attribute("PartName").value())
            overrides.push_back(o);
    for (pugi::xml_node o : overrides)
        types.document_element().remove_child(o);
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
        const 工作簿位置 w = 找工作簿(book.z);
        const auto xml = 读条目(book.z, w.工作表);
        if (!xml)
            不是工作簿(模板);
        std::vector<条目改动> changes{{w.工作表, 填写工作表(*xml, cells, 样式行), true}};
        去掉计算链(book.z, w, changes);
        return changes;
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
