#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One cell to write into a worksheet: row and column counted from 1 as the spreadsheet counts
// them (column 2 is B). A cell with a number is written as that number, any other as its text;
// an empty text leaves the cell with its style and no value.
struct 写入格 {
    int 行 = 0;
    int 列 = 0;
    QString 文本;
    std::optional<double> 数;
};

// The largest row and column of a worksheet, and the most characters a cell holds.
constexpr int 最大行 = 1048576;
constexpr int 最大列 = 16384;
constexpr int 单元格最多字符 = 32767;

// "A" for 1, "Z" for 26, "AA" for 27 … "XFD" for 16384.
std::string 列名(int col);

// A cell's text as it goes between <t> and </t> (before XML escaping, which the writer does):
// CR LF and a lone CR become LF, at most 32 767 characters are kept, characters that XML 1.0
// cannot hold are written as _xHHHH_, and the underscore that would start an _xHHHH_ in the
// written text as _x005F_, so that a spreadsheet program reads back exactly the text given. Half
// of a surrogate pair, which cannot be written, becomes U+FFFD.
std::string 单元格文本(const QString &text);

// The worksheet XML with the cells written. A written cell keeps the style of the cell it
// replaces; a new cell in row 样式行 or below takes the style of the same column's cell in row
// 样式行, elsewhere the style of its row or column. Rows and cells stay in order; the sheet's
// dimension and the rows' spans are widened to the written cells. Throws std::runtime_error
// when the text is not a worksheet.
std::string 填写工作表(std::string_view xml, const std::vector<写入格> &cells, int 样式行);
