#include "casefund/case_list_filter.h"

#include "common/grid.h"
#include "common/window_events.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

// Full-width and half-width forms alike ('（2024）' and '(2024)', 'Ａ' and 'A'), as the server's
// collation compares names: compatibility normalisation maps the one onto the other.
QString 宽窄同一(const QString &text) {
    return text.normalized(QString::NormalizationForm_KC);
}

} // namespace

int 筛选案件列表(FlexGrid &list, const QString &typed) {
    const QString text = 宽窄同一(typed);
    const int fixed = list.FixedRows();
    int last = 0;
    list.setUpdatesEnabled(false);
    for (int row = fixed; row < list.Rows(); ++row) {
        QTableWidgetItem *item = list.item(row - fixed, 1);
        bool shown = text.isEmpty();
        if (!shown && item) {
            // Each name is normalised once, at the first key typed, and kept with its cell.
            QVariant normal = item->data(Qt::UserRole);
            if (!normal.isValid()) {
                normal = 宽窄同一(item->text());
                item->setData(Qt::UserRole, normal);
            }
            shown = normal.toString().contains(text, Qt::CaseInsensitive);
        }
        list.setRowHidden(row - fixed, !shown);
        if (shown)
            last = row;
    }
    list.setUpdatesEnabled(true);
    if (last > 0) {
        list.setRow(last);
        list.setCurrentCell(last - fixed, 1);
    } else {
        list.setRow(0);
    }
    return last;
}

void 筛选框通到列表(QLineEdit &filter, FlexGrid &list) {
    连接按键(&filter, [&list](QKeyEvent *event) {
        if ((event->key() != Qt::Key_Down && event->key() != Qt::Key_PageDown) ||
            (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier ||
            list.Rows() <= list.FixedRows())
            return false;
        if (!list.currentIndex().isValid() || list.isRowHidden(list.currentRow()))
            return false;
        list.setFocus(Qt::TabFocusReason);
        return true;
    });
}
