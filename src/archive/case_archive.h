#pragma once

#include "archive/case_record.h"
#include "archive/case_rows.h"
#include "archive/database.h"

#include <QList>
#include <QString>
#include <cstdint>

// The case archive as the case fund window and the import tool use it, in the archive's own
// terms. Each write is one transaction: it completes or changes nothing, and returns its
// outcome; it never asks, tells or touches a window. A refusal of the database raises a
// VarnelError with its words; a COMMIT to a server that got no answer raises 提交结果不明.

// How a save or a delete ended: done; the name is another case's; the case is no longer stored;
// the stored rows differ from those it was loaded as (someone else changed them).
enum class 写入结果 { 已成, 名称重复, 已删除, 已变 };

struct 写入结局 {
    写入结果 结果 = 写入结果::已成;
    std::int32_t 案件号 = 0; // 已成 of a save: the case's number
    // 已成: the rows as stored now (what a load reads back; none after a delete).
    // 已变: the rows stored now, which the next attempt compares with.
    案件行 行;
};

// Stores the case `id` (0: a new case, named `name`) with the rows `rows` (the cells of the
// payments table's four columns and the claims table's six), over the stored rows it was
// loaded as, `basis`. Every row must be stored: a row the database skipped without an error
// (a trigger of the office's, for example) makes the whole save fail.
写入结局 保存案件(数据库连接 &connection, std::int32_t id, const QString &name,
                  const 案件行 &rows, const 案件行 &basis);

// Deletes the stored case `id`, loaded as `basis`, with its rows, in a connection of its own.
写入结局 删除案件(std::int32_t id, const 案件行 &basis);

// The deleted case kept in `version` stored again as a new case with its kept rows, under its
// name, or with " (恢复)", " (恢复2)" … appended when that name is taken now; an empty name
// becomes "未命名案件". `stored` holds the name chosen before the COMMIT goes out (also when it
// raises 提交结果不明). Returns the new case's number.
std::int32_t 存回已删除案件(qint64 version, const QString &name, QString &stored);

// The number of the stored case named `name`, or 0 for none.
std::int32_t 查案件号(数据库连接 &connection, const QString &name);
std::int32_t 按名称找案件(const QString &name);

// A row's cells as the literals of the archive's INSERT statements, and a table's rows as a
// load reads them back once stored.
QStringList 行字面量(const QStringList &cells, int columns);
QList<QStringList> 存后行(const QList<QStringList> &rows, int columns);
inline constexpr int 交款列数 = 4, 债权列数 = 6;

// One stored case of the list.
struct 案件条目 {
    QString 案件号, 名称;
};
// The stored cases, oldest first.
QList<案件条目> 列出案件();

// The stored states of case `id` (case_states.h), read as one state of the archive.
QList<版本摘要> 读案件历史(std::int32_t id);
// The rows of one state: `version` 0 for what is stored now.
案件行 读状态行(std::int32_t id, qint64 version);
// The deleted cases, newest deletion first.
QList<版本摘要> 列出已删除案件();
