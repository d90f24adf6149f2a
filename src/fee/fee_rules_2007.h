#pragma once

#include "common/money.h"

#include <QString>
#include <QStringList>

// The fees of the State Council's 《诉讼费用交纳办法》 (in force since 1 April 2007), arts. 13–16
// and 18: acceptance fees, application fees, halving.

// The case types, in the order of the fee window's list: nine acceptance fees, then eleven
// application fees.
const QStringList &交纳办法类型列表();

inline const QString 交纳办法离婚 = QStringLiteral("离婚案件");

// The acceptance-fee types (the first nine) may be halved; application fees never.
bool 可减半(const QString &caseType);

// What the amount box holds for a case type, as the label beside it says ("诉讼标的",
// "执行金额", ...); 无需填写 for a type whose fee reads no amount.
inline const QString 无需填写 = QStringLiteral("无需填写");
QString 标的名称(const QString &caseType);

// A fee: one amount (低 == 高) or the range the rules leave to the court, and the articles it
// rests on.
struct 交纳费用 {
    Money 低;
    Money 高;
    QString 依据;
};

// The cumulative property scale P(x) of art. 13 (1), in fen, rounded half up.
Money 交纳财产标准(Money x);

// The fee of a case type from the amount text (the amount in dispute, to enforce, to preserve,
// or of the bankruptcy estate) and the joint-property text of a divorce. An amount that is
// empty, not a number, zero or negative counts as no amount. Every end is worked out exactly
// and rounded half up to the fen. 减半 halves an acceptance fee (both ends of a range).
// An unknown type gives 0; an amount beyond the money range raises the overflow error.
交纳费用 交纳办法费用(const QString &caseType, const QString &amount, const QString &joint,
                      bool 减半);

// The result box's text: the amount, or "LOW至HIGH" for a range, each written as money is.
QString 费用文本(const 交纳费用 &fee);
