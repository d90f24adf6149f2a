#include "casefund/court_text.h"

#include "casefund/summary.h"

#include <QRegularExpression>

namespace {

QString 元文本(Money m) {
    return 千分位金额文本(m) + QStringLiteral("元");
}

// A percentage held to four decimals, to two: 47.5182 → "47.52%".
QString 百分比(Money percent) {
    return 千分位金额文本(percent) + QStringLiteral("%");
}

} // namespace

QString 名称中的案号(const QString &案件名) {
    static const QRegularExpression 案号式(QStringLiteral("[（(]([0-9]{4})[）)]([^号]*号)"));
    const QRegularExpressionMatch m = 案号式.match(案件名);
    if (!m.hasMatch())
        return QString();
    return QStringLiteral("（") + m.captured(1) + QStringLiteral("）") + m.captured(2);
}

QStringList 文书分配说明(const 分配汇总 &s) {
    QStringList lines;
    lines << QStringLiteral("已交案款：") + 元文本(s.P) + QStringLiteral("，债权总额：") +
                 元文本(s.T) + QStringLiteral("（总比例") + 百分比(Money{s.v.万分 * 100}) +
                 QStringLiteral("）。");
    QStringList sentences;
    for (int k = 0; k < 5; ++k)
        if (s.F[k] > Money{})
            sentences << 类别名(k) + 元文本(s.A[k]) + QStringLiteral("（") + 百分比(s.pct[k]) +
                             QStringLiteral("）");
    if (!sentences.isEmpty())
        lines << QStringLiteral("分配案款中：") + sentences.join(QStringLiteral("，")) +
                     QStringLiteral("。");
    if (s.P > s.T)
        lines << QStringLiteral("余款") + 元文本(s.P - s.T) + QStringLiteral("归还交款人。");
    return lines;
}
