// Editing the payments and claims tables: an editor laid over the clicked cell commits on every
// change, flags what it cannot accept in light red, keeps one blank row at the bottom and
// redistributes the money.
#include "casefund/case_fund_window.h"

#include "common/controls.h"
#include "common/date_text.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "common/money.h"
#include "common/number_text.h"
#include "common/twips.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

void Fo案款分配计算::连接编辑器() {
    MSFjk->设单击([this] { 捕获错误([this] { 交款表单击(); }); });
    MSFzc->设单击([this] { 捕获错误([this] { 债权表单击(); }); });
    connect(tEXTAK, &QLineEdit::textChanged, this, [this] { 捕获错误([this] { 交款提交(); }); });
    connect(Tefp, &QLineEdit::textChanged, this, [this] { 捕获错误([this] { 债权提交(); }); });
    连接改动与选取(Comzq, this, [this] { 捕获错误([this] { 性质提交(); }); });
    MSFjk->设键入编辑();
    MSFzc->设键入编辑();
    连接编辑器键盘();
}

void Fo案款分配计算::设编辑器底色(QWidget *editor, bool accepted) {
    QPalette p = editor->palette();
    p.setColor(QPalette::Base, accepted ? QColor(255, 255, 255) : QColor(255, 128, 128));
    editor->setPalette(p);
}

void Fo案款分配计算::编辑器位置(QWidget *editor, const FlexGrid &grid, int row, int col,
                                bool keepHeight) {
    const int left = 缇左(&grid) + grid.ColPos(col) + 50;
    const int top = 缇上(&grid) + grid.RowPos(row) + 50;
    const int height = keepHeight ? 缇(editor->sizeHint().height()) : grid.RowHeight(row) - 10;
    放置(editor, left, top, grid.ColWidth(col) - 10, height);
}

void Fo案款分配计算::放置编辑器(QWidget *editor, const FlexGrid &grid, int row, int col,
                                bool keepHeight) {
    编辑器位置(editor, grid, row, col, keepHeight);
    开始编辑(editor, grid.TextMatrix(row, col));
    if (auto *box = qobject_cast<QLineEdit *>(editor))
        box->setText(grid.TextMatrix(row, col));
    else if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        // The list's highlight follows the cell, so that Down from an empty cell starts at the
        // first class and not after the class of an earlier cell.
        const QString text = grid.TextMatrix(row, col);
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

void Fo案款分配计算::交款表单击() {
    if (MSFjk->Row() == 0 || !可离开编辑器())
        return;
    交款编辑列 = short(MSFjk->Col());
    交款编辑行 = short(MSFjk->Row());
    放置编辑器(tEXTAK, *MSFjk, 交款编辑行, 交款编辑列, false);
}

// The clicked cell is taken first: hiding the combo may commit its text, and every commit moves
// the grid's current cell.
void Fo案款分配计算::债权表单击() {
    const int row = MSFzc->Row();
    const int col = MSFzc->Col();
    if (row == 0 || col == 4)
        return;
    // Column 3 of a claim that is not a mortgage claim leaves the text editor where it is.
    const bool 不移文本框 = col == 3 && !是抵押(MSFzc->TextMatrix(row, 2));
    if (!不移文本框 && !可离开编辑器())
        return;
    if (col == 2) {
        Comzq->show();
        Tefp->hide();
        性质编辑列 = short(col);
        性质编辑行 = short(row);
        放置编辑器(Comzq, *MSFzc, row, col, true);
        return;
    }
    Comzq->hide();
    if (不移文本框)
        return;
    Tefp->show();
    债权编辑列 = short(col);
    债权编辑行 = short(row);
    放置编辑器(Tefp, *MSFzc, row, col, false);
}

void Fo案款分配计算::交款提交() {
    MSFjk->setRow(交款编辑行);
    MSFjk->setCol(交款编辑列);
    MSFjk->当前格左对齐();
    const QString text = tEXTAK->text();
    const 拒绝 reason = 交款格检查(交款编辑列, text);
    设拒绝(tEXTAK, reason);
    if (reason == 拒绝::无)
        MSFjk->setText(text);
    保持末行空白(*MSFjk, 交款编辑行, 末填列);
    分配计算();
}

Fo案款分配计算::拒绝 Fo案款分配计算::交款格检查(int col, const QString &text) {
    if (去尾空格(text).isEmpty())
        return 拒绝::无;
    if (col == 1 && !是数字(text))
        return 拒绝::金额;
    if (col == 2 && !是日期(text))
        return 拒绝::日期;
    return 拒绝::无;
}

Fo案款分配计算::拒绝 Fo案款分配计算::债权金额检查(int col, const QString &text,
                                                  const QString &other) {
    if (去尾空格(text).isEmpty())
        return 拒绝::无;
    // The priority part of a mortgage claim may not exceed the claim amount, compared as money.
    // A typed amount too large for money raises the overflow error: the commit ends there.
    Money typed;
    if (!读金额(text, typed))
        return 拒绝::金额;
    Money otherAmount;
    if (!读金额(other, otherAmount))
        otherAmount = Money{};
    const Money amount = col == 1 ? typed : otherAmount;
    const Money priority = col == 1 ? otherAmount : typed;
    return priority <= amount ? 拒绝::无 : 拒绝::优先;
}

void Fo案款分配计算::债权提交() {
    MSFzc->setRow(债权编辑行);
    MSFzc->setCol(债权编辑列);
    MSFzc->当前格左对齐();
    const QString text = Tefp->text();
    // Refused until the text is taken, so that a text ended by an error shows as refused.
    设拒绝(Tefp, 拒绝::金额);
    if (债权编辑列 == 1 || 债权编辑列 == 3) {
        const QString other = MSFzc->TextMatrix(债权编辑行, 债权编辑列 == 1 ? 3 : 1);
        const 拒绝 reason = 债权金额检查(债权编辑列, text, other);
        设拒绝(Tefp, reason);
        if (reason != 拒绝::无)
            return;
    }
    设拒绝(Tefp, 拒绝::无);
    MSFzc->setText(text);
    保持末行空白(*MSFzc, 债权编辑行, 末填列);
    分配计算();
}

void Fo案款分配计算::性质提交() {
    MSFzc->setRow(性质编辑行);
    MSFzc->setCol(2);
    MSFzc->setText(Comzq->currentText());
    MSFzc->当前格左对齐();
    保持末行空白(*MSFzc, 性质编辑行, 末填列);
    分配计算();
}
