#pragma once

#include <QLine>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

// The printed page of a table, without widgets: how a grid is cut into pages (column groups that
// fit the page width, blocks of 50 rows), and what the page window draws for one page (title,
// note, one label per cell, the table lines, the page number). All measures are in twips.

namespace 页面尺寸 {
constexpr int 宽 = 10433;
constexpr int 高 = 14742;
constexpr int 表格顶 = 960;               // top of the layout grid and of the table panel
constexpr int 表格高 = 高 - 表格顶 - 400; // 13382
constexpr int 页数顶 = 14342;
constexpr int 每页行数 = 50;
constexpr int 计数上限 = 32767; // pages, row blocks, column index, labels and lines per page
} // namespace 页面尺寸

// A grid as it is to be printed: the text of every cell (行[r][c]), the column widths and the
// row heights. Row 0 is printed as an ordinary row, on the first block of rows only.
struct 表格快照 {
    QList<int> 列宽;
    QList<int> 行高;
    QList<QStringList> 行;
    // The row heights before rows grew to hold wrapped text; empty when none grew.
    QList<int> 原行高;
};

// How a table of entries closes on paper. A data row whose cells are all blank but the computed
// column, which holds nothing or "0" (the blank row kept for the next entry), is left out; after
// the last row one row "合计" sums the amount columns, each total to the fen in the plain form
// the cells show. No rule (no computed column, no amount column) leaves the table as it is.
struct 合计规则 {
    int 计算列 = -1;
    QList<int> 合计列;
};
表格快照 整理打印表格(表格快照 table, const 合计规则 &rule);

// The hidden layout grid MSF列表 of the page window: no fixed rows or columns; the position of
// a column or row is the sum of the widths or heights before it, exactly in twips.
class 布局表格 {
  public:
    int Rows() const { return int(行高.size()); }
    void setRows(int rows);
    int Cols() const { return int(列宽.size()); }
    void setCols(int cols);
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    int RowHeight(int row) const;
    void setRowHeight(int row, int twips);
    int ColPos(int col) const;
    int RowPos(int row) const;
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);

    int Left = 0;
    int Top = 页面尺寸::表格顶;
    int Width = 页面尺寸::宽;
    int Height = 页面尺寸::表格高;
    bool Visible = false;
    bool Border = false;

  private:
    void 检查(int row, int col) const;
    static int 起点(const QList<int> &sizes, QList<int> &starts, int index);

    QList<int> 列宽;
    QList<int> 行高;
    QList<QStringList> 格;     // 格[r][c]
    mutable QList<int> 列起点; // positions worked out so far; emptied when a size changes
    mutable QList<int> 行起点;
};

// A label of the page: its caption and rectangle; a text of its own font.
struct 页面文字 {
    QString 标题;
    QRect 矩形;
    double 字号 = 9; // points
    bool 粗体 = false;
    bool 可见 = true;
};

// A line of the table panel, in the panel's coordinates.
struct 页面线条 {
    QLine 线;
    bool 可见 = false;
};

// What the page window 打印For列表 holds and draws: its controls and the procedures that turn
// the layout grid into labels and lines. Labels and lines are coordinates in the table panel
// Picnr; the panel, the title, the note and the page number are placed on the page.
class 打印页面 {
  public:
    打印页面();
    // The load step: the page geometry, then no labels and no lines.
    void 载入();
    // The page window's size, the layout grid's place and size and the page number's top.
    void 定页面尺寸();

    // One label on the table panel for a cell at (左边距, 上边距) of size 宽 × 高.
    void 新建标题(const QString &内容, int 左边距, int 上边距, int 宽, int 高);
    // One label for every cell of the layout grid, then the table lines.
    void 送到标题();
    // Removes the labels; the lines stay until the next 画表格线.
    void 标题清空();
    // Rebuilds the table lines and fits the panel over the used cells.
    void 画表格线();

    int 标签数() const { return 标签计数; }
    int 线条数() const { return 线条计数; }

    int 宽 = 页面尺寸::宽;
    int 高 = 页面尺寸::高;
    页面文字 Lab标题名称;
    页面文字 La注释;
    页面文字 La案件名称; // under the title: the stored case's name, when there is one
    页面文字 La页数;
    布局表格 MSF列表;
    QRect Picnr;
    bool Picnr可见 = false;
    QList<页面文字> La内容标题; // element 0 is the design-time label
    QList<页面线条> Linhx;      // element 0 is the design-time line, never shown

  private:
    short 标签计数 = 0;
    short 线条计数 = 0;
};

// One printed page: its number and the cells of the layout grid.
struct 版面 {
    int 页码 = 0;
    int 首列 = 0; // grid column of layout column 0
    int 首行 = 0; // grid row of layout row 0
    QList<int> 列宽;
    QList<int> 行高;
    QList<QStringList> 格;
};

// Throws the overflow error when a grid of this many rows and these column widths would need
// more than 32 767 pages or row blocks, or a column index above 32 767.
void 检查打印限度(qsizetype 行数, const QList<int> &列宽);

// The pages of a grid in print order: every block of rows of the first column group, then of
// the next group; numbered from 1. A block holds at most 50 rows; where rows grew for wrapped
// text, rows move on to the next page once the block would be higher than the table and than the
// same rows before they grew (so a table without grown rows keeps its blocks of 50; a row higher
// than the table is a block of its own). The limits are checked before any page is made.
QList<版面> 分页(const 表格快照 &表格);

// Puts a page into the layout grid of the page window.
void 填入布局(布局表格 &grid, const 版面 &page);

// "第N页"
QString 页码文字(int 页码);
