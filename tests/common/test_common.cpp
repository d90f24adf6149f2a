#include "code_units.h"
#include "common/cell_text.h"
#include "common/column_share.h"
#include "common/date_text.h"
#include "common/money.h"
#include "common/number_text.h"
#include "common/twips.h"
#include "common/varnel_error.h"

#include <QTest>

class TestCommon : public QObject {
    Q_OBJECT
  private slots:
    void numberTest_data();
    void numberTest();
    void moneyFromText_data();
    void moneyFromText();
    void moneyOverflow_data();
    void moneyOverflow();
    void moneyFromDouble_data();
    void moneyFromDouble();
    void stretchedColumns_data();
    void stretchedColumns();
    void fenRounding();
    void documentAmounts_data();
    void documentAmounts();
    void dateParser_data();
    void dateParser();
    void dateRoundTrip();
    void chineseDates();
    void localeShortForms_data();
    void localeShortForms();
    void systemShortForm();
    void dayCounts();
    void colours();
    void cellTexts_data();
    void cellTexts();
};

void TestCommon::numberTest_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "1000" << true << 1000.0;
    QTest::newRow("blanks") << "  12.5 " << true << 12.5;
    QTest::newRow("negative") << "-5" << true << -5.0;
    QTest::newRow("plus") << "+7" << true << 7.0;
    QTest::newRow("grouped") << "1,234,567.5" << true << 1234567.5;
    QTest::newRow("bad grouping") << "1,2,3" << false << 0.0;
    QTest::newRow("long first group") << "1234,567" << false << 0.0;
    QTest::newRow("exponent") << "1.5e3" << true << 1500.0;
    QTest::newRow("leading point") << ".5" << true << 0.5;
    QTest::newRow("trailing point") << "5." << true << 5.0;
    QTest::newRow("lone point") << "." << false << 0.0;
    QTest::newRow("lone minus") << "-" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blanks only") << "   " << false << 0.0;
    QTest::newRow("letters") << "12a" << false << 0.0;
    QTest::newRow("full-width") << "１２３．５" << true << 123.5;
    QTest::newRow("full-width minus") << "－８" << true << -8.0;
    QTest::newRow("beyond double") << "1e400" << false << 0.0;
    QTest::newRow("largest double") << "1.7e308" << true << 1.7e308;
    QTest::newRow("tiny") << "1e-400" << true << 0.0;
    QTest::newRow("minus zero") << "-0" << true << 0.0;
    QTest::newRow("exponent without digits") << "1e" << false << 0.0;
    QTest::newRow("two signs") << "--1" << false << 0.0;
    QTest::newRow("inner blank") << "1 000" << false << 0.0;
}

void TestCommon::numberTest() {
    QFETCH(QString, text);
    QFETCH(bool, number);
    QFETCH(double, value);
    QCOMPARE(是数字(text), number);
    if (number)
        QCOMPARE(*数值(text), value);
    else
        QVERIFY(!数值(text));
}

void TestCommon::moneyFromText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("money");
    QTest::newRow("whole") << "5000"
                           << "5000";
    QTest::newRow("fraction") << "333.33"
                              << "333.33";
    QTest::newRow("half") << "0.5"
                          << "0.5";
    QTest::newRow("four decimals") << "33.3333"
                                   << "33.3333";
    QTest::newRow("tie down to even") << "0.00005"
                                      << "0";
    QTest::newRow("tie up to even") << "0.00015"
                                    << "0.0002";
    QTest::newRow("above tie") << "0.000050001"
                               << "0.0001";
    QTest::newRow("negative tie") << "-0.00025"
                                  << "-0.0002";
    QTest::newRow("exponent") << "1.23456e2"
                              << "123.456";
    QTest::newRow("negative exponent") << "5e-5"
                                       << "0";
    QTest::newRow("largest") << "922337203685477.5807"
                             << "922337203685477.5807";
    QTest::newRow("smallest") << "-922337203685477.5808"
                              << "-922337203685477.5808";
    QTest::newRow("not a number") << "abc"
                                  << "0";
    QTest::newRow("empty") << ""
                           << "0";
    QTest::newRow("minus zero") << "-0"
                                << "0";
    QTest::newRow("grouped") << "1,000.10"
                             << "1000.1";
    QTest::newRow("very long fraction") << "1." + QString(5000, '0') + "1"
                                        << "1";
}

