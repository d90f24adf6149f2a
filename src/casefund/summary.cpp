#include "casefund/summary.h"

namespace {
const QString 换行 = QStringLiteral("\r\n");
}

QString 摘要开头(Money paid, Money claims, Money overallRatio) {
    return QStringLiteral("已交案款：") + 金额文本(paid) + QStringLiteral("元，债权总额：") +
           金额文本(claims) + QStringLiteral("元（总比例") +
           金额文本(Money{overallRatio.万分 * 100}) + QStringLiteral("%）。") + 换行 +
           QStringLiteral("分配案款中：");
}

QString 类别名(int k) {
    static const QString labels[5] = {QStringLiteral("诉讼费用"), QStringLiteral("抵押物优先权："),
                                      QStringLiteral("工资和劳动保险"), QStringLiteral("税款"),
                                      QStringLiteral("一般债权")};
    return labels[k];
}

QString 类别句(int k, Money amount, Money percent) {
    static const QString endings[5] = {QStringLiteral("%)，"), QStringLiteral("%)，"),
                                       QStringLiteral("%)，"), QStringLiteral("%)， "),
                                       QStringLiteral("%)")};
    return 类别名(k) + 金额文本(amount) + QStringLiteral("元(") + 金额文本(percent) + endings[k];
}

QString 余款句屏幕(Money surplus) {
    return 换行 + QStringLiteral("余款") + 金额文本(surplus) + QStringLiteral("归还交款人。");
}

QString 余款句保存(Money surplus) {
    return QStringLiteral("，余款") + 金额文本(surplus) + QStringLiteral("归还交款人。");
}
