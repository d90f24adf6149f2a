// The archive's reads for the windows: the list of stored cases, a case's history, the deleted
// cases. Each opens a connection of its own and lets it go when it is done.
#include "archive/case_archive.h"

#include "archive/case_states.h"
#include "archive/sql_text.h"
#include "common/number_text.h"

QList<案件条目> 列出案件() {
    std::unique_ptr<数据库连接> connection;
    打开数据库(connection);
    const 记录集 cases = 打开记录集(*connection, 案件语句::列出案件());
    const int ajid = int(cases.字段.indexOf(QStringLiteral("ajid")));
    const int 名称 = int(cases.字段.indexOf(QStringLiteral("名称")));
    QList<案件条目> list;
    list.reserve(cases.RecordCount());
    for (int r = 0; r < cases.RecordCount(); ++r)
        list.append({去尾空格(cases.值(r, ajid).toString()), 去尾空格(cases.值(r, 名称).toString())});
    return list;
}

QList<版本摘要> 读案件历史(std::int32_t id) {
    std::unique_ptr<数据库连接> connection;
    打开数据库(connection);
    数据库事务 reading(*connection, 事务类::读);
    QList<版本摘要> states = 读保存状态(*connection, id);
    reading.回滚();
    return states;
}

案件行 读状态行(std::int32_t id, qint64 version) {
    std::unique_ptr<数据库连接> connection;
    打开数据库(connection);
    return version == 0 ? 读案件行(*connection, id) : 读版本行(*connection, version);
}

QList<版本摘要> 列出已删除案件() {
    std::unique_ptr<数据库连接> connection;
    打开数据库(connection);
    return 读已删除案件(*connection);
}
