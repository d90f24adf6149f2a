#include "sentence/term_rules.h"

#include "common/date_text.h"
#include "common/number_text.h"

#include <cmath>
#include <limits>

namespace {

using I64 = long long;

bool fits32(I64 v) {
    return v >= std::numeric_limits<std::int32_t>::min() &&
           v <= std::numeric_limits<std::int32_t>::max();
}

// A valid calendar date exactly as written, within the representable range.
std::optional<QDate> 日历日(I64 y, I64 m, I64 d) {
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31)
        return std::nullopt;
    const QDate date{int(y), int(m), int(d)};
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

// The provisional end of the day rule; std::nullopt when none of the seven tries is a date.
std::optional<I64> 暂定终日(I64 y, I64 m, I64 d) {
    if (const auto exact = 日历日(y, m, d))
        return *日序(*exact) - 1;
    for (int back = 1; back <= 6; ++back)
        if (const auto earlier = 日历日(y, m, d - back))
            return *日序(*earlier);
    return std::nullopt;
}

std::optional<QDate> 次日(const QDate &d) {
    const auto n = 日序(d);
    return n ? 日序日期(*n + 1) : std::nullopt;
}

struct 周期 {
    QDate A, R1;
    bool 满年, 满日;
};

std::optional<周期> 周期比较(const QDate &detained, const QDate &released) {
    if (!日期在范围内(detained))
        return std::nullopt;
    const auto r1 = 次日(released);
    if (!r1)
        return std::nullopt;
    周期 p{detained, *r1, false, false};
    p.满年 = p.A.month() < p.R1.month() || (p.A.month() == p.R1.month() && p.A.day() <= p.R1.day());
    p.满日 = p.R1.day() >= p.A.day();
    return p;
}

} // namespace

std::optional<std::int32_t> 读刑期数(const QString &text) {
    const auto v = 数值(text);
    if (!v)
        return 0;
    return 取整32位(*v);
}

QDate 刑满日期计算(const std::optional<QDate> &start, std::optional<std::int32_t> years,
                   std::optional<std::int32_t> months, std::optional<std::int32_t> days,
                   const 羁押合计 &custody) {
    const QDate none = 零日期();
    if (!years || !months || !days)
        return none;
    if (*years < 1 && *months < 1 && *days < 1)
        return none;
    if (!start || !日期在范围内(*start))
        return none;
    const I64 yearPart = I64(start->year()) + *years - custody.年;
    const I64 total = yearPart * 12 + start->month() + *months - custody.月;
    if (!fits32(yearPart) || !fits32(yearPart * 12) || !fits32(total))
        return none;
    I64 y = total >= 0 ? total / 12 : -((-total + 11) / 12);
    I64 m = total - 12 * y;
    if (m == 0) {
        --y;
        m = 12;
    }
    const auto provisional = 暂定终日(y, m, start->day());
    if (!provisional)
        return none;
    const I64 end = *provisional + *days - custody.日;
    const auto result = 日序日期(end);
    return result ? *result : none;
}

std::int32_t 羁押年数(const QDate &detained, const QDate &released) {
    const auto p = 周期比较(detained, released);
    if (!p)
        return 0;
    return p->R1.year() - p->A.year() - (p->满年 ? 0 : 1);
}

std::int32_t 羁押月数(const QDate &detained, const QDate &released) {
    const auto p = 周期比较(detained, released);
    if (!p)
        return 0;
    return p->R1.month() + (p->满年 ? 0 : 12) - p->A.month() - (p->满日 ? 0 : 1);
}

std::int32_t 羁押天数(const QDate &detained, const QDate &released) {
    const auto p = 周期比较(detained, released);
    if (!p)
        return 0;
    const QDate 界 = QDate(1950, 1, 1);
    if (detained <= 界 || released <= 界)
        return 0;
    if (p->满日)
        return p->R1.day() - p->A.day();
    // The month before the month of the first day at liberty, and in it the day numbered as
    // the day of detention (or its last day when it is shorter).
    const QDate lastOfPrevious = p->R1.addDays(-p->R1.day());
    const QDate anchor(lastOfPrevious.year(), lastOfPrevious.month(),
                       std::min(p->A.day(), lastOfPrevious.day()));
    if (!日期在范围内(anchor))
        return 0;
    return std::int32_t(anchor.daysTo(released) + 1);
}
