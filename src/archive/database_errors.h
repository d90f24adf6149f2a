#pragma once

#include "common/varnel_error.h"

#include <QSqlError>

// A failure of the case database as the message the clerk reads: a short Chinese sentence that
// names the file, then the database engine's own words.
VarnelError 打开错误(const QSqlError &error, const QString &file);
VarnelError 数据库错误(const QSqlError &error, const QString &file);
