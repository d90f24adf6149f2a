#pragma once

#include "common/varnel_error.h"

#include <QList>
#include <QSqlError>
#include <QString>

// The office archive on a PostgreSQL server, reached through Qt's QPSQL driver: the connection
// string goes to libpq as written (with the defaults of 补全连接串), so that libpq's service file,
// ~/.pgpass, TLS settings and PG* variables work as libpq documents them.

// Opens the Qt connection `name` (already added with the QPSQL driver) and checks that the server
// reads quoted texts as the statements expect them (standard_conforming_strings on). Throws a
// VarnelError saying what went wrong and what to do, naming the settings file the connection
// string came from; the connection is then closed.
void 打开服务器连接(const QString &name, const QString &连接串, const QString &设置文件);

// What the clerk is told about a failure on the server: a Chinese sentence saying what happened
// and what to do, then the server's own words on a line of their own. `constraint` names the
// constraint the server reported, when it named one.
VarnelError 服务器错误(const QSqlError &error, const QString &constraint = QString());

// True when the failure is the unique case name refusing a second case of the same name: a
// unique violation (SQLSTATE 23505) of the constraint 案件_名称_唯一, and no other.
bool 是名称重复(const QString &sqlstate, const QString &constraint);

// Runs the statements of `sql` (one or more, joined by ";") on the open connection `name` in one
// round trip, through libpq itself: Qt's driver reports only the first statement's outcome of
// such a text. Every statement's result is read; the first failure is thrown as 服务器错误 (the
// server skips what follows it). Returns the rows each statement changed, in order.
QList<qint64> 服务器执行(const QString &name, const QString &sql);

// Ends the open transaction of connection `name` with COMMIT, and throws unless the server
// really committed it: a transaction that an earlier failure left aborted is answered with
// ROLLBACK, not with an error, and one already ended is refused here before COMMIT is sent.
// COMMIT sent on a live transaction and no answer of the server's back: 提交结果不明.
void 服务器提交(const QString &name);
