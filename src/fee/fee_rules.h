#pragma once

#include "common/money.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// The case types of the fee calculator, in the order of its list.
const QStringList &案件类型列表();

inline const QString 离婚案件 = QStringLiteral("民事_离婚、解除同居案件");
inline const QString 执行费类型 = QStringLiteral("执行费");

// The cumulative property scale P(x).
Money 财产标准(Money x);

// The civil acceptance fee of a case type (trailing blanks already removed), the amount in
// dispute and the joint property texts. Non-numeric amounts count as 0. Overflow raises.
Money 民事受理费(const QString &caseType, const QString &amount, const QString &joint);

// The administrative acceptance fee as the text written to the result box; std::nullopt when
// the case type is not administrative. Overflow raises.
std::optional<QString> 行政受理费(const QString &caseType, const QString &amount);

// The enforcement fee of an amount text: 50 when empty, 0 when not a number. Overflow raises.
Money 执行费(const QString &amount);

// The shown fee: a result text rounded to a whole yuan, ties to even. A value beyond the
// 32-bit range raises the overflow error; a text that is not a number raises a type mismatch.
std::int32_t 取整显示(const QString &resultText);