void TestCommon::moneyFromText() {
    QFETCH(QString, text);
    QFETCH(QString, money);
    QCOMPARE(金额文本(文本金额(text)), money);
}

void TestCommon::moneyOverflow_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("one past the largest") << "922337203685477.5808";
    QTest::newRow("one below the smallest") << "-922337203685477.5809";
    QTest::newRow("1e300") << "1e300";
    QTest::newRow("long digits") << QString(300, '9');
    QTest::newRow("rounds over") << "922337203685477.58075";
}

void TestCommon::moneyOverflow() {
    QFETCH(QString, text);
    try {
        文本金额(text);
        QFAIL("no overflow");
    } catch (const VarnelError &e) {
        QCOMPARE(e.description(), QStringLiteral("溢出"));
    }
}

void TestCommon::moneyFromDouble_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("money");
    QTest::newRow("ratio") << 0.6896551724137931 << "0.6897";
    QTest::newRow("tie to even down") << 0.00125 << "0.0012";
    QTest::newRow("tie to even up") << 0.00135 << "0.0014";
    QTest::newRow("negative") << -2.5 << "-2.5";
    QTest::newRow("scale product") << 12345 * 0.04 + 10 << "503.8";
}

void TestCommon::moneyFromDouble() {
    QFETCH(double, value);
    QFETCH(QString, money);
    QCOMPARE(金额文本(实数金额(value)), money);
}

void TestCommon::stretchedColumns_data() {
    QTest::addColumn<QList<int>>("designed");
    QTest::addColumn<QList<int>>("growing");
    QTest::addColumn<int>("extra");
    QTest::addColumn<QList<int>>("widths");
    const QList<int> claims{1500, 960, 950, 1600, 960, 1700};
    QTest::newRow("first size") << claims << QList<int>{0, 1, 3, 4} << 0 << claims;
    QTest::newRow("narrower") << claims << QList<int>{0, 1, 3, 4} << -300 << claims;
    QTest::newRow("by designed widths") << claims << QList<int>{0, 1, 3, 4} << 4500
                                        << QList<int>{2844, 1821, 950, 3034, 1821, 1700};
    QTest::newRow("roundings add up") << QList<int>{1, 1, 1} << QList<int>{0, 1, 2} << 2
                                      << QList<int>{1, 2, 2};
    QTest::newRow("none grows") << QList<int>{100, 200} << QList<int>{} << 50
                                << QList<int>{100, 200};
}

void TestCommon::stretchedColumns() {
    QFETCH(QList<int>, designed);
    QFETCH(QList<int>, growing);
    QFETCH(int, extra);
    QFETCH(QList<int>, widths);
    QCOMPARE(伸展列宽(designed, growing, extra), widths);
}

void TestCommon::fenRounding() {
    QCOMPARE(金额文本(到分(1000.0 / 3)), QStringLiteral("333.33"));
    QCOMPARE(金额文本(到分(62000.0)), QStringLiteral("62000"));
    QCOMPARE(金额文本(到分(0.125)), QStringLiteral("0.12"));
    QVERIFY_THROWS_EXCEPTION(VarnelError, 实数金额(1e300));
    QVERIFY_THROWS_EXCEPTION(VarnelError, 元(1) + Money{INT64_MAX});
}

