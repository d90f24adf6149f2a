#pragma once

#include "archive/case_rows.h"
#include "archive/database.h"
#include "common/money.h"

#include <QList>
#include <QString>
#include <cstdint>

// The archive's record of versions: every stored case's rows as they were before a save
// replaced them or a delete removed them, with the time, the clerk and what was done (保存 or
// 删除). The record lives in tables of its own beside the three case tables (案件版本, 交款版本,
// 债权版本), written by triggers on the case tables: on the server by functions of the archive's
// owner that clerks cannot change, in varnel.db by triggers the program adds to the file.

// varnel.db: whether the file holds the record, and adding it to a file made before it (in one
// transaction of its own; the case tables are not touched).
bool 有版本记录(数据库连接 &connection);
void 补上版本记录(数据库连接 &connection);

// varnel.db: the statements that mark one write transaction for the triggers (a number of its
// own, and the clerk, the operating system's user), after BEGIN and before COMMIT. The clerk is
// taken off again before COMMIT, so that a program that writes without marking is not named.
QString 版本事务开始语句();
QString 版本事务结束语句();

// One kept version of a stored case, or one deleted case.
struct 版本摘要 {
    qint64 版本 = 0;
    QString 名称;
    QString 时间; // yyyy-MM-dd HH:mm:ss, the server's clock on a server
    QString 办案人员;
    QString 操作;
    int 交款行数 = 0;
    int 债权行数 = 0;
    Money 债权金额合计; // the claim amounts that are numbers
};

// The versions of stored case `id`, newest first.
QList<版本摘要> 读版本列表(数据库连接 &connection, std::int32_t id);
// The deleted cases, newest deletion first (a case deleted twice is listed twice).
QList<版本摘要> 读已删除案件(数据库连接 &connection);
// The rows of one version, in the order they were stored.
案件行 读版本行(数据库连接 &connection, qint64 version);

// Inside a write transaction: stores the rows of `version` under the stored case `id`, exactly
// as they were kept; raises when not every row was stored.
void 存回版本行(数据库连接 &connection, std::int32_t id, qint64 version);
