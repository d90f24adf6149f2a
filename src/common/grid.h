#pragma once

#include <QHash>
#include <QPointer>
#include <QTableWidget>
#include <functional>
#include <utility>

class QMenu;

// A rectangle of cells in grid rows and columns, both ends included.
struct 格块 {
    int 上 = 0, 左 = 0, 下 = -1, 右 = -1;
    bool 空() const { return 下 < 上 || 右 < 左; }
};

// The grid table of every table of the program. Cells hold text and are addressed by row and
// column from 0; with one fixed row, row 0 is the header row, drawn by the header and kept
// visible when the grid scrolls, and rows 1.. are the data rows. Sizes and positions are in
// twips and agree with the drawn cells, so that an editor laid over a cell covers it.
class FlexGrid : public QTableWidget {
  public:
    // A fixed column (the list of stored cases has one, of width 0, holding the case numbers)
    // keeps its cells but never takes the highlight: the arrow keys, Home and End stop at the
    // first column after it.
    explicit FlexGrid(QWidget *parent, int fixedRows = 1, int fixedCols = 0);

    int Rows() const;
    void setRows(int rows);
    int Cols() const;
    void setCols(int cols);
    int FixedRows() const { return 固定行数; }
    int FixedCols() const { return 固定列数; }

    // The current cell: set by a click or by the program.
    int Row() const { return 当前行; }
    void setRow(int row);
    int Col() const { return 当前列; }
    void setCol(int col);

    QString Text() const;
    void setText(const QString &text);
    QString TextMatrix(int row, int col) const;
    // Every text written into a cell, by the program or by the user, is taken as 单元格文本 makes
    // it: no cell holds an unpaired surrogate or a U+0000.
    void setTextMatrix(int row, int col, const QString &text);
    // Left-aligned, vertically centred: the only alignment the program sets.
    void 当前格左对齐();

    // The drawn width; after 伸展列 that of the stretched column.
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    // The width a column was given (the default when none): the width it prints with, whatever
    // room a larger window gives it on screen.
    int 原列宽(int col) const;
    // Draws the columns `extraTwips` wider in all than given, the extra shared among the
    // growing columns in proportion to their given widths (none: as given).
    void 伸展列(const QList<int> &growing, int extraTwips);
    int RowHeight(int row) const;
    void setRowHeight(int row, int twips);
    int ColPos(int col) const;
    int RowPos(int row) const;
    int CellWidth() const { return ColWidth(当前列); }
    int CellHeight() const { return RowHeight(当前行); }
    void setBorder(bool shown);

    // Called after every click on a cell; the clicked cell is then the current cell (a click on
    // the header row makes row 0 current). Enter or Space on the grid's highlighted cell acts as
    // a click on it; Tab leaves the grid for the next control.
    void 设单击(std::function<void()> handler) { 单击 = std::move(handler); }
    // Acts as a click on a cell, first bringing it into view.
    void 单击格(int row, int col);
    // From now on, typing on the highlighted cell edits it, as in a spreadsheet: a printable key
    // (or an input method's text) acts as a click on the cell and then goes to the editor the
    // click laid over it, whose selected text it replaces. Enter and Space keep their meaning.
    // Such a table shows where typing goes: given the focus with no cell highlighted (after a
    // load, say), it highlights its first data cell. A table whose click opens its editor
    // elsewhere (the sentence window's date picker) names that editor: typing then goes to it
    // when the click gave it the focus.
    void 设键入编辑(QWidget *editorElsewhere = nullptr) {
        键入编辑 = true;
        别处编辑框 = editorElsewhere;
        setAttribute(Qt::WA_InputMethodEnabled);
    }
    // Whether a cell is wholly inside the part of the grid that shows cells.
    bool 格在视野内(int row, int col) const;

    // Where a cell is drawn: the control that draws it and the cell's rectangle in it.
    std::pair<QWidget *, QRect> 格位置(int row, int col) const;

    // Block selection (grid_block.cpp): a drag, Shift+click, Shift+arrows or Ctrl+A select a
    // rectangle of cells, a click on the header whole columns; a click with Shift or Ctrl held
    // only selects and is no click on a cell. Ctrl+C and the context menu's "复制" copy the
    // selection; Ctrl+V and "粘贴", Delete and Ctrl+Z run the window's paste, clear and undo.
    // The columns given hold amounts: a spreadsheet takes their copied texts as numbers.
    void 设块选(const QList<int> &amountCols);
    void 设粘贴(std::function<void()> handler) { 粘贴 = std::move(handler); }
    void 设清除(std::function<void()> handler) { 清除 = std::move(handler); }
    void 设撤销(std::function<void()> handler) { 撤销 = std::move(handler); }
    // The selected cells, row 0 among them when the selection came from the header; else the
    // highlighted cell; empty when there is neither.
    格块 选定块() const;
    void 复制选定() const;
    QMenu *右键菜单() const { return 菜单; }

  protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    // A cell whose text its column cuts shows the whole text as a tooltip.
    bool viewportEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

  private:
    QTableWidgetItem *项(int row, int col, bool create);
    const QTableWidgetItem *项(int row, int col) const;
    void 检查(int row, int col) const;
    void 点击(int row, int col);
    bool 块选命令键(QKeyEvent *event);
    QWidget *键入目标();

    int 固定行数;
    int 固定列数;
    QHash<int, int> 设定列宽; // twips as set, returned while the drawn width is theirs
    int 当前行 = 0;
    int 当前列 = 0;
    std::function<void()> 单击;
    bool 键入编辑 = false;
    QPointer<QWidget> 别处编辑框;

    bool 块选 = false;
    bool 表头选 = false; // the selection came from a click on the header
    Qt::KeyboardModifiers 松开修饰键;
    QList<int> 金额列;
    QMenu *菜单 = nullptr;
    std::function<void()> 粘贴, 清除, 撤销;
};

// Keeps one blank row at the bottom after row editedRow was written; columns 0..lastCol are
// looked at. When a row is added the grid scrolls so that the new entry row is in view.
void 保持末行空白(FlexGrid &grid, int editedRow, int lastCol);
// After a block was written: exactly one blank row at the bottom (块后行数). A row holds nothing
// when its cells are blank in every column but those skipped; columns 0..lastCol make a row
// filled.
void 块后保持末行空白(FlexGrid &grid, int lastCol, const std::function<bool(int col)> &skipped);

// The texts of a grid's rows below its header row, row by row.
QList<QStringList> 数据行(const FlexGrid &grid);
