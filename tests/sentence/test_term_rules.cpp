#include "common/date_text.h"
#include "common/varnel_error.h"
#include "sentence/custody_rules.h"
#include "sentence/term_rules.h"

#include <QRandomGenerator>
#include <QTest>

namespace {
QDate d(const char *iso) {
    return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

// The end of a term worked out another way: step whole calendar months with QDate from the
// first of the start month, then apply the day rule and the days.
QDate independentEnd(QDate start, int years, int months, int days, 羁押合计 c) {
    if (years < 1 && months < 1 && days < 1)
        return 零日期();
    const QDate first(start.year(), start.month(), 1);
    const QDate target = first.addMonths(12 * (years - c.年) + months - c.月);
    const QDate end = start.day() <= target.daysInMonth()
                          ? QDate(target.year(), target.month(), start.day()).addDays(-1)
                          : QDate(target.year(), target.month(), target.daysInMonth());
    return end.addDays(days - c.日);
}
} // namespace

class TestTerm : public QObject {
    Q_OBJECT
  private slots:
    void endDate_data();
    void endDate();
    void endDateFailures_data();
    void endDateFailures();
    void endDateAgainstCalendarMonths();
    void termFields_data();
    void termFields();
    void periodMeasures_data();
    void periodMeasures();
    void readingTheTable_data();
    void readingTheTable();
    void deduction_data();
    void deduction();
    void custodyYearsCredited_data();
    void custodyYearsCredited();
    void deductionOverflowKeepsFigures();
    void resultText();
};

void TestTerm::endDate_data() {
    QTest::addColumn<QDate>("start");
    QTest::addColumn<int>("years");
    QTest::addColumn<int>("months");
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("custodyMonths");
    QTest::addColumn<int>("custodyDays");
    QTest::addColumn<QDate>("end");
    QTest::newRow("3 years") << d("2019-05-10") << 3 << 0 << 0 << 0 << 0 << d("2022-05-09");
    QTest::newRow("1 month") << d("2020-01-15") << 0 << 1 << 0 << 0 << 0 << d("2020-02-14");
    QTest::newRow("31 Jan leap") << d("2020-01-31") << 0 << 1 << 0 << 0 << 0 << d("2020-02-29");
    QTest::newRow("28 Jan") << d("2019-01-28") << 0 << 1 << 0 << 0 << 0 << d("2019-02-27");
    QTest::newRow("29 Jan") << d("2019-01-29") << 0 << 1 << 0 << 0 << 0 << d("2019-02-28");
    QTest::newRow("30 Jan") << d("2019-01-30") << 0 << 1 << 0 << 0 << 0 << d("2019-02-28");
    QTest::newRow("31 Jan") << d("2019-01-31") << 0 << 1 << 0 << 0 << 0 << d("2019-02-28");
    QTest::newRow("31 Mar") << d("2020-03-31") << 0 << 1 << 0 << 0 << 0 << d("2020-04-30");
    QTest::newRow("31 Aug + 6") << d("2019-08-31") << 0 << 6 << 0 << 0 << 0 << d("2020-02-29");
    QTest::newRow("leap day + 1 year")
        << d("2020-02-29") << 1 << 0 << 0 << 0 << 0 << d("2021-02-28");
    QTest::newRow("12 months") << d("2020-12-05") << 0 << 12 << 0 << 0 << 0 << d("2021-12-04");
    QTest::newRow("25 months") << d("2020-05-10") << 0 << 25 << 0 << 0 << 0 << d("2022-06-09");
    QTest::newRow("10 days") << d("2020-05-10") << 0 << 0 << 10 << 0 << 0 << d("2020-05-19");
    QTest::newRow("45 days") << d("2020-05-10") << 0 << 0 << 45 << 0 << 0 << d("2020-06-23");
    QTest::newRow("1-2-3") << d("2020-01-01") << 1 << 2 << 3 << 0 << 0 << d("2021-03-03");
    QTest::newRow("no term") << d("2020-06-01") << 0 << 0 << 0 << 0 << 0 << 零日期();
    QTest::newRow("negative months")
        << d("2020-06-01") << 2 << -3 << 0 << 0 << 0 << d("2022-02-28");
    QTest::newRow("December") << d("2020-01-10") << 0 << 11 << 0 << 0 << 0 << d("2020-12-09");
    QTest::newRow("custody") << d("2019-05-10") << 3 << 0 << 0 << 1 << 15 << d("2022-03-25");
}

void TestTerm::endDate() {
    QFETCH(QDate, start);
    QFETCH(int, years);
    QFETCH(int, months);
    QFETCH(int, days);
    QFETCH(int, custodyMonths);
    QFETCH(int, custodyDays);
    QFETCH(QDate, end);
    const 羁押合计 c{0, std::int16_t(custodyMonths), custodyDays};
    QCOMPARE(刑满日期计算(start, years, months, days, c), end);
}

void TestTerm::endDateFailures_data() {
    QTest::addColumn<QDate>("start");
    QTest::addColumn<int>("years");
    QTest::addColumn<int>("days");
    QTest::newRow("carries past 9999") << d("9999-06-01") << 1 << 10;
    QTest::newRow("days past 9999") << d("9999-12-01") << 0 << 40;
    QTest::newRow("before year 100") << d("0100-03-01") << -1 << 0;
    QTest::newRow("month count overflow") << d("2020-01-01") << 2000000000 << 0;
    QTest::newRow("huge days") << d("2020-01-01") << 0 << 2147483647;
}

void TestTerm::endDateFailures() {
    QFETCH(QDate, start);
    QFETCH(int, years);
    QFETCH(int, days);
    QCOMPARE(刑满日期计算(start, years, 0, days, {}), 零日期());
    QCOMPARE(刑满日期计算(std::nullopt, 1, 0, 0, {}), 零日期());
    QCOMPARE(刑满日期计算(start, std::nullopt, 1, 0, {}), 零日期());
}

void TestTerm::endDateAgainstCalendarMonths() {
    QRandomGenerator rng(20261207);
    for (int i = 0; i < 20000; ++i) {
        const QDate first(1990 + rng.bounded(40), 1 + rng.bounded(12), 1);
        // Month ends and leap days come up often: days 26..31 are half of the starts.
        const int day = rng.bounded(2) ? 26 + rng.bounded(6) : 1 + rng.bounded(31);
        const QDate start(first.year(), first.month(), std::min(day, first.daysInMonth()));
        const int years = rng.bounded(26), months = rng.bounded(-3, 31),
                  days = rng.bounded(-10, 61);
        const 羁押合计 c{std::int16_t(rng.bounded(3)), std::int16_t(rng.bounded(13)),
                         rng.bounded(40)};
        const QDate expected = independentEnd(start, years, months, days, c);
        const QDate actual = 刑满日期计算(start, years, months, days, c);
        if (actual != expected)
            QFAIL(
                qPrintable(QStringLiteral("%1 + %2y %3m %4d less %5y %6m %7d: %8, expected %9")
                               .arg(start.toString(Qt::ISODate))
                               .arg(years)
                               .arg(months)
                               .arg(days)
                               .arg(c.年)
                               .arg(c.月)
                               .arg(c.日)
                               .arg(actual.toString(Qt::ISODate), expected.toString(Qt::ISODate))));
    }
}

void TestTerm::termFields_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("readable");
    QTest::newRow("whole") << "12" << 12 << true;
    QTest::newRow("half to even down") << " 2.5 " << 2 << true;
    QTest::newRow("half to even up") << "3.5" << 4 << true;
    QTest::newRow("letters") << "abc" << 0 << true;
    QTest::newRow("empty") << "" << 0 << true;
    QTest::newRow("negative") << "-32769" << -32769 << true;
    QTest::newRow("1e9") << "1e9" << 1000000000 << true;
    QTest::newRow("beyond 32 bits") << "1e10" << 0 << false;
}

