#pragma once

#include "archive/case_record.h"

#include <QList>
#include <cstdint>

// The stored states of case `id`, newest first, as the clerk reads a case's history: first what
// is stored now (版本 0), then each kept version. Each state carries the time it was saved and
// the clerk who saved it: the record keeps the rows a save replaced under the time of that save,
// so a kept state was saved by the save before it, and the oldest by the first save of the case,
// whose time the record does not hold (left empty). Row counts are of rows that hold something.
QList<版本摘要> 读保存状态(数据库连接 &connection, std::int32_t id);

// The rows that hold something typed; `workedOut`, a column the window works out itself (the
// distributed amount), makes no row count.
int 有内容行数(const QList<QStringList> &rows, qsizetype workedOut = -1);
