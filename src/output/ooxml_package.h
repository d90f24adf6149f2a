#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>
#include <zip.h>

// The templates the output fills (the spreadsheet akfpb.xlsx, the document fpfa.docx) are Office
// Open XML packages: zip archives of XML parts tied together by relationship parts. This module
// reads a template, checks it, and writes a changed copy of it. Its messages name the template by
// its kind ("电子表格模板", "分配方案模板") and its file.

// A part of the template that cannot be used: its name and the message, in which %1 stands for
// the template's kind and file and %2 for the part.
struct 坏部件 {
    std::string 名;
    const char16_t *说明;
};

// The whole of one entry, read to its end (where libzip compares it with its checksum);
// std::nullopt when the archive has no such entry. An entry that cannot be read throws 坏部件.
std::optional<std::string> 读条目(zip_t *z, const std::string &name);

// The text of a part read as XML: throws std::runtime_error when it is missing, 坏部件 when it
// is not UTF-8.
std::string 读XML文本(zip_t *z, const std::string &name);
pugi::xml_document 读XML(zip_t *z, const std::string &name);

// An element's name without its namespace prefix, and the first child of that local name.
std::string 本地名(pugi::xml_node n);
pugi::xml_node 子元素(pugi::xml_node parent, const char *local);

// Whether a relationship's Type ends in the suffix ("/officeDocument", "/header").
bool 类型为(pugi::xml_node relationship, std::string_view suffix);

// The Target of the first relationship in a .rels part that 选中 picks; std::runtime_error when
// there is none.
std::string 关系目标(zip_t *z, const std::string &relsName,
                     const std::function<bool(pugi::xml_node)> &选中);

// The folder of a part ("xl/" for "xl/workbook.xml"), and the relationships part of a part
// ("xl/_rels/workbook.xml.rels").
std::string 文件夹(const std::string &part);
std::string 关系部件(const std::string &part);

// The package's main part, found through the root relationships (_rels/.rels), or 通常 when the
// package has none.
std::string 主部件(zip_t *z, const std::string &通常);

// The path of a part inside a package: a Target starting with "/" is from the package root, any
// other is relative to the folder of the part that refers to it ("xl/").
std::string 包内路径(const std::string &folder, const std::string &target);

// An XML document as UTF-8 text, unindented, with the declaration it was read with (none added).
std::string 存XML(const pugi::xml_document &doc);

// Opens the template 模板 read-only, reads every entry once (so that a damaged one is found
// before anything is written) and hands the open archive to 读. Every failure is a VarnelError
// that names the template: missing, not a zip archive, a part that is damaged or not UTF-8, or
// (any std::runtime_error of 读) not a usable template of its kind. 读 may throw 坏部件 for a part
// of its own findings (the message then names the template and the part).
void 读模板(const QString &模板, const QString &种类, const std::function<void(zip_t *)> &读);

// The message of a template that cannot be used: "<file> 不是可用的<种类>。"
[[noreturn]] void 不是可用模板(const QString &种类, const QString &模板);

// A change to one entry of the copy: its new content, or none when the entry goes. A large
// entry is added afresh at the end of the archive (see 改写); a small one is replaced where it
// is, so that [Content_Types].xml stays the first entry, by which programs recognise a package.
struct 条目改动 {
    std::string 名;
    std::optional<std::string> 内容;
    bool 重新添加 = false;
};

// Applies the changes to the archive file at path; false when it cannot be written.
bool 改写(const QString &path, const std::vector<条目改动> &changes);

// The package 原包 (the bytes of a template) with the changes applied; std::nullopt when they
// cannot be applied.
std::optional<QByteArray> 改写包(const QByteArray &原包, const std::vector<条目改动> &changes);
