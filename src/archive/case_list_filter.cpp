#include "archive/case_list_filter.h"

#include "common/grid.h"

#include <QFontMetrics>

int 筛选案件列表(FlexGrid &list, const QString &text) {
    const int fixed = list.FixedRows();
    int last = 0;
    list.setUpdatesEnabled(false);
    for (int row = fixed; row < list.Rows(); ++row) {
        const QTableWidgetItem *item = list.item(row - fixed, 1);
        const bool shown =
            text.isEmpty() || (item && item->text().contains(text, Qt::CaseInsensitive));
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

void 设长名称提示(FlexGrid &list) {
    const int fixed = list.FixedRows();
    const int room =
        list.columnWidth(1) - 2 * list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) - 4;
    const QFontMetrics metrics(list.font());
    for (int row = fixed; row < list.Rows(); ++row)
        if (QTableWidgetItem *item = list.item(row - fixed, 1);
            item && metrics.horizontalAdvance(item->text()) > room)
            item->setToolTip(item->text());
}
