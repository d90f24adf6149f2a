// The fees of the 2007 measures and the fee window's choice of schedule. Every expected fee is
// worked out by hand from the measures' scales (P(100 000) = 2 300, P(1 000 000) = 13 800, ...).
#include "box_answerer.h"
#include "common/app_dir.h"
#include "fee/fee_rules_2007.h"
#include "fee/fee_window.h"
#include "fee_window_fixture.h"
#include "typing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {
const QString 依据前缀 = QStringLiteral("《诉讼费用交纳办法》");
const QString 减半依据 = QStringLiteral("，第十五条/第十六条/第十八条");
} // namespace

class TestFee2007 : public QObject {
    Q_OBJECT
  private slots:
    // The clerk's settings file of these tests is their own, never the user's.
    void initTestCase() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, userDir.path());
    }
    void init();
    void cleanup();

    void caseTypes();
    void fees_data();
    void fees();
    void basis_data();
    void basis();

    void opensWith_data();
    void opensWith();
    void clerkChoiceRemembered();
    void resultShown_data();
    void resultShown();
    void amountLabelAndHalving_data();
    void amountLabelAndHalving();
    void switchingSchedules();
    void overflowShowsNoFee();

  private:
    void remember(const QVariant &standard);
    void writeOfficeFile(const QByteArray &text);
    void chooseSchedule(Fo诉讼费计算 *w, int index);

    std::unique_ptr<BoxAnswerer> guard;
    QTemporaryDir userDir;
    std::unique_ptr<QTemporaryDir> appDir;
    QString oldAppDir;
};

// Each test starts with nothing remembered and an application directory of its own, without a
// settings file.
void TestFee2007::init() {
    guard = std::make_unique<BoxAnswerer>();
    remember(QVariant());
    appDir = std::make_unique<QTemporaryDir>();
    oldAppDir = 应用目录();
    设应用目录(appDir->path());
}

void TestFee2007::cleanup() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    设应用目录(oldAppDir);
    remember(QVariant());
    QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
}

void TestFee2007::remember(const QVariant &standard) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Varnel"),
                       QStringLiteral("Varnel"));
    if (standard.isValid())
        settings.setValue(QStringLiteral("fees/standard"), standard);
    else
        settings.remove(QStringLiteral("fees/standard"));
}

