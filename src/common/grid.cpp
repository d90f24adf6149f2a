#include "common/grid.h"

#include "common/blank_row.h"
#include "common/cell_text.h"
#include "common/column_share.h"
#include "common/twips.h"
#include "common/varnel_error.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QStyle>
#include <QToolTip>

namespace {
constexpr int 默认列宽 = 960;
constexpr int 表头行高 = 300;
// 17 px: 50 data rows below the header fit one printed page, as in the window.
constexpr int 默认行高 = 255;
const QString 下标越界 = QStringLiteral("下标越界");

// A key that writes text: a printable character without Ctrl, Alt or Meta.
bool 是键入(const QKeyEvent *event) {
    const auto chords = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    return !(event->modifiers() & chords) && !event->text().isEmpty() &&
           event->text().at(0).isPrint();
}
} // namespace

namespace {

// Cell texts start 2 pixels from the cell's edge and are cut at its far edge rather than shortened
// with "…": an amount of ten characters fits a column of the default width whole, and a longer
// text shows its beginning, as a table of the desktop shows it.
class 格边距样式 : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override {
        if (metric == PM_FocusFrameHMargin && qobject_cast<const QAbstractItemView *>(widget))
            return 1;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QStyle *格样式() {
    static QPointer<QStyle> style;
    if (!style) {
        style = new 格边距样式(QApplication::style()->name());
        style->setParent(qApp);
    }
    return style;
}

} // namespace

FlexGrid::FlexGrid(QWidget *parent, int fixedRows, int fixedCols)
    : QTableWidget(parent), 固定行数(fixedRows), 固定列数(fixedCols) {
    setStyle(格样式());
    setTextElideMode(Qt::ElideNone);
    verticalHeader()->hide();
    horizontalHeader()->setVisible(固定行数 == 1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The minimum first: a default below the font's own minimum would be raised to it.
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setDefaultSectionSize(像素(默认列宽));
    horizontalHeader()->setFixedHeight(像素(表头行高));
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setDefaultSectionSize(像素(默认行高));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setTabKeyNavigation(false);
    connect(this, &QTableWidget::cellClicked, this, [this](int r, int c) {
        if (块选 && (松开修饰键 & (Qt::ShiftModifier | Qt::ControlModifier)))
            return;
        点击(r + 固定行数, c);
    });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) { 点击(0, c); });
}

int FlexGrid::Rows() const {
    return rowCount() + 固定行数;
}

void FlexGrid::setRows(int rows) {
    if (rows < 固定行数)
        throw VarnelError(QStringLiteral("无效的行值"));
    setRowCount(rows - 固定行数);
    当前行 = std::min(当前行, std::max(rows - 1, 0));
}

int FlexGrid::Cols() const {
    return columnCount();
}

void FlexGrid::setCols(int cols) {
    if (cols < 0)
        throw VarnelError(QStringLiteral("无效的列值"));
    setColumnCount(cols);
    当前列 = std::min(当前列, std::max(cols - 1, 0));
}

void FlexGrid::检查(int row, int col) const {
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols())
        throw VarnelError(下标越界);
}

void FlexGrid::setRow(int row) {
    检查(row, std::max(0, std::min(当前列, Cols() - 1)));
    当前行 = row;
}

void FlexGrid::setCol(int col) {
    检查(std::max(0, std::min(当前行, Rows() - 1)), col);
    当前列 = col;
}

const QTableWidgetItem *FlexGrid::项(int row, int col) const {
    检查(row, col);
    return row < 固定行数 ? horizontalHeaderItem(col) : item(row - 固定行数, col);
}

QTableWidgetItem *FlexGrid::项(int row, int col, bool create) {
    检查(row, col);
    QTableWidgetItem *it = row < 固定行数 ? horizontalHeaderItem(col) : item(row - 固定行数, col);
    if (!it && create) {
        it = new QTableWidgetItem;
        it->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (row < 固定行数)
            setHorizontalHeaderItem(col, it);
        else
            setItem(row - 固定行数, col, it);
    }
    return it;
}

