#include "interest/interest_rules.h"

#include "common/varnel_error.h"
#include "interest/interest_text.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace {

// From its first day on, each day earns principal (ten-thousandths of a yuan) × 每日 on the
// principal outstanding that day.
struct 利率段 {
    QDate 起;
    分数 每日;
    QString 文本;
};

struct 拒绝 {
    拒绝处 处;
    QString 说明;
    int 行 = -1;
};

Money 到分(const 分数 &万分) {
    if (万分.分母() > INT64_MAX)
        溢出();
    return 宽值到分(万分.分子(), std::int64_t(万分.分母()));
}

QDate 首日(const 计息输入 &in) {
    return in.方式 == 计息方式::迟延履行 ? in.起算日.addDays(1) : in.起算日;
}

std::optional<拒绝> 检查输入(const 计息输入 &in, std::optional<分数> &倍数,
                             std::optional<分数> &年利率) {
    const bool 迟延 = in.方式 == 计息方式::迟延履行;
    if (in.本金 < Money{})
        return 拒绝{拒绝处::本金, QStringLiteral("本金不能是负数。")};
    if (!in.起算日.isValid())
        return 拒绝{拒绝处::起算日, QStringLiteral("请输入起算日。")};
    if (!in.截止日.isValid())
        return 拒绝{拒绝处::截止日, QStringLiteral("请输入截止日。")};
    if (in.截止日 < 首日(in))
        return 拒绝{拒绝处::截止日, 迟延 ? QStringLiteral("截止日应晚于履行期限届满日。")
                                         : QStringLiteral("截止日不能早于起算日。")};
    倍数 = 迟延 ? 分数(1) : 读分数(in.倍数);
    if (!倍数 || *倍数 <= 分数(0))
        return 拒绝{拒绝处::倍数, QStringLiteral("倍数应是大于0的数。")};
    年利率 = in.方式 == 计息方式::固定年利率 ? 读分数(in.年利率) : 分数(0);
    if (!年利率 || 年利率->为负())
        return 拒绝{拒绝处::年利率, QStringLiteral("年利率应是不小于0的百分数。")};
    if (in.年天数 != 365 && in.年天数 != 360)
        return 拒绝{拒绝处::年天数, QStringLiteral("年天数只能是365或360。")};
    for (int i = 0; i < in.还款.size(); ++i) {
        const auto &p = in.还款[i];
        if (!p.日期.isValid() || p.日期 < 首日(in) || p.日期 > in.截止日)
            return 拒绝{
                拒绝处::还款,
                QStringLiteral("还款日期应在%1至%2之间。").arg(年月日(首日(in)), 年月日(in.截止日)),
                i};
        if (p.金额 <= Money{})
            return 拒绝{拒绝处::还款, QStringLiteral("还款金额应大于0。"), i};
    }
    return std::nullopt;
}

std::optional<利率种类> 所用种类(const 计息输入 &in) {
    switch (in.方式) {
    case 计息方式::一年期LPR:
        return 利率种类::LPR1Y;
    case 计息方式::五年期LPR:
        return 利率种类::LPR5Y;
    case 计息方式::基准利率:
        return 基准期限(首日(in), in.截止日);
    default:
        return std::nullopt;
    }
}

// The first day of the period that has no published rate of the kind, if any.
std::optional<QDate> 无利率之日(const 利率表 &table, 利率种类 kind, const QDate &first,
                                const QDate &last) {
    if (!table.当日(kind, first))
        return first;
    if (是基准利率(kind) && last > 基准利率末日())
        return 基准利率末日().addDays(1);
    return std::nullopt;
}

分数 每日(const 计息输入 &in, const 分数 &annualPercent, const 分数 &multiple) {
    if (in.方式 == 计息方式::迟延履行)
        return 分数::比(175, 1000000);
    return annualPercent * multiple / 分数(100LL * in.年天数);
}

// The rates of the period, each from its first day.
QList<利率段> 利率各段(const 计息输入 &in, const 利率表 &table, const std::optional<利率种类> &kind,
                       const 分数 &multiple, const 分数 &fixed) {
    const auto 段 = [&](const QDate &from, const 分数 &annual) {
        return 利率段{from, 每日(in, annual, multiple), 利率文本(in.方式, annual, multiple)};
    };
    const QDate first = 首日(in);
    if (!kind)
        return {段(first, fixed)};
    QList<利率段> parts{段(first, table.当日(*kind, first)->年利率)};
    if (in.分段)
        for (const QDate &d : table.变动日(*kind, first, in.截止日))
            parts.append(段(d, table.当日(*kind, d)->年利率));
    return parts;
}

struct 账 {
    Money 本金;
    分数 未结; // interest accrued since it was last rounded, in ten-thousandths of a yuan
    Money 欠息;
    Money 合计;
    Money 多付;
};

// The interest accrued and not yet paid becomes an amount owed, rounded to the fen.
void 结息(账 &a) {
    const Money r = 到分(a.未结);
    a.欠息 += r;
    a.合计 += r;
    a.未结 = 分数(0);
}

Money 抵(Money &owed, Money &amount) {
    const Money x = std::min(owed, amount);
    owed = owed - x;
    amount = amount - x;
    return x;
}

