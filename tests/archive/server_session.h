#pragma once

// A connection of the test's own to the tests' server, apart from the program's: statements run
// as a given role, as psql would run them.

#include "engine_fixture.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

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
