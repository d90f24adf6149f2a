#pragma once

#include "common/number_text.h"

#include <QString>
#include <optional>

// An exact fraction over 128-bit integers, always in lowest terms with a positive denominator.
// Every operation whose result leaves the 128-bit range raises the overflow error (VarnelError
// "溢出") rather than wrapping, so an interest figure is either exact or not given at all.
class 分数 {
  public:
    分数() = default;
    分数(long long whole) : 子(whole) {}
    // 分子 / 分母; 分母 must not be 0.
    static 分数 比(__int128 分子, __int128 分母);

    __int128 分子() const { return 子; }
    __int128 分母() const { return 母; }
    bool 为零() const { return 子 == 0; }
    bool 为负() const { return 子 < 0; }

    friend 分数 operator+(const 分数 &a, const 分数 &b);
    friend 分数 operator-(const 分数 &a, const 分数 &b);
    friend 分数 operator*(const 分数 &a, const 分数 &b);
    friend 分数 operator/(const 分数 &a, const 分数 &b);
    分数 &operator+=(const 分数 &b) { return *this = *this + b; }
    friend bool operator==(const 分数 &, const 分数 &) = default;
    friend bool operator<(const 分数 &a, const 分数 &b);
    friend bool operator<=(const 分数 &a, const 分数 &b) { return !(b < a); }

  private:
    __int128 子 = 0;
    __int128 母 = 1;
};

// The exact value of a number as the one number parser reads it; std::nullopt when the text is
// no number or its exponent takes it beyond 30 digits either side of the point.
std::optional<分数> 读分数(const QString &text);

// A fraction as decimal text without trailing zeros ("3.85", "4", "0.5"); one that does not end
// within `places` decimals is rounded there, halves away from zero.
QString 分数文本(const 分数 &x, int places = 6);
