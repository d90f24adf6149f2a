#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// How grid cells, case names and case numbers become the text of the archive's SQL
// statements. Statements are built by plain concatenation; their spacing is part of them.

// A grid cell as a literal of an INSERT: cleaned as a cell text is (单元格文本), blanks (U+0020)
// removed on both sides; nothing left gives the SQL null `Null`, anything else the text between
// single quotes with every single quote inside doubled, so that it reads back exactly as typed.
QString 单元字面量(const QString &原内容);

// A case name between single quotes, single quotes inside doubled. The name is used as given,
// cleaned as a cell text is.
QString 名称字面量(const QString &名称);

namespace 案件语句 {
QString 查名称(const QString &名称);
QString 插入案件(const QString &名称);
QString 查案件号(const QString &名称);
QString 查案件在否(std::int32_t 案件号);
QString 删除交款(std::int32_t 案件号);
QString 删除债权(std::int32_t 案件号);
QString 删除案件(std::int32_t 案件号);
// literals: the four (payments) or six (claims) cell literals of one row, in column order.
QString 插入交款(std::int32_t 案件号, const QStringList &literals);
QString 插入债权(std::int32_t 案件号, const QStringList &literals);
QString 列出案件();
QString 读交款(std::int32_t 案件号);
QString 读债权(std::int32_t 案件号);
} // namespace 案件语句
