#include "casefund/distribution.h"

#include "casefund/summary.h"
#include "common/number_text.h"

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

  private:
    double 计算(int k) const {
        Money before;
        for (int i = 0; i < k; ++i)
            before += F[i];
        const Money left = before < P ? P - before : Money{};
        if (F[k] <= left)
            return 1.0;
        if (F[k] <= Money{})
            return 0.0;
        return 实数(left) / 实数(F[k]);
    }

    const std::array<Money, 5> &F;
    Money P;
    std::array<std::optional<double>, 5> ρ;
};

Money 分配额(const 行值 &row, 比例表 &ratio) {
    double x;
    if (row.c == 1) {
        const Money secured = 实数金额(实数(row.p) * ratio(1));
        const Money unsecured = 实数金额(实数(row.a - row.p) * ratio(4));
        x = 实数(secured + unsecured);
    } else {
        x = 实数(row.a) * ratio(row.c);
    }
    return 到分(x);
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

    std::optional<比例表> ratio;
    for (int row = 0; row < rows.size(); ++row) {
        if (!ratio)
            ratio.emplace(s.F, 已交案款合计(paymentAmounts));
        writeAllocation(row, 金额文本(分配额(rows[row], *ratio)));
    }

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
