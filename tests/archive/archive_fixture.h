#pragma once

#include "archive/database.h"
#include "host_path.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
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

// Ways varnel.db can fail a command, made after a healthy first save: gone, not a database, a
// table missing, opened read-only, locked by another copy, or being written by another copy in
// the middle of its own save (reading works, writing must wait). `holder` keeps the lock.
inline void 弄坏文件(const QString &kind, const QString &file, std::unique_ptr<Reader> &holder) {
    if (kind == "missing") {
        QFile::remove(file);
    } else if (kind == "not a database") {
        QFile f(file);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        QByteArray junk(8192, '\0');
        for (char &b : junk)
            b = char(QRandomGenerator::global()->bounded(256));
        f.write(junk);
    } else if (kind == "no claims table") {
        Reader(file).rows("DROP TABLE 债权");
    } else if (kind == "read-only") {
        数据库设置::打开方式 = QStringLiteral("ro");
    } else if (kind == "locked" || kind == "being written") {
        数据库设置::忙等待毫秒 = 100;
        holder = std::make_unique<Reader>(file);
        holder->rows(kind == "locked" ? "BEGIN EXCLUSIVE" : "BEGIN IMMEDIATE");
    }
}

inline QByteArray 文件内容(const QString &file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}
