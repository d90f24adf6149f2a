// Interest on the one-year loan prime rate, split at every publication, over ten years from its
// first publication (2019-08-20 to 2029-08-19, past the latest one) with 200 part payments spread
// over the period: the computation the interest window makes on each change of its input. It
// should stay under 5 ms.
#include "interest/interest_rules.h"
#include "timing.h"

#include <cstdio>

int main() {
    计息输入 in;
    in.方式 = 计息方式::一年期LPR;
    in.本金 = 元(10'000'000);
    in.起算日 = QDate(2019, 8, 20);
    in.截止日 = QDate(2029, 8, 19);
    in.分段 = true;
    const long long days = in.起算日.daysTo(in.截止日);
    for (int i = 0; i < 200; ++i)
        in.还款.append({in.起算日.addDays(days * i / 200), 元(40'000 + i)});
    const 利率表 table = 利率表::内置();
    计息结果 result;
    const double ms = 中位毫秒(51, [&] { result = 计算利息(in, table); });
    if (!result.成功()) {
        std::printf("refused: %s\n", qPrintable(result.拒绝说明));
        return 1;
    }
    std::printf("10 years of daily-split LPR, 200 part payments: %lld rows, %.3f ms (median of 51; "
                "the bound is 5 ms)\n",
                static_cast<long long>(result.明细.size()), ms);
    return 0;
}
