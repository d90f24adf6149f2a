#include "archive/case_record.h"

#include "archive/sql_text.h"
#include "common/number_text.h"
#include "common/varnel_error.h"

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

// The trigger that keeps the rows a statement deletes from 交款 or 债权 under the version of
// their case in the transaction under way, making that version first if there is none: a 删除
// when the case row is already gone, a 保存 otherwise.
QString 行触发器(const QString &table, const QStringList &columns) {
    QString old = QStringLiteral("OLD.id");
    for (const QString &c : columns)
        old += QStringLiteral(", OLD.") + c;
    return QStringLiteral(
               "CREATE TRIGGER 记下%1 BEFORE DELETE ON %1 WHEN OLD.ajid IS NOT NULL BEGIN\n"
               "  INSERT INTO 案件版本 (ajid, 名称, 办案人员, 操作, 事务)\n"
               "    SELECT OLD.ajid, c.名称, t.办案人员,\n"
               "           CASE WHEN c.ajid IS NULL THEN '删除' ELSE '保存' END, t.号\n"
               "    FROM 版本事务 t LEFT JOIN 案件 c ON c.ajid = OLD.ajid WHERE true\n"
               "    ON CONFLICT (事务, ajid) DO NOTHING;\n"
               "  INSERT INTO %1版本 SELECT v.版本, %2\n"
               "    FROM 案件版本 v JOIN 版本事务 t ON v.事务 = t.号 WHERE v.ajid = OLD.ajid;\n"
               "END")
        .arg(table, old);
}

// The record in varnel.db. 版本事务 holds the mark of the write transaction under way; every
// trigger finds (or makes) the version of its case under that mark, so that a save's two
// deletes, or a delete's three, make one version. A delete of the case row makes it a 删除.
const QStringList 记录结构{
    QStringLiteral("CREATE TABLE 案件版本 (\n"
                   "  版本 INTEGER PRIMARY KEY AUTOINCREMENT,\n"
                   "  ajid INTEGER NOT NULL,\n"
                   "  名称 TEXT,\n"
                   "  时间 TEXT NOT NULL DEFAULT (strftime('%Y-%m-%d %H:%M:%S', 'now', "
                   "'localtime')),\n"
                   "  办案人员 TEXT,\n"
                   "  操作 TEXT NOT NULL,\n"
                   "  事务 INTEGER NOT NULL\n"
                   ")"),
    QStringLiteral("CREATE UNIQUE INDEX 案件版本_事务 ON 案件版本 (事务, ajid)"),
    QStringLiteral("CREATE INDEX 案件版本_ajid ON 案件版本 (ajid)"),
    QStringLiteral("CREATE TABLE 交款版本 (版本 INTEGER NOT NULL, id INTEGER, 交款人 TEXT, "
                   "金额 TEXT, 交款时间 TEXT, 备注 TEXT)"),
    QStringLiteral("CREATE INDEX 交款版本_版本 ON 交款版本 (版本)"),
    QStringLiteral("CREATE TABLE 债权版本 (版本 INTEGER NOT NULL, id INTEGER, 债权人 TEXT, "
                   "债权金额 TEXT, 债权性质 TEXT, 其中抵押优先金额 TEXT, 分配金额 TEXT, 备注 TEXT)"),
    QStringLiteral("CREATE INDEX 债权版本_版本 ON 债权版本 (版本)"),
    QStringLiteral("CREATE TABLE 版本事务 (号 INTEGER NOT NULL, 办案人员 TEXT)"),
    QStringLiteral("INSERT INTO 版本事务 VALUES (0, NULL)"),
    QStringLiteral("CREATE TRIGGER 记下删除的案件 AFTER DELETE ON 案件 BEGIN\n"
                   "  INSERT INTO 案件版本 (ajid, 名称, 办案人员, 操作, 事务)\n"
                   "    SELECT OLD.ajid, OLD.名称, 办案人员, '删除', 号 FROM 版本事务 WHERE true\n"
                   "    ON CONFLICT (事务, ajid) DO UPDATE SET 操作 = '删除', 名称 = "
                   "excluded.名称;\n"
                   "END"),
    行触发器(QStringLiteral("交款"), {"交款人", "金额", "交款时间", "备注"}),
    行触发器(QStringLiteral("债权"),
             {"债权人", "债权金额", "债权性质", "其中抵押优先金额", "分配金额", "备注"}),
    // Removing old versions is one statement on 案件版本; their rows go with them.
    QStringLiteral("CREATE TRIGGER 删去版本行 AFTER DELETE ON 案件版本 BEGIN\n"
                   "  DELETE FROM 交款版本 WHERE 版本 = OLD.版本;\n"
                   "  DELETE FROM 债权版本 WHERE 版本 = OLD.版本;\n"
                   "END"),
};

