// Editors laid over table cells, their commits and their refusals. A refused entry is never
// left behind silently: before a click, a key, a scroll or a command takes the clerk away from
// an editor whose text was refused, a box asks: 重试 goes back to the editor with its text
// selected; 取消 puts back what the cell held when the editor was opened and lets the action go
// on.
#include "common/table_editing.h"

#include "common/controls.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "common/twips.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>

namespace {

const QString 出错标题 = QStringLiteral("输入出错提示");

void 设编辑器底色(QWidget *editor, bool accepted) {
    QPalette p = editor->palette();
    p.setColor(QPalette::Base, accepted ? QColor(255, 255, 255) : QColor(255, 128, 128));
    editor->setPalette(p);
}

} // namespace

QString 非金额问句(const QString &text) {
    return QStringLiteral("输入的内容“%1”不是有效的金额。").arg(引述(text));
}

QString 非日期问句(const QString &text) {
    return QStringLiteral("输入的内容“%1”不是有效的日期。").arg(引述(text));
}

表格编辑::表格编辑(QWidget *window, std::function<void()> afterCommit)
    : 窗口(window), 提交后(std::move(afterCommit)) {}

void 表格编辑::加表(const 编辑表 &table) {
    各表.push_back(std::make_unique<表>());
    表 &t = *各表.back();
    t.设 = table;
    t.设.表->设单击([this, &t] { 捕获错误([&] { 单击(t); }); });
    QObject::connect(t.设.文本框, &QLineEdit::textChanged, 窗口,
                     [this, &t] { 捕获错误([&] { 文本提交(t); }); });
    if (t.设.组合框)
        连接改动与选取(t.设.组合框, 窗口, [this, &t] { 捕获错误([&] { 组合提交(t); }); });
    t.设.表->设键入编辑();
    t.设.表->设块选(t.设.金额列);
    连接键盘(t);
    连接块命令(t);
}

表格编辑::表 *表格编辑::表格(const FlexGrid *grid) {
    for (auto &t : 各表)
        if (t->设.表 == grid)
            return t.get();
    return nullptr;
}

表格编辑::表 *表格编辑::编辑器的表(const QWidget *editor) {
    for (auto &t : 各表)
        if (editor == t->设.文本框 || (t->设.组合框 && editor == t->设.组合框))
            return t.get();
    return nullptr;
}

bool 表格编辑::可编辑(const 表 &t, int row, int col) const {
    return !t.设.可编辑 || t.设.可编辑(row, col);
}

void 表格编辑::编辑器位置(QWidget *editor, const FlexGrid &grid, int row, int col,
                          bool keepHeight) {
    const int left = 缇左(&grid) + grid.ColPos(col) + 50;
    const int top = 缇上(&grid) + grid.RowPos(row) + 50;
    const int height = keepHeight ? 缇(editor->sizeHint().height()) : grid.RowHeight(row) - 10;
    放置(editor, left, top, grid.ColWidth(col) - 10, height);
}

void 表格编辑::放置编辑器(QWidget *editor, const FlexGrid &grid, int row, int col,
                          bool keepHeight) {
    编辑器位置(editor, grid, row, col, keepHeight);
    const QString text = grid.TextMatrix(row, col);
    if (auto *box = qobject_cast<QLineEdit *>(editor))
        box->setText(text);
    else if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        // The list's highlight follows the cell, so that Down from an empty cell starts at the
        // first item and not after the item of an earlier cell.
        {
            const QSignalBlocker quiet(combo);
            combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
        }
        combo->setEditText(text);
    }
    editor->show();
    editor->raise();
    editor->setFocus();
    // The whole text selected, so that typing replaces the cell as in a spreadsheet; a second
    // click inside the editor places the caret.
    if (auto *box = qobject_cast<QLineEdit *>(editor))
        box->selectAll();
    else if (auto *combo = qobject_cast<QComboBox *>(editor))
        combo->lineEdit()->selectAll();
}