// The amounts of a court document: grouped with two decimals, and in financial capitals.
void TestCommon::documentAmounts_data() {
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("grouped");
    QTest::addColumn<QString>("capitals");
    auto row = [](const char *name, const char *amount, const char *grouped, const char *capitals) {
        QTest::newRow(name) << QString::fromUtf8(amount) << QString::fromUtf8(grouped)
                            << QString::fromUtf8(capitals);
    };
    row("zero", "0", "0.00", "零元整");
    row("fen only", "0.05", "0.05", "伍分");
    row("jiao only", "0.5", "0.50", "伍角");
    row("under a yuan", "0.53", "0.53", "伍角叁分");
    row("half a fen up", "0.005", "0.01", "壹分");
    row("below half a fen", "0.0049", "0.00", "零元整");
    row("one", "1", "1.00", "壹元整");
    row("ten", "10", "10.00", "壹拾元整");
    row("yuan digit zero, jiao", "10.5", "10.50", "壹拾元零伍角");
    row("zero inside", "101", "101.00", "壹佰零壹元整");
    row("two zeros inside", "1001", "1,001.00", "壹仟零壹元整");
    row("zeros at the end", "1100", "1,100.00", "壹仟壹佰元整");
    row("zero between", "1010", "1,010.00", "壹仟零壹拾元整");
    row("jiao, no fen", "1409.50", "1,409.50", "壹仟肆佰零玖元伍角");
    row("yuan digit zero", "1680.32", "1,680.32", "壹仟陆佰捌拾元零叁角贰分");
    row("jiao zero", "16409.02", "16,409.02", "壹万陆仟肆佰零玖元零贰分");
    row("wan digit zero", "107000.53", "107,000.53", "壹拾万柒仟元零伍角叁分");
    row("wan", "10000", "10,000.00", "壹万元整");
    row("wan and one", "10001", "10,001.00", "壹万零壹元整");
    row("group leading zero", "100500", "100,500.00", "壹拾万零伍佰元整");
    row("yi", "100000000", "100,000,000.00", "壹亿元整");
    row("yi and one", "100000001", "100,000,001.00", "壹亿零壹元整");
    row("empty wan group", "100001000", "100,001,000.00", "壹亿零壹仟元整");
    row("yi and shi wan", "100100000", "100,100,000.00", "壹亿零壹拾万元整");
    row("yi and qian wan", "110000000", "110,000,000.00", "壹亿壹仟万元整");
    row("wan yi", "1000000000000", "1,000,000,000,000.00", "壹万亿元整");
    row("wan yi and one", "1000000000001", "1,000,000,000,001.00", "壹万亿零壹元整");
    row("all nines", "99999999.99", "99,999,999.99", "玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分");
    row("negative", "-1234.5", "-1,234.50", "负壹仟贰佰叁拾肆元伍角");
    row("largest", "922337203685477.5807", "922,337,203,685,477.58",
        "玖佰贰拾贰万叁仟叁佰柒拾贰亿零叁佰陆拾捌万伍仟肆佰柒拾柒元伍角捌分");
}

void TestCommon::documentAmounts() {
    QFETCH(QString, amount);
    QFETCH(QString, grouped);
    QFETCH(QString, capitals);
    Money m;
    QVERIFY(读金额(amount, m));
    QCOMPARE(千分位金额文本(m), grouped);
    QCOMPARE(大写金额(m), capitals);
}

void TestCommon::chineseDates() {
    QCOMPARE(中文日期(QDate(2026, 12, 7)), QStringLiteral("二〇二六年十二月七日"));
    QCOMPARE(中文日期(QDate(2020, 1, 10)), QStringLiteral("二〇二〇年一月十日"));
    QCOMPARE(中文日期(QDate(2009, 11, 20)), QStringLiteral("二〇〇九年十一月二十日"));
    QCOMPARE(中文日期(QDate(2031, 10, 31)), QStringLiteral("二〇三一年十月三十一日"));
    QCOMPARE(中文日期(QDate(2024, 2, 19)), QStringLiteral("二〇二四年二月十九日"));
    QCOMPARE(中文日期(QDate(1, 1, 1)), QStringLiteral("一年一月一日"));
    // date_negative_year_global_overflow: before the year 1 (Julian day 0 is in 4714 BC), after
    // 9999 and invalid, the field is empty.
    for (const QDate &d : {QDate::fromJulianDay(0), QDate(-1, 12, 31), QDate(10000, 1, 1), QDate()})
        QCOMPARE(中文日期(d), QString());
}

