#pragma once

#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>

// Custody credited against a term: 16-bit years and months, 32-bit days.
struct 羁押合计 {
    std::int16_t 年 = 0;
    std::int16_t 月 = 0;
    std::int32_t 日 = 0;
};

// A term field read from its text: a number rounded to the nearest whole number (halves to
// even); any other text 0; std::nullopt when the number is beyond the 32-bit range.
std::optional<std::int32_t> 读刑期数(const QString &text);

// The last day of a term of years, months and days from the start date, less the custody
// credited. The zero date (30 December 1899) when no term is entered or when any step leaves
// the range of dates or of its counts; a missing start date (unreadable) gives it too.
QDate 刑满日期计算(const std::optional<QDate> &start, std::optional<std::int32_t> years,
                   std::optional<std::int32_t> months, std::optional<std::int32_t> days,
                   const 羁押合计 &custody);

// One custody period from detained to released, both days included: whole years, the months
// left over, the days left over. A component whose computation fails is 0.
std::int32_t 羁押年数(const QDate &detained, const QDate &released);
std::int32_t 羁押月数(const QDate &detained, const QDate &released);
std::int32_t 羁押天数(const QDate &detained, const QDate &released);
