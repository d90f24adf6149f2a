#include "archive/server_connection.h"

#include "settings/archive_settings.h"
#include "archive/database.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>

#include <algorithm>
#include <libpq-fe.h>
#include <memory>
#include <optional>

namespace {

const char 未提交[] = "数据库服务器没有接受这次修改，案件档案没有改变。请再试一次。";
const char 连接中断[] = "与数据库服务器的连接中断了，这次操作没有完成，案件档案没有改变。请稍后再试。";

// SQLSTATE codes (PostgreSQL's error codes) the clerk can act on.
struct 错误类 {
    const char *代码; // prefix of the SQLSTATE
    const char *说明;
};
const 错误类 语句错误[] = {
    {"55P03", "别的办案人员正在保存或删除这个案件，请稍后再试。"},
    {"42501",
     "你的数据库用户没有使用案件档案的权限。请服务器管理员把你的用户加入 varnel_clerk 组。"},
    {"42P01", "服务器上的数据库里没有案件档案的数据表。请服务器管理员运行 "
              "setup-office-archive.sh 建立它们，或检查 varnel.ini 中的 dbname。"},
    {"57014", "服务器上的操作超过了允许的时间，已被取消，案件档案没有改变。请稍后再试。"},
    {"57P", "数据库服务器正在关闭或重新启动，这次操作没有完成，案件档案没有改变。请稍后再试。"},
    {"08", 连接中断},
    {"40", "另一个书记员同时在改同一个案件，这次操作没有完成。请再试一次。"},
    {"53", "数据库服务器资源不足（连接数、内存或磁盘），这次操作没有完成。请告诉服务器管理员。"},
};

// libpq reports a failed connection in words only, in the language of the program's locale
// (libpq's own words) or of the server's (the server's): each cause by its English words and by
// those of the Chinese translations. Certificates come before TLS in general: the libpq text
// about a missing root certificate names sslmode too.
struct 连接错误类 {
    QStringList 原文;
    const char *说明;
};
const QList<连接错误类> &连接错误() {
    static const QList<连接错误类> list{
        {{"timeout expired", "超时"},
         "数据库服务器在规定时间内没有应答。请检查网络和 varnel.ini 中的 "
         "host，或告诉服务器管理员。"},
        {{"Connection refused", "拒绝连接"},
         "数据库服务器拒绝连接，可能没有启动。请检查 varnel.ini 中的 host 和 "
         "port，或告诉服务器管理员。"},
        {{"could not translate host name", "无法解释主机名"},
         "找不到数据库服务器的主机名。请检查 varnel.ini 中的 host。"},
        {{"password authentication failed", "Password 认证失败"},
         "数据库服务器不接受你的密码。请检查 ~/.pgpass 中这个服务器的一行。"},
        {{"no password supplied"},
         "数据库服务器要求密码，但 ~/.pgpass（或 PGPASSFILE 所指的文件）中没有与 varnel.ini 的 "
         "host、port、dbname 和 user 都相符的一行。请检查 varnel.ini 中的 dbname 和 user，"
         "或按说明书在 ~/.pgpass 中加上这一行。"},
        // Before the TLS causes: the server's refusal names the encryption it was asked with.
        {{"pg_hba.conf"},
         "数据库服务器不允许从这台电脑以这个用户连接。请告诉服务器管理员。"},
        {{"server does not support SSL", "服务器不支持 SSL"},
         "数据库服务器不提供加密连接（TLS），而 varnel.ini 要求加密。请告诉服务器管理员开启 TLS。"},
        {{"certificate", "认证文件", "证书"},
         "数据库服务器的证书不能验证。请检查 varnel.ini 中的 sslrootcert 和 host。"},
        {{"SSL"},
         "与数据库服务器建立加密连接（TLS）失败。请检查 varnel.ini 中的 sslmode 和 "
         "sslrootcert，或告诉服务器管理员。"},
        {{"permission denied for database", "权限不够"},
         "你的数据库用户没有连接案件档案的权限。请服务器管理员把你的用户加入 varnel_clerk 组。"},
        {{"does not exist", "不存在"},
         "数据库服务器上没有 varnel.ini 所写的数据库或用户。请检查 dbname 和 user。"},
        {{"shutting down", "starting up", "停止中", "启动中"},
         "数据库服务器正在关闭或启动。请稍后再试。"},
    };
    return list;
}

QString 引擎原文(const QSqlError &error) {
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.driverText().trimmed() : text;
}

VarnelError 带原文(const QString &sentence, const QString &engine) {
    return VarnelError(engine.isEmpty() ? sentence : sentence + u'\n' + engine);
}

// libpq does not read a password file that others may read (it only warns, on its error
// output, which the clerk never sees): the clerk is told so instead of "no line for the server".
bool 口令文件权限太宽() {
#ifdef Q_OS_WIN
    return false; // libpq does not check it there
#else
    QString file = qEnvironmentVariable("PGPASSFILE");
    if (file.isEmpty())
        file = QDir::homePath() + QStringLiteral("/.pgpass");
    const QFileInfo info(file);
    return info.exists() &&
           (info.permissions() & (QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                  QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                  QFileDevice::WriteOther | QFileDevice::ExeOther));
#endif
}

// The settings file's words in a message name the file that was read.
VarnelError 连接失败(const QSqlError &error, const QString &settingsFile) {
    const QString engine = 引擎原文(error);
    QString sentence =
        QStringLiteral("不能连接数据库服务器。请检查 varnel.ini 中的连接串，或告诉服务器管理员。");
    for (const auto &c : 连接错误())
        if (std::any_of(c.原文.cbegin(), c.原文.cend(),
                        [&](const QString &words) { return engine.contains(words); })) {
            sentence = QString::fromUtf8(c.说明);
            break;
        }
    if (engine.contains(QStringLiteral("no password supplied")) && 口令文件权限太宽())
        sentence = QStringLiteral("~/.pgpass 的权限必须是 0600：数据库程序不读别人也能读写的口令文件。"
                                  "请执行 chmod 600 ~/.pgpass。");
    sentence.replace(QStringLiteral("~/.pgpass"), 口令文件());
    if (!settingsFile.isEmpty())
        sentence.replace(QStringLiteral("varnel.ini"),
                         QStringLiteral("设置文件 ") + QDir::toNativeSeparators(settingsFile));
    return 带原文(sentence, engine);
}

// Keepalives act on an idle link only: a link that dies while data is on its way (a COMMIT) is
// given up after 30 s unacknowledged, unless the connection string sets its own limit.
QString 加发送时限(const QString &连接串) {
    QString error;
    if (连接串的键(连接串, &error).contains(QStringLiteral("tcp_user_timeout")))
        return 连接串;
    return 连接串 + QStringLiteral(" tcp_user_timeout=30000");
}

} // namespace

