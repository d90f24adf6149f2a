// Blocks of cells in and out of the tables: paste from the office's spreadsheets, word
// processors and web pages, Delete on a block, and undo of the last paste. Every pasted cell
// passes the test that typing it would pass; the window recomputes once after the whole block.
#include "common/table_editing.h"

#include "common/grid_clipboard.h"
#include "common/message_box.h"

#include <QComboBox>
#include <QLineEdit>

void 表格编辑::连接块命令(表 &t) {
    FlexGrid *grid = t.设.表;
    grid->设粘贴([this, grid] {
        捕获错误([&] {
            if (const auto at = 粘贴位置(*grid))
                粘贴到(*grid, at->first, at->second, 剪贴板表格());
        });
    });
    grid->设清除([this, &t] { 捕获错误([&] { 表格清除(t); }); });
    grid->设撤销([this] { 捕获错误([this] { 撤销粘贴(); }); });
}

void 表格编辑::粘贴到(FlexGrid &grid, int row, int col, const 表格块 &block) {
    表 *t = 表格(&grid);
    if (!t || block.isEmpty() || !可离开编辑器())
        return;
    收起(*t);
    const 粘贴结果 result = 粘贴块(grid, row, col, block, t->设.规则());
    粘贴撤销 undo{&grid, result.原样};
    try {
        提交后();
    } catch (...) {
        上次粘贴 = std::move(undo);
        throw;
    }
    上次粘贴 = std::move(undo);
    const QString notice = 粘贴提示文本(result);
    if (!notice.isEmpty())
        消息框::提示(notice, 粘贴提示标题);
}

// Ctrl+V in an open editor: one cell goes into the editor as typed text; a block of more than
// one cell (or a cell with a line break, which no editor holds) puts the editor away and is
// pasted from the editor's cell. An empty clipboard is left to the editor.
bool 表格编辑::编辑器粘贴(QWidget *editor) {
    const 表格块 block = 剪贴板表格();
    表 *t = 编辑器的表(editor);
    if (block.isEmpty() || !t)
        return false;
    const QString &first = block[0][0];
    if (单元格数(block) == 1 && !first.contains(u'\n') && !first.contains(u'\r')) {
        auto *box =
            editor == t->设.组合框 ? t->设.组合框->lineEdit() : static_cast<QLineEdit *>(editor);
        box->insert(first);
        return true;
    }
    捕获错误([&] {
        if (editor == t->设.组合框)
            粘贴到(*t->设.表, t->组合行, t->设.组合框列, block);
        else
            粘贴到(*t->设.表, t->行, t->列, block);
    });
    return true;
}

void 表格编辑::表格清除(表 &t) {
    const 格块 block = t.设.表->选定块();
    if (block.空() || !可离开编辑器())
        return;
    收起(t);
    清空块(*t.设.表, block, t.设.规则());
    提交后();
}

void 表格编辑::撤销粘贴() {
    // Putting back a refused editor's cell is a commit of its own: the paste is then forgotten.
    if (!上次粘贴 || !可离开编辑器() || !上次粘贴)
        return;
    const 粘贴撤销 undo = *上次粘贴;
    if (表 *t = 表格(undo.表))
        收起(*t);
    恢复快照(*undo.表, undo.原样);
    提交后();
}
