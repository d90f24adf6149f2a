#pragma once

#include "common/money.h"
#include "interest/rate_table.h"

#include <QDate>
#include <QList>
#include <QString>

// What the interest runs on, in the order the clerk chooses among them: the doubled interest
// for delayed performance (a day rate of 1.75 in ten thousand), the one-year loan prime rate,
// the over-five-year loan prime rate, the benchmark loan rate of the term, and a fixed rate.
enum class 计息方式 { 迟延履行, 一年期LPR, 五年期LPR, 基准利率, 固定年利率 };

struct 部分还款 {
    QDate 日期;
    Money 金额;
};

struct 计息输入 {
    计息方式 方式 = 计息方式::一年期LPR;
    Money 本金;
    // For 迟延履行 the day the judgment's time to perform ran out: the interest runs from the
    // next day. For the others the first day of interest. Both count 截止日 itself.
    QDate 起算日;
    QDate 截止日;
    // Texts as typed, read exactly: the multiple of the rate (not used for 迟延履行) and the
    // annual rate in percent of 固定年利率.
    QString 倍数 = QStringLiteral("1");
    QString 年利率;
    int 年天数 = 365; // 365 or 360: the day rate is the annual rate divided by it
    // Each day at the rate in force that day, or the whole period at the rate of its first day.
    bool 分段 = true;
    QList<部分还款> 还款; // in any order; taken in date order, the same day in list order
};

// A stretch of days with the same principal and rate.
struct 计息明细行 {
    QDate 起始日期;
    QDate 截止日期;
    long long 天数 = 0;
    Money 计息本金;
    QString 利率; // "3.85%×1" or "日万分之1.75"
    Money 利息;   // the stretch's exact interest rounded half up to the fen
};

// The input that stops a computation; 还款行 is the index in 计息输入::还款 of the payment.
// 数额: the figures went beyond what exact arithmetic holds, none of the inputs alone at fault.
enum class 拒绝处 { 无, 本金, 起算日, 截止日, 倍数, 年利率, 年天数, 还款, 数额 };

struct 计息结果 {
    拒绝处 拒绝 = 拒绝处::无;
    int 还款行 = -1;
    QString 拒绝说明;

    QList<计息明细行> 明细;
    Money 利息合计; // all interest accrued, rounded on each payment day and at the end
    Money 尚欠本金;
    Money 尚欠利息; // accrued less what the payments paid of it
    Money 本息合计;
    Money 多付; // what the payments left over after all that was owed
    QString 计算说明;
    QDate 利率表截至;

    bool 成功() const { return 拒绝 == 拒绝处::无; }
};

// The interest by the rules of the chosen method; a refusal names the input and says why.
计息结果 计算利息(const 计息输入 &input, const 利率表 &table);
