#pragma once

#include "interest/rational.h"

#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <optional>

// The kinds of published loan rate: the loan prime rates of one year and of over five years,
// and the People's Bank of China benchmark loan rates by term.
enum class 利率种类 { LPR1Y, LPR5Y, BASE6M, BASE1Y, BASE3Y, BASE5Y, BASE5Y以上 };
inline constexpr int 利率种类数 = 7;

// The name of a kind in 利率表.csv (LPR1Y … BASE5Y+); std::nullopt for any other text.
std::optional<利率种类> 利率种类名(const QString &text);
bool 是基准利率(利率种类 kind);

// The first day of the loan prime rates and the last day of the benchmark loan rates: from
// 2019-08-20 loans are priced on the loan prime rate instead.
QDate LPR首日();
QDate 基准利率末日();

// One publication: the annual rate in percent, in force from its date until the next
// publication of the same kind.
struct 利率公布 {
    QDate 日期;
    利率种类 种类 = 利率种类::LPR1Y;
    分数 年利率;
};

// The rates of every kind, each kind's publications in date order.
class 利率表 {
  public:
    // The rows the program ships with.
    static 利率表 内置();
    // Adds or, on the same date and kind, replaces a publication.
    void 加入(const 利率公布 &row);
    // The publication in force on the day, std::nullopt when there is none: before the kind's
    // first publication, and for a benchmark rate after 基准利率末日.
    std::optional<利率公布> 当日(利率种类 kind, const QDate &day) const;
    // The dates on which the rate of the kind changes, after `from` and up to `to`.
    QList<QDate> 变动日(利率种类 kind, const QDate &from, const QDate &to) const;
    // The latest publication date of the kind, and of the whole table.
    QDate 最近公布(利率种类 kind) const;
    QDate 截至() const;

  private:
    std::array<QList<利率公布>, 利率种类数> 各种类;
};

// The office's additions: a file of lines 日期,种类,年利率 (a heading line 日期,种类,年利率
// may come first; blank lines are passed over), the rate in percent. A line that is not UTF-8,
// has other than three fields, a date the date parser does not read, an unknown kind, a rate
// that is no number or not above 0 and below 100, a loan prime rate before 2019-08-20, a
// benchmark rate after 2019-08-19, or a date and kind written twice: a VarnelError naming the
// file and the line, and nothing of the file is taken.
QList<利率公布> 读利率文件(const QString &file);

// The file 利率表.csv where varnel.ini is looked for; empty when there is none.
QString 利率文件();

// The shipped rows with the office's file over them; a bad file raises as 读利率文件 does.
利率表 当前利率表();
