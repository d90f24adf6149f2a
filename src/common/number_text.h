#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

// A number as the user typed it: value = (negative ? -1 : 1) * digits * 10^exponent.
// digits has no leading zeros; it is empty for zero.
struct DecimalText {
    bool negative = false;
    QByteArray digits;
    long long exponent = 0;
};

// The one number test of the program. Accepted: surrounding blanks, an optional sign, digits
// with optional comma grouping (1,234,567), an optional decimal point with digits, an optional
// exponent. Full-width characters typed by a Chinese input method count as their ASCII twins.
// Empty text is never a number, nor is a value beyond the range of a double.
std::optional<DecimalText> 读数字(const QString &text);

bool 是数字(const QString &text);

// The value of a number text as a double; std::nullopt when the text is not a number.
std::optional<double> 数值(const QString &text);

// Full-width ASCII twins (U+FF01..U+FF5E) and the ideographic space become ASCII.
QString 半角化(const QString &text);

// Trailing U+0020 blanks removed (leading blanks are kept).
QString 去尾空格(const QString &text);

// A value rounded to a whole number, halves to even; std::nullopt beyond the 32-bit range.
std::optional<std::int32_t> 取整32位(double value);

// A number text as a 32-bit whole number, halves to even: a text that is no number raises
// "类型不匹配", a value beyond 32 bits "溢出".
std::int32_t 长整数值(const QString &text);