QString 系统用户名() {
    for (const char *name : {"USERNAME", "USER", "LOGNAME"})
        if (const QString user = qEnvironmentVariable(name); !user.isEmpty())
            return user;
#ifdef Q_OS_UNIX
    // Started without a login's environment (a service, a desktop entry of another kind).
    if (const passwd *entry = getpwuid(geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
#endif
    return QString();
}

// The time of a version as text: the server formats its own clock; varnel.db keeps text.
QString 时间列(const 数据库连接 &connection) {
    return connection.在服务器上() ? QStringLiteral("to_char(v.时间, 'YYYY-MM-DD HH24:MI:SS')")
                                   : QStringLiteral("v.时间");
}

// A kept row holds something when one of its typed cells does: the blank entry row, stored with
// every save, does not count; nor does the distributed amount, which is worked out.
QString 有内容(const QString &table, const QStringList &columns) {
    QStringList any;
    for (const QString &c : columns)
        any << QStringLiteral("trim(coalesce(%1.%2, '')) <> ''").arg(table, c);
    return QLatin1Char('(') + any.join(QStringLiteral(" OR ")) + QLatin1Char(')');
}

QString 文本(const 记录集 &rows, int r, int k) {
    const QVariant v = rows.值(r, k);
    return v.isNull() ? QString() : v.toString();
}

} // namespace

bool 有版本记录(数据库连接 &connection) {
    return 打开记录集(connection, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE "
                                                 "name = '版本事务'"))
               .值(0, 0)
               .toInt() > 0;
}

void 补上版本记录(数据库连接 &connection) {
    数据库事务 transaction(connection);
    if (有版本记录(connection)) // another program added it while this one waited
        return;
    执行多条(connection, 记录结构);
    transaction.提交();
}

QString 版本事务开始语句() {
    return QStringLiteral("UPDATE 版本事务 SET 号 = 号 + 1, 办案人员 = ") +
           名称字面量(系统用户名());
}

QString 版本事务结束语句() {
    return QStringLiteral("UPDATE 版本事务 SET 办案人员 = NULL");
}

QList<版本摘要> 读版本列表(数据库连接 &connection, std::int32_t id) {
    const QString 版本 = QStringLiteral("SELECT 版本 FROM 案件版本 WHERE ajid = %1").arg(id);
    const 记录集 rows = 打开记录集(
        connection,
        QStringLiteral("SELECT v.版本, %1, v.办案人员, v.操作, v.名称, "
                       "(SELECT count(*) FROM 交款版本 p WHERE p.版本 = v.版本 AND %3), "
                       "(SELECT count(*) FROM 债权版本 d WHERE d.版本 = v.版本 AND %4) "
                       "FROM 案件版本 v WHERE v.ajid = %2 ORDER BY v.版本 DESC")
            .arg(时间列(connection))
            .arg(id)
            .arg(有内容(QStringLiteral("p"), {"交款人", "金额", "交款时间", "备注"}),
                 有内容(QStringLiteral("d"),
                        {"债权人", "债权金额", "债权性质", "其中抵押优先金额", "备注"})));
    QList<版本摘要> list;
    QHash<qint64, qsizetype> at;
    for (int r = 0; r < rows.RecordCount(); ++r) {
        at.insert(rows.值(r, 0).toLongLong(), list.size());
        list.append({rows.值(r, 0).toLongLong(), 文本(rows, r, 4), 文本(rows, r, 1),
                     文本(rows, r, 2), 文本(rows, r, 3), rows.值(r, 5).toInt(),
                     rows.值(r, 6).toInt(), Money{}});
    }
    // The claim amounts are texts as typed: added up as the window reads them, as money.
    const 记录集 amounts = 打开记录集(
        connection, QStringLiteral("SELECT 版本, 债权金额 FROM 债权版本 WHERE 版本 IN (%1)").arg(版本));
    for (int r = 0; r < amounts.RecordCount(); ++r)
        if (const auto i = at.find(amounts.值(r, 0).toLongLong()); i != at.end())
            list[*i].债权金额合计 += 文本金额(文本(amounts, r, 1));
    return list;
}