void TestTerm::termFields() {
    QFETCH(QString, text);
    QFETCH(int, value);
    QFETCH(bool, readable);
    const auto v = 读刑期数(text);
    QCOMPARE(v.has_value(), readable);
    if (readable)
        QCOMPARE(*v, value);
}

void TestTerm::periodMeasures_data() {
    QTest::addColumn<QDate>("detained");
    QTest::addColumn<QDate>("released");
    QTest::addColumn<int>("years");
    QTest::addColumn<int>("months");
    QTest::addColumn<int>("days");
    QTest::newRow("1") << d("2018-01-01") << d("2018-02-15") << 0 << 1 << 15;
    QTest::newRow("2") << d("2020-01-10") << d("2020-03-05") << 0 << 1 << 25;
    QTest::newRow("3") << d("2020-01-31") << d("2020-03-14") << 0 << 1 << 15;
    QTest::newRow("4") << d("2021-01-31") << d("2021-03-01") << 0 << 1 << 2;
    QTest::newRow("5") << d("2019-11-30") << d("2020-02-28") << 0 << 2 << 30;
    QTest::newRow("6") << d("2019-06-20") << d("2020-06-18") << 0 << 11 << 30;
    QTest::newRow("7") << d("2019-06-20") << d("2021-06-19") << 2 << 0 << 0;
    QTest::newRow("8") << d("2020-12-15") << d("2021-01-14") << 0 << 1 << 0;
    QTest::newRow("one day") << d("2020-03-10") << d("2020-03-10") << 0 << 0 << 1;
    QTest::newRow("before 1950") << d("1949-12-01") << d("1950-03-05") << 0 << 3 << 0;
    // On 1 January 1950 itself no days are counted either (5 and 1 otherwise).
    QTest::newRow("detained on 1 January 1950")
        << d("1950-01-01") << d("1950-03-05") << 0 << 2 << 0;
    QTest::newRow("released on 1 January 1950")
        << d("1950-02-01") << d("1950-01-01") << -1 << 11 << 0;
    QTest::newRow("reversed") << d("2020-05-10") << d("2020-05-01") << -1 << 11 << 22;
    QTest::newRow("release on the last day") << d("9999-12-01") << d("9999-12-31") << 0 << 0 << 0;
}

