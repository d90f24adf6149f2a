#include "sentence/custody_rules.h"

#include "common/blank_row.h"
#include "common/date_text.h"
#include "common/number_text.h"
#include "common/varnel_error.h"

#include <cmath>
#include <limits>

namespace {

std::int16_t 十六位(double v) {
    if (!(v >= std::numeric_limits<std::int16_t>::min() &&
          v <= std::numeric_limits<std::int16_t>::max()))
        溢出();
    return std::int16_t(v);
}

template <class T> bool 加(T &sum, long long v) {
    const long long r = (long long)sum + v;
    if (r < std::numeric_limits<T>::min() || r > std::numeric_limits<T>::max())
        return false;
    sum = T(r);
    return true;
}

// The part of the end date left after taking off a term field: the difference rounded to a
// whole number, halves to even; a field that is not a number takes off nothing.
std::int16_t 减去(int part, const QString &termText) {
    const auto v = 数值(termText);
    return 十六位(std::nearbyint(v ? part - *v : part));
}

// Brings a count into 0..span by borrowing from, or carrying into, the next larger unit.
void 进位(std::int16_t &small, std::int16_t &large, int span) {
    while (small < 0) {
        large = 十六位(large - 1.0);
        small = 十六位(small + double(span));
    }
    while (small > span) {
        large = 十六位(large + 1.0);
        small = 十六位(small - double(span));
    }
}

} // namespace

bool 期间颠倒(const QString &关押, const QString &释放) {
    const auto detained = 读日期(关押);
    const auto released = 读日期(释放);
    return detained && released && *released < *detained;
}

std::optional<羁押读数> 读羁押表(const QList<羁押行> &rows, const QDate &today) {
    羁押读数 r{today, {}};
    for (const 羁押行 &row : rows) {
        const auto detained = 读日期(row.关押);
        if (单元已填(row.释放)) {
            const auto released = 读日期(row.释放);
            if (!released)
                return std::nullopt;
            if (!detained || *released < *detained)
                continue;
            if (!加(r.合计.日, 羁押天数(*detained, *released)) ||
                !加(r.合计.月, 羁押月数(*detained, *released)) ||
                !加(r.合计.年, 羁押年数(*detained, *released)))
                return std::nullopt;
        } else if (detained) {
            r.起算日 = *detained;
        }
    }
    return r;
}

void 扣除羁押计算(扣除数 &f, const QString &executionDate, const QString termTexts[3],
                  const QDate &end) {
    f = 扣除数{};
    const auto x = 读日期(executionDate);
    if (!x)
        return;
    const std::int16_t yearPart = 减去(end.year(), termTexts[0]);
    const std::int16_t monthPart = 减去(end.month(), termTexts[1]);
    const std::int16_t dayPart = 减去(end.day(), termTexts[2]);
    f.年 = 十六位(double(x->year()) - yearPart);
    f.月 = 十六位(double(x->month()) - monthPart);
    f.日 = 十六位(double(x->day()) - dayPart - 1);
    // Thirty-day months, then twelve-month years.
    进位(f.日, f.月, 30);
    进位(f.月, f.年, 12);
}

QString 刑期结果文本(const QDate &end, const 扣除数 &f) {
    QString text =
        QStringLiteral("刑满日期：%1年%2月%3日").arg(end.year()).arg(end.month()).arg(end.day());
    if (f.年 > 0 || f.月 > 0 || f.日 > 0)
        text += QStringLiteral("\r\n执行前扣除羁押：%1年%2月%3日").arg(f.年).arg(f.月).arg(f.日);
    return text;
}
