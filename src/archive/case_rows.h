#pragma once

#include "archive/database.h"

#include <QList>
#include <QStringList>
#include <cstdint>
#include <optional>

// The rows of a stored case as the window shows them once loaded: each cell's text with its
// trailing blanks removed, NULL as an empty text. What a window loaded or last saved is compared
// with what is stored before a save, so that a change by someone else is never overwritten
// unasked.
struct 案件行 {
    QList<QStringList> 交款;
    QList<QStringList> 债权;
    bool operator==(const 案件行 &) const = default;
};

// The rows of a query as texts, as above.
QList<QStringList> 行文本(const 记录集 &rows);

// What a load reads back of stored literals (单元字面量): the text between the quotes, quotes
// undoubled, trailing blanks removed; an empty text for Null.
QStringList 读回文本(const QStringList &literals);

// The stored rows of case `id`, read with the load command's two queries.
案件行 读案件行(数据库连接 &connection, std::int32_t id);

// A stored case read whole, in one read transaction of its own connection, so that another
// program's save between the payments and the claims cannot mix two states: std::nullopt when
// the case is not stored (any more). A failure of any step raises, and nothing is returned.
std::optional<案件行> 读出存储案件(std::int32_t id);
