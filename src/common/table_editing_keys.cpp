// The editors on the keyboard, and while the tables scroll. Tab and Enter move the editing to
// the next editable cell, Shift+Tab to the one before, exactly as a click on that cell would;
// past the entry row the focus goes on to the next control. Esc puts the editor away (every
// change is already committed). An editor stays on its cell when the table scrolls.
#include "common/table_editing.h"

#include "common/grid.h"
#include "common/message_box.h"
#include "common/window_events.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>

namespace {

enum class 编辑键 { 无, 下一格, 上一格, 收起 };

编辑键 键的作用(const QKeyEvent *event) {
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Tab:
        return mods == Qt::NoModifier      ? 编辑键::下一格
               : mods == Qt::ShiftModifier ? 编辑键::上一格
                                           : 编辑键::无;
    case Qt::Key_Backtab:
        return 编辑键::上一格;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return mods == Qt::NoModifier ? 编辑键::下一格 : 编辑键::无;
    case Qt::Key_Escape:
        return 编辑键::收起;
    default:
        return 编辑键::无;
    }
}

bool 滚出视野(QWidget *editor) {
    if (auto *box = qobject_cast<QLineEdit *>(editor))
        return static_cast<格上文本框 *>(box)->滚出视野();
    return static_cast<格上组合框 *>(editor)->滚出视野();
}

void 滚出隐藏(QWidget *editor) {
    if (qobject_cast<QLineEdit *>(editor))
        static_cast<格上文本框 *>(editor)->滚出隐藏();
    else
        static_cast<格上组合框 *>(editor)->滚出隐藏();
}

bool 有焦点(const QWidget *editor) {
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == editor || editor->isAncestorOf(focus));
}

// Moves the focus from a grid to the next (or previous) control, as Tab on the grid does.
void 离开表格(FlexGrid &grid, bool forward) {
    grid.setFocus(Qt::OtherFocusReason);
    QKeyEvent tab(QEvent::KeyPress, forward ? Qt::Key_Tab : Qt::Key_Backtab,
                  forward ? Qt::NoModifier : Qt::ShiftModifier);
    QCoreApplication::sendEvent(&grid, &tab);
}

} // namespace

void 表格编辑::连接键盘(表 &t) {
    QList<QWidget *> editors{t.设.文本框};
    if (t.设.组合框)
        editors << t.设.组合框 << t.设.组合框->lineEdit();
    for (QWidget *editor : editors) {
        // Reached by a click (or by Tab inside its own grid), never by Tab from elsewhere.
        editor->setFocusPolicy(Qt::ClickFocus);
        QWidget *owner = t.设.组合框 && editor == t.设.组合框->lineEdit() ? t.设.组合框 : editor;
        连接按键(editor, [this, owner](QKeyEvent *e) { return 编辑器按键(owner, e); });
    }
    for (QScrollBar *bar : {t.设.表->verticalScrollBar(), t.设.表->horizontalScrollBar()})
        QObject::connect(bar, &QScrollBar::valueChanged, 窗口, [this] { 编辑器跟随(); });
}

bool 表格编辑::编辑器按键(QWidget *editor, QKeyEvent *event) {
    if (event->matches(QKeySequence::Paste))
        return 编辑器粘贴(editor);
    const 编辑键 action = 键的作用(event);
    表 *t = 编辑器的表(editor);
    if (action == 编辑键::无 || !t)
        return false;
    捕获错误([&] {
        if (!可离开编辑器())
            return;
        if (action == 编辑键::收起) {
            editor->hide();
            t->设.表->setFocus(Qt::OtherFocusReason);
        } else if (editor == t->设.组合框) {
            移到相邻格(*t, t->组合行, t->设.组合框列, action == 编辑键::下一格);
        } else {
            移到相邻格(*t, t->行, t->列, action == 编辑键::下一格);
        }
    });
    return true;
}

void 表格编辑::移到相邻格(表 &t, int row, int col, bool forward) {
    FlexGrid &grid = *t.设.表;
    const int last = grid.Cols() - 1;
    do {
        if (forward && ++col > last) {
            col = 0;
            ++row;
        } else if (!forward && --col < 0) {
            col = last;
            --row;
        }
    } while (row >= 1 && row < grid.Rows() && col != t.设.组合框列 && !可编辑(t, row, col));
    if (row >= 1 && row < grid.Rows()) {
        grid.单击格(row, col);
        return;
    }
    藏起编辑器(t);
    离开表格(grid, forward);
}

void 表格编辑::藏起编辑器(表 &t) {
    t.设.文本框->hide();
    if (t.设.组合框)
        t.设.组合框->hide();
}

void 表格编辑::收起(表 &t) {
    藏起编辑器(t);
    t.设.表->setFocus(Qt::OtherFocusReason);
}

void 表格编辑::编辑器跟随() {
    for (auto &t : 各表) {
        跟随单元格(t->设.文本框, *t->设.表, t->行, t->列, false);
        if (t->设.组合框)
            跟随单元格(t->设.组合框, *t->设.表, t->组合行, t->设.组合框列, true);
    }
    滚出后询问();
}

void 表格编辑::跟随单元格(QWidget *editor, FlexGrid &grid, int row, int col, bool keepHeight) {
    const bool open = !editor->isHidden() || 滚出视野(editor);
    if (!open || row < 1 || row >= grid.Rows() || col >= grid.Cols())
        return;
    if (grid.格在视野内(row, col)) {
        编辑器位置(editor, grid, row, col, keepHeight);
        if (editor->isHidden()) {
            // Shown again without the focus: keys typed on the grid meanwhile stay there.
            editor->show();
            editor->raise();
        }
    } else if (!滚出视野(editor)) {
        const bool focused = 有焦点(editor);
        滚出隐藏(editor);
        if (focused)
            grid.setFocus(Qt::OtherFocusReason);
    }
}
