#pragma once

#include <QString>
#include <functional>

// The blank-row rule of the editable tables: the last row stays blank for the next entry.
// After row editedRow of a table of rowCount rows (header included) has been written, returns
// +1 when a row is to be appended (the last row has a filled cell), -1 when the last row is to
// be removed (the edited row is above it, the table has more than 2 rows and the row above the
// last is blank), else 0. filled(r) tells whether row r has a filled cell.
int 末行变化(int rowCount, int editedRow, const std::function<bool(int)> &filled);

// After a block of cells was written into a table of rowCount rows: the row count that leaves
// exactly one blank row at the bottom. Trailing rows go while the last two rows hold nothing
// (empty(r)); then a row is appended when the last row has a filled cell (filled(r)), as the
// rule above does. Never below 2 rows.
int 块后行数(int rowCount, const std::function<bool(int)> &empty,
             const std::function<bool(int)> &filled);

// A cell is filled when its text with trailing blanks removed is not empty.
bool 单元已填(const QString &text);