void TestFee2007::writeOfficeFile(const QByteArray &text) {
    QFile f(appDir->filePath(QStringLiteral("varnel.ini")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

// ---- rules ---------------------------------------------------------------------------------

void TestFee2007::caseTypes() {
    QCOMPARE(交纳办法类型列表(), (QStringList{"财产案件",
                                              "离婚案件",
                                              "人格权案件",
                                              "其他非财产案件",
                                              "知识产权民事案件",
                                              "劳动争议案件",
                                              "商标、专利、海事行政案件",
                                              "其他行政案件",
                                              "管辖权异议不成立",
                                              "申请执行",
                                              "申请保全",
                                              "申请支付令",
                                              "申请公示催告",
                                              "申请撤销仲裁裁决或者认定仲裁协议效力",
                                              "破产案件",
                                              "申请设立海事赔偿责任限制基金",
                                              "申请海事强制令",
                                              "申请船舶优先权催告",
                                              "申请海事债权登记",
                                              "申请共同海损理算"}));
}

void TestFee2007::fees_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("joint");
    QTest::addColumn<bool>("halved");
    QTest::addColumn<QString>("fee");
    auto row = [](const char *name, const char *type, const char *amount, const char *fee,
                  bool halved = false, const char *joint = "") {
        QTest::newRow(name) << QString::fromUtf8(type) << QString::fromUtf8(amount)
                            << QString::fromUtf8(joint) << halved << QString::fromUtf8(fee);
    };
    // The property scale at every bound and a yuan either side; x.xx5 rounds up.
    row("P none", "财产案件", "", "50");
    row("P letters", "财产案件", "abc", "50");
    row("P 10000", "财产案件", "10000", "50");
    row("P 10001 tie up", "财产案件", "10001", "50.03");
    row("P 99999", "财产案件", "99999", "2299.98");
    row("P 100000", "财产案件", "100000", "2300");
    row("P 100001", "财产案件", "100001", "2300.02");
    row("P 199999", "财产案件", "199999", "4299.98");
    row("P 200000", "财产案件", "200000", "4300");
    row("P 200001", "财产案件", "200001", "4300.02");
    row("P 499999 tie up", "财产案件", "499999", "8799.99");
    row("P 500000", "财产案件", "500000", "8800");
    row("P 500001", "财产案件", "500001", "8800.01");
    row("P 999999", "财产案件", "999999", "13799.99");
    row("P 1000000", "财产案件", "1000000", "13800");
    row("P 1000001", "财产案件", "1000001", "13800.01");
    row("P 1999999", "财产案件", "1999999", "22799.99");
    row("P 2000000", "财产案件", "2000000", "22800");
    row("P 2000001", "财产案件", "2000001", "22800.01");
    row("P 4999999", "财产案件", "4999999", "46799.99");
    row("P 5000000", "财产案件", "5000000", "46800");
    row("P 5000001", "财产案件", "5000001", "46800.01");
    row("P 9999999", "财产案件", "9999999", "81799.99");
    row("P 10000000", "财产案件", "10000000", "81800");
    row("P 10000001", "财产案件", "10000001", "81800.01");
    row("P 19999999", "财产案件", "19999999", "141799.99");
    row("P 20000000", "财产案件", "20000000", "141800");
    row("P 20000001 tie up", "财产案件", "20000001", "141800.01");
    row("P 30000000", "财产案件", "30000000", "191800");
    row("P inside 2%", "财产案件", "123457", "2769.14");
    row("P inside 0.8%", "财产案件", "3720293.75", "36562.35");
    row("P halved", "财产案件", "123457", "1384.57", true);
    // Divorce: 50 to 300, and 0.5 % of the joint property above 200 000.
    row("divorce none", "离婚案件", "100000", "50至300");
    row("divorce 200000", "离婚案件", "", "50至300", false, "200000");
    row("divorce 200001", "离婚案件", "", "50.01至300.01", false, "200001");
    row("divorce 796260", "离婚案件", "", "3031.3至3281.3", false, "796260");
    row("divorce halved", "离婚案件", "", "1515.65至1640.65", true, "796260");
    row("divorce joint letters", "离婚案件", "", "50至300", false, "x");
    // Personality rights: 100 to 500, 1 % of damages from 50 000 to 100 000, 0.5 % above.
    row("person none", "人格权案件", "", "100至500");
    row("person 50000", "人格权案件", "50000", "100至500");
    row("person 50001", "人格权案件", "50001", "100.01至500.01");
    row("person 100000", "人格权案件", "100000", "600至1000");
    row("person 100001", "人格权案件", "100001", "600.01至1000.01");
    row("person 586260", "人格权案件", "586260", "3031.3至3431.3");
    row("person halved", "人格权案件", "100000", "300至500", true);
    row("other non-property", "其他非财产案件", "5000", "50至100");
    row("other halved", "其他非财产案件", "", "25至50", true);
    // Intellectual property: a range without an amount, else the property scale.
    row("IP none", "知识产权民事案件", "", "500至1000");
    row("IP zero", "知识产权民事案件", "0", "500至1000");
    row("IP negative", "知识产权民事案件", "-5", "500至1000");
    row("IP letters", "知识产权民事案件", "x", "500至1000");
    row("IP amount", "知识产权民事案件", "100000", "2300");
    row("IP halved", "知识产权民事案件", "", "250至500", true);
    row("labour", "劳动争议案件", "900000", "10");
    row("labour halved", "劳动争议案件", "", "5", true);
    row("trademark", "商标、专利、海事行政案件", "", "100");
    row("trademark halved", "商标、专利、海事行政案件", "", "50", true);
    row("administrative", "其他行政案件", "", "50");
    row("administrative halved", "其他行政案件", "", "25", true);
    row("jurisdiction", "管辖权异议不成立", "", "50至100");
    row("jurisdiction halved", "管辖权异议不成立", "", "25至50", true);
    // Enforcement: 50 to 10 000, 1.5 %, 1 %, 0.5 %, 0.1 %; never halved.
    row("enforce none", "申请执行", "", "50至500");
    row("enforce zero", "申请执行", "0", "50至500");
    row("enforce 10000", "申请执行", "10000", "50");
    row("enforce 10003 tie up", "申请执行", "10003", "50.05");
    row("enforce exact, not rounded twice", "申请执行", "10000.33", "50");
    row("enforce 499999", "申请执行", "499999", "7399.99");
    row("enforce 500000", "申请执行", "500000", "7400");
    row("enforce 500001", "申请执行", "500001", "7400.01");
    row("enforce 5000000", "申请执行", "5000000", "52400");
    row("enforce 5000001", "申请执行", "5000001", "52400.01");
    row("enforce 10000000", "申请执行", "10000000", "77400");
    row("enforce 10000005", "申请执行", "10000005", "77400.01");
    row("enforce 20000000", "申请执行", "20000000", "87400");
    row("enforce not halved", "申请执行", "500000", "7400", true);
    // Preservation: 30 to 1 000, 1 % to 100 000, 0.5 % above, at most 5 000.
    row("preserve none", "申请保全", "", "30");
    row("preserve 1000", "申请保全", "1000", "30");
    row("preserve 1001", "申请保全", "1001", "30.01");
    row("preserve 100000", "申请保全", "100000", "1020");
    row("preserve 100001", "申请保全", "100001", "1020.01");
    row("preserve below cap", "申请保全", "895000", "4995");
    row("preserve at cap", "申请保全", "896000", "5000");
    row("preserve above cap", "申请保全", "2000000", "5000");
    row("payment order none", "申请支付令", "", "16.67");
    row("payment order", "申请支付令", "100000", "766.67");
    row("summons", "申请公示催告", "", "100");
    row("summons not halved", "申请公示催告", "", "100", true);
    row("arbitration", "申请撤销仲裁裁决或者认定仲裁协议效力", "", "400");
    // Bankruptcy: half the property scale, at most 300 000 (reached at 111 640 000).
    row("bankruptcy", "破产案件", "100000", "1150");
    row("bankruptcy below cap", "破产案件", "111638000", "299995");
    row("bankruptcy at cap", "破产案件", "111640000", "300000");
    row("bankruptcy above cap", "破产案件", "200000000", "300000");
    row("limitation fund", "申请设立海事赔偿责任限制基金", "", "1000至10000");
    row("limitation fund not halved", "申请设立海事赔偿责任限制基金", "", "1000至10000", true);
    row("maritime injunction", "申请海事强制令", "", "1000至5000");
    row("ship priority", "申请船舶优先权催告", "", "1000至5000");
    row("claim registration", "申请海事债权登记", "", "1000");
    row("general average", "申请共同海损理算", "", "1000");
}

void TestFee2007::fees() {
    QFETCH(QString, type);
    QFETCH(QString, amount);
    QFETCH(QString, joint);
    QFETCH(bool, halved);
    QFETCH(QString, fee);
    QCOMPARE(费用文本(交纳办法费用(type, amount, joint, halved)), fee);
}

void TestFee2007::basis_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("halved");
    QTest::addColumn<QString>("basis");
    QTest::newRow("property") << "财产案件" << false << 依据前缀 + "第十三条第（一）项";
    QTest::newRow("property halved")
        << "财产案件" << true << 依据前缀 + "第十三条第（一）项" + 减半依据;
    QTest::newRow("divorce") << "离婚案件" << false << 依据前缀 + "第十三条第（二）项第1目";
    QTest::newRow("jurisdiction halved")
        << "管辖权异议不成立" << true << 依据前缀 + "第十三条第（六）项" + 减半依据;
    QTest::newRow("preservation not halved")
        << "申请保全" << true << 依据前缀 + "第十四条第（二）项";
    QTest::newRow("general average")
        << "申请共同海损理算" << false << 依据前缀 + "第十四条第（七）项第5目";
}

void TestFee2007::basis() {
    QFETCH(QString, type);
    QFETCH(bool, halved);
    QFETCH(QString, basis);
    QCOMPARE(交纳办法费用(type, QString(), QString(), halved).依据, basis);
}

// ---- window --------------------------------------------------------------------------------

// As the clerk does: a click gives the chooser the keyboard, the arrow keys choose.
void TestFee2007::chooseSchedule(Fo诉讼费计算 *w, int index) {
    auto *combo = w->findChild<QComboBox *>(QStringLiteral("Com收费标准"));
    combo->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(combo, index ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(combo->currentIndex(), index);
}

void TestFee2007::opensWith_data() {
    QTest::addColumn<QVariant>("remembered");
    QTest::addColumn<QByteArray>("office"); // empty: no settings file
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("refusal"); // part of the message; empty: none
    const QByteArray fees2007("[fees]\nstandard=2007\n");
    QTest::newRow("new installation") << QVariant() << QByteArray() << 0 << QString();
    QTest::newRow("office 2007") << QVariant() << fees2007 << 1 << QString();
    QTest::newRow("office 2007 after the archive")
        << QVariant() << QByteArray("[archive]\nconnection=\n\n[fees]\nstandard = 2007\n") << 1
        << QString();
    QTest::newRow("clerk's 1989 over the office's 2007")
        << QVariant(1989) << fees2007 << 0 << QString();
    QTest::newRow("clerk's 2007 over the office's 1989")
        << QVariant(2007) << QByteArray("[fees]\nstandard=1989\n") << 1 << QString();
    QTest::newRow("unknown remembered value") << QVariant(2008) << fees2007 << 1 << QString();
    QTest::newRow("office value refused")
        << QVariant() << QByteArray("[fees]\nstandard=2008\n") << 0 << QStringLiteral("第 2 行");
    QTest::newRow("office key refused")
        << QVariant() << QByteArray("[fees]\nschedule=2007\n") << 0 << QStringLiteral("schedule");
}

void TestFee2007::opensWith() {
    QFETCH(QVariant, remembered);
    QFETCH(QByteArray, office);
    QFETCH(int, index);
    QFETCH(QString, refusal);
    remember(remembered);
    if (!office.isEmpty())
        writeOfficeFile(office);
    BoxAnswerer answerer;
    auto *w = 打开费用窗口();
    QCOMPARE(w->Com收费标准->currentIndex(), index);
    QCOMPARE(w->List1->count(), index ? 20 : 10);
    QCOMPARE(answerer.texts.size(), refusal.isEmpty() ? 0 : 1);
    if (!refusal.isEmpty())
        QVERIFY2(answerer.texts.first().contains(refusal), qPrintable(answerer.texts.first()));
    w->close();
}

// Only the clerk's own choice is remembered; the office's default is not taken for one.
void TestFee2007::clerkChoiceRemembered() {
    writeOfficeFile("[fees]\nstandard=2007\n");
    auto *w = 打开费用窗口();
    QCOMPARE(w->Com收费标准->currentIndex(), 1);
    w->close();
    writeOfficeFile("[fees]\nstandard=1989\n");
    w = 打开费用窗口();
    QCOMPARE(w->Com收费标准->currentIndex(), 0);
    chooseSchedule(w, 1);
    w->close();
    w = 打开费用窗口();
    QCOMPARE(w->Com收费标准->currentIndex(), 1);
    chooseSchedule(w, 0);
    w->close();
    writeOfficeFile("[fees]\nstandard=2007\n");
    w = 打开费用窗口();
    QCOMPARE(w->Com收费标准->currentIndex(), 0);
    w->close();
}

void TestFee2007::resultShown_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("joint");
    QTest::addColumn<bool>("halve");
    QTest::addColumn<QString>("shown");
    QTest::newRow("property") << "财产案件"
                              << "123457"
                              << "" << false << "2769.14";
    QTest::newRow("property halved") << "财产案件"
                                     << "123457"
                                     << "" << true << "1384.57";
    QTest::newRow("divorce") << "离婚案件"
                             << ""
                             << "796260" << false << "3031.3至3281.3";
    QTest::newRow("divorce halved") << "离婚案件"
                                    << ""
                                    << "796260" << true << "1515.65至1640.65";
    QTest::newRow("enforcement without amount") << "申请执行"
                                                << "x"
                                                << "" << false << "50至500";
    // The check box is disabled for an application fee: the click changes nothing.
    QTest::newRow("preservation, halving refused") << "申请保全"
                                                   << "2000000"
                                                   << "" << true << "5000";
}

void TestFee2007::resultShown() {
    QFETCH(QString, type);
    QFETCH(QString, amount);
    QFETCH(QString, joint);
    QFETCH(bool, halve);
    QFETCH(QString, shown);
    remember(2007);
    auto *w = 打开费用窗口();
    点选类型(w, type);
    if (w->Te共同产->isVisible())
        typeText(w->Te共同产, joint);
    typeText(w->Tex标的, amount);
    if (halve)
        QTest::mouseClick(w->Chk减半, Qt::LeftButton, {}, QPoint(8, w->Chk减半->height() / 2));
    QCOMPARE(w->Te结果->text(), shown);
    QCOMPARE(w->Lab依据->text().endsWith(减半依据), halve && w->Chk减半->isEnabled());
    // A text that is not a number is flagged as in the 1989 window.
    QCOMPARE(w->Label7->isVisible(), amount == QStringLiteral("x"));
    w->close();
}

void TestFee2007::amountLabelAndHalving_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("halvable");
    QTest::newRow("property") << "财产案件"
                              << "诉讼标的" << true;
    QTest::newRow("divorce") << "离婚案件"
                             << "无需填写" << true;
    QTest::newRow("personality") << "人格权案件"
                                 << "赔偿金额" << true;
    QTest::newRow("IP") << "知识产权民事案件"
                        << "争议金额" << true;
    QTest::newRow("ninth") << "管辖权异议不成立"
                           << "无需填写" << true;
    QTest::newRow("tenth") << "申请执行"
                           << "执行金额" << false;
    QTest::newRow("preservation") << "申请保全"
                                  << "保全数额" << false;
    QTest::newRow("payment order") << "申请支付令"
                                   << "请求金额" << false;
    QTest::newRow("bankruptcy") << "破产案件"
                                << "破产财产" << false;
    QTest::newRow("last") << "申请共同海损理算"
                          << "无需填写" << false;
}

