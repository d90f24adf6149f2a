#include "archive/case_rows.h"

#include "archive/sql_text.h"
#include "common/number_text.h"

QList<QStringList> 行文本(const 记录集 &rows) {
    QList<QStringList> result;
    for (const auto &row : rows.行) {
        QStringList texts;
        for (const QVariant &v : row)
            texts << (v.isNull() ? QString() : 去尾空格(v.toString()));
        result << texts;
    }
    return result;
}

QStringList 读回文本(const QStringList &literals) {
    QStringList texts;
    for (const QString &literal : literals)
        texts << (literal == QStringLiteral("Null")
                      ? QString()
                      : 去尾空格(literal.mid(1, literal.size() - 2)
                                     .replace(QStringLiteral("''"), QStringLiteral("'"))));
    return texts;
}

案件行 读案件行(数据库连接 &connection, std::int32_t id) {
    return {行文本(打开记录集(connection, 案件语句::读交款(id))),
            行文本(打开记录集(connection, 案件语句::读债权(id)))};
}

std::optional<案件行> 读出存储案件(std::int32_t id) {
    std::unique_ptr<数据库连接> connection;
    打开数据库(connection);
    数据库事务 reading(*connection, 事务类::读);
    if (打开记录集(*connection, 案件语句::查案件在否(id)).RecordCount() == 0)
        return std::nullopt;
    案件行 rows = 读案件行(*connection, id);
    reading.回滚(); // nothing was written: ending the read is all
    return rows;
}
