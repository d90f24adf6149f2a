// The part payments table: a date and an amount a row, one blank row kept at the bottom for the
// next payment. An editor laid over the clicked cell commits on every change; a text the cell
// cannot take turns the editor light red while the cell keeps its last accepted text, and a
// payment the rules refuse shows light red in its cell.
#include "interest/interest_window.h"

#include "common/blank_row.h"
#include "common/date_text.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "common/number_text.h"
#include "common/twips.h"
#include "common/varnel_error.h"
#include "common/window_events.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {

const QColor 浅红(255, 128, 128);

bool 可收(int col, const QString &text) {
    if (去尾空格(text).isEmpty())
        return true;
    if (col == 0)
        return 是日期(text);
    Money amount;
    try {
        return 读金额(text, amount);
    } catch (const VarnelError &) {
        return false;
    }
}

} // namespace

void Fo利息计算::连接还款编辑() {
    MSF还款->设单击([this] { 捕获错误([this] { 还款表单击(); }); });
    MSF还款->设键入编辑();
    MSF还款->设块选({1});
    connect(Tex还款, &QLineEdit::textChanged, this, [this] { 捕获错误([this] { 还款提交(); }); });
    连接按键(Tex还款, [this](QKeyEvent *e) { return 还款编辑器按键(e); });
}

// The payments in the table's order; a row with both cells blank is none. A date or amount
// missing from a row gives an invalid date or a zero amount, which the rules refuse. rows gets
// the grid row of each payment.
QList<部分还款> Fo利息计算::还款表(QList<int> *rows) const {
    QList<部分还款> payments;
    for (int r = MSF还款->FixedRows(); r < MSF还款->Rows(); ++r) {
        const QString date = MSF还款->TextMatrix(r, 0), amount = MSF还款->TextMatrix(r, 1);
        if (!单元已填(date) && !单元已填(amount))
            continue;
        payments.append({读日期(date).value_or(QDate()), 文本金额(amount)});
        if (rows)
            rows->append(r);
    }
    return payments;
}

void Fo利息计算::还款表单击() {
    if (MSF还款->Row() < MSF还款->FixedRows())
        return;
    if (!Tex还款->isHidden())
        收起还款编辑器(false);
    还款编辑行 = MSF还款->Row();
    还款编辑列 = MSF还款->Col();
    还款原文 = MSF还款->TextMatrix(还款编辑行, 还款编辑列);
    放置(Tex还款, 缇左(MSF还款) + MSF还款->ColPos(还款编辑列) + 50,
         缇上(MSF还款) + MSF还款->RowPos(还款编辑行) + 50, MSF还款->ColWidth(还款编辑列) - 10,
         MSF还款->RowHeight(还款编辑行) - 10);
    {
        const QSignalBlocker quiet(Tex还款);
        Tex还款->setText(还款原文);
    }
    Tex还款->setPalette(QPalette());
    Tex还款->show();
    Tex还款->raise();
    Tex还款->setFocus();
    Tex还款->selectAll();
}

void Fo利息计算::还款提交() {
    const QString text = Tex还款->text();
    const bool accepted = 可收(还款编辑列, text);
    QPalette p = Tex还款->palette();
    p.setColor(QPalette::Base, accepted ? QColor(Qt::white) : 浅红);
    Tex还款->setPalette(p);
    if (!accepted)
        return;
    MSF还款->setTextMatrix(还款编辑行, 还款编辑列, text);
    保持末行空白(*MSF还款, 还款编辑行, 1);
    计算();
}

// Enter and Tab leave the editor for the table; Esc puts back what the cell held.
bool Fo利息计算::还款编辑器按键(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        收起还款编辑器(false);
        return true;
    case Qt::Key_Escape:
        收起还款编辑器(true);
        return true;
    default:
        return false;
    }
}

// A refused text is not left behind silently: 重试 goes back to it, 取消 puts back the cell's
// text from when the editor was opened.
void Fo利息计算::收起还款编辑器(bool restore) {
    const QString text = Tex还款->text();
    if (!restore && !可收(还款编辑列, text)) {
        const QString what = 还款编辑列 == 0 ? QStringLiteral("日期") : QStringLiteral("金额");
        if (消息框::重试取消(QStringLiteral("输入的内容“%1”不是有效的%2。").arg(引述(text), what),
                             QStringLiteral("输入出错提示"))) {
            Tex还款->setFocus();
            Tex还款->selectAll();
            return;
        }
        restore = true;
    }
    if (restore)
        Tex还款->setText(还款原文);
    Tex还款->hide();
    MSF还款->setCurrentCell(还款编辑行 - MSF还款->FixedRows(), 还款编辑列);
    MSF还款->setFocus(Qt::OtherFocusReason);
}

// Light red on the one cell the rules refused (none for a row below 0), the rest plain.
void Fo利息计算::标出还款(int row, int col) {
    for (int r = MSF还款->FixedRows(); r < MSF还款->Rows(); ++r)
        for (int c = 0; c < 2; ++c)
            if (QTableWidgetItem *item = MSF还款->item(r - MSF还款->FixedRows(), c))
                item->setBackground(r == row && c == col ? QBrush(浅红) : QBrush());
}
