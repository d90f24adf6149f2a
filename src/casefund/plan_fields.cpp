#include "casefund/plan_fields.h"

#include "casefund/court_text.h"
#include "casefund/distribution.h"
#include "common/date_text.h"
#include "common/money.h"
#include "common/number_text.h"

namespace {

// A cell as the document writes it: trailing blanks removed.
QString 格(const QStringList &row, int col) {
    return 去尾空格(row.value(col));
}

// An amount cell: grouped with two decimals when it is a number, else as it stands.
QString 金额格(const QStringList &row, int col) {
    const QString text = 格(row, col);
    Money m;
    return 读金额(text, m) ? 千分位金额文本(m) : text;
}

// The rows that name someone or hold an amount, in table order.
QList<QStringList> 有内容的行(const QList<QStringList> &rows) {
    QList<QStringList> kept;
    for (const QStringList &row : rows)
        if (!格(row, 0).isEmpty() || !格(row, 1).isEmpty())
            kept << row;
    return kept;
}

Money 列合计(const QList<QStringList> &rows, int col) {
    Money sum;
    for (const QStringList &row : rows)
        sum += 文本金额(row.value(col));
    return sum;
}

// The distribution of the rows, as the window's summary states it, in the court's form: one
// paragraph a line.
QString 文书说明(const QList<QStringList> &交款, const QList<QStringList> &债权) {
    QStringList amounts;
    for (const QStringList &row : 交款)
        amounts << row.value(1);
    QList<债权行> claims;
    for (const QStringList &row : 债权)
        claims << 债权行{row.value(1), row.value(2), row.value(3)};
    const 分配汇总 s = 分配计算(amounts, claims, [](int, const QString &) {},
                                [](const QString &, const QString &) {});
    return 文书分配说明(s).join(QChar(QChar::ParagraphSeparator));
}

} // namespace

文书字段 分配方案字段(const 方案内容 &c) {
    重复行 claims{{QStringLiteral("债权人"), QStringLiteral("债权金额"), QStringLiteral("债权性质"),
                   QStringLiteral("其中抵押优先金额"), QStringLiteral("分配金额"),
                   QStringLiteral("备注")},
                  {}};
    int n = 0;
    for (const QStringList &row : 有内容的行(c.债权))
        claims.各项 << 字段值{{QStringLiteral("序号"), QString::number(++n)},
                              {QStringLiteral("债权人"), 格(row, 0)},
                              {QStringLiteral("债权金额"), 金额格(row, 1)},
                              {QStringLiteral("债权性质"), 格(row, 2)},
                              {QStringLiteral("其中抵押优先金额"), 金额格(row, 3)},
                              {QStringLiteral("分配金额"), 金额格(row, 4)},
                              {QStringLiteral("备注"), 格(row, 5)}};
    重复行 payments{{QStringLiteral("交款人"), QStringLiteral("交款金额"), QStringLiteral("交款时间"),
                     QStringLiteral("交款备注")},
                    {}};
    n = 0;
    for (const QStringList &row : 有内容的行(c.交款))
        payments.各项 << 字段值{{QStringLiteral("序号"), QString::number(++n)},
                                {QStringLiteral("交款人"), 格(row, 0)},
                                {QStringLiteral("交款金额"), 金额格(row, 1)},
                                {QStringLiteral("交款时间"), 格(row, 2)},
                                {QStringLiteral("交款备注"), 格(row, 3)}};

    QStringList amounts;
    for (const QStringList &row : c.交款)
        amounts << row.value(1);
    const Money paid = 已交案款合计(amounts);
    const Money claimed = 列合计(c.债权, 1);
    const Money allocated = 列合计(c.债权, 4);
    const QString 案号 = 名称中的案号(c.案件名称);
    文书字段 f;
    f.全文 = {{QStringLiteral("法院名称"), c.法院名称},
              {QStringLiteral("案件名称"), c.案件名称},
              {QStringLiteral("案号"), 案号.isEmpty() ? 空白案号 : 案号},
              {QStringLiteral("分配说明"), 文书说明(c.交款, c.债权)},
              {QStringLiteral("债权金额合计"), 千分位金额文本(claimed)},
              {QStringLiteral("分配合计"), 千分位金额文本(allocated)},
              {QStringLiteral("分配合计大写"), 大写金额(allocated)},
              {QStringLiteral("交款合计"), 千分位金额文本(paid)},
              {QStringLiteral("日期"), 中文日期(c.日期)}};
    if (paid > claimed)
        f.全文.insert(QStringLiteral("余款"), 千分位金额文本(paid - claimed));
    else
        f.去段 << QStringLiteral("余款");
    f.重复 = {claims, payments};
    return f;
}