QList<版本摘要> 读已删除案件(数据库连接 &connection) {
    const 记录集 rows = 打开记录集(
        connection, QStringLiteral("SELECT v.版本, %1, v.办案人员, v.名称, "
                                   "(SELECT count(*) FROM 债权版本 d WHERE d.版本 = v.版本) "
                                   "FROM 案件版本 v WHERE v.操作 = '删除' ORDER BY v.版本 DESC")
                        .arg(时间列(connection)));
    QList<版本摘要> list;
    for (int r = 0; r < rows.RecordCount(); ++r)
        list.append({rows.值(r, 0).toLongLong(), 去尾空格(文本(rows, r, 3)), 文本(rows, r, 1),
                     文本(rows, r, 2), QStringLiteral("删除"), 0, rows.值(r, 4).toInt(), Money{}});
    return list;
}

案件行 读版本行(数据库连接 &connection, qint64 version) {
    const QString n = QString::number(version);
    return {行文本(打开记录集(connection, QStringLiteral("SELECT 交款人, 金额, 交款时间, 备注 "
                                                         "FROM 交款版本 WHERE 版本 = ") +
                                                n + QStringLiteral(" ORDER BY id"))),
            行文本(打开记录集(connection,
                              QStringLiteral("SELECT 债权人, 债权金额, 债权性质, 其中抵押优先金额, "
                                             "分配金额, 备注 FROM 债权版本 WHERE 版本 = ") +
                                  n + QStringLiteral(" ORDER BY id")))};
}

void 存回版本行(数据库连接 &connection, std::int32_t id, qint64 version) {
    const QString n = QString::number(version);
    const 记录集 counts = 打开记录集(
        connection, QStringLiteral("SELECT (SELECT count(*) FROM 交款版本 WHERE 版本 = %1), "
                                   "(SELECT count(*) FROM 债权版本 WHERE 版本 = %1)")
                        .arg(n));
    const QList<qint64> stored = 执行多条(
        connection,
        {QStringLiteral("INSERT INTO 交款 (ajid, 交款人, 金额, 交款时间, 备注) SELECT %1, 交款人, "
                        "金额, 交款时间, 备注 FROM 交款版本 WHERE 版本 = %2 ORDER BY id")
             .arg(id)
             .arg(n),
         QStringLiteral("INSERT INTO 债权 (ajid, 债权人, 债权金额, 债权性质, 其中抵押优先金额, "
                        "分配金额, 备注) SELECT %1, 债权人, 债权金额, 债权性质, 其中抵押优先金额, "
                        "分配金额, 备注 FROM 债权版本 WHERE 版本 = %2 ORDER BY id")
             .arg(id)
             .arg(n)});
    if (stored.value(0) != counts.值(0, 0).toLongLong() ||
        stored.value(1) != counts.值(0, 1).toLongLong())
        throw VarnelError(QStringLiteral("案件数据库没有存回这个版本的全部行，案件数据库没有改变。"
                                         "请告诉管理员。"));
}
