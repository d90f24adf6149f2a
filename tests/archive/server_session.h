#pragma once

// A connection of the test's own to the tests' server, apart from the program's: statements run
// as a given role, as psql would run them.

#include "engine_fixture.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <libpq-fe.h>
#ifdef _WIN32
#include <winsock2.h> // a test program that includes this file includes it first of all
#else
#include <sys/socket.h>
#endif

// The libpq connection of the archive command under way: the program's connections are the only
// ones named varnel-case-db-…, and its server connection the only one among them on QPSQL.
inline PGconn *命令的连接() {
    for (const QString &name : QSqlDatabase::connectionNames()) {
        const QSqlDatabase db = QSqlDatabase::database(name, false);
        if (name.startsWith(QStringLiteral("varnel-case-db-")) &&
            db.driverName() == QLatin1String("QPSQL"))
            return *static_cast<PGconn *const *>(db.driver()->handle().constData());
    }
    return nullptr;
}

// Cuts the command's link to the server: only the answers, or both ways.
inline void 切断(bool 发送也断) {
#ifdef _WIN32
    ::shutdown(PQsocket(命令的连接()), 发送也断 ? SD_BOTH : SD_RECEIVE);
#else
    ::shutdown(PQsocket(命令的连接()), 发送也断 ? SHUT_RDWR : SHUT_RD);
#endif
}

struct 会话 {
    QString name;
    QSqlDatabase db;
    explicit 会话(const QString &user, const QString &n = QStringLiteral("session")) : name(n) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setConnectOptions(TestServer::get().clerk(user));
        db.open();
    }
    ~会话() {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    会话(const 会话 &) = delete;
    会话 &operator=(const 会话 &) = delete;
    // Runs the statements in order; the SQLSTATE of the first that fails, or an empty text.
    QString run(const QStringList &sqls) {
        QSqlQuery q(db);
        for (const QString &sql : sqls)
            if (!q.exec(sql))
                return q.lastError().nativeErrorCode();
        return QString();
    }
    // The first field of the first row, as text.
    QString value(const QString &sql) {
        QSqlQuery q(db);
        return q.exec(sql) && q.next() ? q.value(0).toString() : QStringLiteral("<failed>");
    }
};