void TestCommon::dateParser_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("dashes") << "2020-5-10" << QDate(2020, 5, 10);
    QTest::newRow("slashes") << "2020/05/10" << QDate(2020, 5, 10);
    QTest::newRow("points") << "2020.5.10" << QDate(2020, 5, 10);
    QTest::newRow("chinese") << "2020年5月10日" << QDate(2020, 5, 10);
    QTest::newRow("blanks") << " 2020-5-10 " << QDate(2020, 5, 10);
    QTest::newRow("full-width") << "２０２０－５－１０" << QDate(2020, 5, 10);
    QTest::newRow("leap day") << "2020-2-29" << QDate(2020, 2, 29);
    QTest::newRow("no leap day") << "2019-2-29" << QDate();
    QTest::newRow("month 13") << "2020-13-1" << QDate();
    QTest::newRow("day 32") << "2020-1-32" << QDate();
    QTest::newRow("year 10000") << "10000-1-1" << QDate();
    QTest::newRow("year 99") << "99-1-1" << QDate();
    QTest::newRow("first day") << "100-1-1" << QDate(100, 1, 1);
    QTest::newRow("last day") << "9999-12-31" << QDate(9999, 12, 31);
    QTest::newRow("mixed separators") << "2020-5/10" << QDate();
    QTest::newRow("letters") << "abc" << QDate();
    QTest::newRow("empty") << "" << QDate();
}

void TestCommon::dateParser() {
    QFETCH(QString, text);
    QFETCH(QDate, date);
    const auto parsed = 读日期(text);
    QCOMPARE(parsed.has_value(), date.isValid());
    if (parsed)
        QCOMPARE(*parsed, date);
}

void TestCommon::dateRoundTrip() {
    for (const QDate d : {QDate(2019, 5, 10), QDate(100, 1, 1), QDate(9999, 12, 31),
                          QDate(1899, 12, 30), QDate(2020, 2, 29)}) {
        const QString text = 短日期文本(d);
        QVERIFY2(读日期(text) == d, qPrintable(text));
    }
}

void TestCommon::localeShortForms_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    const QDate may10(2019, 5, 10);
    QTest::newRow("us two-digit year") << "en_US"
                                       << "5/10/19" << may10;
    QTest::newRow("us four-digit year") << "en_US"
                                        << "5/10/2019" << may10;
    QTest::newRow("us leading zeros") << "en_US"
                                      << "05/10/19" << may10;
    QTest::newRow("us 29 is 2029") << "en_US"
                                   << "1/1/29" << QDate(2029, 1, 1);
    QTest::newRow("us 30 is 1930") << "en_US"
                                   << "1/1/30" << QDate(1930, 1, 1);
    QTest::newRow("us 99 is 1999") << "en_US"
                                   << "12/31/99" << QDate(1999, 12, 31);
    QTest::newRow("us leap day 00") << "en_US"
                                    << "2/29/00" << QDate(2000, 2, 29);
    QTest::newRow("us no leap day 01") << "en_US"
                                       << "2/29/01" << QDate();
    QTest::newRow("us month 13") << "en_US"
                                 << "13/1/19" << QDate();
    QTest::newRow("us three-digit year") << "en_US"
                                         << "5/10/190" << QDate();
    QTest::newRow("us year-month-day first") << "en_US"
                                             << "2019/5/10" << may10;
    QTest::newRow("us chinese form") << "en_US"
                                     << "2019年5月10日" << may10;
    QTest::newRow("de two-digit year") << "de_DE"
                                       << "10.05.19" << may10;
    QTest::newRow("de four-digit year") << "de_DE"
                                        << "10.05.2019" << may10;
    QTest::newRow("de day first, not month") << "de_DE"
                                             << "13.05.19" << QDate(2019, 5, 13);
    QTest::newRow("zh two-digit year refused") << "zh_CN"
                                               << "5/10/19" << QDate();
    QTest::newRow("zh own form") << "zh_CN"
                                 << "2019/5/10" << may10;
    QTest::newRow("c month name") << "C"
                                  << "10 May 2019" << may10;
}

