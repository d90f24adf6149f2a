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

enum class 行种 { 忽略, 折抵, 未释放, 释放非日期 };

// What a data row is to the reading, with its dates.
行种 行的种类(const 羁押行 &row, std::optional<QDate> &detained, std::optional<QDate> &released) {
    detained = 读日期(row.关押);
    released.reset();
    if (!单元已填(row.释放))
        return detained ? 行种::未释放 : 行种::忽略;
    released = 读日期(row.释放);
    if (!released)
        return 行种::释放非日期;
    return detained && *released >= *detained ? 行种::折抵 : 行种::忽略;
}

QString 年月日(long long y, long long m, long long d) {
    return QStringLiteral("%1年%2月%3日").arg(y).arg(m).arg(d);
}

} // namespace

bool 期间颠倒(const QString &关押, const QString &释放) {
    const auto detained = 读日期(关押);
    const auto released = 读日期(释放);
    return detained && released && *released < *detained;
}

std::optional<羁押读数> 读羁押表(const QList<羁押行> &rows, const QDate &today) {
    羁押读数 r{today, {}};
    std::optional<QDate> detained, released;
    for (const 羁押行 &row : rows) {
        switch (行的种类(row, detained, released)) {
        case 行种::释放非日期:
            return std::nullopt;
        case 行种::折抵:
            if (!加(r.合计.日, 羁押天数(*detained, *released)) ||
                !加(r.合计.月, 羁押月数(*detained, *released)) ||
                !加(r.合计.年, 羁押年数(*detained, *released)))
                return std::nullopt;
            break;
        case 行种::未释放:
            r.起算日 = *detained;
            break;
        case 行种::忽略:
            break;
        }
    }
    return r;
}

羁押说明 说明羁押表(const QList<羁押行> &rows) {
    羁押说明 r;
    std::optional<QDate> detained, released;
    for (int i = 0; i < rows.size(); ++i) {
        const 行种 kind = 行的种类(rows[i], detained, released);
        if (kind == 行种::折抵)
            r.折抵天数 += detained->daysTo(*released) + 1;
        if (kind == 行种::未释放) {
            r.起算行 = i;
            r.后有填行 = false;
        } else if (单元已填(rows[i].关押) || 单元已填(rows[i].释放)) {
            r.后有填行 = r.起算行.has_value();
        }
    }
    return r;
}

QString 起算文本(const QDate &start, bool fromCustody) {
    return QStringLiteral("刑期起算：") + 年月日(start.year(), start.month(), start.day()) +
           (fromCustody ? QStringLiteral("（未释放的羁押日期）")
                        : QStringLiteral("（今天；羁押表中没有未释放的羁押日期）"));
}

QString 折抵文本(long long days, const 羁押合计 &c) {
    return QStringLiteral("已折抵羁押：%1天（%2）").arg(days).arg(年月日(c.年, c.月, c.日));
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
    QString text = QStringLiteral("刑满日期：") + 年月日(end.year(), end.month(), end.day());
    if (f.年 < 0 || f.月 < 0 || f.日 < 0)
        text += QStringLiteral("\r\n执行前扣除羁押：执行日期早于刑期起算日");
    else if (f.年 > 0 || f.月 > 0 || f.日 > 0)
        text += QStringLiteral("\r\n执行前扣除羁押：") + 年月日(f.年, f.月, f.日);
    return text;
}