void 还(账 &a, Money amount, bool principalFirst) {
    if (principalFirst) {
        抵(a.本金, amount);
        抵(a.欠息, amount);
    } else {
        抵(a.欠息, amount);
        抵(a.本金, amount);
    }
    a.多付 += amount;
}

// Days from..to at the principal of the account and the rate of the part: the interest accrues,
// and the stretch joins the last row when principal and rate are the same.
void 计一段(账 &a, const 利率段 &rate, const QDate &from, const QDate &to, QList<计息明细行> &rows,
            QList<分数> &exact) {
    if (a.本金 == Money{})
        return;
    const long long days = from.daysTo(to) + 1;
    const 分数 interest = 分数(a.本金.万分) * rate.每日 * 分数(days);
    a.未结 += interest;
    if (!rows.isEmpty() && rows.last().截止日期.addDays(1) == from &&
        rows.last().计息本金 == a.本金 && rows.last().利率 == rate.文本) {
        rows.last().截止日期 = to;
        rows.last().天数 += days;
        exact.last() += interest;
        return;
    }
    rows.append({from, to, days, a.本金, rate.文本, Money{}});
    exact.append(interest);
}

// The days of the period stretch by stretch, a stretch ending at a change of rate or a payment
// day; a payment comes after its day's interest. Returns the rows' exact interest.
QList<分数> 逐段计息(const 计息输入 &in, const QList<利率段> &rates, 账 &a,
                     QList<计息明细行> &rows) {
    QList<int> order(in.还款.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int x, int y) { return in.还款[x].日期 < in.还款[y].日期; });
    QList<分数> exact;
    int ri = 0, pi = 0;
    for (QDate day = 首日(in); day <= in.截止日;) {
        const QDate rateEnd = ri + 1 < rates.size() ? rates[ri + 1].起.addDays(-1) : in.截止日;
        QDate to = rateEnd;
        if (pi < order.size())
            to = std::min(to, in.还款[order[pi]].日期);
        计一段(a, rates[ri], day, to, rows, exact);
        if (to == rateEnd && ri + 1 < rates.size())
            ++ri;
        for (; pi < order.size() && in.还款[order[pi]].日期 == to; ++pi) {
            结息(a);
            还(a, in.还款[order[pi]].金额, in.方式 == 计息方式::迟延履行);
        }
        day = to.addDays(1);
    }
    结息(a);
    return exact;
}

// The date after which the period took the latest published rate, if it did.
QDate 按最近一期之后(const 计息输入 &in, const 利率表 &table, const std::optional<利率种类> &kind) {
    if (!kind || 是基准利率(*kind))
        return {};
    const QDate latest = table.最近公布(*kind);
    const bool past = in.截止日 > latest && (in.分段 || 首日(in) > latest);
    return past ? latest : QDate();
}

// A refusal carries no figures, not even those worked out before it.
计息结果 拒绝结果(const 拒绝 &r, const 利率表 &table) {
    计息结果 out;
    out.利率表截至 = table.截至();
    out.拒绝 = r.处;
    out.拒绝说明 = r.说明;
    out.还款行 = r.行;
    return out;
}

} // namespace

计息结果 计算利息(const 计息输入 &in, const 利率表 &table) {
    std::optional<分数> multiple, fixed;
    if (const auto r = 检查输入(in, multiple, fixed))
        return 拒绝结果(*r, table);
    const auto kind = 所用种类(in);
    if (kind)
        if (const auto day = 无利率之日(table, *kind, 首日(in), in.截止日))
            // The start is at fault when the first day has no rate; else the period runs on
            // past the last rate of the kind, and the end is.
            return 拒绝结果(
                {*day == 首日(in) ? 拒绝处::起算日 : 拒绝处::截止日,
                 QStringLiteral("%1没有公布的%2，不能按这种方式计算。")
                     .arg(年月日(*day), 是基准利率(*kind) ? QStringLiteral("贷款基准利率")
                                                          : QStringLiteral("LPR"))},
                table);
    try {
        计息结果 result;
        result.利率表截至 = table.截至();
        账 a{in.本金, 分数(0), {}, {}, {}};
        const QList<分数> exact =
            逐段计息(in, 利率各段(in, table, kind, *multiple, *fixed), a, result.明细);
        Money rowSum;
        for (int i = 0; i < exact.size(); ++i)
            rowSum += result.明细[i].利息 = 到分(exact[i]);
        result.利息合计 = a.合计;
        result.尚欠本金 = a.本金;
        result.尚欠利息 = a.欠息;
        result.本息合计 = a.本金 + a.欠息;
        result.多付 = a.多付;
        const 说明要素 facts{首日(in),
                             *multiple,
                             *fixed,
                             kind.value_or(利率种类::LPR1Y),
                             按最近一期之后(in, table, kind),
                             rowSum};
        result.计算说明 = 计算说明(in, result, facts);
        return result;
    } catch (const VarnelError &e) {
        return 拒绝结果(
            {拒绝处::数额, QStringLiteral("数额太大，无法精确计算（%1）。").arg(e.description())},
            table);
    }
}
