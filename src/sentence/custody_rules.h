#pragma once

#include "sentence/term_rules.h"

#include <QDate>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

// One data row of the custody table: the day of detention and the day of release, as text.
struct 羁押行 {
    QString 关押;
    QString 释放;
};

// What the custody table gives the end date: the start date and the credited custody.
struct 羁押读数 {
    QDate 起算日;
    羁押合计 合计;
};

// True when both texts are dates and the release comes before the detention: such a period is
// refused where it is entered, and a row of it that is there all the same is not credited.
bool 期间颠倒(const QString &关押, const QString &释放);
inline const QString 期间颠倒说明 = QStringLiteral("释放日期不能早于关押日期。");

// Reads the data rows that count (every row but the trailing entry row): the start date is
// today unless an open period (detained, not released) gives it, a later one replacing an
// earlier one; each completed period adds its years, months and days (a reversed one nothing).
// std::nullopt when a completed row's release text is not a date or a sum leaves its range: the end
// date then fails.
std::optional<羁押读数> 读羁押表(const QList<羁押行> &rows, const QDate &today);

// What the window says beside the end date, to make it checkable; it changes no figure of the
// reading above. The row that gives the start date (an index into the rows; none: the start is
// today), whether a filled row follows that row (then it was likely meant as a completed period
// whose release date is missing), and the credited days counted one by one, the detention and
// release days of each credited period both included.
struct 羁押说明 {
    std::optional<int> 起算行;
    bool 后有填行 = false;
    long long 折抵天数 = 0;
};
羁押说明 说明羁押表(const QList<羁押行> &rows);

// "刑期起算：2025年3月5日（未释放的羁押日期）", or, when no custody row gives the start,
// "刑期起算：2026年12月8日（今天；羁押表中没有未释放的羁押日期）".
QString 起算文本(const QDate &start, bool fromCustody);
// "已折抵羁押：46天（0年1月15日）": the days counted one by one, then the credit the end date
// takes, as the reading sums it.
QString 折抵文本(long long days, const 羁押合计 &credit);

// The deduction figures of the line "执行前扣除羁押：".
struct 扣除数 {
    std::int16_t 年 = 0;
    std::int16_t 月 = 0;
    std::int16_t 日 = 0;
};

// Sets the figures from the execution date text, the three term field texts and the end date.
// They stay 0 when the execution date is not a date. A count leaving the 16-bit range raises
// the overflow error; the figures then keep the values reached so far.
void 扣除羁押计算(扣除数 &figures, const QString &executionDate, const QString termTexts[3],
                  const QDate &end);

// "刑满日期：2022年3月25日", followed by CR LF and "执行前扣除羁押：0年6月21日" when any of the
// figures is above 0; when any is below 0 (the execution date is before the start of the term)
// the line says so instead of giving a negative duration: "执行前扣除羁押：执行日期早于刑期起算日".
QString 刑期结果文本(const QDate &end, const 扣除数 &figures);
