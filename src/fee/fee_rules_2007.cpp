#include "fee/fee_rules_2007.h"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

namespace {

// Fees are worked out a thousand times over, in ten-thousandths of a yuan, so that every
// per-mille rate gives a whole number; the end result is divided back and rounded once. A
// thousand times a fee exceeds the money range for amounts above about 1.8 × 10^14 yuan, so it
// is held in 128 bits: every amount money holds gets its fee.
constexpr std::int64_t 千倍 = 1000;
using 千倍额 = __int128;

千倍额 乘千(Money m) {
    return 千倍额(m.万分) * 千倍;
}

struct 档 {
    std::int64_t 至; // the bracket's upper bound in yuan, which belongs to it; 0: no bound
    std::int64_t 千分率;
};

// A cumulative scale: a fixed fee up to the first bound, then each bracket's rate on the part
// of the amount inside it.
struct 累进表 {
    std::int64_t 定额;
    std::int64_t 起点;
    std::span<const 档> 档位;
};

constexpr 档 财产档[] = {{100'000, 25},   {200'000, 20},   {500'000, 15},
                         {1'000'000, 10}, {2'000'000, 9},  {5'000'000, 8},
                         {10'000'000, 7}, {20'000'000, 6}, {0, 5}};
constexpr 档 执行档[] = {{500'000, 15}, {5'000'000, 10}, {10'000'000, 5}, {0, 1}};
constexpr 档 保全档[] = {{100'000, 10}, {0, 5}};
constexpr 档 赔偿档[] = {{100'000, 10}, {0, 5}};
constexpr 档 分割档[] = {{0, 5}};

constexpr 累进表 财产表{50, 10'000, 财产档};
constexpr 累进表 执行表{50, 10'000, 执行档};
constexpr 累进表 保全表{30, 1'000, 保全档};
constexpr 累进表 赔偿表{0, 50'000, 赔偿档};
constexpr 累进表 分割表{0, 200'000, 分割档};

// A thousand times the fee of x on a scale.
千倍额 累进(Money x, const 累进表 &t) {
    千倍额 sum = 乘千(元(t.定额));
    Money lower = 元(t.起点);
    for (const 档 &b : t.档位) {
        if (x <= lower)
            break;
        const Money upper = b.至 ? 元(b.至) : x;
        sum += 千倍额((std::min(x, upper) - lower).万分) * b.千分率;
        lower = upper;
    }
    return sum;
}

// Both ends of a fee, a thousand times over.
struct 两端 {
    千倍额 低;
    千倍额 高;
};

两端 定额(std::int64_t low, std::int64_t high) {
    return {乘千(元(low)), 乘千(元(high))};
}

两端 定额(std::int64_t fee) {
    return 定额(fee, fee);
}

两端 同额(千倍额 fee) {
    return {fee, fee};
}

两端 加(两端 range, 千倍额 extra) {
    return {range.低 + extra, range.高 + extra};
}

// The amount read by a rule: none when the box is empty, not a number, zero or negative.
using 标的额 = std::optional<Money>;

struct 规则 {
    QString 类型;
    QString 条款;
    QString 标的;
    两端 (*计算)(标的额 q, Money joint);
    std::int64_t 除数 = 1;
    std::int64_t 上限 = 0; // in yuan; 0: none
};

const std::vector<规则> &规则表() {
    static const std::vector<规则> rules{
        {QStringLiteral("财产案件"), QStringLiteral("第十三条第（一）项"),
         QStringLiteral("诉讼标的"),
         [](标的额 q, Money) { return 同额(累进(q.value_or(Money{}), 财产表)); }},
        {交纳办法离婚, QStringLiteral("第十三条第（二）项第1目"), 无需填写,
         [](标的额, Money r) { return 加(定额(50, 300), 累进(r, 分割表)); }},
        {QStringLiteral("人格权案件"), QStringLiteral("第十三条第（二）项第2目"),
         QStringLiteral("赔偿金额"),
         [](标的额 q, Money) { return 加(定额(100, 500), 累进(q.value_or(Money{}), 赔偿表)); }},
        {QStringLiteral("其他非财产案件"), QStringLiteral("第十三条第（二）项第3目"), 无需填写,
         [](标的额, Money) { return 定额(50, 100); }},
        {QStringLiteral("知识产权民事案件"), QStringLiteral("第十三条第（三）项"),
         QStringLiteral("争议金额"),
         [](标的额 q, Money) { return q ? 同额(累进(*q, 财产表)) : 定额(500, 1'000); }},
        {QStringLiteral("劳动争议案件"), QStringLiteral("第十三条第（四）项"), 无需填写,
         [](标的额, Money) { return 定额(10); }},
        {QStringLiteral("商标、专利、海事行政案件"), QStringLiteral("第十三条第（五）项第1目"),
         无需填写, [](标的额, Money) { return 定额(100); }},
        {QStringLiteral("其他行政案件"), QStringLiteral("第十三条第（五）项第2目"), 无需填写,
         [](标的额, Money) { return 定额(50); }},
        {QStringLiteral("管辖权异议不成立"), QStringLiteral("第十三条第（六）项"), 无需填写,
         [](标的额, Money) { return 定额(50, 100); }},
        {QStringLiteral("申请执行"), QStringLiteral("第十四条第（一）项"),
         QStringLiteral("执行金额"),
         [](标的额 q, Money) { return q ? 同额(累进(*q, 执行表)) : 定额(50, 500); }},
        {QStringLiteral("申请保全"), QStringLiteral("第十四条第（二）项"),
         QStringLiteral("保全数额"),
         [](标的额 q, Money) { return 同额(累进(q.value_or(Money{}), 保全表)); }, 1, 5'000},
        {QStringLiteral("申请支付令"), QStringLiteral("第十四条第（三）项"),
         QStringLiteral("请求金额"),
         [](标的额 q, Money) { return 同额(累进(q.value_or(Money{}), 财产表)); }, 3},
        {QStringLiteral("申请公示催告"), QStringLiteral("第十四条第（四）项"), 无需填写,
         [](标的额, Money) { return 定额(100); }},
        {QStringLiteral("申请撤销仲裁裁决或者认定仲裁协议效力"),
         QStringLiteral("第十四条第（五）项"), 无需填写, [](标的额, Money) { return 定额(400); }},
        {QStringLiteral("破产案件"), QStringLiteral("第十四条第（六）项"),
         QStringLiteral("破产财产"),
         [](标的额 q, Money) { return 同额(累进(q.value_or(Money{}), 财产表)); }, 2, 300'000},
        {QStringLiteral("申请设立海事赔偿责任限制基金"), QStringLiteral("第十四条第（七）项第1目"),
         无需填写, [](标的额, Money) { return 定额(1'000, 10'000); }},
        {QStringLiteral("申请海事强制令"), QStringLiteral("第十四条第（七）项第2目"), 无需填写,
         [](标的额, Money) { return 定额(1'000, 5'000); }},
        {QStringLiteral("申请船舶优先权催告"), QStringLiteral("第十四条第（七）项第3目"), 无需填写,
         [](标的额, Money) { return 定额(1'000, 5'000); }},
        {QStringLiteral("申请海事债权登记"), QStringLiteral("第十四条第（七）项第4目"), 无需填写,
         [](标的额, Money) { return 定额(1'000); }},
        {QStringLiteral("申请共同海损理算"), QStringLiteral("第十四条第（七）项第5目"), 无需填写,
         [](标的额, Money) { return 定额(1'000); }},
    };
    return rules;
}

// The acceptance fees come first in the table; the application fees follow.
constexpr std::ptrdiff_t 受理费类型数 = 9;

std::ptrdiff_t 序号(const QString &caseType) {
    const auto &rules = 规则表();
    const auto it =
        std::find_if(rules.begin(), rules.end(), [&](const 规则 &r) { return r.类型 == caseType; });
    return it == rules.end() ? -1 : it - rules.begin();
}

标的额 读标的(const QString &amount) {
    Money x;
    if (!读金额(amount, x) || x <= Money{})
        return std::nullopt;
    return x;
}

} // namespace

const QStringList &交纳办法类型列表() {
    static const QStringList list = [] {
        QStringList types;
        for (const 规则 &r : 规则表())
            types << r.类型;
        return types;
    }();
    return list;
}

bool 可减半(const QString &caseType) {
    const std::ptrdiff_t i = 序号(caseType);
    return i >= 0 && i < 受理费类型数;
}

QString 标的名称(const QString &caseType) {
    const std::ptrdiff_t i = 序号(caseType);
    return i < 0 ? 无需填写 : 规则表()[std::size_t(i)].标的;
}

Money 交纳财产标准(Money x) {
    return 宽值到分(累进(x, 财产表), 千倍);
}

交纳费用 交纳办法费用(const QString &caseType, const QString &amount, const QString &joint,
                      bool 减半) {
    const std::ptrdiff_t i = 序号(caseType);
    if (i < 0)
        return {};
    const 规则 &rule = 规则表()[std::size_t(i)];
    const bool halved = 减半 && i < 受理费类型数;
    const 两端 ends = rule.计算(读标的(amount), 文本金额(joint));
    const std::int64_t divisor = 千倍 * rule.除数 * (halved ? 2 : 1);
    auto end = [&](千倍额 m) {
        const Money fee = 宽值到分(m, divisor);
        return rule.上限 ? std::min(fee, 元(rule.上限)) : fee;
    };
    QString basis = QStringLiteral("《诉讼费用交纳办法》") + rule.条款;
    if (halved)
        basis += QStringLiteral("，第十五条/第十六条/第十八条");
    return {end(ends.低), end(ends.高), basis};
}

QString 费用文本(const 交纳费用 &fee) {
    if (fee.低 == fee.高)
        return 金额文本(fee.低);
    return 金额文本(fee.低) + QStringLiteral("至") + 金额文本(fee.高);
}
