#pragma once

#include "host_path.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QTest>

// Where the clerk is told to put passwords, in the platform's own words.
#ifdef Q_OS_WIN
inline const QString 口令文件名 = QStringLiteral("%APPDATA%\\postgresql\\pgpass.conf");
#else
inline const QString 口令文件名 = QStringLiteral("~/.pgpass");
#endif

// The rows a query answers, as texts; NULL reads as "<NULL>".
inline QList<QStringList> queryRows(QSqlQuery &q) {
    QList<QStringList> out;
    while (q.next()) {
        QStringList row;
        for (int k = 0; k < q.record().count(); ++k)
            row << (q.value(k).isNull() ? QStringLiteral("<NULL>") : q.value(k).toString());
        out << row;
    }
    return out;
}

// A case database made from the program's schema file with the sqlite3 shell, as the build
// makes it; false when the shell failed.
inline bool makeCaseDatabase(const QString &file, const QString &extraSql = QString()) {
    if (runOnHost(QStringLiteral("sqlite3"), {file}, QStringLiteral(VARNEL_SCHEMA_FILE), 20000)
            .exitCode != 0)
        return false;
    return extraSql.isEmpty() ||
           runOnHost(QStringLiteral("sqlite3"), {file, extraSql}, QString(), 20000).exitCode == 0;
}

// Reads the database through a connection of its own, apart from the program's access code.
// NULL reads as "<NULL>". A reader in another thread takes a connection name of its own.
class Reader {
  public:
    explicit Reader(const QString &file, QString connection = QStringLiteral("test-reader"))
        : name(std::move(connection)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        // No waiting: a lock held by the program shows at once.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        db.open();
    }
    ~Reader() {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    bool exec(const QString &sql) const {
        QSqlQuery q(QSqlDatabase::database(name));
        return q.exec(sql);
    }
    QList<QStringList> rows(const QString &sql) const {
        QSqlQuery q(QSqlDatabase::database(name));
        if (!q.exec(sql)) {
            qWarning("reader: %s", qPrintable(q.lastError().text()));
            return {};
        }
        return queryRows(q);
    }
    // Every row of the three tables, in key order: the whole content of the database.
    QList<QStringList> everything() const {
        return rows(QStringLiteral("SELECT 'c', ajid, 名称, '', '', '', '', '', '' FROM 案件 "
                                   "UNION ALL SELECT 'p', id, ajid, 交款人, 金额, 交款时间, 备注, "
                                   "'', '' FROM 交款 UNION ALL SELECT 'd', id, ajid, 债权人, "
                                   "债权金额, 债权性质, 其中抵押优先金额, 分配金额, 备注 FROM 债权 "
                                   "ORDER BY 1, 2"));
    }
    QString scalar(const QString &sql) const {
        const auto r = rows(sql);
        return r.isEmpty() || r[0].isEmpty() ? QString() : r[0][0];
    }

  private:
    QString name;
};
