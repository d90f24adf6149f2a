#pragma once

#include <QDate>
#include <QString>
#include <optional>

// A date is held as a whole count of days from the zero date, 30 December 1899 (day 0); the
// representable range is 1 January 100 to 31 December 9999.
using 日数 = long long;

QDate 零日期();
bool 日期在范围内(const QDate &d);

// Day count of a date; std::nullopt outside the representable range.
std::optional<日数> 日序(const QDate &d);
// Date of a day count; std::nullopt outside the representable range.
std::optional<QDate> 日序日期(日数 n);

// The one date parser: year-month-day with "-", "/" or ".", the form 2020年5月10日, and the
// system short-date form. Surrounding blanks are allowed; full-width digits count as ASCII.
std::optional<QDate> 读日期(const QString &text);
bool 是日期(const QString &text);

// The system short-date format, always with a four-digit year so that a date written back
// reads as the same day again.
QString 短日期格式();
QString 短日期文本(const QDate &d);
