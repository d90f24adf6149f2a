#include "output/ooxml_package.h"

#include "common/varnel_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cctype>
#include <stdexcept>

namespace {

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

constexpr const char16_t *部件损坏 = u"%1 已损坏：其中的 %2 读不出来，或与它的校验和不符。";
constexpr const char16_t *不是UTF8 = u"%1 中的 %2 不是 UTF-8 编码的，不能使用。";

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
// made: the entries the output does not change go into the copy as they are, unchecked.
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

// A part the output reads must be UTF-8, as office programs write them: the parts it changes
// are written back as UTF-8, which another declared encoding would belie.
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

struct 字符串输出 : pugi::xml_writer {
    std::string 内容;
    void write(const void *data, size_t size) override {
        内容.append(static_cast<const char *>(data), size);
    }
};

// Puts one changed entry into the archive. A large entry is deleted and added afresh: libzip
// keeps the deflate level it found for a replaced entry (the best, slow for a long table), and
// takes the fastest level, which packs the repetitive part nearly as small, only for an entry
// it adds.
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

// Applies the changes to an open archive and writes it; false when that fails (the archive is
// then discarded).
bool 写全部(压缩包 &archive, const std::vector<条目改动> &changes) {
    for (const 条目改动 &c : changes)
        if (!写条目(archive.z, c))
            return false;
    if (zip_close(archive.z) != 0)
        return false;
    archive.z = nullptr;
    return true;
}

// The whole content of a zip source.
std::optional<QByteArray> 源内容(zip_source_t *source) {
    if (zip_source_open(source) != 0)
        return std::nullopt;
    std::optional<QByteArray> data;
    if (zip_source_seek(source, 0, SEEK_END) == 0) {
        const zip_int64_t size = zip_source_tell(source);
        if (size >= 0 && zip_source_seek(source, 0, SEEK_SET) == 0) {
            QByteArray bytes(qsizetype(size), Qt::Uninitialized);
            if (zip_source_read(source, bytes.data(), zip_uint64_t(size)) == size)
                data = std::move(bytes);
        }
    }
    zip_source_close(source);
    return data;
}

} // namespace

std::optional<std::string> 读条目(zip_t *z, const std::string &name) {
    const zip_int64_t index = zip_name_locate(z, name.c_str(), 0);
    if (index < 0)
        return std::nullopt;
    auto data = 读索引(z, zip_uint64_t(index));
    if (!data)
        throw 坏部件{name, 部件损坏};
    return data;
}

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

bool 类型为(pugi::xml_node relationship, std::string_view suffix) {
    return std::string_view(relationship.attribute("Type").value()).ends_with(suffix);
}

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

std::string 关系部件(const std::string &part) {
    const std::string folder = 文件夹(part);
    return folder + "_rels/" + part.substr(folder.size()) + ".rels";
}

std::string 主部件(zip_t *z, const std::string &通常) {
    try {
        return 包内路径("", 关系目标(z, "_rels/.rels", [](pugi::xml_node r) {
                            return 类型为(r, "/officeDocument");
                        }));
    } catch (const std::runtime_error &) {
        return 通常; // a package without its root relationships: the part is at its usual place
    }
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

std::string 存XML(const pugi::xml_document &doc) {
    字符串输出 out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return std::move(out.内容);
}

QString 模板称呼(const QString &种类, const QString &模板) {
    return 种类 + u' ' + QDir::toNativeSeparators(模板);
}

void 模板缺失(const QString &种类, const QString &模板) {
    throw VarnelError(QStringLiteral("找不到%1。").arg(模板称呼(种类, 模板)));
}

void 不是可用模板(const QString &种类, const QString &模板) {
    throw VarnelError(QStringLiteral("%1 不是可用的%2。").arg(QDir::toNativeSeparators(模板), 种类));
}

void 读模板(const QString &模板, const QString &种类, const std::function<void(zip_t *)> &读) {
    if (!QFileInfo(模板).isFile())
        模板缺失(种类, 模板);
    int error = 0;
    压缩包 package{zip_open(本地路径(模板).constData(), ZIP_RDONLY, &error)};
    if (!package.z) {
        if (error == ZIP_ER_NOENT)
            模板缺失(种类, 模板);
        不是可用模板(种类, 模板);
    }
    try {
        检查全部条目(package.z);
        读(package.z);
    } catch (const 坏部件 &bad) {
        throw VarnelError(
            QString::fromUtf16(bad.说明).arg(模板称呼(种类, 模板), QString::fromStdString(bad.名)));
    } catch (const std::runtime_error &) {
        不是可用模板(种类, 模板);
    }
}

bool 改写(const QString &path, const std::vector<条目改动> &changes) {
    压缩包 copy{zip_open(本地路径(path).constData(), 0, nullptr)};
    return copy.z && 写全部(copy, changes);
}

std::optional<QByteArray> 改写包(const QByteArray &原包, const std::vector<条目改动> &changes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source =
        zip_source_buffer_create(原包.constData(), zip_uint64_t(原包.size()), 0, &error);
    zip_error_fini(&error);
    if (!source)
        return std::nullopt;
    // One reference for the archive, which takes it over when it opens; one kept here, to read
    // the written package back from.
    zip_source_keep(source);
    std::optional<QByteArray> result;
    zip_error_init(&error);
    压缩包 package{zip_open_from_source(source, 0, &error)};
    zip_error_fini(&error);
    if (!package.z)
        zip_source_free(source); // the archive's reference, not taken over
    else if (写全部(package, changes))
        result = 源内容(source);
    zip_source_free(source);
    return result;
}
