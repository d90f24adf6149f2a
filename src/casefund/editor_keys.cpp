// The editors of the payments and claims tables on the keyboard, and while the tables scroll.
// Tab and Enter move the editing to the next editable cell, Shift+Tab to the one before, exactly
// as a click on that cell would; past the entry row the focus goes on to the next control. Esc
// puts the editor away (every change is already committed). An editor stays on its cell when
// the table scrolls.
#include "casefund/case_fund_window.h"

#include "casefund/cell_editor.h"
#include "casefund/distribution.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "common/window_events.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
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

template <class Editor> Editor *格上(QWidget *editor) {
    return static_cast<Editor *>(editor);
}

bool 滚出视野(QWidget *editor) {
    if (auto *box = qobject_cast<QLineEdit *>(editor))
        return 格上<格上文本框>(box)->滚出视野();
    return 格上<格上组合框>(editor)->滚出视野();
}

void 滚出隐藏(QWidget *editor) {
    if (qobject_cast<QLineEdit *>(editor))
        格上<格上文本框>(editor)->滚出隐藏();
    else
        格上<格上组合框>(editor)->滚出隐藏();
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

void Fo案款分配计算::连接编辑器键盘() {
    for (QWidget *editor :
         {static_cast<QWidget *>(tEXTAK), static_cast<QWidget *>(Tefp),
          static_cast<QWidget *>(Comzq), static_cast<QWidget *>(Comzq->lineEdit())}) {
        // Reached by a click (or by Tab inside its own grid), never by Tab from elsewhere.
        editor->setFocusPolicy(Qt::ClickFocus);
        QWidget *owner = editor == Comzq->lineEdit() ? Comzq : editor;
        连接按键(editor, [this, owner](QKeyEvent *e) { return 编辑器按键(owner, e); });
    }
    for (FlexGrid *grid : {MSFjk, MSFzc})
        for (QScrollBar *bar : {grid->verticalScrollBar(), grid->horizontalScrollBar()})
            connect(bar, &QScrollBar::valueChanged, this, [this] { 编辑器跟随(); });
    // The reading order of the window.
    setTabOrder(Com清除, Com删除案件);
    setTabOrder(Com删除案件, MSFjk);
    setTabOrder(MSFjk, MSFzc);
    setTabOrder(MSFysj, Com确定);
    setTabOrder(Com确定, Comm取消);
}

bool Fo案款分配计算::编辑器按键(QWidget *editor, QKeyEvent *event) {
    if (event->matches(QKeySequence::Paste))
        return 编辑器粘贴(editor);
    const 编辑键 action = 键的作用(event);
    if (action == 编辑键::无)
        return false;
    捕获错误([&] {
        if (!可离开编辑器())
            return;
        const bool payments = editor == tEXTAK;
        FlexGrid &grid = payments ? *MSFjk : *MSFzc;
        if (action == 编辑键::收起) {
            editor->hide();
            grid.setFocus(Qt::OtherFocusReason);
        } else if (payments) {
            移到相邻格(grid, 交款编辑行, 交款编辑列, action == 编辑键::下一格);
        } else if (editor == Comzq) {
            移到相邻格(grid, 性质编辑行, 2, action == 编辑键::下一格);
        } else {
            移到相邻格(grid, 债权编辑行, 债权编辑列, action == 编辑键::下一格);
        }
    });
    return true;
}

void Fo案款分配计算::移到相邻格(FlexGrid &grid, int row, int col, bool forward) {
    const bool claims = &grid == MSFzc;
    // The cells a click opens an editor on: in the claims table not the allocated amount, and
    // the priority amount only on a mortgage claim.
    auto editable = [&](int r, int c) {
        if (!claims)
            return true;
        return c != 4 && (c != 3 || 是抵押(grid.TextMatrix(r, 2)));
    };
    const int last = grid.Cols() - 1;
    do {
        if (forward && ++col > last) {
            col = 0;
            ++row;
        } else if (!forward && --col < 0) {
            col = last;
            --row;
        }
    } while (row >= 1 && row < grid.Rows() && !editable(row, col));
    if (row >= 1 && row < grid.Rows()) {
        grid.单击格(row, col);
        return;
    }
    if (claims) {
        Tefp->hide();
        Comzq->hide();
    } else {
        tEXTAK->hide();
    }
    离开表格(grid, forward);
}

void Fo案款分配计算::编辑器跟随() {
    跟随单元格(tEXTAK, *MSFjk, 交款编辑行, 交款编辑列, false);
    跟随单元格(Tefp, *MSFzc, 债权编辑行, 债权编辑列, false);
    跟随单元格(Comzq, *MSFzc, 性质编辑行, 2, true);
    滚出后询问();
}

void Fo案款分配计算::跟随单元格(QWidget *editor, FlexGrid &grid, int row, int col,
                                bool keepHeight) {
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
