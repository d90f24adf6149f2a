#pragma once

#include "interest/interest_rules.h"

// The texts of an interest computation, apart from the arithmetic.

// "2025年5月20日".
QString 年月日(const QDate &d);

// The rate of a row: "3.85%×1", or "日万分之1.75" for delayed performance.
QString 利率文本(计息方式 method, const 分数 &annualPercent, const 分数 &multiple);

// The benchmark term of a period from its first to its last day, counted by calendar months
// from the first day: six months or less, to one year, to three, to five, over five years.
利率种类 基准期限(const QDate &first, const QDate &last);

// What the explanation needs besides the input and the figures of the result.
struct 说明要素 {
    QDate 首日; // the first day of interest
    分数 倍数;
    分数 固定年利率;
    利率种类 种类 = 利率种类::LPR1Y; // the kind of published rate used
    QDate 按最近一期之后;            // valid when days past this date took its rate
    Money 各行之和;                  // the rows' rounded interest added up
};

// The paragraph under the results: period, method and source, the figures, and what the clerk
// must know about them (an overpayment, a fen between the rows and the total, a rate past the
// latest publication).
QString 计算说明(const 计息输入 &input, const 计息结果 &result, const 说明要素 &facts);
