#include "casefund/distribution.h"
#include "casefund/summary.h"
#include "common/varnel_error.h"

#include <QTest>

namespace {

struct Run {
    QStringList allocations;
    QString screen, kept;
    分配汇总 figures;
};

// Claims are given as amount, nature, priority triples.
Run run(const QStringList &payments, const QStringList &claims) {
    QList<债权行> rows;
    for (int i = 0; i + 2 < claims.size(); i += 3)
        rows.append({claims[i], claims[i + 1], claims[i + 2]});
    Run r;
    r.allocations = QStringList(rows.size(), QString());
    r.figures = 分配计算(
        payments, rows, [&](int row, const QString &t) { r.allocations[row] = t; },
        [&](const QString &s, const QString &k) {
            r.screen = s;
            r.kept = k;
        });
    return r;
}

QString m(Money v) {
    return 金额文本(v);
}

const QStringList 全类 = {"5000", "诉讼费用", "",     "80000", "抵押",  "60000",    "20000", "工资",
                          "",     "10000",    "税款", "",      "30000", "一般债权", ""};

} // namespace

class TestDistribution : public QObject {
    Q_OBJECT
  private slots:
    void classes_data();
    void classes();
    void allClasses();
    void roundingIsNotBalanced();
    void neverMoreThanPaidIn_data();
    void neverMoreThanPaidIn();
    void surplus();
    void priorityNotCovered();
    void noPayment();
    void noClaims();
    void priorityIgnoredOffMortgage();
    void summaries_data();
    void summaries();
    void overflowKeepsWhatWasWritten();
};

void TestDistribution::classes_data() {
    QTest::addColumn<QString>("nature");
    QTest::addColumn<int>("k");
    QTest::newRow("costs") << "诉讼费用" << 0;
    QTest::newRow("mortgage") << "抵押" << 1;
    QTest::newRow("mortgage trailing blanks") << "抵押  " << 1;
    QTest::newRow("mortgage leading blank") << " 抵押" << 4;
    QTest::newRow("mortgage full-width blank") << "抵押　" << 4;
    QTest::newRow("wages") << "工资" << 2;
    QTest::newRow("insurance") << "劳动保险" << 2;
    QTest::newRow("taxes") << "税款" << 3;
    QTest::newRow("general") << "一般债权" << 4;
    QTest::newRow("empty") << "" << 4;
    QTest::newRow("other") << "借款" << 4;
    QTest::newRow("very long") << QString(10000, u'抵') << 4;
}

void TestDistribution::classes() {
    QFETCH(QString, nature);
    QFETCH(int, k);
    QCOMPARE(债权类别(nature), k);
}

void TestDistribution::allClasses() {
    const Run r = run({"100000"}, 全类);
    QCOMPARE(r.allocations, (QStringList{"5000", "62000", "20000", "10000", "3000"}));
    QCOMPARE(m(r.figures.T), QStringLiteral("145000"));
    QCOMPARE(m(r.figures.F[1]), QStringLiteral("60000"));
    QCOMPARE(m(r.figures.F[4]), QStringLiteral("50000"));
    QCOMPARE(r.figures.ρ[4], 0.1);
    QCOMPARE(m(r.figures.v), QStringLiteral("0.6897"));
    QCOMPARE(m(r.figures.A[4]), QStringLiteral("5000"));
    QCOMPARE(m(r.figures.pct[4]), QStringLiteral("10"));
    QCOMPARE(m(类别债权合计({{"80000", "抵押", "60000"}, {"1", "x", "5"}}, 4)),
             QStringLiteral("20001"));
}

void TestDistribution::roundingIsNotBalanced() {
    const Run r =
        run({"1000"}, {"1000", "一般债权", "", "1000", "一般债权", "", "1000", "一般债权", ""});
    QCOMPARE(r.allocations, (QStringList{"333.33", "333.33", "333.33"}));
    QCOMPARE(m(r.figures.v), QStringLiteral("0.3333"));
    QCOMPARE(m(r.figures.pct[4]), QStringLiteral("33.3333"));
    QCOMPARE(m(r.figures.A[4]), QStringLiteral("1000"));
}

