#include "output/xlsx_fill.h"

#include "common/varnel_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <pugixml.hpp>
#include <zip.h>

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
    if (!text || !doc.load_buffer(text->data(), text->size()))
        throw std::runtime_error("part missing or not XML: " + name);
    return doc;
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

// The package path of the workbook's first worksheet.
std::string 第一工作表(zip_t *z) {
    std::string workbook = "xl/workbook.xml";
    try {
        workbook = 包内路径("", 关系目标(z, "_rels/.rels", [](pugi::xml_node r) {
                                const std::string type = r.attribute("Type").value();
                                return type.size() >= 15 &&
                                       type.compare(type.size() - 15, 15, "/officeDocument") == 0;
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
    const std::string folder = 文件夹(workbook);
    const std::string rels = folder + "_rels/" + workbook.substr(folder.size()) + ".rels";
    return 包内路径(folder, 关系目标(z, rels, [&id](pugi::xml_node r) {
                        return id == r.attribute("Id").value();
                    }));
}

// Reads the template and returns the package path of its first worksheet and that worksheet
// with the cells written.
std::pair<std::string, std::string> 填好的工作表(const QString &模板,
                                                 const std::vector<写入格> &cells, int 样式行) {
    int error = 0;
    压缩包 book{zip_open(本地路径(模板).constData(), ZIP_RDONLY, &error)};
    if (!book.z) {
        if (error == ZIP_ER_NOENT)
            模板缺失(模板);
        不是工作簿(模板);
    }
    try {
        const std::string sheet = 第一工作表(book.z);
        const auto xml = 读条目(book.z, sheet);
        if (!xml)
            不是工作簿(模板);
        return {sheet, 填写工作表(*xml, cells, 样式行)};
    } catch (const std::runtime_error &) {
        不是工作簿(模板);
    }
}

// Replaces one entry of the archive at path; false when the archive cannot be written. The old
// entry is deleted and the new one added under its name: libzip keeps the deflate level it
// found for a replaced entry (the best, slow for a long table), and takes the fastest level,
// which packs the repetitive sheet nearly as small, only for an entry it adds.
bool 替换条目(const QString &path, const std::string &name, const std::string &data) {
    压缩包 copy{zip_open(本地路径(path).constData(), 0, nullptr)};
    if (!copy.z)
        return false;
    const zip_int64_t old = zip_name_locate(copy.z, name.c_str(), 0);
    if (old < 0 || zip_delete(copy.z, zip_uint64_t(old)) != 0)
        return false;
    zip_source_t *source = zip_source_buffer(copy.z, data.data(), data.size(), 0);
    if (!source)
        return false;
    const zip_int64_t added = zip_file_add(copy.z, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (added < 0) {
        zip_source_free(source);
        return false;
    }
    if (zip_set_file_compression(copy.z, zip_uint64_t(added), ZIP_CM_DEFLATE, 1) != 0 ||
        zip_close(copy.z) != 0)
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
    const auto [sheet, xml] = 填好的工作表(模板, cells, 样式行);

    临时文件 temp{副本 + QStringLiteral(".part")};
    QFile::remove(temp.path);
    if (!模板复制器()(模板, temp.path))
        不能写入(副本);
    // A template installed read-only must not make the clerk's copy read-only.
    QFile::setPermissions(temp.path, QFile::permissions(temp.path) | QFileDevice::WriteOwner);
    if (!替换条目(temp.path, sheet, xml) || !QFile::rename(temp.path, 副本))
        不能写入(副本);
    temp.kept = true;
}
