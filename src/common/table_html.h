#pragma once

#include "common/table_text.h"

#include <functional>

// The first table of an HTML text (as spreadsheets, word processors and web pages put it on
// the clipboard) as a block of cell texts; when its own cells hold no text but a table inside
// them does, that inner table. A cell spanning several rows or columns gives its text to its
// first position and empty texts to the rest (a span is cut at 64). Line breaks inside a cell
// (<br>, a paragraph) become LF, a <br> alone in a paragraph one empty line; no-break spaces
// become spaces and blanks (space, tab, LF, CR, FF) around a cell's text are dropped, as a
// browser shows the cell. No table gives an empty block; so does a table of
// more than 200 000 cells, with the reason in `refusal`.
表格块 读HTML表格(const QString &html, QString *refusal = nullptr);

// A block as an HTML table. A cell for which number(row, col) gives a plain decimal text carries
// that value as well (LibreOffice's sdval with a General format of the en-US language, and
// Excel's x:num), so that spreadsheet programs take it as a number whatever their locale.
QString HTML表格(const 表格块 &block, const std::function<QString(int row, int col)> &number);