// Allocations that, rounded each on its own, would add up to more than was paid in lose a fen
// each from the rows that rounding raised most; the summary is unchanged by it.
void TestDistribution::neverMoreThanPaidIn_data() {
    QTest::addColumn<QStringList>("payments");
    QTest::addColumn<QStringList>("claims");
    QTest::addColumn<QStringList>("allocations");
    const QStringList three = {"3", "一般债权", "", "3", "一般债权", "", "3", "一般债权", ""};
    // 2/3 each is 0.67 rounded: 2.01 in all, one fen over; equal rows, the top one gives.
    QTest::newRow("one fen, equal rows")
        << QStringList{"2"} << three << QStringList{"0.66", "0.67", "0.67"};
    // 1/6 each is 0.17 rounded: 1.02 in all, two fen over, from the two top rows.
    QStringList six;
    for (int i = 0; i < 6; ++i)
        six << "10"
            << "一般债权"
            << "";
    QTest::newRow("two fen") << QStringList{"1"} << six
                             << QStringList{"0.16", "0.16", "0.17", "0.17", "0.17", "0.17"};
    // The mortgage row's unsecured part is already money (3.6667, raised 0.0033 by rounding);
    // the general rows' 0.666… are raised 0.00333…, a little more: the first of them gives.
    QTest::newRow("mortgage among them")
        << QStringList{"5"} << QStringList{"4", "抵押", "3", "1", "", "", "1", "一般债权", ""}
        << QStringList{"3.67", "0.66", "0.67"};
    // 2/7 of 3, 3 and 1: 0.86, 0.86 and 0.29, one fen over; the last row was raised most.
    QTest::newRow("largest raise, not the top row")
        << QStringList{"2"} << QStringList{"3", "", "", "3", "", "", "1", "", ""}
        << QStringList{"0.86", "0.86", "0.28"};
    // Equal raises of unequal claims, equal only as exact fractions: the top one of them gives.
    QTest::newRow("equal raises, 5 5 2")
        << QStringList{"10"} << QStringList{"5", "", "", "5", "", "", "2", "", ""}
        << QStringList{"4.16", "4.17", "1.67"};
    QTest::newRow("equal raises, 10 25 7")
        << QStringList{"7"} << QStringList{"10", "", "", "25", "", "", "7", "", ""}
        << QStringList{"1.66", "4.17", "1.17"};
    QTest::newRow("equal raises, 7 10 7 100")
        << QStringList{"1"} << QStringList{"7", "", "", "10", "", "", "7", "", "", "100", "", ""}
        << QStringList{"0.05", "0.08", "0.06", "0.81"};
    QTest::newRow("equal raises, 1000 100 300")
        << QStringList{"1000"} << QStringList{"1000", "", "", "100", "", "", "300", "", ""}
        << QStringList{"714.28", "71.43", "214.29"};
    // 0.006 raised to one fen is the largest raise: that fen goes, leaving the row nothing.
    QTest::newRow("a row of one fen gives it up")
        << QStringList{"0.1"} << QStringList{"6", "", "", "47", "", "", "47", "", ""}
        << QStringList{"0", "0.05", "0.05"};
    QTest::newRow("one fen short stays short")
        << QStringList{"1000"}
        << QStringList{"1000", "一般债权", "", "1000", "一般债权", "", "1000", "一般债权", ""}
        << QStringList{"333.33", "333.33", "333.33"};
    QTest::newRow("paid in full with a surplus stays")
        << QStringList{"10"} << QStringList{"3", "", "", "3.33", "", ""}
        << QStringList{"3", "3.33"};
    // Two payments of 1 and 0.01: 1.01 for three claims of 1 is 0.34 each rounded (1.02), one
    // fen over.
    QTest::newRow("payments added first")
        << QStringList{"1", "0.01"}
        << QStringList{"1", "一般债权", "", "1", "一般债权", "", "1", "一般债权", ""}
        << QStringList{"0.33", "0.34", "0.34"};
}

void TestDistribution::neverMoreThanPaidIn() {
    QFETCH(QStringList, payments);
    QFETCH(QStringList, claims);
    QFETCH(QStringList, allocations);
    const Run r = run(payments, claims);
    QCOMPARE(r.allocations, allocations);
}

void TestDistribution::surplus() {
    const Run r = run({"1200"}, {"1000", "诉讼费用", ""});
    QCOMPARE(r.allocations, QStringList{"1000"});
    QCOMPARE(m(r.figures.v), QStringLiteral("1"));
}

void TestDistribution::priorityNotCovered() {
    const Run r = run({"700", "300"}, {"50000", "抵押", "40000", "10000", "", ""});
    QCOMPARE(m(r.figures.F[1]), QStringLiteral("40000"));
    QCOMPARE(m(r.figures.F[4]), QStringLiteral("20000"));
    QCOMPARE(r.figures.ρ[1], 0.025);
    QCOMPARE(r.figures.ρ[4], 0.0);
    QCOMPARE(r.allocations, (QStringList{"1000", "0"}));
    QCOMPARE(m(r.figures.v), QStringLiteral("0.0167"));
}