// The clicked cell is taken first: hiding the list editor may commit its text, and every commit
// moves the grid's current cell. A cell no editor opens on leaves the text editor where it is.
void 表格编辑::单击(表 &t) {
    FlexGrid &grid = *t.设.表;
    const int row = grid.Row();
    const int col = grid.Col();
    if (row == 0)
        return;
    const bool list = col == t.设.组合框列;
    if (!list && !可编辑(t, row, col)) {
        if (t.设.组合框)
            t.设.组合框->hide();
        return;
    }
    if (!可离开编辑器())
        return;
    if (list) {
        t.设.文本框->hide();
        t.组合行 = row;
        放置编辑器(t.设.组合框, grid, row, col, true);
        return;
    }
    if (t.设.组合框)
        t.设.组合框->hide();
    t.行 = row;
    t.列 = col;
    t.原文 = grid.TextMatrix(row, col);
    t.问句.clear();
    设编辑器底色(t.设.文本框, true);
    放置编辑器(t.设.文本框, grid, row, col, false);
}

void 表格编辑::文本提交(表 &t) {
    FlexGrid &grid = *t.设.表;
    grid.setRow(t.行);
    grid.setCol(t.列);
    grid.当前格左对齐();
    const QString text = t.设.文本框->text();
    QString why;
    try {
        why = t.设.检查 ? t.设.检查(t.行, t.列, text) : QString();
    } catch (...) {
        设拒绝(t, 非金额问句(text));
        throw;
    }
    设拒绝(t, why);
    if (!why.isEmpty() && !t.设.拒绝也提交)
        return;
    if (why.isEmpty())
        grid.setText(text);
    保持末行空白(grid, t.行, t.设.末填列);
    提交后();
}

void 表格编辑::组合提交(表 &t) {
    FlexGrid &grid = *t.设.表;
    grid.setRow(t.组合行);
    grid.setCol(t.设.组合框列);
    grid.setText(t.设.组合框->currentText());
    grid.当前格左对齐();
    保持末行空白(grid, t.组合行, t.设.末填列);
    提交后();
}

void 表格编辑::设拒绝(表 &t, const QString &question) {
    t.问句 = question;
    设编辑器底色(t.设.文本框, question.isEmpty());
}

// An editor still over its cell (perhaps scrolled out of view) whose text was refused.
bool 表格编辑::待离开(const 表 &t) const {
    return !t.问句.isEmpty() && (!t.设.文本框->isHidden() || t.设.文本框->滚出视野());
}

bool 表格编辑::可离开编辑器() {
    for (auto &t : 各表) {
        if (!待离开(*t))
            continue;
        // A second way out while the question is open (a scroll under the box) waits for it.
        if (询问中)
            return false;
        询问中 = true;
        const bool retry = 消息框::重试取消(t->问句, 出错标题);
        询问中 = false;
        if (retry) {
            回到编辑器(*t);
            return false;
        }
        撤回编辑(*t);
    }
    return true;
}

void 表格编辑::回到编辑器(表 &t) {
    FlexGrid &grid = *t.设.表;
    grid.setRow(t.行);
    grid.setCol(t.列);
    if (!grid.格在视野内(t.行, t.列))
        grid.scrollTo(grid.model()->index(t.行 - grid.FixedRows(), t.列));
    编辑器跟随();
    QLineEdit *editor = t.设.文本框;
    editor->show();
    editor->raise();
    editor->setFocus();
    editor->selectAll();
}

void 表格编辑::撤回编辑(表 &t) {
    FlexGrid &grid = *t.设.表;
    {
        const QSignalBlocker quiet(t.设.文本框);
        t.设.文本框->setText(t.原文);
    }
    设拒绝(t, QString());
    if (t.行 < 1 || t.行 >= grid.Rows() || t.列 >= grid.Cols())
        return;
    grid.setTextMatrix(t.行, t.列, t.原文);
    保持末行空白(grid, t.行, t.设.末填列);
    提交后();
}

bool 表格编辑::有滚出的拒绝() const {
    for (const auto &t : 各表)
        if (待离开(*t) && t->设.文本框->滚出视野())
            return true;
    return false;
}

// A scroll has taken a refused editor out of view: the question comes once the scroll is done,
// not from inside it.
void 表格编辑::滚出后询问() {
    if (!有滚出的拒绝() || 滚出询问已排)
        return;
    滚出询问已排 = true;
    QTimer::singleShot(0, 窗口, [this] {
        滚出询问已排 = false;
        if (有滚出的拒绝())
            捕获错误([this] { 可离开编辑器(); });
    });
}

void 表格编辑::收起全部() {
    for (auto &t : 各表) {
        藏起编辑器(*t);
        t->行 = t->列 = t->组合行 = 0;
    }
}