void TestTerm::periodMeasures() {
    QFETCH(QDate, detained);
    QFETCH(QDate, released);
    QFETCH(int, years);
    QFETCH(int, months);
    QFETCH(int, days);
    QCOMPARE(羁押年数(detained, released), years);
    QCOMPARE(羁押月数(detained, released), months);
    QCOMPARE(羁押天数(detained, released), days);
}

void TestTerm::readingTheTable_data() {
    QTest::addColumn<QStringList>("cells"); // detention, release, detention, release, ...
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<int>("months");
    QTest::addColumn<int>("days");
    const QDate today(2026, 12, 7);
    QTest::newRow("nothing") << QStringList{} << true << today << 0 << 0;
    QTest::newRow("open period") << QStringList{"2019-5-10", ""} << true << d("2019-05-10") << 0
                                 << 0;
    QTest::newRow("lower open row wins")
        << QStringList{"2019-5-10", "", "2019-6-1", "  "} << true << d("2019-06-01") << 0 << 0;
    QTest::newRow("completed and open") << QStringList{"2018-1-1", "2018-2-15", "2019-5-10", ""}
                                        << true << d("2019-05-10") << 1 << 15;
    QTest::newRow("completed twice")
        << QStringList{"2018-1-1", "2018-2-15", "2018-1-1", "2018-2-15"} << true << today << 2
        << 30;
    QTest::newRow("detention not a date")
        << QStringList{"", "2018-2-15", "abc", "2018-2-15"} << true << today << 0 << 0;
    QTest::newRow("release not a date") << QStringList{"2018-1-1", "x"} << false << today << 0 << 0;
}

void TestTerm::readingTheTable() {
    QFETCH(QStringList, cells);
    QFETCH(bool, readable);
    QFETCH(QDate, start);
    QFETCH(int, months);
    QFETCH(int, days);
    QList<羁押行> rows;
    for (int i = 0; i + 1 < cells.size(); i += 2)
        rows.append({cells[i], cells[i + 1]});
    const auto r = 读羁押表(rows, QDate(2026, 12, 7));
    QCOMPARE(r.has_value(), readable);
    if (!r)
        return;
    QCOMPARE(r->起算日, start);
    QCOMPARE(int(r->合计.月), months);
    QCOMPARE(r->合计.日, days);
}

void TestTerm::deduction_data() {
    QTest::addColumn<QString>("execution");
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QList<int>>("figures");
    QTest::newRow("open period") << "2019-12-1" << QStringList{"3", "", ""} << d("2022-05-09")
                                 << QList<int>{0, 6, 21};
    QTest::newRow("with completed")
        << "2019-12-1" << QStringList{"3", "", ""} << d("2022-03-25") << QList<int>{0, 8, 5};
    QTest::newRow("execution on start")
        << "2019-5-10" << QStringList{"3", "", ""} << d("2022-05-09") << QList<int>{0, 0, 0};
    QTest::newRow("start day lacking")
        << "2019-1-31" << QStringList{"", "1", ""} << d("2019-02-28") << QList<int>{0, 0, 2};
    QTest::newRow("zero date") << "2020-5-10" << QStringList{"", "", ""} << 零日期()
                               << QList<int>{120, 4, 9};
    QTest::newRow("before the start")
        << "2018-6-9" << QStringList{"1", "", ""} << d("2019-06-09") << QList<int>{-1, 11, 29};
    QTest::newRow("no execution date")
        << "abc" << QStringList{"3", "", ""} << d("2022-05-09") << QList<int>{0, 0, 0};
    // Days of exactly 30 and months of exactly 12 are left as they are; 31 days carry.
    QTest::newRow("30 days stay") << "2019-12-31" << QStringList{"3", "", "1"} << d("2022-05-01")
                                  << QList<int>{0, 7, 30};
    QTest::newRow("31 days carry")
        << "2019-12-31" << QStringList{"3", "", "2"} << d("2022-05-01") << QList<int>{0, 8, 1};
    QTest::newRow("12 months stay")
        << "2019-12-20" << QStringList{"3", "1", ""} << d("2022-01-15") << QList<int>{0, 12, 4};
    QTest::newRow("decimal term") << "2019-12-1" << QStringList{"2.5", "", ""} << d("2022-05-09")
                                  << QList<int>{-1, 6, 21};
}

