#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A block of cells as spreadsheets exchange it: rows of cell texts; rows may differ in length.
using 表格块 = QList<QStringList>;

// Reads tab-separated text as spreadsheet programs put it on the clipboard: cells separated by
// tabs, rows by LF, CR LF or CR, a final line end or none. A cell that begins with a double
// quote and whose closing quote is followed by a tab, a line end or the end of the text is a
// quoted cell: it may hold tabs and line breaks, and a doubled quote inside stands for one
// quote. Any other quote is an ordinary character. Empty text gives no rows.
表格块 读表格文本(const QString &text);

// Writes a block as tab-separated text, one line per row, each line ended by LF. A cell that
// holds a tab, a line break or a double quote is quoted, its quotes doubled.
QString 表格文本(const 表格块 &block);

// The number of cells of a block.
qsizetype 单元格数(const 表格块 &block);
// True when some cell of the block holds more than blanks.
bool 有填写单元格(const 表格块 &block);
