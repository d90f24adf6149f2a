#include "archive/case_states.h"

#include "common/money.h"

#include <algorithm>

namespace {

constexpr qsizetype 分配金额列 = 4;

版本摘要 现在的状态(数据库连接 &connection, std::int32_t id) {
    const 案件行 now = 读案件行(connection, id);
    版本摘要 state;
    state.交款行数 = 有内容行数(now.交款);
    state.债权行数 = 有内容行数(now.债权, 分配金额列);
    for (const QStringList &row : now.债权)
        state.债权金额合计 += 文本金额(row.value(1));
    return state;
}

} // namespace

int 有内容行数(const QList<QStringList> &rows, qsizetype workedOut) {
    return int(std::count_if(rows.cbegin(), rows.cend(), [workedOut](const QStringList &row) {
        for (qsizetype k = 0; k < row.size(); ++k)
            if (k != workedOut && !row[k].trimmed().isEmpty())
                return true;
        return false;
    }));
}

QList<版本摘要> 读保存状态(数据库连接 &connection, std::int32_t id) {
    const QList<版本摘要> kept = 读版本列表(connection, id);
    QList<版本摘要> states{现在的状态(connection, id)};
    states += kept;
    for (qsizetype i = 0; i < states.size(); ++i) {
        states[i].时间 = i < kept.size() ? kept[i].时间 : QString();
        states[i].办案人员 = i < kept.size() ? kept[i].办案人员 : QString();
        states[i].操作 = i == 0 ? QStringLiteral("当前") : QStringLiteral("保存");
    }
    return states;
}