void TestDistribution::noPayment() {
    const Run r = run({"", "abc"}, {"500", "诉讼费用", "", "", "", ""});
    QCOMPARE(r.allocations, (QStringList{"0", "0"}));
    QCOMPARE(m(r.figures.v), QStringLiteral("0"));
    QCOMPARE(r.figures.ρ[0], 0.0);
    for (int k = 1; k < 5; ++k)
        QCOMPARE(r.figures.ρ[k], 1.0);
}

void TestDistribution::noClaims() {
    const Run r = run({"800"}, {});
    QCOMPARE(m(r.figures.v), QStringLiteral("1"));
    QVERIFY(r.kept.endsWith(QStringLiteral("，余款800归还交款人。")));
}

void TestDistribution::priorityIgnoredOffMortgage() {
    const Run r = run({"1000"}, {"1000", "工资", "900", "1000", "一般债权", "700"});
    QCOMPARE(m(r.figures.F[1]), QStringLiteral("0"));
    QCOMPARE(m(r.figures.F[2]), QStringLiteral("1000"));
    QCOMPARE(m(r.figures.F[4]), QStringLiteral("1000"));
    QCOMPARE(r.allocations, (QStringList{"1000", "0"}));
}

void TestDistribution::summaries_data() {
    QTest::addColumn<QStringList>("payments");
    QTest::addColumn<QStringList>("claims");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("kept");
    QTest::newRow("all classes") << QStringList{"100000"} << 全类
                                 << "已交案款：100000元，债权总额：145000元（总比例68.97%"
                                    "）。\r\n分配案款中：诉讼费用5000元(100%)，"
                                    "抵押物优先权：60000元(100%)，工资和劳动保险20000元(100%)"
                                    "，税款10000元(100%)， 一般债权5000元(10%)"
                                 << "";
    QTest::newRow("three general")
        << QStringList{"1000"}
        << QStringList{"1000", "一般债权", "", "1000", "一般债权", "", "1000", "一般债权", ""}
        << "已交案款：1000元，债权总额：3000元（总比例33.33%）。\r\n分配案款中：一般债权1000元(33."
           "3333%)"
        << "";
    QTest::newRow("surplus") << QStringList{"1200"} << QStringList{"1000", "诉讼费用", ""}
                             << "已交案款：1200元，债权总额：1000元（总比例100%"
                                "）。\r\n分配案款中：诉讼费用1000元(100%)，\r\n余款200归还交款人。"
                             << "已交案款：1200元，债权总额：1000元（总比例100%"
                                "）。\r\n分配案款中：诉讼费用1000元(100%)，，余款200归还交款人。";
    QTest::newRow("nothing") << QStringList{""} << QStringList{"", "", ""}
                             << "已交案款：0元，债权总额：0元（总比例0%）。\r\n分配案款中："
                             << "";
    QTest::newRow("no payment")
        << QStringList{""} << QStringList{"500", "诉讼费用", ""}
        << "已交案款：0元，债权总额：500元（总比例0%）。\r\n分配案款中：诉讼费用0元(0%)，"
        << "";
}

void TestDistribution::summaries() {
    QFETCH(QStringList, payments);
    QFETCH(QStringList, claims);
    QFETCH(QString, screen);
    QFETCH(QString, kept);
    const Run r = run(payments, claims);
    QCOMPARE(r.screen, screen);
    QCOMPARE(r.kept, kept.isEmpty() ? screen : kept);
}

void TestDistribution::overflowKeepsWhatWasWritten() {
    // The second row's amount cannot be money: the run stops before anything is written.
    QStringList written;
    auto collect = [&](int, const QString &t) { written << t; };
    auto none = [](const QString &, const QString &) {};
    QVERIFY_THROWS_EXCEPTION(
        VarnelError, 分配计算({"100"}, {{"10", "诉讼费用", ""}, {"1e300", "", ""}}, collect, none));
    QVERIFY(written.isEmpty());
    // Payments past the money range: the first ratio needs them, so no row is written either.
    QVERIFY_THROWS_EXCEPTION(VarnelError, 分配计算({"900000000000000", "900000000000000"},
                                                   {{"10", "", ""}}, collect, none));
    QVERIFY(written.isEmpty());
    // The money left for the mortgages leaves the range: the rows before theirs are written.
    QString summary = "old";
    QVERIFY_THROWS_EXCEPTION(
        VarnelError,
        分配计算({"100000000000000"}, {{"-900000000000000", "诉讼费用", ""}, {"10", "抵押", "10"}},
                 collect, [&](const QString &s, const QString &) { summary = s; }));
    QCOMPARE(written, QStringList{"-900000000000000"});
    QCOMPARE(summary, QStringLiteral("old"));
}

int runDistributionTests(int argc, char **argv) {
    TestDistribution t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_distribution.moc"
