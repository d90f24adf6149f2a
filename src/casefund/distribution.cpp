#include "casefund/distribution.h"

#include "casefund/summary.h"
#include "common/number_text.h"
#include "common/varnel_error.h"

#include <optional>

int 债权类别(const QString &nature) {
    const QString n = 去尾空格(nature);
    if (n == QStringLiteral("诉讼费用"))
        return 0;
    if (n == QStringLiteral("抵押"))
        return 1;
    if (n == QStringLiteral("工资") || n == QStringLiteral("劳动保险"))
        return 2;
    if (n == QStringLiteral("税款"))
        return 3;
    return 4;
}

const QStringList &分配类别名称() {
    static const QStringList names{QStringLiteral("诉讼费用"), QStringLiteral("抵押"),
                                   QStringLiteral("工资"),     QStringLiteral("劳动保险"),
                                   QStringLiteral("税款"),     QStringLiteral("一般债权")};
    return names;
}

bool 是抵押(const QString &nature) {
    return 债权类别(nature) == 1;
}

Money 已交案款合计(const QStringList &paymentAmounts) {
    Money sum;
    for (const QString &amount : paymentAmounts)
        sum += 文本金额(amount);
    return sum;
}

namespace {

// A claim row read once: its class, its amount and, for a mortgage, its priority amount.
struct 行值 {
    int c;
    Money a, p;
};

QList<行值> 读债权(const QList<债权行> &claims) {
    QList<行值> rows;
    rows.reserve(claims.size());
    for (const 债权行 &row : claims) {
        const int c = 债权类别(row.性质);
        rows.append({c, 文本金额(row.金额), c == 1 ? 文本金额(row.优先) : Money{}});
    }
    return rows;
}

std::array<Money, 5> 各类合计(const QList<行值> &rows) {
    std::array<Money, 5> F{};
    for (const 行值 &row : rows) {
        if (row.c == 1) {
            F[1] += row.p;
            F[4] += row.a - row.p;
        } else {
            F[row.c] += row.a;
        }
    }
    return F;
}

// The payout ratios, each worked out when first needed, so that an overflow surfaces where
// the row that needs it is allocated.
class 比例表 {
  public:
    比例表(const std::array<Money, 5> &F, Money P) : F(F), P(P) {}

    double operator()(int k) {
        if (!ρ[k])
            ρ[k] = 计算(k);
        return *ρ[k];
    }

    // Class k's ratio exactly, as the fraction 余额 / 合计 (1 / 1 when the class is paid in full,
    // 0 / 1 when it has nothing to be paid).
    struct 分数 {
        std::int64_t 余额, 合计;
    };
    分数 精确(int k) const {
        const Money left = 余额(k);
        if (F[k] <= left)
            return {1, 1};
        if (F[k] <= Money{})
            return {0, 1};
        return {left.万分, F[k].万分};
    }

  private:
    // What the classes before k leave of the total paid in.
    Money 余额(int k) const {
        Money before;
        for (int i = 0; i < k; ++i)
            before += F[i];
        return before < P ? P - before : Money{};
    }
    double 计算(int k) const {
        const 分数 r = 精确(k);
        return r.合计 == 1 ? double(r.余额) : 实数(Money{r.余额}) / 实数(Money{r.合计});
    }

