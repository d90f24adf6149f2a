#include "fee/fee_rules.h"

#include "common/number_text.h"
#include "common/varnel_error.h"

#include <cmath>
#include <limits>

const QStringList &案件类型列表() {
    static const QStringList list{QStringLiteral("民事_财产（破产）案件"),
                                  离婚案件,
                                  QStringLiteral("民事_人身非财产案件"),
                                  QStringLiteral("民事_其他非财产案件"),
                                  QStringLiteral("民事_劳动争议案件"),
                                  QStringLiteral("民事_支付令件"),
                                  QStringLiteral("民事_公示催告"),
                                  QStringLiteral("行政_治安"),
                                  QStringLiteral("行政_其他"),
                                  执行费类型};
    return list;
}

namespace {

struct Bracket {
    double upTo; // the bracket's upper bound, which belongs to it
    double rate;
    double fixed;
};

// The property scale above 1 000 yuan; each bracket's formula joins the next without a step.
constexpr Bracket 财产档[] = {
    {50'000, 0.04, 10},       {100'000, 0.03, 510},
    {200'000, 0.02, 1'510},   {500'000, 0.015, 2'510},
    {1'000'000, 0.01, 5'010}, {std::numeric_limits<double>::infinity(), 0.005, 10'010},
};

const Bracket &档(double x) {
    for (const Bracket &b : 财产档)
        if (x <= b.upTo)
            return b;
    return 财产档[std::size(财产档) - 1];
}

// Divorce base fee from the joint property r.
Money 离婚基数(Money r) {
    if (r <= 元(10'000))
        return 元(50);
    return 实数金额(实数(r - 元(10'000)) * 0.01 + 50);
}

} // namespace

Money 财产标准(Money x) {
    if (x <= 元(1'000))
        return 元(50);
    const double v = 实数(x);
    const Bracket &b = 档(v);
    return 实数金额(v * b.rate + b.fixed);
}

Money 民事受理费(const QString &caseType, const QString &amount, const QString &joint) {
    const Money q = 文本金额(amount);
    const Money r = 文本金额(joint);
    const Money zero{};
    if (caseType == 离婚案件)
        return 离婚基数(r) + (q <= zero ? zero : 财产标准(q));
    if (caseType == QStringLiteral("民事_人身非财产案件"))
        return q == zero ? 元(100) : 财产标准(q);
    if (caseType == QStringLiteral("民事_其他非财产案件"))
        return q == zero ? 元(50) : 财产标准(q);
    if (caseType == QStringLiteral("民事_劳动争议案件"))
        return 元(50);
    if (caseType == QStringLiteral("民事_支付令件") || caseType == QStringLiteral("民事_公示催告"))
        return 元(100);
    if (caseType == QStringLiteral("民事_财产（破产）案件"))
        return 财产标准(q);
    return zero;
}

std::optional<QString> 行政受理费(const QString &caseType, const QString &amount) {
    if (!caseType.startsWith(QStringLiteral("行政")))
        return std::nullopt;
    Money x;
    if (!读金额(amount, x))
        return caseType == QStringLiteral("行政_治安") ? QStringLiteral("30")
                                                       : QStringLiteral("100");
    if (x <= 元(1'000))
        return QStringLiteral("50");
    const double v = 实数(x);
    const Bracket &b = 档(v);
    // Amount times rate, then times 0.1, cut to whole tens, then the fixed amount.
    const double fee = std::trunc(v * b.rate * 0.1) * 10 + b.fixed;
    return QString::number(static_cast<long long>(fee));
}

Money 执行费(const QString &amount) {
    if (amount.isEmpty())
        return 元(50);
    Money x;
    if (!读金额(amount, x))
        return Money{};
    if (x <= 元(10'000))
        return 元(50);
    if (x <= 元(500'000))
        return 实数金额(实数(x - 元(10'000)) * 0.005 + 50);
    return 实数金额(实数(x - 元(500'000)) * 0.001 + 2'500);
}

std::int32_t 取整显示(const QString &resultText) {
    return 长整数值(resultText);
}
