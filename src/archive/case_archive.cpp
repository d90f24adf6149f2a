// The archive's writes: save a case, delete it, store a deleted case again.
#include "archive/case_archive.h"

#include "archive/sql_text.h"
#include "common/number_text.h"
#include "common/varnel_error.h"

#include <algorithm>
#include <utility>

namespace {

// The name a save refuses: another case holds it (also the server's words for its unique index).
const QString 名称重复 = QStringLiteral("名称重复，不能保存，请改变名称保存！");

// The number the database gave the case just inserted under `name`, read back by its name.
std::int32_t 新案件号(数据库连接 &connection, const QString &name) {
    return 长整数值(去尾空格(打开记录集(connection, 案件语句::查案件号(name)).值(0, 0).toString()));
}

// Inside a write transaction: holds the stored case against other writers and compares its rows
// with `basis`. 已删除 when another program has deleted the case (rows written now would lie
// under a case that no list shows); 已变, with the rows stored now, when they differ.
写入结局 核对案件(数据库连接 &connection, std::int32_t id, const 案件行 &basis) {
    锁定案件(connection, id);
    if (打开记录集(connection, 案件语句::查案件在否(id)).RecordCount() == 0)
        return {写入结果::已删除, id, {}};
    if (案件行 stored = 读案件行(connection, id); stored != basis)
        return {写入结果::已变, id, std::move(stored)};
    return {写入结果::已成, id, {}};
}

// The statements go out together: on a server the round trips, not the statements, cost the
// time. Returns what a load would read back.
案件行 保存行(数据库连接 &connection, std::int32_t id, const 案件行 &rows) {
    QStringList sqls{案件语句::删除交款(id), 案件语句::删除债权(id)};
    案件行 saved;
    for (const QStringList &row : rows.交款) {
        const QStringList literals = 行字面量(row, 交款列数);
        sqls << 案件语句::插入交款(id, literals);
        saved.交款 << 读回文本(literals);
    }
    for (const QStringList &row : rows.债权) {
        const QStringList literals = 行字面量(row, 债权列数);
        sqls << 案件语句::插入债权(id, literals);
        saved.债权 << 读回文本(literals);
    }
    const QList<qint64> changed = 执行多条(connection, sqls);
    if (changed.size() != sqls.size() ||
        std::any_of(changed.cbegin() + 2, changed.cend(), [](qint64 n) { return n != 1; }))
        throw VarnelError(QStringLiteral("案件数据库没有存下这个案件的全部行，这次保存已撤销，"
                                         "案件数据库没有改变。请告诉管理员。"));
    return saved;
}

} // namespace

QStringList 行字面量(const QStringList &cells, int columns) {
    QStringList literals;
    for (int k = 0; k < columns; ++k)
        literals << 单元字面量(cells.value(k));
    return literals;
}

QList<QStringList> 存后行(const QList<QStringList> &rows, int columns) {
    QList<QStringList> stored;
    for (const QStringList &row : rows)
        stored << 读回文本(行字面量(row, columns));
    return stored;
}

// A stored case whose rows differ from `basis` is left alone. A new case's name is looked up
// first; on a server, a clerk saving the same name at the same moment may still get there first,
// and the unique index refuses the second with the same words.
写入结局 保存案件(数据库连接 &connection, std::int32_t id, const QString &name,
                  const 案件行 &rows, const 案件行 &basis) {
    数据库事务 transaction(connection);
    std::int32_t target = id;
    if (target < 1) {
        if (打开记录集(connection, 案件语句::查名称(name)).RecordCount() >= 1)
            return {写入结果::名称重复, 0, {}};
        try {
            执行(connection, 案件语句::插入案件(name));
        } catch (const VarnelError &e) {
            if (e.description() != 名称重复)
                throw;
            return {写入结果::名称重复, 0, {}};
        }
        target = 新案件号(connection, name);
    } else if (写入结局 checked = 核对案件(connection, target, basis);
               checked.结果 != 写入结果::已成) {
        return checked;
    }
    案件行 saved = 保存行(connection, target, rows);
    transaction.提交();
    return {写入结果::已成, target, std::move(saved)};
}

写入结局 删除案件(std::int32_t id, const 案件行 &basis) {
    std::unique_ptr<数据库连接> connection;
    打开数据库(connection, 数据库用途::删除);
    数据库事务 transaction(*connection);
    if (写入结局 checked = 核对案件(*connection, id, basis); checked.结果 != 写入结果::已成)
        return checked;
    执行多条(*connection,
             {案件语句::删除案件(id), 案件语句::删除债权(id), 案件语句::删除交款(id)});
    transaction.提交();
    return {写入结果::已成, id, {}};
}

std::int32_t 存回已删除案件(qint64 version, const QString &name, QString &stored) {
    std::unique_ptr<数据库连接> connection;
    打开数据库(connection, 数据库用途::保存);
    数据库事务 transaction(*connection);
    const QString base = 去尾空格(name).isEmpty() ? QStringLiteral("未命名案件") : 去尾空格(name);
    stored = base;
    for (int n = 1; 打开记录集(*connection, 案件语句::查名称(stored)).RecordCount() > 0; ++n)
        stored = base + (n == 1 ? QStringLiteral(" (恢复)")
                                : QStringLiteral(" (恢复%1)").arg(n));
    执行(*connection, 案件语句::插入案件(stored));
    const std::int32_t id = 新案件号(*connection, stored);
    存回版本行(*connection, id, version);
    transaction.提交();
    return id;
}

std::int32_t 查案件号(数据库连接 &connection, const QString &name) {
    const 记录集 found = 打开记录集(connection, 案件语句::查案件号(name));
    return found.RecordCount() > 0 ? 长整数值(去尾空格(found.值(0, 0).toString())) : 0;
}

std::int32_t 按名称找案件(const QString &name) {
    std::unique_ptr<数据库连接> connection;
    打开数据库(connection);
    return 查案件号(*connection, name);
}
