#pragma once

#include "common/grid.h"
#include "common/table_text.h"

#include <functional>
#include <optional>

// The cells of one pasted row by the grid column they go to.
class 粘贴行 {
  public:
    粘贴行(int firstCol, const QStringList &cells) : 首列(firstCol), 格(cells) {}
    // The pasted text for a column; nothing when the block does not reach that column.
    std::optional<QString> 文本(int col) const {
        const int i = col - 首列;
        return i >= 0 && i < 格.size() ? std::optional<QString>(格[i]) : std::nullopt;
    }

  private:
    int 首列;
    const QStringList &格;
};

// How a table takes a pasted block: the columns the blank-row rule looks at (0..末填列), the
// columns never written (the program's own results), and the test of a cell, the same test
// that typing into the cell passes. 检查 returns why a cell cannot take the text as the end of
// a message line ("“12a”不是数字"), or the empty text when it can.
// 行名 names a row in the messages, since the tables show no row numbers ("债权人“丁”"; empty
// for a row without a name). 整理 may tidy a cell's text before its test and returns a note for
// the clerk on a cell that is written all the same (empty for none).
struct 粘贴规则 {
    int 末填列 = 0;
    std::function<bool(int col)> 跳过 = [](int) { return false; };
    std::function<QString(int row, int col, const QString &text, const 粘贴行 &pasted)> 检查;
    std::function<QString(int row)> 行名;
    std::function<QString(int row, int col, QString &text)> 整理;
};

// The rows of a grid from a row on, as they were before a paste.
struct 粘贴前行 {
    int 行数 = 0;
    int 首行 = 0;
    表格块 行;
};
void 恢复快照(FlexGrid &grid, const 粘贴前行 &snapshot);

// How a 检查 names a refused cell: "“12a”不是数字".
QString 粘贴拒绝(const QString &text, const QString &why);

struct 粘贴结果 {
    QStringList 未粘贴; // one message line per cell not written
    QStringList 提醒;   // one line per cell written with a note
    int 截去列 = 0;     // columns of the block beyond the table's last column
    粘贴前行 原样;
};

// Writes a block into a grid from a data cell rightwards and downwards: rows are added as
// needed, cells beyond the last column are cut, skipped columns and cells that fail their test
// are not written; then exactly one blank row is left at the bottom.
粘贴结果 粘贴块(FlexGrid &grid, int row, int col, const 表格块 &block, const 粘贴规则 &rules);

// Empties the data cells of a block but the skipped columns; the blank-row rule runs once, with
// the block's bottom row as the edited row.
void 清空块(FlexGrid &grid, const 格块 &block, const 粘贴规则 &rules);

// Where a paste into a grid goes: the top left cell of its selection, the first data row when
// the selection came from the header; nothing when no cell is selected.
std::optional<std::pair<int, int>> 粘贴位置(const FlexGrid &grid);

// What the clerk is told after a paste: the cut columns, the cells not written, at most 20 of them
// and the count of the rest, then the notes; empty when the whole block was written unremarked.
QString 粘贴提示文本(const 粘贴结果 &result);
inline const QString 粘贴提示标题 = QStringLiteral("粘贴提示");
