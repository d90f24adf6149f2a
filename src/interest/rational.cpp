#include "interest/rational.h"

#include "common/varnel_error.h"

namespace {

using I = __int128;

I 绝对值(I a) {
    return a < 0 ? -a : a;
}

I 最大公约数(I a, I b) {
    a = 绝对值(a);
    b = 绝对值(b);
    while (b != 0) {
        const I r = a % b;
        a = b;
        b = r;
    }
    return a;
}

I 乘(I a, I b) {
    I r;
    if (__builtin_mul_overflow(a, b, &r))
        溢出();
    return r;
}

I 加(I a, I b) {
    I r;
    if (__builtin_add_overflow(a, b, &r))
        溢出();
    return r;
}

I 十的幂(int n) {
    I r = 1;
    for (int i = 0; i < n; ++i)
        r = 乘(r, 10);
    return r;
}

} // namespace

分数 分数::比(I 分子, I 分母) {
    if (分母 == 0)
        溢出();
    if (分母 < 0) {
        分子 = 乘(分子, -1);
        分母 = 乘(分母, -1);
    }
    const I g = 最大公约数(分子, 分母);
    分数 x;
    x.子 = g > 1 ? 分子 / g : 分子;
    x.母 = g > 1 ? 分母 / g : 分母;
    return x;
}

// The sum over the least common denominator, which keeps the terms small when, as with the
// day rates of one table, the denominators share most of their factors.
分数 operator+(const 分数 &a, const 分数 &b) {
    const I g = 最大公约数(a.母, b.母);
    const I 母 = 乘(a.母 / g, b.母);
    return 分数::比(加(乘(a.子, b.母 / g), 乘(b.子, a.母 / g)), 母);
}

分数 operator-(const 分数 &a, const 分数 &b) {
    return a + 分数::比(乘(b.子, -1), b.母);
}

// Cross-reduced first, so that a product of two reduced fractions overflows only when the
// reduced result itself does not fit.
分数 operator*(const 分数 &a, const 分数 &b) {
    const I g1 = 最大公约数(a.子, b.母);
    const I g2 = 最大公约数(b.子, a.母);
    const I d1 = g1 == 0 ? 1 : g1;
    const I d2 = g2 == 0 ? 1 : g2;
    return 分数::比(乘(a.子 / d1, b.子 / d2), 乘(a.母 / d2, b.母 / d1));
}

分数 operator/(const 分数 &a, const 分数 &b) {
    return a * 分数::比(b.母, b.子);
}

bool operator<(const 分数 &a, const 分数 &b) {
    return (a - b).为负();
}

std::optional<分数> 读分数(const QString &text) {
    const auto number = 读数字(text);
    if (!number || number->digits.size() > 30 || number->exponent > 30 || number->exponent < -30)
        return std::nullopt;
    I digits = 0;
    for (const char c : number->digits)
        digits = digits * 10 + (c - '0');
    if (number->negative)
        digits = -digits;
    const int e = int(number->exponent);
    return e >= 0 ? 分数::比(乘(digits, 十的幂(e)), 1) : 分数::比(digits, 十的幂(-e));
}

QString 分数文本(const 分数 &x, int places) {
    const I scale = 十的幂(places);
    const I 母 = x.分母();
    I n = 乘(绝对值(x.分子()), scale);
    I q = n / 母;
    if (2 * (n % 母) >= 母)
        ++q;
    const I whole = q / scale;
    I frac = q % scale;
    QString text = QString::number(qulonglong(whole));
    if (frac != 0) {
        QString digits = QString::number(qulonglong(frac)).rightJustified(places, u'0');
        while (digits.endsWith(u'0'))
            digits.chop(1);
        text += u'.' + digits;
    }
    return x.为负() && q != 0 ? u'-' + text : text;
}