void TestFee2007::amountLabelAndHalving() {
    QFETCH(QString, type);
    QFETCH(QString, label);
    QFETCH(bool, halvable);
    remember(2007);
    auto *w = 打开费用窗口();
    点选类型(w, type);
    QCOMPARE(w->Label3[0]->text(), label);
    QCOMPARE(w->Chk减半->isEnabled(), halvable);
    QCOMPARE(w->Te共同产->isVisible(), type == QStringLiteral("离婚案件"));
    w->close();
}

// A change of schedule starts over: the old schedule's fee is not left standing under the new
// one. The amounts stay.
void TestFee2007::switchingSchedules() {
    auto *w = 打开费用窗口();
    QVERIFY(!w->Chk减半->isEnabled());
    点选类型(w, QStringLiteral("民事_财产（破产）案件"));
    typeText(w->Tex标的, QStringLiteral("100000"));
    QCOMPARE(w->Te结果->text(), QStringLiteral("3510"));
    QVERIFY(!w->Chk减半->isEnabled());
    chooseSchedule(w, 1);
    QCOMPARE(w->List1->count(), 20);
    QVERIFY(w->List1->selectedItems().isEmpty());
    QVERIFY(w->Te结果->text().isEmpty());
    QVERIFY(w->Te共同产->isVisible());
    点选类型(w, QStringLiteral("财产案件"));
    QCOMPARE(w->Te结果->text(), QStringLiteral("2300"));
    QCOMPARE(w->Lab依据->text(), 依据前缀 + "第十三条第（一）项");
    QTest::mouseClick(w->Chk减半, Qt::LeftButton, {}, QPoint(8, w->Chk减半->height() / 2));
    QCOMPARE(w->Te结果->text(), QStringLiteral("1150"));
    chooseSchedule(w, 0);
    QCOMPARE(w->List1->count(), 10);
    QVERIFY(w->Te结果->text().isEmpty());
    QVERIFY(w->Lab依据->text().isEmpty());
    QVERIFY(!w->Chk减半->isEnabled());
    点选类型(w, QStringLiteral("民事_财产（破产）案件"));
    QCOMPARE(w->Te结果->text(), QStringLiteral("3510"));
    QCOMPARE(w->Label3[0]->text(), QStringLiteral("诉讼标的"));
    w->close();
}

// Beyond the money range: the overflow is reported, and no fee stands in the result box.
void TestFee2007::overflowShowsNoFee() {
    remember(2007);
    auto *w = 打开费用窗口();
    点选类型(w, QStringLiteral("财产案件"));
    typeText(w->Tex标的, QStringLiteral("5"));
    QCOMPARE(w->Te结果->text(), QStringLiteral("50"));
    BoxAnswerer answerer;
    w->Tex标的->setText(QStringLiteral("1e15"));
    QCOMPARE(answerer.texts, QStringList{"溢出"});
    QVERIFY(w->Te结果->text().isEmpty());
    QVERIFY(w->Lab依据->text().isEmpty());
    w->close();
}

QTEST_MAIN(TestFee2007)
#include "test_fee_2007.moc"
