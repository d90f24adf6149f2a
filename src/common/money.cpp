#include "common/money.h"

#include "common/number_text.h"
#include "common/varnel_error.h"

#include <algorithm>
#include <cmath>

Money operator+(Money a, Money b) {
    Money r;
    if (__builtin_add_overflow(a.万分, b.万分, &r.万分))
        溢出();
    return r;
}

Money operator-(Money a, Money b) {
    Money r;
    if (__builtin_sub_overflow(a.万分, b.万分, &r.万分))
        溢出();
    return r;
}

Money &operator+=(Money &a, Money b) {
    return a = a + b;
}

Money operator*(Money a, std::int64_t k) {
    Money r;
    if (__builtin_mul_overflow(a.万分, k, &r.万分))
        溢出();
    return r;
}

Money 元(std::int64_t yuan) {
    Money r;
    if (__builtin_mul_overflow(yuan, std::int64_t{10000}, &r.万分))
        溢出();
    return r;
}

namespace {

// digits * 10^shift rounded to an integer, ties to even; overflow past the 64-bit range raises.
std::int64_t scaleExact(const DecimalText &n, long long shift) {
    using I = __int128;
    const I limit = I(INT64_MAX) + (n.negative ? 1 : 0);
    const QByteArray &d = n.digits;
    const long long size = d.size();
    const long long keep = shift >= 0 ? size : size + shift; // digits left of the point
    I value = 0;
    auto push = [&](int digit) {
        value = value * 10 + digit;
        if (value > limit)
            溢出();
    };
    for (long long i = 0; i < keep; ++i)
        push(d.at(i) - '0');
    for (long long i = 0; i < shift; ++i)
        push(0);
    if (keep < size) {
        // Round on the dropped digits; a first dropped place above the digits holds a zero.
        const int first = keep >= 0 ? d.at(keep) - '0' : 0;
        bool restNonZero = keep < 0;
        for (long long i = std::max(keep + 1, 0LL); i < size && !restNonZero; ++i)
            restNonZero = d.at(i) != '0';
        if (first > 5 || (first == 5 && (restNonZero || value % 2 != 0)))
            ++value;
        if (value > limit)
            溢出();
    }
    return std::int64_t(n.negative ? -value : value);
}

} // namespace

bool 读金额(const QString &text, Money &out) {
    const auto n = 读数字(text);
    if (!n)
        return false;
    out.万分 = n->digits.isEmpty() ? 0 : scaleExact(*n, n->exponent + 4);
    return true;
}

Money 文本金额(const QString &text) {
    Money m;
    if (!读金额(text, m))
        return Money{};
    return m;
}

Money 实数金额(double value) {
    const double scaled = std::nearbyint(value * 10000.0);
    if (!std::isfinite(scaled) || scaled < -9223372036854775808.0 ||
        scaled >= 9223372036854775808.0)
        溢出();
    return Money{static_cast<std::int64_t>(scaled)};
}

double 实数(Money m) {
    return static_cast<double>(m.万分) / 10000.0;
}

QString 金额文本(Money m) {
    const bool negative = m.万分 < 0;
    // Work in unsigned so that the most negative value has a magnitude.
    const std::uint64_t mag =
        negative ? 0 - static_cast<std::uint64_t>(m.万分) : static_cast<std::uint64_t>(m.万分);
    QString text = QString::number(mag / 10000);
    std::uint64_t frac = mag % 10000;
    if (frac != 0) {
        QString f = QStringLiteral("%1").arg(frac, 4, 10, QLatin1Char('0'));
        while (f.endsWith(QLatin1Char('0')))
            f.chop(1);
        text += QLatin1Char('.') + f;
    }
    return negative ? QLatin1Char('-') + text : text;
}

Money 到分(double x) {
    Money m = 实数金额(x / 100.0);
    Money r;
    if (__builtin_mul_overflow(m.万分, std::int64_t{100}, &r.万分))
        溢出();
    return r;
}

Money 比例到分(Money m, std::int64_t 分子, std::int64_t 分母) {
    return 宽值到分(__int128(m.万分) * 分子, 分母);
}

Money 宽值到分(__int128 n, std::int64_t 分母) {
    using I = __int128;
    const I unit = I(分母) * 100; // ten-thousandths in a fen, times the denominator
    I fen = n / unit;
    const I rest = n % unit;
    if (2 * (rest < 0 ? -rest : rest) >= unit)
        fen += n < 0 ? -1 : 1;
    const I r = fen * 100;
    if (r > INT64_MAX || r < INT64_MIN)
        溢出();
    return Money{std::int64_t(r)};
}

namespace {

// An amount as whole fen, rounded with halves away from zero: its sign and its magnitude.
struct 整分 {
    bool 负 = false;
    std::uint64_t 分 = 0;
};

整分 到整分(Money m) {
    // Unsigned, so that the most negative value has a magnitude.
    const std::uint64_t mag =
        m.万分 < 0 ? 0 - static_cast<std::uint64_t>(m.万分) : static_cast<std::uint64_t>(m.万分);
    const std::uint64_t fen = mag / 100 + (mag % 100 >= 50 ? 1 : 0);
    return {m.万分 < 0 && fen != 0, fen};
}

} // namespace

QString 千分位金额文本(Money m) {
    const 整分 f = 到整分(m);
    QString yuan = QString::number(f.分 / 100);
    for (qsizetype at = yuan.size() - 3; at > 0; at -= 3)
        yuan.insert(at, QLatin1Char(','));
    return (f.负 ? QStringLiteral("-") : QString()) + yuan +
           QStringLiteral(".%1").arg(f.分 % 100, 2, 10, QLatin1Char('0'));
}

QString 大写金额(Money m) {
    static const QString 数字 = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    static const QString 位 = QStringLiteral(" 拾佰仟");
    const 整分 f = 到整分(m);
    const std::uint64_t yuan = f.分 / 100;
    const int jiao = int(f.分 / 10 % 10), fen = int(f.分 % 10);
    QString text = f.负 ? QStringLiteral("负") : QString();
    if (yuan > 0) {
        const QString digits = QString::number(yuan);
        bool zero = false;     // zeros passed since the last digit written
        bool inGroup = false; // a digit written in this group of four
        for (qsizetype i = 0; i < digits.size(); ++i) {
            const qsizetype p = digits.size() - 1 - i; // 0 for the yuan digit
            const int d = digits[i].digitValue();
            if (d == 0) {
                zero = true;
            } else {
                if (zero)
                    text += 数字[0];
                zero = false;
                inGroup = true;
                text += 数字[d];
                if (p % 4 != 0)
                    text += 位[p % 4];
            }
            if (p % 4 == 0 && p > 0) {
                // 亿 ends its section even when its own group is empty (壹万亿); the zeros at
                // the end of a group written are not read (壹拾万柒仟).
                if (p % 8 == 0)
                    text += QStringLiteral("亿");
                else if (inGroup)
                    text += QStringLiteral("万");
                if (inGroup)
                    zero = false;
                inGroup = false;
            }
        }
        text += QStringLiteral("元");
    }
    if (jiao == 0 && fen == 0)
        return text + (yuan == 0 ? QStringLiteral("零元整") : QStringLiteral("整"));
    if (yuan > 0 && (jiao == 0 || yuan % 10 == 0))
        text += 数字[0];
    if (jiao != 0)
        text += 数字[jiao] + QStringLiteral("角");
    if (fen != 0)
        text += 数字[fen] + QStringLiteral("分");
    return text;
}
