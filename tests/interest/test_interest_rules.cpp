#include "common/money.h"
#include "interest/interest_rules.h"
#include "interest/interest_text.h"

#include <QTest>

// Every expected figure below is worked by hand from the rules: a day earns principal × annual
// rate × multiple ÷ days-in-year (or principal × 0.000175 for delayed performance); the interest
// not yet paid is rounded half up to the fen on each payment day and at the end; a row shows its
// own exact interest rounded. A principal of 365000 at 3.85% earns exactly 38.50 a day on a
// 365-day year, which keeps the working short.
namespace {

QDate d(const QString &iso) {
    return QDate::fromString(iso, Qt::ISODate);
}

// "2021-01-01:1038.5;2021-01-05:10" as part payments.
QList<部分还款> 还款(const QString &text) {
    QList<部分还款> list;
    for (const QString &item : text.split(u';', Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(u':');
        list.append({d(parts[0]), 文本金额(parts[1])});
    }
    return list;
}

// A row as "起始,截止,天数,本金,利率,利息", rows joined by ";".
QString 明细文本(const QList<计息明细行> &rows) {
    QStringList out;
    for (const auto &r : rows)
        out << QStringLiteral("%1,%2,%3,%4,%5,%6")
                   .arg(r.起始日期.toString(Qt::ISODate), r.截止日期.toString(Qt::ISODate))
                   .arg(r.天数)
                   .arg(金额文本(r.计息本金), r.利率, 金额文本(r.利息));
    return out.join(u';');
}

计息输入 输入(int method, const QString &principal, const QString &start, const QString &end) {
    计息输入 in;
    in.方式 = 计息方式(method);
    in.本金 = 文本金额(principal);
    in.起算日 = d(start);
    in.截止日 = d(end);
    return in;
}

const int 迟延 = 0, LPR1 = 1, 基准 = 3, 固定 = 4;

} // namespace

class TestInterestRules : public QObject {
    Q_OBJECT
  private slots:
    void figures_data();
    void figures();
    void refusals_data();
    void refusals();
    void benchmarkTerm_data();
    void benchmarkTerm();
    void explanation_data();
    void explanation();
};

void TestInterestRules::figures_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<QString>("principal");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("multiple");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<int>("yearDays");
    QTest::addColumn<bool>("split");
    QTest::addColumn<QString>("payments");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("total"); // 利息合计
    QTest::addColumn<QString>("principalOwed");
    QTest::addColumn<QString>("interestOwed");
    QTest::addColumn<QString>("overpaid");

