// Selecting a block of cells of a grid, copying it, and the keys and context menu of the
// window's paste, clear and undo.
#include "common/grid.h"

#include "common/grid_clipboard.h"
#include "common/money.h"
#include "common/varnel_error.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

void FlexGrid::设块选(const QList<int> &amountCols) {
    块选 = true;
    金额列 = amountCols;
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    // A click on the header selects its column before these run; any other change of the
    // selection is not from the header.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { 表头选 = false; });
    // The keys that follow (Ctrl+C) go to the table, not to an editor open elsewhere.
    connect(horizontalHeader(), &QHeaderView::sectionPressed, this, [this] {
        表头选 = true;
        setFocus(Qt::MouseFocusReason);
    });
    connect(horizontalHeader(), &QHeaderView::sectionEntered, this, [this] { 表头选 = true; });
    菜单 = new QMenu(this);
    菜单->setObjectName(QStringLiteral("表格菜单"));
    QAction *copy = 菜单->addAction(QStringLiteral("复制"), this, [this] { 复制选定(); });
    copy->setObjectName(QStringLiteral("复制"));
    QAction *paste = 菜单->addAction(QStringLiteral("粘贴"), this, [this] {
        if (粘贴)
            粘贴();
    });
    paste->setObjectName(QStringLiteral("粘贴"));
}

格块 FlexGrid::选定块() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty()) {
        if (!currentIndex().isValid())
            return {};
        const int r = currentRow() + 固定行数;
        return {r, currentColumn(), r, currentColumn()};
    }
    格块 b{INT_MAX, INT_MAX, -1, -1};
    for (const QTableWidgetSelectionRange &range : ranges) {
        b.上 = std::min(b.上, range.topRow() + 固定行数);
        b.左 = std::min(b.左, range.leftColumn());
        b.下 = std::max(b.下, range.bottomRow() + 固定行数);
        b.右 = std::max(b.右, range.rightColumn());
    }
    if (表头选 && 固定行数 == 1)
        b.上 = 0;
    return b;
}

void FlexGrid::复制选定() const {
    const 格块 b = 选定块();
    if (b.空())
        return;
    表格块 block;
    for (int r = b.上; r <= b.下; ++r) {
        QStringList row;
        for (int c = b.左; c <= b.右; ++c)
            row.append(TextMatrix(r, c));
        block.append(row);
    }
    表格放入剪贴板(block, [&](int r, int c) {
        Money m;
        try {
            if (b.上 + r >= 固定行数 && 金额列.contains(b.左 + c) && 读金额(block[r][c], m))
                return 金额文本(m);
        } catch (const VarnelError &) {
        }
        return QString();
    });
}

bool FlexGrid::块选命令键(QKeyEvent *event) {
    const auto run = [event](const std::function<void()> &handler) {
        if (handler)
            handler();
        event->accept();
        return true;
    };
    if (event->matches(QKeySequence::Copy))
        return run([this] { 复制选定(); });
    if (event->matches(QKeySequence::Paste))
        return run(粘贴);
    if (event->matches(QKeySequence::Undo))
        return run(撤销);
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier)
        return run(清除);
    return false;
}

void FlexGrid::mousePressEvent(QMouseEvent *event) {
    松开修饰键 = event->modifiers();
    QTableWidget::mousePressEvent(event);
}

void FlexGrid::mouseReleaseEvent(QMouseEvent *event) {
    松开修饰键 = event->modifiers();
    QTableWidget::mouseReleaseEvent(event);
}

void FlexGrid::contextMenuEvent(QContextMenuEvent *event) {
    if (!菜单) {
        QTableWidget::contextMenuEvent(event);
        return;
    }
    菜单->popup(event->globalPos());
    event->accept();
}
