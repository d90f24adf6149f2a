#pragma once

#include "common/money.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

// The texts of one claim row that the distribution reads.
struct 债权行 {
    QString 金额; // column 1, claim amount
    QString 性质; // column 2, nature of the claim
    QString 优先; // column 3, of which the mortgage-priority amount
};

// The class of a nature text, trailing U+0020 blanks removed, compared exactly:
// 0 litigation costs, 1 mortgage, 2 wages and labour insurance, 3 taxes, 4 everything else.
int 债权类别(const QString &nature);
bool 是抵押(const QString &nature);
// The six class names of the nature list, in its order.
const QStringList &分配类别名称();

// The total paid in: the sum of the payment amount texts that are numbers.
Money 已交案款合计(const QStringList &paymentAmounts);
// F_k: class k's total of the claim rows.
Money 类别债权合计(const QList<债权行> &claims, int k);

// The figures of one run.
struct 分配汇总 {
    Money P, T, v;
    std::array<Money, 5> F{}, A{}, pct{};
    std::array<double, 5> ρ{};
};

// Called with each claim row's allocated amount text, row by row from the first.
using 写分配函数 = std::function<void(int row, const QString &text)>;
// Called with the summary so far, on-screen and kept forms, after the head and each sentence.
using 写摘要函数 = std::function<void(const QString &screen, const QString &kept)>;

// One run of the distribution: class totals, each claim row's allocation rounded to the fen,
// then the summary. An overflow raises where it happens; what was written before it stays.
分配汇总 分配计算(const QStringList &paymentAmounts, const QList<债权行> &claims,
                  const 写分配函数 &writeAllocation, const 写摘要函数 &writeSummary);