    // clang-format off
    // 1 day at 3.85% (LPR1Y of 2020-04-20): 365000 × 3.85% ÷ 365 = 38.50.
    QTest::newRow("one day") << LPR1 << "365000" << "2021-01-01" << "2021-01-01" << "1" << "" << 365
        << true << "" << "2021-01-01,2021-01-01,1,365000,3.85%×1,38.5" << "38.5" << "365000"
        << "38.5" << "0";
    // First day 2021-12-20 (3.80% from that day), last day 2022-01-20 (3.70% from that day):
    // 31 days × 38.00 = 1178.00, then 1 day × 37.00; total 1215.00.
    QTest::newRow("rate changes on first and last day") << LPR1 << "365000" << "2021-12-20"
        << "2022-01-20" << "1" << "" << 365 << true << ""
        << "2021-12-20,2022-01-19,31,365000,3.8%×1,1178;2022-01-20,2022-01-20,1,365000,3.7%×1,37"
        << "1215" << "365000" << "1215" << "0";
    // Not split: the whole period at 2021-12-20's 3.80%: 32 × 38.00 = 1216.00.
    QTest::newRow("not split") << LPR1 << "365000" << "2021-12-20" << "2022-01-20" << "1" << ""
        << 365 << false << "" << "2021-12-20,2022-01-20,32,365000,3.8%×1,1216" << "1216" << "365000"
        << "1216" << "0";
    // 28 Feb, 29 Feb, 1 Mar 2024 at 3.45% (2023-08-21): 3 × 34.50 = 103.50.
    QTest::newRow("29 February") << LPR1 << "365000" << "2024-02-28" << "2024-03-01" << "1" << ""
        << 365 << true << "" << "2024-02-28,2024-03-01,3,365000,3.45%×1,103.5" << "103.5"
        << "365000" << "103.5" << "0";
    // 100000 × 3.6% ÷ 360 = 10.00 a day, 365 days of 2023: 3650.00.
    QTest::newRow("360-day year") << 固定 << "100000" << "2023-01-01" << "2023-12-31" << "1" << "3.6"
        << 360 << true << "" << "2023-01-01,2023-12-31,365,100000,3.6%×1,3650" << "3650" << "100000"
        << "3650" << "0";
    // September 2023 at 3.45% × 4: 100000 × 0.138 × 30 ÷ 365 = 414000 ÷ 365 = 1134.2466 → 1134.25.
    QTest::newRow("multiple 4") << LPR1 << "100000" << "2023-09-01" << "2023-09-30" << "4" << ""
        << 365 << true << "" << "2023-09-01,2023-09-30,30,100000,3.45%×4,1134.25" << "1134.25"
        << "100000" << "1134.25" << "0";
    // Nothing accrues on 0, and a payment of 100 has nothing to pay: all of it is overpaid.
    QTest::newRow("principal 0") << LPR1 << "0" << "2023-01-01" << "2023-12-31" << "1" << "" << 365
        << true << "2023-06-01:100" << "" << "0" << "0" << "0" << "100";
    // BASE6M (8 days): 4.60% to 2015-10-23, 4.35% from 2015-10-24: 4 × 46.00 + 4 × 43.50 = 358.00.
    QTest::newRow("benchmark across 2015-10-24") << 基准 << "365000" << "2015-10-20" << "2015-10-27"
        << "1" << "" << 365 << true << ""
        << "2015-10-20,2015-10-23,4,365000,4.6%×1,184;2015-10-24,2015-10-27,4,365000,4.35%×1,174"
        << "358" << "365000" << "358" << "0";
    // Performance due 2023-01-10: interest from 2023-01-11 to 2023-01-20, 10 × 1.75 = 17.50.
    QTest::newRow("delayed performance") << 迟延 << "10000" << "2023-01-10" << "2023-01-20" << "1"
        << "" << 365 << true << "" << "2023-01-11,2023-01-20,10,10000,日万分之1.75,17.5" << "17.5"
        << "10000" << "17.5" << "0";
    // Day 1: 38.50, then 1038.50 pays 38.50 interest and 1000 principal; 9 days on 364000:
    // 364000 × 0.0385 × 9 ÷ 365 = 345.5507 → 345.55. Total 38.50 + 345.55 = 384.05.
    QTest::newRow("payment on the first day, interest first") << LPR1 << "365000" << "2021-01-01"
        << "2021-01-10" << "1" << "" << 365 << true << "2021-01-01:1038.5"
        << "2021-01-01,2021-01-01,1,365000,3.85%×1,38.5;"
           "2021-01-02,2021-01-10,9,364000,3.85%×1,345.55" << "384.05" << "364000" << "345.55"
        << "0";
    // Day 1: 1.75; 1000 pays principal first (9000 left), the 1.75 stays owed; 9 days on 9000:
    // 9 × 1.575 = 14.175 → 14.18. Total 1.75 + 14.18 = 15.93, all of it owed.
    QTest::newRow("delayed performance pays principal first") << 迟延 << "10000" << "2023-01-10"
        << "2023-01-20" << "1" << "" << 365 << true << "2023-01-11:1000"
        << "2023-01-11,2023-01-11,1,10000,日万分之1.75,1.75;2023-01-12,2023-01-20,9,9000,日万分之1.75,14.18"
        << "15.93" << "9000" << "15.93" << "0";
    // 19 Dec at 3.85% (38.50), 20 Dec at 3.80% (38.00), then 100000 pays 76.50 interest and
    // 99923.50 principal: 265076.50 left; 21 Dec: 265076.50 × 0.038 ÷ 365 = 27.5970 → 27.60.
    QTest::newRow("payment on a rate-change day") << LPR1 << "365000" << "2021-12-19"
        << "2021-12-21" << "1" << "" << 365 << true << "2021-12-20:100000"
        << "2021-12-19,2021-12-19,1,365000,3.85%×1,38.5;"
           "2021-12-20,2021-12-20,1,365000,3.8%×1,38;"
           "2021-12-21,2021-12-21,1,265076.5,3.8%×1,27.6" << "104.1" << "265076.5" << "27.6" << "0";
    // Two days' 77.00 is owed before the last day's payment of 50 pays part of it: 27.00 owed.
    QTest::newRow("payment on the last day") << LPR1 << "365000" << "2021-01-01" << "2021-01-02"
        << "1" << "" << 365 << true << "2021-01-02:50"
        << "2021-01-01,2021-01-02,2,365000,3.85%×1,77" << "77" << "365000" << "27" << "0";
    // 365077 on day 2 pays the 77.00 interest and all the principal; nothing more accrues, and the
    // later payment of 10 is overpaid.
    QTest::newRow("principal cleared early") << LPR1 << "365000" << "2021-01-01" << "2021-01-10"
        << "1" << "" << 365 << true << "2021-01-05:10;2021-01-02:365077"
        << "2021-01-01,2021-01-02,2,365000,3.85%×1,77" << "77" << "0" << "0" << "10";
    // 3.00% from 2025-05-20; the publication of 2025-12-22 left it so, and one row runs across it:
    // 3 × 365000 × 3% ÷ 365 = 3 × 30.00 = 90.00.
    QTest::newRow("unchanged publication") << LPR1 << "365000" << "2025-12-21" << "2025-12-23"
        << "1" << "" << 365 << true << "" << "2025-12-21,2025-12-23,3,365000,3%×1,90" << "90"
        << "365000" << "90" << "0";
    // 1000 at 3.85% earns 0.1054795 a day. Day 1 rounds to 0.11 on the payment of 0.01 (0.10
    // left owed), day 2 to 0.11 at the end: total 0.22; the one row's 2 days exact, 0.2109589,
    // show 0.21.
    QTest::newRow("rounding on the payment day") << LPR1 << "1000" << "2021-01-01" << "2021-01-02"
        << "1" << "" << 365 << true << "2021-01-01:0.01"
        << "2021-01-01,2021-01-02,2,1000,3.85%×1,0.21" << "0.22" << "1000" << "0.21" << "0";
    // clang-format on
}