QString FlexGrid::TextMatrix(int row, int col) const {
    const QTableWidgetItem *it = 项(row, col);
    if (!it)
        return QString();
    // An unset header item shows the column number; it holds no text of the program's.
    return row >= 固定行数 || it->data(Qt::UserRole).toBool() ? it->text() : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString &text) {
    QTableWidgetItem *it = 项(row, col, true);
    it->setText(单元格文本(text));
    if (row < 固定行数)
        it->setData(Qt::UserRole, true);
}

QString FlexGrid::Text() const {
    return TextMatrix(当前行, 当前列);
}
void FlexGrid::setText(const QString &text) {
    setTextMatrix(当前行, 当前列, text);
}

void FlexGrid::当前格左对齐() {
    项(当前行, 当前列, true)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

int FlexGrid::ColWidth(int col) const {
    检查(0, col);
    const int drawn = columnWidth(col);
    const auto set = 设定列宽.constFind(col);
    return set != 设定列宽.constEnd() && 像素(*set) == drawn ? *set : 缇(drawn);
}

void FlexGrid::setColWidth(int col, int twips) {
    检查(0, col);
    设定列宽.insert(col, twips);
    setColumnWidth(col, 像素(twips));
}

int FlexGrid::原列宽(int col) const {
    检查(0, col);
    const auto set = 设定列宽.constFind(col);
    return set != 设定列宽.constEnd() ? *set : 缇(像素(默认列宽));
}

void FlexGrid::伸展列(const QList<int> &growing, int extraTwips) {
    QList<int> given;
    for (int c = 0; c < columnCount(); ++c)
        given.append(原列宽(c));
    const QList<int> widths = 伸展列宽(given, growing, extraTwips);
    for (int c = 0; c < columnCount(); ++c)
        setColumnWidth(c, 像素(widths[c]));
}

int FlexGrid::RowHeight(int row) const {
    检查(row, 0);
    return 缇(row < 固定行数 ? horizontalHeader()->height() : rowHeight(row - 固定行数));
}

void FlexGrid::setRowHeight(int row, int twips) {
    检查(row, 0);
    if (row < 固定行数)
        horizontalHeader()->setFixedHeight(像素(twips));
    else
        QTableWidget::setRowHeight(row - 固定行数, 像素(twips));
}

int FlexGrid::ColPos(int col) const {
    检查(0, col);
    return 缇(viewport()->x() + columnViewportPosition(col));
}

int FlexGrid::RowPos(int row) const {
    检查(row, 0);
    if (row < 固定行数)
        return 缇(horizontalHeader()->y());
    return 缇(viewport()->y() + rowViewportPosition(row - 固定行数));
}

void FlexGrid::setBorder(bool shown) {
    setFrameShape(shown ? QFrame::StyledPanel : QFrame::NoFrame);
}

std::pair<QWidget *, QRect> FlexGrid::格位置(int row, int col) const {
    检查(row, col);
    if (row < 固定行数) {
        const QHeaderView *h = horizontalHeader();
        return {h->viewport(),
                QRect(h->sectionViewportPosition(col), 0, h->sectionSize(col), h->height())};
    }
    return {viewport(), visualRect(model()->index(row - 固定行数, col))};
}

void FlexGrid::点击(int row, int col) {
    当前行 = row;
    当前列 = col;
    if (row >= 固定行数)
        setCurrentCell(row - 固定行数, col);
    if (单击)
        单击();
}

void FlexGrid::单击格(int row, int col) {
    检查(row, col);
    if (row >= 固定行数)
        scrollTo(model()->index(row - 固定行数, col));
    点击(row, col);
}

bool FlexGrid::格在视野内(int row, int col) const {
    const auto [target, rect] = 格位置(row, col);
    if (row < 固定行数)
        return horizontalHeader()->isVisible() && target->rect().contains(rect);
    return viewport()->rect().contains(rect);
}

void FlexGrid::keyPressEvent(QKeyEvent *event) {
    const int key = event->key();
    const bool acts = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    if (块选 && 块选命令键(event))
        return;
    if (acts && event->modifiers() == Qt::NoModifier && currentIndex().isValid()) {
        点击(currentRow() + 固定行数, currentColumn());
        event->accept();
        return;
    }
    if (键入编辑 && 是键入(event)) {
        if (QWidget *editor = 键入目标()) {
            QKeyEvent typed(QEvent::KeyPress, key, event->modifiers(), event->text());
            QCoreApplication::sendEvent(editor, &typed);
        }
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void FlexGrid::focusInEvent(QFocusEvent *event) {
    if (键入编辑 && !currentIndex().isValid() && rowCount() > 0 && columnCount() > 固定列数)
        setCurrentCell(0, 固定列数);
    QTableWidget::focusInEvent(event);
}

void FlexGrid::inputMethodEvent(QInputMethodEvent *event) {
    const bool text = !event->commitString().isEmpty() || !event->preeditString().isEmpty();
    if (!键入编辑 || !text) {
        QTableWidget::inputMethodEvent(event);
        return;
    }
    if (QWidget *editor = 键入目标()) {
        QInputMethodEvent typed(event->preeditString(), event->attributes());
        typed.setCommitString(event->commitString(), event->replacementStart(),
                              event->replacementLength());
        QCoreApplication::sendEvent(editor, &typed);
    }
    event->accept();
}

// Opens the highlighted cell as a click would, in view, and returns the editor now laid over it
// (or the table's editor elsewhere) with the focus. Nothing when no cell is highlighted, or when
// the click left the focus elsewhere (a refused entry the clerk went back to): a key must never
// land in a cell out of sight.
QWidget *FlexGrid::键入目标() {
    if (!currentIndex().isValid())
        return nullptr;
    const int row = currentRow() + 固定行数, col = currentColumn();
    单击格(row, col); // brought into view first: the clerk sees what the key writes
    QWidget *editor = QApplication::focusWidget();
    if (!editor || editor == this || !editor->isVisible())
        return nullptr;
    if (别处编辑框)
        return editor == 别处编辑框 ? editor : nullptr;
    const auto [target, rect] = 格位置(row, col);
    const QPoint centre = editor->mapToGlobal(editor->rect().center());
    const QRect shown(target->mapToGlobal(rect.topLeft()), rect.size());
    return shown.contains(centre) ? editor : nullptr;
}

bool FlexGrid::viewportEvent(QEvent *event) {
    if (event->type() != QEvent::ToolTip)
        return QTableWidget::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = index.isValid() ? index.data().toString() : QString();
    const QRect cell = visualRect(index);
    if (text.isEmpty() || fontMetrics().horizontalAdvance(text) + 6 <= cell.width())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, viewport(), cell);
    return true;
}

QModelIndex FlexGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex next = QTableWidget::moveCursor(action, modifiers);
    if (!next.isValid() || next.column() >= 固定列数)
        return next;
    if (固定列数 >= columnCount())
        return currentIndex();
    return model()->index(next.row(), 固定列数);
}

void 保持末行空白(FlexGrid &grid, int editedRow, int lastCol) {
    const int change = 末行变化(grid.Rows(), editedRow, [&](int r) {
        for (int c = 0; c <= lastCol && c < grid.Cols(); ++c)
            if (单元已填(grid.TextMatrix(r, c)))
                return true;
        return false;
    });
    if (change != 0)
        grid.setRows(grid.Rows() + change);
    if (change > 0)
        grid.scrollTo(grid.model()->index(grid.rowCount() - 1, std::max(grid.Col(), 0)));
}

void 块后保持末行空白(FlexGrid &grid, int lastCol, const std::function<bool(int col)> &skipped) {
    const auto holds = [&](int r, int c) { return 单元已填(grid.TextMatrix(r, c)); };
    const auto empty = [&](int r) {
        for (int c = 0; c < grid.Cols(); ++c)
            if (!skipped(c) && holds(r, c))
                return false;
        return true;
    };
    const auto filled = [&](int r) {
        for (int c = 0; c <= lastCol && c < grid.Cols(); ++c)
            if (holds(r, c))
                return true;
        return false;
    };
    grid.setRows(块后行数(grid.Rows(), empty, filled));
}

QList<QStringList> 数据行(const FlexGrid &grid) {
    QList<QStringList> rows;
    for (int r = 1; r < grid.Rows(); ++r) {
        QStringList row;
        for (int k = 0; k < grid.Cols(); ++k)
            row << grid.TextMatrix(r, k);
        rows << row;
    }
    return rows;
}
