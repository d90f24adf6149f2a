#pragma once

#include <QDate>
#include <QLocale>
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
// short-date form of the locale (the system's unless one is given), both with its two-digit
// year, read as 1930 to 2029, and with a four-digit year. Surrounding blanks are allowed;
// full-width digits count as ASCII.
std::optional<QDate> 读日期(const QString &text);
std::optional<QDate> 读日期(const QString &text, const QLocale &locale);
bool 是日期(const QString &text);

// Dates the program writes use the Chinese short form yyyy/M/d whatever the system locale: the
// interface is Chinese, and the date parser reads the form back as the same day.
QString 短日期文本(const QDate &d);

// A date as court documents write it, in Chinese numerals: 二〇二六年十二月七日. Empty for an
// invalid date and one outside the years 1 to 9999.
QString 中文日期(const QDate &d);