void TestInterestRules::figures() {
    QFETCH(int, method);
    QFETCH(QString, principal);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, multiple);
    QFETCH(QString, rate);
    QFETCH(int, yearDays);
    QFETCH(bool, split);
    QFETCH(QString, payments);
    计息输入 in = 输入(method, principal, start, end);
    in.倍数 = multiple;
    in.年利率 = rate;
    in.年天数 = yearDays;
    in.分段 = split;
    in.还款 = 还款(payments);
    const 计息结果 r = 计算利息(in, 利率表::内置());
    QVERIFY2(r.成功(), qPrintable(r.拒绝说明));
    QTEST(明细文本(r.明细), "rows");
    QTEST(金额文本(r.利息合计), "total");
    QTEST(金额文本(r.尚欠本金), "principalOwed");
    QTEST(金额文本(r.尚欠利息), "interestOwed");
    QTEST(金额文本(r.多付), "overpaid");
    QCOMPARE(r.本息合计, r.尚欠本金 + r.尚欠利息);
}

void TestInterestRules::refusals_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("multiple");
    QTest::addColumn<QString>("payments");
    QTest::addColumn<int>("where");
    QTest::addColumn<int>("paymentRow");
    QTest::addColumn<QString>("message"); // a part the message must hold

    // clang-format off
    const int 起算日 = int(拒绝处::起算日), 截止日 = int(拒绝处::截止日), 倍数 = int(拒绝处::倍数),
              还款处 = int(拒绝处::还款);
    // The first LPR was published on 2019-08-20: a period from the day before has none that day.
    QTest::newRow("LPR before its first day") << LPR1 << "2019-08-19" << "2019-09-01" << "1" << ""
        << 起算日 << -1 << "2019年8月19日";
    // The benchmark rates end on 2019-08-19: the first day without one is 2019-08-20.
    QTest::newRow("benchmark past its last day") << 基准 << "2019-08-01" << "2019-08-25" << "1" << ""
        << 截止日 << -1 << "2019年8月20日";
    QTest::newRow("benchmark from after its last day") << 基准 << "2019-08-20" << "2019-08-25" << "1"
        << "" << 起算日 << -1 << "2019年8月20日";
    QTest::newRow("benchmark before 1991") << 基准 << "1991-04-20" << "1991-05-01" << "1" << "" << 起算日
        << -1 << "1991年4月20日";
    QTest::newRow("end before start") << LPR1 << "2021-01-02" << "2021-01-01" << "1" << "" << 截止日
        << -1 << "截止日";
    // Delayed performance runs from the day after the due date: ending on it leaves no day.
    QTest::newRow("delayed performance ends on the due date") << 迟延 << "2021-01-02" << "2021-01-02"
        << "1" << "" << 截止日 << -1 << "履行期限届满日";
    QTest::newRow("multiple 0") << LPR1 << "2021-01-01" << "2021-01-02" << "0" << "" << 倍数 << -1
        << "倍数";
    QTest::newRow("multiple negative") << LPR1 << "2021-01-01" << "2021-01-02" << "-1" << "" << 倍数
        << -1 << "倍数";
    QTest::newRow("multiple not a number") << LPR1 << "2021-01-01" << "2021-01-02" << "x" << ""
        << 倍数 << -1 << "倍数";
    // 1000 yuan × 3.85% × 10^30 a day is beyond 128 bits: refused, never wrapped round.
    QTest::newRow("beyond exact arithmetic") << LPR1 << "2021-01-01" << "2021-01-02" << "1e30" << ""
        << int(拒绝处::数额) << -1 << "数额太大";
    // The due date itself is before the period of delayed performance.
    QTest::newRow("payment before the period") << 迟延 << "2021-01-01" << "2021-01-10" << "1"
        << "2021-01-05:1;2021-01-01:1" << 还款处 << 1 << "2021年1月2日至2021年1月10日";
    QTest::newRow("payment after the end") << LPR1 << "2021-01-01" << "2021-01-10" << "1"
        << "2021-01-10:1;2021-01-11:1" << 还款处 << 1 << "2021年1月1日至2021年1月10日";
    // clang-format on
}

