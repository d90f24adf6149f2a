#pragma once

#include <QString>
#include <cstdint>

// A currency value: a signed 64-bit count of ten-thousandths of a yuan. Every operation that
// leaves the 64-bit range raises the overflow error (VarnelError "溢出").
struct Money {
    std::int64_t 万分 = 0;

    friend bool operator==(Money, Money) = default;
    friend auto operator<=>(Money, Money) = default;
};

Money operator+(Money a, Money b);
Money operator-(Money a, Money b);
Money &operator+=(Money &a, Money b);
Money operator*(Money a, std::int64_t k);

// Yuan as a whole number, exactly.
Money 元(std::int64_t yuan);

// Text to money by exact decimal reading, rounded to four decimals with ties to even.
// Text that is not a number counts as 0.
Money 文本金额(const QString &text);

// True when the text is a number; the value is then in out (overflow raises).
bool 读金额(const QString &text, Money &out);

// Real to money: multiply by 10000, round to the nearest integer, ties to even.
Money 实数金额(double value);

// Money to real: the exact decimal value as a double.
double 实数(Money m);

// Plain text: optional minus, integer digits without grouping, a period and the fraction
// without trailing zeros only when the fraction is not zero (5000, 333.33, 0.5, 33.3333).
QString 金额文本(Money m);

// m × 分子 / 分母 worked out exactly and rounded to the fen, halves away from zero. 分母 > 0.
Money 比例到分(Money m, std::int64_t 分子, std::int64_t 分母);
// n / 分母 ten-thousandths of a yuan, n a count wider than money holds, rounded the same way.
Money 宽值到分(__int128 n, std::int64_t 分母);

// The texts of a court document, both rounded to the fen with halves away from zero (四舍五入):
// grouped by commas with two decimals ("1,234,567.80", "-0.50", "0.00"), and in Chinese
// financial capitals (壹仟肆佰零玖元伍角, 壹拾万柒仟元零伍角叁分, 伍角叁分, 零元整; "负" before a
// negative amount). In the capitals one 零 stands for the zeros between two digits of a group of
// four and for a group's leading zeros after a group above it, but not for the zeros that end a
// group (壹拾万柒仟); after 元 a 零 comes when the yuan digit is 0 or the 角 is, before 角 or 分;
// 整 ends an amount without 角 and 分.
QString 千分位金额文本(Money m);
QString 大写金额(Money m);

// Allocations are rounded to the fen: x / 100 to money (four decimals), then times 100.
Money 到分(double x);