void TestCommon::localeShortForms() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QDate, date);
    const auto parsed = 读日期(text, QLocale(locale));
    QCOMPARE(parsed.has_value(), date.isValid());
    if (parsed)
        QCOMPARE(*parsed, date);
}

// The system locale of the run (the test command runs this program under zh_CN.UTF-8 and
// en_US.UTF-8): its short form with a two-digit year is read in the window 1930-2029, and the
// program writes yyyy/M/d whatever the locale.
void TestCommon::systemShortForm() {
    const QLocale system = QLocale::system();
    const QString written = system.toString(QDate(2019, 5, 10), QLocale::ShortFormat);
    QCOMPARE(读日期(written), QDate(2019, 5, 10));
    QCOMPARE(短日期文本(QDate(2026, 8, 3)), QStringLiteral("2026/8/3"));
    QCOMPARE(短日期文本(QDate(100, 1, 1)), QStringLiteral("100/1/1"));
    if (system.dateFormat(QLocale::ShortFormat) == QStringLiteral("M/d/yy")) {
        QCOMPARE(读日期(QStringLiteral("5/10/19")), QDate(2019, 5, 10));
        QCOMPARE(读日期(QStringLiteral("5/10/2019")), QDate(2019, 5, 10));
    }
}

void TestCommon::dayCounts() {
    QCOMPARE(*日序(QDate(1899, 12, 30)), 0LL);
    QCOMPARE(*日序(QDate(1900, 1, 1)), 2LL);
    QCOMPARE(*日序(QDate(2020, 5, 10)), 43961LL);
    QCOMPARE(*日序日期(43961), QDate(2020, 5, 10));
    QVERIFY(!日序(QDate(99, 12, 31)));
    QVERIFY(!日序日期(*日序(QDate(9999, 12, 31)) + 1));
    QVERIFY(!日序日期(*日序(QDate(100, 1, 1)) - 1));
}

void TestCommon::colours() {
    QCOMPARE(颜色(0x00C0FFFF), QColor(255, 255, 192));
    QCOMPARE(颜色(0x004080), QColor(128, 64, 0));
    QCOMPARE(像素(375), 25);
    QCOMPARE(缇矩形(2280, 600, 1400, 375), QRect(152, 40, 93, 25));
}

void TestCommon::cellTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cell");
    const char16_t hi = 0xD83D, lo = 0xDE00, bad = 0xFFFD; // U+1F600 is hi lo
    QTest::newRow("plain") << "甲'乙\t"
                           << "甲'乙\t";
    QTest::newRow("pair kept") << 码元({u'a', hi, lo}) << 码元({u'a', hi, lo});
    QTest::newRow("high before a quote") << 码元({hi, u'\''}) << 码元({bad, u'\''});
    QTest::newRow("high at the end") << 码元({u'a', hi}) << 码元({u'a', bad});
    QTest::newRow("low alone") << 码元({lo, u'a'}) << 码元({bad, u'a'});
    QTest::newRow("low then high") << 码元({lo, hi}) << 码元({bad, bad});
    QTest::newRow("two highs, one low") << 码元({hi, hi, lo}) << 码元({bad, hi, lo});
    QTest::newRow("U+0000 removed") << 码元({0, u'a', 0, 0, u'b', 0}) << "ab";
    QTest::newRow("U+0000 between halves") << 码元({hi, 0, lo}) << 码元({bad, bad});
}

void TestCommon::cellTexts() {
    QFETCH(QString, text);
    QFETCH(QString, cell);
    QCOMPARE(单元格文本(text), cell);
}

int runCommonTests(int argc, char **argv) {
    TestCommon t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_common.moc"
