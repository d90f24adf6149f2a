#pragma once

#include "casefund/distribution.h"

#include <QString>
#include <QStringList>

// The texts of the distribution plan document in the form a court files them.

// The case number in a case's name: the first text of the form "（2024）京0105执123号", with
// full-width or ASCII brackets around a four-digit year and then everything up to the first 号;
// written with full-width brackets. Empty when the name holds none.
QString 名称中的案号(const QString &案件名);

// The number line without a case number: blanks for the clerk's pen.
inline const QString 空白案号 = QStringLiteral("（　　　　）　　　　执　　　　号");

// The explanation of a distribution as the document states it: the summary's sentences, every
// amount to the fen with thousands separators and 元 ("1,735,000.50元"), every percentage to two
// decimals ("47.52%") in full-width brackets, the class sentences joined by "，" and closed by
// "。", the surplus as a sentence of its own. One text a line: the head, the classes (when a
// class has claims), the surplus (when the payments exceed the claims).
QStringList 文书分配说明(const 分配汇总 &s);
