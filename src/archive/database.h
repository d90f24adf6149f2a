#pragma once

#include "archive/database_errors.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <memory>

// Access to the case database: varnel.db in the application directory, or the office archive on a
// PostgreSQL server when varnel.ini names one. Every command opens a connection of its own, runs
// its statements and lets the connection go when it ends, whichever way it ends; nothing lives
// from one command to the next.

// The database file: the application directory, trailing blanks removed, and "varnel.db".
QString 案件数据库文件();

// One command's connection to the case database, under a name of its own; closed and removed
// from Qt's list of connections when destroyed. Opening never creates the file: a missing file,
// or a file that is not a readable case database, is an error here, at the open. What the
// command uses it for is named in the messages of its failures.
class 数据库连接 {
  public:
    数据库连接(const QString &file, 数据库用途 use);
    // A connection to the office archive on a server, through libpq's connection string.
    struct 服务器 {
        QString 连接串;
        QString 设置文件; // where the string was read, for the messages
    };
    数据库连接(const 服务器 &server, 数据库用途 use);
    ~数据库连接();
    数据库连接(const 数据库连接 &) = delete;
    数据库连接 &operator=(const 数据库连接 &) = delete;

    const QString &连接名() const { return 名; }
    const QString &文件() const { return 路径; }
    数据库用途 用途() const { return 用于; }
    bool 在服务器上() const { return 服务器上; }
    // varnel.db holds the record of versions, whose triggers need each write transaction marked.
    bool 记版本() const { return 有记录; }

  private:
    QString 名;
    QString 路径;
    数据库用途 用于;
    bool 服务器上 = false;
    bool 有记录 = false;
};

// The rows of a query, read completely, so that the count is exact.
struct 记录集 {
    QStringList 字段;
    QList<QList<QVariant>> 行;
    int RecordCount() const { return int(行.size()); }
    // Field k of row r; a row or field that is not there raises an error.
    QVariant 值(int r, int k) const;
};

// Opens a new connection to the case database into `connection`, replacing what was there.
void 打开数据库(std::unique_ptr<数据库连接> &connection, 数据库用途 use = 数据库用途::读出);
// Runs a query and returns all of its rows.
记录集 打开记录集(数据库连接 &connection, const QString &sql);
// Runs one statement that changes data; returns the rows it changed.
qint64 执行(数据库连接 &connection, const QString &sql);
// Runs statements that change data, each text as given: on a server joined by ";" into one
// round trip, on SQLite one after another. Every statement's outcome is checked: the first that
// fails is thrown. Returns the rows each statement changed, in order.
QList<qint64> 执行多条(数据库连接 &connection, const QStringList &sqls);
// Inside a transaction: holds the stored case `id` against other writers until the transaction
// ends (on SQLite, BEGIN IMMEDIATE holds the whole file already).
void 锁定案件(数据库连接 &connection, std::int32_t id);

// A save's or a delete's statements as one whole: begun with BEGIN IMMEDIATE, so that no other
// program can write between them (on a server, READ COMMITTED whatever the server's default);
// rolled back when destroyed before 提交(). On a server, 提交() throws 提交结果不明 when COMMIT
// went out and no answer of the server's came back. A load's reads as
// one state of the archive: a read transaction (REPEATABLE READ on a server), which no save of
// another program splits.
enum class 事务类 { 写, 读 };

// A save's or a delete's COMMIT was sent to the server and no answer of the server's came back
// (the link or the server went while it was under way): the server may have kept the change or
// not. The description is the clerk's message, to be shown once the case has been read back
// from the server; the words of the client library are kept apart.
class 提交结果不明 : public VarnelError {
  public:
    explicit 提交结果不明(QString words)
        : VarnelError(QStringLiteral("不能确定服务器是否已保存。已重新读出服务器上的案件内容，请核对。")),
          原文(std::move(words)) {}
    const QString 原文;
};
class 数据库事务 {
  public:
    explicit 数据库事务(数据库连接 &connection, 事务类 kind = 事务类::写);
    ~数据库事务();
    数据库事务(const 数据库事务 &) = delete;
    数据库事务 &operator=(const 数据库事务 &) = delete;
    void 提交();
    void 回滚();

  private:
    数据库连接 &连接;
    bool 进行中 = false;
    bool 记版本 = false;
};

// What the tests may set: every statement run is told to the recorder (事务语句 true for
// BEGIN IMMEDIATE, COMMIT and ROLLBACK); the mode the file is opened with ("rw", or "ro" to
// stand for a file that cannot be written); how long a busy database is waited for.
namespace 数据库设置 {
inline std::function<void(const QString &sql, bool 事务语句)> 语句记录;
inline QString 打开方式 = QStringLiteral("rw");
inline int 忙等待毫秒 = 5000;
} // namespace 数据库设置
