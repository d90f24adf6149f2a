#pragma once

#include "common/varnel_error.h"

#include <QSqlError>

// What a command was doing with the case database when it failed: the message names it.
enum class 数据库用途 { 读出, 保存, 删除 };

// A failure of the case database as the message the clerk reads: first what happened and what
// to do, in one Chinese sentence; then, on a line of its own, the database engine's own words;
// then the file.
VarnelError 打开错误(const QSqlError &error, const QString &file, 数据库用途 use);
VarnelError 数据库错误(const QSqlError &error, const QString &file, 数据库用途 use);
