#include "interest/interest_text.h"

QString 年月日(const QDate &d) {
    return QStringLiteral("%1年%2月%3日").arg(d.year()).arg(d.month()).arg(d.day());
}

QString 利率文本(计息方式 method, const 分数 &annualPercent, const 分数 &multiple) {
    if (method == 计息方式::迟延履行)
        return QStringLiteral("日万分之1.75");
    return 分数文本(annualPercent) + QStringLiteral("%×") + 分数文本(multiple);
}

利率种类 基准期限(const QDate &first, const QDate &last) {
    if (last < first.addMonths(6))
        return 利率种类::BASE6M;
    if (last < first.addYears(1))
        return 利率种类::BASE1Y;
    if (last < first.addYears(3))
        return 利率种类::BASE3Y;
    if (last < first.addYears(5))
        return 利率种类::BASE5Y;
    return 利率种类::BASE5Y以上;
}

namespace {

QString 元(Money m) {
    return 千分位金额文本(m) + QStringLiteral("元");
}

QString 期限名(利率种类 kind) {
    switch (kind) {
    case 利率种类::BASE6M:
        return QStringLiteral("六个月以内（含六个月）");
    case 利率种类::BASE1Y:
        return QStringLiteral("六个月至一年（含一年）");
    case 利率种类::BASE3Y:
        return QStringLiteral("一至三年（含三年）");
    case 利率种类::BASE5Y:
        return QStringLiteral("三至五年（含五年）");
    default:
        return QStringLiteral("五年以上");
    }
}

// "按一年期LPR的1倍分段计算" and its kin.
QString 方法(const 计息输入 &input, const 说明要素 &f) {
    if (input.方式 == 计息方式::迟延履行)
        return QStringLiteral("按日万分之一点七五计算加倍部分债务利息");
    QString rate;
    switch (input.方式) {
    case 计息方式::一年期LPR:
        rate = QStringLiteral("一年期LPR");
        break;
    case 计息方式::五年期LPR:
        rate = QStringLiteral("五年以上LPR");
        break;
    case 计息方式::基准利率:
        rate = QStringLiteral("中国人民银行%1贷款基准利率").arg(期限名(f.种类));
        break;
    default:
        rate = QStringLiteral("年利率%1%").arg(分数文本(f.固定年利率));
        break;
    }
    const bool published = input.方式 != 计息方式::固定年利率;
    const QString how = !published   ? QStringLiteral("计算")
                        : input.分段 ? QStringLiteral("分段计算")
                                     : QStringLiteral("计算（全期按起算日施行的利率）");
    return QStringLiteral("按%1的%2倍%3").arg(rate, 分数文本(f.倍数), how);
}

QString 还款(const 计息输入 &input) {
    if (input.还款.isEmpty())
        return {};
    Money paid;
    for (const auto &p : input.还款)
        paid += p.金额;
    const QString order = input.方式 == 计息方式::迟延履行
                              ? QStringLiteral("先抵本金，后抵加倍部分债务利息")
                              : QStringLiteral("先抵利息，后抵本金");
    return QStringLiteral("；还款%1笔共%2，%3").arg(input.还款.size()).arg(元(paid), order);
}

// Who published the rates the computation used, and the year the day rate divides by.
QString 来源(计息方式 method, int yearDays) {
    const QString year = QStringLiteral("每年按%1天计。").arg(yearDays);
    switch (method) {
    case 计息方式::一年期LPR:
    case 计息方式::五年期LPR:
        return QStringLiteral("利率为全国银行间同业拆借中心受权公布的贷款市场报价利率，") + year;
    case 计息方式::基准利率:
        return QStringLiteral("利率为中国人民银行公布的贷款基准利率，") + year;
    case 计息方式::迟延履行:
        return QStringLiteral(
            "依据《最高人民法院关于执行程序中计算迟延履行期间的债务利息适用法律若干"
            "问题的解释》。");
    default:
        return year;
    }
}

} // namespace

QString 计算说明(const 计息输入 &input, const 计息结果 &r, const 说明要素 &f) {
    QString text = QStringLiteral("自%1起至%2止，共%3天，")
                       .arg(年月日(f.首日), 年月日(input.截止日))
                       .arg(f.首日.daysTo(input.截止日) + 1);
    text += 方法(input, f) + QStringLiteral("，利息合计") + 元(r.利息合计) + 还款(input);
    text += QStringLiteral("；尚欠本金%1，尚欠利息%2，本息合计%3。")
                .arg(元(r.尚欠本金), 元(r.尚欠利息), 元(r.本息合计));
    text += 来源(input.方式, input.年天数);
    if (r.多付 > Money{})
        text += QStringLiteral("多付%1。").arg(元(r.多付));
    if (f.各行之和 != r.利息合计)
        text +=
            QStringLiteral("明细各行利息之和为%1，与利息合计相差%2：%3，各行利息各自四舍五入到分。")
                .arg(
                    元(f.各行之和),
                    元(f.各行之和 > r.利息合计 ? f.各行之和 - r.利息合计 : r.利息合计 - f.各行之和),
                    input.还款.isEmpty()
                        ? QStringLiteral("利息合计按全期的精确数四舍五入到分")
                        : QStringLiteral("利息在每个还款日和截止日合计后四舍五入到分"));
    if (f.按最近一期之后.isValid())
        text += QStringLiteral("%1以后的利率按最近一期计算，请核对有无新的公布。")
                    .arg(年月日(f.按最近一期之后));
    return text;
}
