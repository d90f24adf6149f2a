#include "archive/database.h"

#include "settings/archive_settings.h"
#include "archive/case_record.h"
#include "archive/server_connection.h"

#include "common/app_dir.h"
#include "common/number_text.h"
#include "common/varnel_error.h"

#include <QAtomicInteger>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

namespace {

QString 新连接名() {
    static QAtomicInteger<quint64> count;
    return QStringLiteral("varnel-case-db-%1").arg(++count);
}

VarnelError 语句错误(const 数据库连接 &connection, const QSqlError &error) {
    return connection.在服务器上() ? 服务器错误(error)
                                   : 数据库错误(error, connection.文件(), connection.用途());
}

// Every statement of the archive passes through here.
QSqlQuery 运行语句(数据库连接 &connection, const QString &sql, bool 事务语句) {
    if (数据库设置::语句记录)
        数据库设置::语句记录(sql, 事务语句);
    QSqlQuery query(QSqlDatabase::database(connection.连接名(), false));
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throw 语句错误(connection, query.lastError());
    return query;
}

// Closes a connection and takes it off Qt's list; the handle is let go before the removal.
void 移除连接(const QString &name) {
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
}

} // namespace

QString 案件数据库文件() {
    return 去尾空格(应用目录()) + QStringLiteral("varnel.db");
}

数据库连接::数据库连接(const QString &file, 数据库用途 use)
    : 名(新连接名()), 路径(file), 用于(use) {
    bool opened = false;
    QSqlError failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), 名);
        // The URI form with mode=rw opens an existing file and never creates one. Building it
        // from a local file URL keeps '#' and '?' of a folder name inside the path.
        db.setDatabaseName(QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) +
                           QStringLiteral("?mode=") + 数据库设置::打开方式);
        db.setConnectOptions(
            QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(数据库设置::忙等待毫秒));
        opened = db.open();
        failure = db.lastError();
    }
    if (!opened) {
        移除连接(名);
        throw 打开错误(failure, file, 用于);
    }
    // SQLite opens any file without reading it; reading the schema tells at once whether this
    // is a database at all. A file made before the record of versions gains it now; a file that
    // cannot take it (read-only, or held by another program) is still read, but not written.
    try {
        有记录 = 有版本记录(*this);
        if (!有记录) {
            try {
                补上版本记录(*this);
                有记录 = true;
            } catch (const VarnelError &) {
                if (use != 数据库用途::读出)
                    throw;
            }
        }
    } catch (...) {
        移除连接(名);
        throw;
    }
}

数据库连接::数据库连接(const 服务器 &server, 数据库用途 use)
    : 名(新连接名()), 路径(QStringLiteral("案件档案服务器")), 用于(use), 服务器上(true) {
    QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), 名);
    try {
        打开服务器连接(名, server.连接串, server.设置文件);
    } catch (...) {
        移除连接(名);
        throw;
    }
}

数据库连接::~数据库连接() {
    移除连接(名);
}

QVariant 记录集::值(int r, int k) const {
    if (r < 0 || r >= 行.size() || k < 0 || k >= 字段.size())
        throw VarnelError(QStringLiteral("案件数据库中没有找到所要的记录。"));
    return 行[r][k];
}

void 打开数据库(std::unique_ptr<数据库连接> &connection, 数据库用途 use) {
    connection.reset();
    const 档案设置 settings = 当前档案设置();
    if (settings.在服务器上())
        connection = std::make_unique<数据库连接>(数据库连接::服务器{settings.连接串, settings.文件}, use);
    else
        connection = std::make_unique<数据库连接>(案件数据库文件(), use);
}

记录集 打开记录集(数据库连接 &connection, const QString &sql) {
    QSqlQuery query = 运行语句(connection, sql, false);
    记录集 result;
    const QSqlRecord fields = query.record();
    for (int k = 0; k < fields.count(); ++k)
        result.字段 << fields.fieldName(k);
    while (query.next()) {
        QList<QVariant> row;
        row.reserve(fields.count());
        for (int k = 0; k < fields.count(); ++k)
            row << query.value(k);
        result.行 << row;
    }
    if (query.lastError().isValid())
        throw 语句错误(connection, query.lastError());
    return result;
}

qint64 执行(数据库连接 &connection, const QString &sql) {
    return 执行多条(connection, {sql}).value(0);
}

QList<qint64> 执行多条(数据库连接 &connection, const QStringList &sqls) {
    QList<qint64> changed;
    if (!connection.在服务器上()) {
        for (const QString &sql : sqls)
            changed << 运行语句(connection, sql, false).numRowsAffected();
        return changed;
    }
    // Joined in groups, so that one execution's text stays of a moderate size.
    constexpr qsizetype 每组 = 500;
    for (qsizetype i = 0; i < sqls.size(); i += 每组) {
        const QString text = sqls.mid(i, 每组).join(u';');
        if (数据库设置::语句记录)
            数据库设置::语句记录(text, false);
        changed << 服务器执行(connection.连接名(), text);
    }
    return changed;
}

void 锁定案件(数据库连接 &connection, std::int32_t id) {
    // A row lock (SELECT … FOR UPDATE) would need UPDATE rights, which clerks do not have; a
    // transaction-scoped advisory lock on the case number holds the case the same way.
    if (connection.在服务器上())
        执行(connection, QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(id));
}

数据库事务::数据库事务(数据库连接 &connection, 事务类 kind) : 连接(connection) {
    QString begin;
    if (kind == 事务类::读)
        begin = 连接.在服务器上() ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")
                                  : QStringLiteral("BEGIN");
    else
        // READ COMMITTED whatever the server's default: each statement of a save sees what was
        // committed before it, so the check made once the case lock is granted sees the change
        // of the clerk who held it.
        begin = 连接.在服务器上() ? QStringLiteral("BEGIN ISOLATION LEVEL READ COMMITTED")
                                  : QStringLiteral("BEGIN IMMEDIATE");
    运行语句(连接, begin, true);
    进行中 = true;
    记版本 = kind == 事务类::写 && 连接.记版本();
    if (记版本)
        运行语句(连接, 版本事务开始语句(), false);
}

数据库事务::~数据库事务() {
    try {
        回滚();
    } catch (...) {
        // SQLite may have rolled back already; closing the connection ends what is left.
    }
}

void 数据库事务::回滚() {
    if (!进行中)
        return;
    进行中 = false;
    运行语句(连接, QStringLiteral("ROLLBACK"), true);
}

void 数据库事务::提交() {
    if (!连接.在服务器上()) {
        if (记版本)
            运行语句(连接, 版本事务结束语句(), false);
        运行语句(连接, QStringLiteral("COMMIT"), true);
        进行中 = false;
        return;
    }
    if (数据库设置::语句记录)
        数据库设置::语句记录(QStringLiteral("COMMIT"), true);
    // Whatever the answer, the transaction has ended: COMMIT was refused or done, or the
    // aborted transaction was never sent one and the connection is let go with it.
    进行中 = false;
    服务器提交(连接.连接名());
}
