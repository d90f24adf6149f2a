// The part payments table: a date and an amount a row, one blank row kept at the bottom for the
// next payment, typed and pasted as the case fund tables are. A payment the rules refuse shows
// light red in its cell.
#include "interest/interest_window.h"

#include "common/blank_row.h"
#include "common/date_text.h"
#include "common/grid.h"
#include "common/number_text.h"
#include "common/table_editing.h"
#include "common/varnel_error.h"

namespace {

const QColor 浅红(255, 128, 128);

// Why a payment cell cannot take the text: no date in column 0, no amount in column 1.
enum class 拒绝 { 无, 日期, 金额 };

拒绝 还款格检查(int col, const QString &text) {
    if (去尾空格(text).isEmpty())
        return 拒绝::无;
    if (col == 0)
        return 是日期(text) ? 拒绝::无 : 拒绝::日期;
    Money amount;
    return 读金额(text, amount) ? 拒绝::无 : 拒绝::金额;
}

} // namespace

void Fo利息计算::连接还款编辑() {
    编辑 = std::make_unique<表格编辑>(this, [this] { 计算(); });
    编辑表 t;
    t.表 = MSF还款;
    t.文本框 = Tex还款;
    t.末填列 = 1;
    t.金额列 = {1};
    t.检查 = [](int, int col, const QString &text) {
        switch (还款格检查(col, text)) {
        case 拒绝::日期:
            return 非日期问句(text);
        case 拒绝::金额:
            return 非金额问句(text);
        default:
            return QString();
        }
    };
    t.规则 = [] {
        粘贴规则 rules;
        rules.末填列 = 1;
        rules.行名 = [](int) { return QString(); };
        rules.检查 = [](int, int col, const QString &text, const 粘贴行 &) {
            const 拒绝 reason = 还款格检查(col, text);
            if (reason == 拒绝::无)
                return QString();
            return 粘贴拒绝(text, reason == 拒绝::日期 ? QStringLiteral("不是日期")
                                                       : QStringLiteral("不是数字"));
        };
        return rules;
    };
    编辑->加表(t);
}

// The payments in the table's order; a row without an amount is none yet (its date may just
// have been typed). An amount without a date gives an invalid date, which the rules refuse.
// rows gets the grid row of each payment.
QList<部分还款> Fo利息计算::还款表(QList<int> *rows) const {
    QList<部分还款> payments;
    for (int r = MSF还款->FixedRows(); r < MSF还款->Rows(); ++r) {
        const QString date = MSF还款->TextMatrix(r, 0), amount = MSF还款->TextMatrix(r, 1);
        if (!单元已填(amount))
            continue;
        payments.append({读日期(date).value_or(QDate()), 文本金额(amount)});
        if (rows)
            rows->append(r);
    }
    return payments;
}

// Light red on the one cell the rules refused (none for a row below 0), the rest plain.
void Fo利息计算::标出还款(int row, int col) {
    for (int r = MSF还款->FixedRows(); r < MSF还款->Rows(); ++r)
        for (int c = 0; c < 2; ++c)
            if (QTableWidgetItem *item = MSF还款->item(r - MSF还款->FixedRows(), c))
                item->setBackground(r == row && c == col ? QBrush(浅红) : QBrush());
}