void TestInterestRules::refusals() {
    QFETCH(int, method);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, multiple);
    QFETCH(QString, payments);
    QFETCH(QString, message);
    计息输入 in = 输入(method, QStringLiteral("1000"), start, end);
    in.倍数 = multiple;
    in.还款 = 还款(payments);
    const 计息结果 r = 计算利息(in, 利率表::内置());
    QTEST(int(r.拒绝), "where");
    QTEST(r.还款行, "paymentRow");
    QVERIFY2(r.拒绝说明.contains(message), qPrintable(r.拒绝说明));
    QVERIFY(r.明细.isEmpty());
}

void TestInterestRules::benchmarkTerm_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("kind");
    // clang-format off
    // Six calendar months from 1 January end on 30 June; one day more is over six months.
    QTest::newRow("six months") << "2015-01-01" << "2015-06-30" << int(利率种类::BASE6M);
    QTest::newRow("six months and a day") << "2015-01-01" << "2015-07-01" << int(利率种类::BASE1Y);
    QTest::newRow("one year") << "2015-01-01" << "2015-12-31" << int(利率种类::BASE1Y);
    QTest::newRow("one year and a day") << "2015-01-01" << "2016-01-01" << int(利率种类::BASE3Y);
    QTest::newRow("three years") << "2015-01-01" << "2017-12-31" << int(利率种类::BASE3Y);
    QTest::newRow("three years and a day") << "2015-01-01" << "2018-01-01" << int(利率种类::BASE5Y);
    QTest::newRow("five years") << "2010-01-01" << "2014-12-31" << int(利率种类::BASE5Y);
    QTest::newRow("five years and a day") << "2010-01-01" << "2015-01-01" << int(利率种类::BASE5Y以上);
    // clang-format on
}