void TestTerm::deduction() {
    QFETCH(QString, execution);
    QFETCH(QStringList, terms);
    QFETCH(QDate, end);
    QFETCH(QList<int>, figures);
    扣除数 f{7, 7, 7};
    const QString t[3] = {terms[0], terms[1], terms[2]};
    扣除羁押计算(f, execution, t, end);
    QCOMPARE((QList<int>{f.年, f.月, f.日}), figures);
}

// Custody of a year or more: the whole years are measured, summed and taken off in the month
// arithmetic of the end date.
void TestTerm::custodyYearsCredited_data() {
    QTest::addColumn<QStringList>("cells"); // detention, release, ...; the last row is open
    QTest::addColumn<QList<int>>("credit"); // years, months, days
    QTest::addColumn<int>("termYears");
    QTest::addColumn<QDate>("end");
    // 2017-03-01 to 2018-04-15: the first day at liberty is 2018-04-16, so 1 year, 1 month
    // and 15 days; the end is April 2021 less a day, less 15 days.
    QTest::newRow("one year") << QStringList{"2017-3-1", "2018-4-15", "2019-5-10", ""}
                              << QList<int>{1, 1, 15} << 3 << d("2021-03-25");
    QTest::newRow("two years and one")
        << QStringList{"2016-6-20", "2018-6-19", "2017-3-1", "2018-4-15", "2019-5-10", ""}
        << QList<int>{3, 1, 15} << 5 << d("2021-03-25");
    // Years and months of the credit as numbers: start 2019-05-10, term 5 years, credit 2
    // years 3 months 10 days: February 2022, the 9th, less 10 days.
    QTest::newRow("two years, three months")
        << QStringList{"2016-1-1", "2018-3-31", "2019-5-10", ""} << QList<int>{2, 3, 0} << 5
        << d("2022-02-09");
}

void TestTerm::custodyYearsCredited() {
    QFETCH(QStringList, cells);
    QFETCH(QList<int>, credit);
    QFETCH(int, termYears);
    QFETCH(QDate, end);
    QList<羁押行> rows;
    for (int i = 0; i + 1 < cells.size(); i += 2)
        rows.append({cells[i], cells[i + 1]});
    const auto r = 读羁押表(rows, QDate(2026, 12, 7));
    QVERIFY(r.has_value());
    QCOMPARE((QList<int>{r->合计.年, r->合计.月, r->合计.日}), credit);
    QCOMPARE(刑满日期计算(r->起算日, termYears, 0, 0, r->合计), end);
    const 羁押合计 typed{2, 3, 10};
    QCOMPARE(刑满日期计算(d("2019-05-10"), 5, 0, 0, typed), d("2022-01-30"));
}

void TestTerm::deductionOverflowKeepsFigures() {
    扣除数 f;
    const QString t[3] = {"-40000", "", ""};
    QVERIFY_THROWS_EXCEPTION(VarnelError, 扣除羁押计算(f, "2020-5-10", t, d("2022-05-09")));
    QCOMPARE((QList<int>{f.年, f.月, f.日}), (QList<int>{0, 0, 0}));
    // The days overflow after the years and months have been set: those keep their values.
    const QString days[3] = {"", "", "32768"};
    QVERIFY_THROWS_EXCEPTION(VarnelError, 扣除羁押计算(f, "2020-5-10", days, d("2022-05-09")));
    QCOMPARE((QList<int>{f.年, f.月, f.日}), (QList<int>{-2, 0, 0}));
}

void TestTerm::resultText() {
    QCOMPARE(刑期结果文本(d("2022-03-25"), {}), QStringLiteral("刑满日期：2022年3月25日"));
    QCOMPARE(刑期结果文本(d("2022-03-25"), {0, 6, 21}),
             QStringLiteral("刑满日期：2022年3月25日\r\n执行前扣除羁押：0年6月21日"));
    // A negative figure: the execution date is before the start; no negative duration.
    const QString early =
        QStringLiteral("刑满日期：1899年12月30日\r\n执行前扣除羁押：执行日期早于刑期起算日");
    QCOMPARE(刑期结果文本(零日期(), {-1, 11, 29}), early);
    QCOMPARE(刑期结果文本(零日期(), {-1, 0, 0}), early);
    QCOMPARE(刑期结果文本(零日期(), {0, 0, -1}), early);
}

int runTermTests(int argc, char **argv) {
    TestTerm t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_term_rules.moc"