bool 是名称重复(const QString &sqlstate, const QString &constraint) {
    return sqlstate == QStringLiteral("23505") && constraint == QStringLiteral("案件_名称_唯一");
}

VarnelError 服务器错误(const QSqlError &error, const QString &constraint) {
    const QString code = error.nativeErrorCode();
    if (code.isEmpty() && error.type() == QSqlError::ConnectionError)
        return 连接失败(error, QString());
    if (是名称重复(code, constraint))
        return VarnelError(QStringLiteral("名称重复，不能保存，请改变名称保存！"));
    for (const auto &c : 语句错误)
        if (!code.isEmpty() && code.startsWith(QLatin1String(c.代码)))
            return 带原文(QString::fromUtf8(c.说明), 引擎原文(error));
    // No SQLSTATE: the connection went away in the middle of a statement.
    if (code.isEmpty())
        return 带原文(QString::fromUtf8(连接中断), 引擎原文(error));
    return 带原文(QStringLiteral("案件档案服务器出错，这次操作没有完成。请告诉服务器管理员。"),
                  引擎原文(error));
}

namespace {

// The libpq connection under Qt's connection `name`; null when it is not an open PostgreSQL one.
PGconn *连接句柄(const QString &name) {
    const QSqlDatabase db = QSqlDatabase::database(name, false);
    const QVariant handle = db.isOpen() ? db.driver()->handle() : QVariant();
    // The driver's type name is that of libpq's struct behind the PGconn typedef.
    if (!handle.isValid() || (qstrcmp(handle.typeName(), "pg_conn*") != 0 &&
                              qstrcmp(handle.typeName(), "PGconn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

struct 结果释放 {
    void operator()(PGresult *r) const { PQclear(r); }
};
using 结果 = std::unique_ptr<PGresult, 结果释放>;

// A failed result (or none, when the connection went away) as the clerk's message.
VarnelError 结果错误(PGconn *conn, const PGresult *r) {
    const QString code = QString::fromUtf8(r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr);
    const QString text =
        QString::fromUtf8(r ? PQresultErrorMessage(r) : PQerrorMessage(conn)).trimmed();
    // A statement's failure, also when the link went: 服务器错误 keeps the words about making a
    // connection (the host, the password file) for a connection that could not be made.
    return 服务器错误(QSqlError(QString(), text, QSqlError::StatementError, code),
                      QString::fromUtf8(r ? PQresultErrorField(r, PG_DIAG_CONSTRAINT_NAME) : nullptr));
}

// The open connection of `name`, or the error of a lost one.
PGconn *可用连接(const QString &name) {
    PGconn *conn = 连接句柄(name);
    if (!conn || PQstatus(conn) != CONNECTION_OK)
        throw 服务器错误(QSqlError(QString(), conn ? QString::fromUtf8(PQerrorMessage(conn)) : QString(),
                                   QSqlError::StatementError, QString()));
    return conn;
}

} // namespace

QList<qint64> 服务器执行(const QString &name, const QString &sql) {
    PGconn *conn = 可用连接(name);
    if (!PQsendQuery(conn, sql.toUtf8().constData()))
        throw 结果错误(conn, nullptr);
    // Every result is read, also after a failure: the connection is idle again only then.
    QList<qint64> changed;
    std::optional<VarnelError> failure;
    while (PGresult *raw = PQgetResult(conn)) {
        const 结果 r(raw);
        const ExecStatusType status = PQresultStatus(raw);
        if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
            changed << QByteArray(PQcmdTuples(raw)).toLongLong();
        else if (!failure)
            failure = 结果错误(conn, raw);
    }
    if (!failure && PQstatus(conn) != CONNECTION_OK)
        failure = 结果错误(conn, nullptr);
    if (failure)
        throw *failure;
    return changed;
}

void 服务器提交(const QString &name) {
    PGconn *conn = 可用连接(name);
    // A transaction already ended (a ROLLBACK went out) would make COMMIT a mere warning: refused
    // before it is sent. One that a failure left aborted is sent its COMMIT, which ends it, and
    // the server answers ROLLBACK.
    const PGTransactionStatusType status = PQtransactionStatus(conn);
    if (status != PQTRANS_INTRANS && status != PQTRANS_INERROR)
        throw VarnelError(QString::fromUtf8(未提交));
    const 结果 r(PQexec(conn, "COMMIT"));
    // An error of the server's own (it carries a SQLSTATE) means the transaction was not
    // committed; no answer, or one made up by libpq for a lost link, leaves a live transaction's
    // outcome unknown (an aborted one cannot have been committed).
    const bool answered = r && (PQresultStatus(r.get()) == PGRES_COMMAND_OK ||
                                PQresultErrorField(r.get(), PG_DIAG_SQLSTATE) != nullptr);
    if (!answered && status == PQTRANS_INTRANS)
        throw 提交结果不明(QString::fromUtf8(PQerrorMessage(conn)).trimmed());
    if (!answered)
        throw VarnelError(QString::fromUtf8(未提交));
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
        throw 结果错误(conn, r.get());
    // An aborted transaction is ended with ROLLBACK, reported as a success of the command.
    if (qstrcmp(PQcmdStatus(r.get()), "COMMIT") != 0)
        throw VarnelError(QString::fromUtf8(未提交));
}

void 打开服务器连接(const QString &name, const QString &连接串, const QString &设置文件) {
    QSqlDatabase db = QSqlDatabase::database(name, false);
    db.setConnectOptions(加发送时限(补全连接串(连接串)));
    if (!db.open())
        throw 连接失败(db.lastError(), 设置文件);
    // A save waits for another clerk's lock at most 10 s and no statement runs past 60 s, unless
    // the office set its own limits; in the same round trip, the check of how quoted texts read.
    QStringList settings;
    const QString given = 连接串 + u' ' + qEnvironmentVariable("PGOPTIONS");
    for (const auto &[key, value] : {std::pair{"lock_timeout", "10s"}, {"statement_timeout", "60s"}})
        if (!given.contains(QLatin1String(key)))
            settings << QStringLiteral("set_config('%1', '%2', false)").arg(key, value);
    settings << QStringLiteral("current_setting('standard_conforming_strings')");
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT ") + settings.join(QStringLiteral(", "))) || !query.next())
        throw 服务器错误(query.lastError());
    if (query.value(int(settings.size()) - 1).toString() != QStringLiteral("on"))
        throw VarnelError(
            QStringLiteral("数据库服务器的 standard_conforming_strings 设置不是 on，"
                           "案件里的反斜杠会被误读，所以不能使用案件档案。请服务器管理员把它设为 "
                           "on（PostgreSQL 的默认值）。"));
}
