#include "archive/case_list_filter.h"

#include "common/grid.h"

#include <QHelpEvent>
#include <QToolTip>

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

namespace {

// Answers the list's tooltip requests: the name under the pointer, when the column cuts it.
class 长名称提示 : public QObject {
  public:
    explicit 长名称提示(FlexGrid *list) : QObject(list), 表(list) {}

  protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() != QEvent::ToolTip)
            return false;
        const auto *help = static_cast<QHelpEvent *>(event);
        const QTableWidgetItem *item = 表->itemAt(help->pos());
        const QModelIndex index = item ? 表->indexFromItem(item) : QModelIndex();
        if (!item || index.column() != 1 ||
            表->fontMetrics().horizontalAdvance(item->text()) + 6 <= 表->columnWidth(1)) {
            QToolTip::hideText();
            return true;
        }
        QToolTip::showText(help->globalPos(), item->text(), 表->viewport(),
                           表->visualItemRect(item));
        return true;
    }

  private:
    FlexGrid *表;
};

} // namespace

void 设长名称提示(FlexGrid &list) {
    list.viewport()->installEventFilter(new 长名称提示(&list));
}
