// Tab on the custody table, as in the case fund tables: Tab and Shift+Tab walk the custody cells
// row by row, and the cell reached opens as a click on it would, with the picker. Only past the
// last cell (before the first) does the focus leave the table for the next (previous) control.
// In the date box of a picker open on a cell, Tab confirms the date and walks on the same way.
#include "sentence/sentence_window.h"

#include "common/date_picker.h"
#include "common/grid.h"
#include "common/window_events.h"

#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// Forward for Tab, backward for Shift+Tab; nothing for another key or Tab with Ctrl or Alt.
std::optional<bool> Tab方向(const QKeyEvent *event) {
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Tab && mods == Qt::NoModifier)
        return true;
    if ((event->key() == Qt::Key_Backtab || event->key() == Qt::Key_Tab) &&
        mods == Qt::ShiftModifier)
        return false;
    return std::nullopt;
}

} // namespace

void Fo刑期计算::连接表格Tab键() {
    连接按键(MSF, [this](QKeyEvent *e) { return 表格Tab键(e); });
}

// The cells are counted row by row from the highlighted one; a key not used here goes on to
// the table, which gives the focus to the next control.
bool Fo刑期计算::表格Tab键(QKeyEvent *event) {
    const auto forward = Tab方向(event);
    if (!forward)
        return false;
    const int cells = (MSF->Rows() - MSF->FixedRows()) * 2;
    const QModelIndex at = MSF->currentIndex();
    const int here = at.isValid() ? at.row() * 2 + at.column() : (*forward ? -1 : cells);
    const int next = here + (*forward ? 1 : -1);
    if (next < 0 || next >= cells)
        return false;
    MSF->单击格(MSF->FixedRows() + next / 2, next % 2);
    return true;
}

// A refused date keeps the picker open, with its message; a date taken leaves the focus on the
// table at the edited cell, and the Tab goes on from there.
bool Fo刑期计算::选日框Tab键(QKeyEvent *event) {
    const auto forward = Tab方向(event);
    if (!forward || 编辑对象 != 1)
        return false;
    确认();
    if (Picture1->isHidden()) {
        MSF->setCurrentCell(编辑行 - MSF->FixedRows(), 编辑列);
        QKeyEvent tab(QEvent::KeyPress, *forward ? Qt::Key_Tab : Qt::Key_Backtab,
                      *forward ? Qt::NoModifier : Qt::ShiftModifier);
        QCoreApplication::sendEvent(MSF, &tab);
    }
    return true;
}