    const std::array<Money, 5> &F;
    Money P;
    std::array<std::optional<double>, 5> ρ;
};

using 宽整数 = __int128;

// How far rounding to the fen raised an allocation, exactly: 分子 / 分母 ten-thousandths of a
// yuan, 分母 > 0. Compared as doubles, equal raises of different rows differ in their last bits.
struct 提高量 {
    宽整数 分子;
    宽整数 分母;
};

// Whether raise a is larger than raise b, by their continued fractions: exact, and without the
// overflow that cross-multiplying numerators of 127 bits would risk.
bool 大于(提高量 a, 提高量 b) {
    const auto floorDiv = [](宽整数 n, 宽整数 d) {
        宽整数 q = n / d;
        if (n % d != 0 && n < 0)
            --q;
        return q;
    };
    for (bool flipped = false;; flipped = !flipped) {
        const 宽整数 qa = floorDiv(a.分子, a.分母), qb = floorDiv(b.分子, b.分母);
        if (qa != qb)
            return (qa > qb) != flipped;
        const 宽整数 ra = a.分子 - qa * a.分母, rb = b.分子 - qb * b.分母; // 0 <= r < 分母
        if (ra == rb && ra == 0)
            return false; // equal
        if (ra == 0 || rb == 0)
            return (ra > rb) != flipped;
        // ra/da > rb/db exactly when da/ra < db/rb.
        a = {a.分母, ra};
        b = {b.分母, rb};
    }
}

// A row's allocation before and after its rounding to the fen, and how much rounding raised it.
struct 分配 {
    Money 到分值;
    提高量 提高;
};

分配 分配额(const 行值 &row, 比例表 &ratio) {
    if (row.c == 1) {
        // Both parts are already money (whole ten-thousandths): the raise is a whole number.
        const Money secured = 实数金额(实数(row.p) * ratio(1));
        const Money unsecured = 实数金额(实数(row.a - row.p) * ratio(4));
        const Money x = secured + unsecured;
        const Money fen = 到分(实数(x));
        return {fen, {宽整数(fen.万分) - x.万分, 1}};
    }
    const Money fen = 到分(实数(row.a) * ratio(row.c));
    const 比例表::分数 r = ratio.精确(row.c);
    // fen − a × 余额 / 合计, over 合计.
    return {fen, {宽整数(fen.万分) * r.合计 - 宽整数(row.a.万分) * r.余额, r.合计}};
}

// Rounding each allocation to the fen on its own can allocate a fen or two more than was paid
// in, which cannot be paid out. Then one fen at a time is taken off the allocation that
// rounding raised the most (the row nearer the top on equal raises), until the allocations add
// up to no more than the total paid in. A row of one fen can give it up; a row of none cannot.
void 不超过已交(QList<分配> &rows, Money P) {
    Money sum;
    try {
        for (const 分配 &r : rows)
            sum += r.到分值;
    } catch (const VarnelError &) {
        return; // allocations past the money range are shown as the run computed them
    }
    const Money fen{100};
    while (sum > P) {
        int most = -1;
        for (int i = 0; i < rows.size(); ++i) {
            if (rows[i].到分值 < fen)
                continue;
            if (most < 0 || 大于(rows[i].提高, rows[most].提高))
                most = i;
        }
        if (most < 0)
            return;
        rows[most].到分值 = rows[most].到分值 - fen;
        rows[most].提高.分子 -= 宽整数(fen.万分) * rows[most].提高.分母;
        sum = sum - fen;
    }
}

Money 总比例(Money P, Money T) {
    if (P <= Money{})
        return Money{};
    if (T < P)
        return 元(1);
    return 实数金额(实数(P) / 实数(T));
}

} // namespace

Money 类别债权合计(const QList<债权行> &claims, int k) {
    return 各类合计(读债权(claims))[k];
}

分配汇总 分配计算(const QStringList &paymentAmounts, const QList<债权行> &claims,
                  const 写分配函数 &writeAllocation, const 写摘要函数 &writeSummary) {
    分配汇总 s;
    const QList<行值> rows = 读债权(claims);
    s.F = 各类合计(rows);
    for (const Money f : s.F)
        s.T += f;

    // Every allocation is worked out before any is written, since keeping within the total
    // paid in may lower one above the last. An overflow still leaves the rows before it
    // written.
    std::optional<比例表> ratio;
    QList<分配> allocations;
    allocations.reserve(rows.size());
    const auto writeAll = [&] {
        for (int row = 0; row < allocations.size(); ++row)
            writeAllocation(row, 金额文本(allocations[row].到分值));
    };
    try {
        for (const 行值 &row : rows) {
            if (!ratio)
                ratio.emplace(s.F, 已交案款合计(paymentAmounts));
            allocations.append(分配额(row, *ratio));
        }
    } catch (...) {
        writeAll();
        throw;
    }
    if (!allocations.isEmpty())
        不超过已交(allocations, 已交案款合计(paymentAmounts));
    writeAll();

    s.P = 已交案款合计(paymentAmounts);
    s.v = 总比例(s.P, s.T);
    QString screen = 摘要开头(s.P, s.T, s.v);
    QString kept = screen;
    writeSummary(screen, kept);
    if (!ratio)
        ratio.emplace(s.F, s.P);
    for (int k = 0; k < 5; ++k) {
        s.ρ[k] = (*ratio)(k);
        s.pct[k] = 实数金额(s.ρ[k] * 100);
        s.A[k] = 实数金额(实数(s.F[k]) * s.ρ[k]);
        if (s.F[k] > Money{}) {
            const QString sentence = 类别句(k, s.A[k], s.pct[k]);
            screen += sentence;
            kept += sentence;
            writeSummary(screen, kept);
        }
    }
    if (s.P > s.T) {
        const Money surplus = s.P - s.T;
        screen += 余款句屏幕(surplus);
        kept += 余款句保存(surplus);
        writeSummary(screen, kept);
    }
    return s;
}
