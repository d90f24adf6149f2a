#pragma once

#include "common/cell_editor.h"
#include "common/grid_paste.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QKeyEvent;

// What the editing of one table needs to know of it.
struct 编辑表 {
    FlexGrid *表 = nullptr;
    格上文本框 *文本框 = nullptr;
    // The list editor of one column (a claim's nature, say); none when the table has no such
    // column.
    格上组合框 *组合框 = nullptr;
    int 组合框列 = -1;
    int 末填列 = 0; // the blank-row rule looks at columns 0 to 末填列
    // The cells a click or Tab opens an editor on; every data cell when unset.
    std::function<bool(int row, int col)> 可编辑;
    // The question asked about a typed text the cell cannot take (it ends in "。"), or the empty
    // text when the cell takes it. A test that ends in an error (a sum too large for money)
    // refuses the text as no valid amount.
    std::function<QString(int row, int col, const QString &text)> 检查;
    // Whether a refused keystroke still runs the window's commit work (the cell unchanged).
    bool 拒绝也提交 = false;
    // The columns whose selected cells are added up in the status line while a block is
    // selected.
    QList<int> 金额列;
    // How a pasted or cleared block is tested and named: the same tests as typing.
    std::function<粘贴规则()> 规则;
};

// Typing into tables as into a spreadsheet: a click lays an editor over the cell, every
// keystroke commits, a text the cell cannot take turns the editor light red while the cell keeps
// its last accepted text, one blank row stays at the bottom, Tab / Enter / Esc move on or put
// the editor away, blocks are copied, pasted, cleared, and the last paste undone. After every
// commit the window's 提交后 runs (a recomputation). One object serves all the tables of a
// window, so that a refused entry in one is answered before anything happens in another.
class 表格编辑 {
  public:
    表格编辑(QWidget *window, std::function<void()> afterCommit);
    void 加表(const 编辑表 &table);

    // Before a click, a key or a command takes the clerk away from an editor whose text was
    // refused: asks whether to go back to it (false: nothing more happens) or to put back what
    // the cell held when the editor was opened (true: the action goes on).
    bool 可离开编辑器();
    // Keeps open editors on their cells after a scroll or a resize.
    void 编辑器跟随();
    // Puts every editor away and forgets its cell (the tables are about to be refilled).
    void 收起全部();
    // Writes a block from a data cell on, as Ctrl+V there does; the window recomputes once and
    // Ctrl+Z in that table puts the rows back until the next commit.
    void 粘贴到(FlexGrid &grid, int row, int col, const 表格块 &block);
    // Every recomputation but a paste's own ends the undo of the paste.
    void 忘记粘贴() { 上次粘贴.reset(); }

  private:
    struct 表 {
        编辑表 设;
        int 行 = 0, 列 = 0; // the text editor's cell
        int 组合行 = 0;     // the list editor's row
        QString 原文;       // the cell's text when the text editor was opened
        QString 问句;       // why its text was refused; empty while accepted
    };
    struct 粘贴撤销 {
        FlexGrid *表 = nullptr;
        粘贴前行 原样;
    };

    表 *表格(const FlexGrid *grid);
    表 *编辑器的表(const QWidget *editor);
    bool 可编辑(const 表 &t, int row, int col) const;
    void 单击(表 &t);
    void 放置编辑器(QWidget *editor, const FlexGrid &grid, int row, int col, bool keepHeight);
    static void 编辑器位置(QWidget *editor, const FlexGrid &grid, int row, int col,
                           bool keepHeight);
    void 文本提交(表 &t);
    void 组合提交(表 &t);
    void 设拒绝(表 &t, const QString &question);
    bool 待离开(const 表 &t) const;
    void 回到编辑器(表 &t);
    void 撤回编辑(表 &t);
    void 滚出后询问();
    bool 有滚出的拒绝() const;

    // Keys and scrolling (table_editing_keys.cpp).
    void 连接键盘(表 &t);
    bool 编辑器按键(QWidget *editor, QKeyEvent *event);
    void 移到相邻格(表 &t, int row, int col, bool forward);
    void 藏起编辑器(表 &t);
    void 收起(表 &t); // and the focus to the table
    void 跟随单元格(QWidget *editor, FlexGrid &grid, int row, int col, bool keepHeight);

    // Blocks (table_editing_paste.cpp).
    void 连接块命令(表 &t);
    bool 编辑器粘贴(QWidget *editor);
    void 表格清除(表 &t);
    void 撤销粘贴();

    QWidget *窗口;
    std::function<void()> 提交后;
    std::vector<std::unique_ptr<表>> 各表;
    bool 询问中 = false, 滚出询问已排 = false;
    std::optional<粘贴撤销> 上次粘贴;
};

// The question about a typed text that is no valid amount or date.
QString 非金额问句(const QString &text);
QString 非日期问句(const QString &text);