void TestInterestRules::benchmarkTerm() {
    QFETCH(QString, first);
    QFETCH(QString, last);
    QTEST(int(基准期限(d(first), d(last))), "kind");
}

void TestInterestRules::explanation_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("payments");
    QTest::addColumn<QString>("holds");
    QTest::addColumn<QString>("lacks");
    // clang-format off
    const QString latest = QStringLiteral("2025年12月22日以后的利率按最近一期计算，请核对有无新的公布");
    // 2020 (366) + 2021 to 2023 (3 × 365) + January to June 2024 (182) = 1643 days.
    QTest::newRow("period and method") << LPR1 << "2020-01-01" << "2024-06-30" << ""
        << "自2020年1月1日起至2024年6月30日止，共1643天，按一年期LPR的1倍分段计算，利息合计" << latest;
    QTest::newRow("past the latest publication") << LPR1 << "2025-12-21" << "2026-01-10" << ""
        << latest << "";
    QTest::newRow("up to the latest publication") << LPR1 << "2025-12-01" << "2025-12-22" << ""
        << "利息合计" << latest;
    // 2015-01-01 to 2015-12-31 is a term of over six months to one year.
    QTest::newRow("benchmark names its term") << 基准 << "2015-01-01" << "2015-12-31" << ""
        << "六个月至一年（含一年）贷款基准利率" << latest;
    QTest::newRow("delayed performance order") << 迟延 << "2021-01-01" << "2021-01-10"
        << "2021-01-05:1" << "先抵本金，后抵加倍部分债务利息" << "先抵利息";
    // The rows show 0.21 and the total is 0.22 (the "rounding on the payment day" row above).
    QTest::newRow("a fen between rows and total") << LPR1 << "2021-01-01" << "2021-01-02"
        << "2021-01-01:0.01" << "明细各行利息之和为0.21元，与利息合计相差0.01元" << "";
    // One day: 0.11 interest, then 2000 pays it and the 1000: 2000 − 1000.11 = 999.89 over.
    QTest::newRow("overpaid") << LPR1 << "2021-01-01" << "2021-01-01" << "2021-01-01:2000"
        << "多付999.89元" << "";
    // clang-format on
}

void TestInterestRules::explanation() {
    QFETCH(int, method);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, payments);
    QFETCH(QString, holds);
    QFETCH(QString, lacks);
    计息输入 in = 输入(method, QStringLiteral("1000"), start, end);
    in.还款 = 还款(payments);
    const 计息结果 r = 计算利息(in, 利率表::内置());
    QVERIFY2(r.计算说明.contains(holds), qPrintable(r.计算说明));
    if (!lacks.isEmpty())
        QVERIFY2(!r.计算说明.contains(lacks), qPrintable(r.计算说明));
    QCOMPARE(r.利率表截至, QDate(2025, 12, 22));
}

int runInterestRulesTests(int argc, char **argv) {
    TestInterestRules t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_interest_rules.moc"
