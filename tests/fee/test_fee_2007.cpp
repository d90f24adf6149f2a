// The fees of the 2007 measures and the fee window's choice of schedule. Every expected fee is
// worked out by hand from the measures' scales (P(100 000) = 2 300, P(1 000 000) = 13 800, ...).
#include "box_answerer.h"
#include "common/app_dir.h"
#include "fee/fee_rules_2007.h"
#include "fee_window_fixture.h"
#include "typing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

namespace {
const QString 减半依据 = QStringLiteral("，第十五条/第十六条/第十八条");
} // namespace

class TestFee2007 : public QObject {
    Q_OBJECT
    std::unique_ptr<BoxAnswerer> guard;
    QTemporaryDir userDir;
    std::unique_ptr<QTemporaryDir> appDir;
    QString oldAppDir;

    void remember(const QVariant &standard) {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, "Varnel", "Varnel");
        standard.isValid() ? s.setValue("fees/standard", standard) : s.remove("fees/standard");
    }
    void writeOfficeFile(const QByteArray &text) {
        QFile f(appDir->filePath(QStringLiteral("varnel.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    // As the clerk does: a click gives the chooser the keyboard, the arrow keys choose.
    void chooseSchedule(Fo诉讼费计算 *w, int index) {
        w->Com收费标准->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(w->Com收费标准, index ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(w->Com收费标准->currentIndex(), index);
    }
    void clickHalving(Fo诉讼费计算 *w) {
        QTest::mouseClick(w->Chk减半, Qt::LeftButton, {}, QPoint(8, w->Chk减半->height() / 2));
    }

  private slots:
    // The clerk's settings file of these tests is their own, never the user's.
    void initTestCase() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, userDir.path());
    }
    // Each test starts with nothing remembered and an application directory without settings.
    void init() {
        guard = std::make_unique<BoxAnswerer>();
        remember(QVariant());
        appDir = std::make_unique<QTemporaryDir>();
        oldAppDir = 应用目录();
        设应用目录(appDir->path());
    }
    void cleanup() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        设应用目录(oldAppDir);
        QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
    }

    void caseTypes() {
        QCOMPARE(
            交纳办法类型列表(),
            QStringLiteral("财产案件 离婚案件 人格权案件 其他非财产案件 知识产权民事案件 "
                           "劳动争议案件 商标、专利、海事行政案件 其他行政案件 管辖权异议不成立 "
                           "申请执行 申请保全 申请支付令 申请公示催告 "
                           "申请撤销仲裁裁决或者认定仲裁协议效力 破产案件 "
                           "申请设立海事赔偿责任限制基金 申请海事强制令 申请船舶优先权催告 "
                           "申请海事债权登记 申请共同海损理算")
                .split(u' '));
    }

    // Each bound of a scale, a yuan below and above (the text is read as the amount and as the
    // joint property); x.xx5 rounds up.
    void bracketBounds_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("bound");
        QTest::addColumn<QStringList>("fees"); // below, at, above
        auto row = [](const char *type, int bound, QStringList fees) {
            QTest::addRow("%s %d", type, bound) << QString::fromUtf8(type) << bound << fees;
        };
        row("财产案件", 10'000, {"50", "50", "50.03"});
        row("财产案件", 100'000, {"2299.98", "2300", "2300.02"});
        row("财产案件", 200'000, {"4299.98", "4300", "4300.02"});
        row("财产案件", 500'000, {"8799.99", "8800", "8800.01"});
        row("财产案件", 1'000'000, {"13799.99", "13800", "13800.01"});
        row("财产案件", 2'000'000, {"22799.99", "22800", "22800.01"});
        row("财产案件", 5'000'000, {"46799.99", "46800", "46800.01"});
        row("财产案件", 10'000'000, {"81799.99", "81800", "81800.01"});
        row("财产案件", 20'000'000, {"141799.99", "141800", "141800.01"});
        row("离婚案件", 200'000, {"50至300", "50至300", "50.01至300.01"});
        row("人格权案件", 50'000, {"100至500", "100至500", "100.01至500.01"});
        row("人格权案件", 100'000, {"599.99至999.99", "600至1000", "600.01至1000.01"});
        row("申请执行", 10'000, {"50", "50", "50.02"});
        row("申请执行", 500'000, {"7399.99", "7400", "7400.01"});
        row("申请执行", 5'000'000, {"52399.99", "52400", "52400.01"});
        row("申请保全", 1'000, {"30", "30", "30.01"});
        row("申请保全", 100'000, {"1019.99", "1020", "1020.01"});
    }
    void bracketBounds() {
        QFETCH(QString, type);
        QFETCH(int, bound);
        QFETCH(QStringList, fees);
        for (int i = 0; i < 3; ++i) {
            const QString x = QString::number(bound - 1 + i);
            QCOMPARE(费用文本(交纳办法费用(type, x, x, false)), fees[i]);
        }
    }

    void fees_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("joint");
        QTest::addColumn<bool>("halved");
        QTest::addColumn<QString>("fee");
        auto row = [](const char *type, const char *amount, const char *fee, bool halved = false,
                      const char *joint = "") {
            QTest::addRow("%s %s %s%s", type, amount, joint, halved ? " halved" : "")
                << QString::fromUtf8(type) << QString::fromUtf8(amount) << QString::fromUtf8(joint)
                << halved << QString::fromUtf8(fee);
        };
        row("财产案件", "", "50");
        row("财产案件", "123457", "2769.14");
        row("财产案件", "3720293.75", "36562.35");
        row("财产案件", "123457", "1384.57", true);
        // fee2007_overflow_in_money_range: the fuzzer's amount and the largest money holds.
        row("财产案件", "922337203685477", "4611686060227.39");
        row("财产案件", "922337203685477.5807", "4611686060227.39");
        row("离婚案件", "100000", "50至300");
        row("离婚案件", "", "3031.3至3281.3", false, "796260");
        row("离婚案件", "", "1515.65至1640.65", true, "796260");
        row("人格权案件", "", "100至500");
        row("人格权案件", "586260", "3031.3至3431.3");
        row("人格权案件", "100000", "300至500", true);
        row("其他非财产案件", "5000", "50至100");
        row("其他非财产案件", "", "25至50", true);
        row("知识产权民事案件", "", "500至1000");
        row("知识产权民事案件", "-5", "500至1000");
        row("知识产权民事案件", "100000", "2300");
        row("知识产权民事案件", "", "250至500", true);
        row("劳动争议案件", "900000", "10");
        row("劳动争议案件", "", "5", true);
        row("商标、专利、海事行政案件", "", "100");
        row("其他行政案件", "", "50");
        row("管辖权异议不成立", "", "50至100");
        row("管辖权异议不成立", "", "25至50", true);
        row("申请执行", "0", "50至500");
        row("申请执行", "10000.33", "50"); // 50.00495: exact, not rounded twice
        row("申请执行", "10000005", "77400.01");
        row("申请执行", "500000", "7400", true);
        row("申请保全", "", "30");
        row("申请保全", "896000", "5000");
        row("申请保全", "2000000", "5000");
        row("申请支付令", "", "16.67");
        row("申请支付令", "100000", "766.67");
        row("申请公示催告", "", "100", true);
        row("申请撤销仲裁裁决或者认定仲裁协议效力", "", "400");
        row("破产案件", "100000", "1150");
        row("破产案件", "111640000", "300000");
        row("破产案件", "200000000", "300000");
        row("申请设立海事赔偿责任限制基金", "", "1000至10000", true);
        row("申请海事强制令", "", "1000至5000");
        row("申请船舶优先权催告", "", "1000至5000");
        row("申请海事债权登记", "", "1000");
        row("申请共同海损理算", "", "1000");
    }
    void fees() {
        QFETCH(QString, type);
        QFETCH(QString, amount);
        QFETCH(QString, joint);
        QFETCH(bool, halved);
        QFETCH(QString, fee);
        QCOMPARE(费用文本(交纳办法费用(type, amount, joint, halved)), fee);
    }

    void basis_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("halved");
        QTest::addColumn<QString>("articles");
        QTest::newRow("property") << "财产案件" << false << "第十三条第（一）项";
        QTest::newRow("halved") << "财产案件" << true << "第十三条第（一）项" + 减半依据;
        QTest::newRow("ninth halved")
            << "管辖权异议不成立" << true << "第十三条第（六）项" + 减半依据;
        QTest::newRow("tenth not halved") << "申请执行" << true << "第十四条第（一）项";
        QTest::newRow("last") << "申请共同海损理算" << false << "第十四条第（七）项第5目";
    }
    void basis() {
        QFETCH(QString, type);
        QFETCH(bool, halved);
        QFETCH(QString, articles);
        QCOMPARE(交纳办法费用(type, QString(), QString(), halved).依据,
                 QStringLiteral("《诉讼费用交纳办法》") + articles);
    }

    // ---- window ----------------------------------------------------------------------------

    void opensWith_data() {
        QTest::addColumn<QVariant>("remembered");
        QTest::addColumn<QByteArray>("office"); // empty: no settings file
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("refusal"); // part of the message; empty: none
        const QByteArray fees2007("[archive]\nconnection=\n[fees]\nstandard = 2007\n");
        QTest::newRow("new installation") << QVariant() << QByteArray() << 0 << QString();
        QTest::newRow("office 2007") << QVariant() << fees2007 << 1 << QString();
        QTest::newRow("clerk's 1989 first") << QVariant(1989) << fees2007 << 0 << QString();
        QTest::newRow("clerk's 2007 first")
            << QVariant(2007) << QByteArray("[fees]\nstandard=1989\n") << 1 << QString();
        QTest::newRow("unknown remembered") << QVariant(2008) << fees2007 << 1 << QString();
        QTest::newRow("office value refused")
            << QVariant() << QByteArray("[fees]\nstandard=2008\n") << 0 << QString("第 2 行");
    }
    void opensWith() {
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
        QVERIFY(refusal.isEmpty() || answerer.texts.first().contains(refusal));
        w->close();
    }

    // Only the clerk's own choice is remembered; the office's default is not taken for one.
    void clerkChoiceRemembered() {
        writeOfficeFile("[fees]\nstandard=2007\n");
        打开费用窗口()->close();
        writeOfficeFile("[fees]\nstandard=1989\n");
        auto *w = 打开费用窗口();
        QCOMPARE(w->Com收费标准->currentIndex(), 0);
        chooseSchedule(w, 1);
        w->close();
        w = 打开费用窗口();
        QCOMPARE(w->Com收费标准->currentIndex(), 1);
        w->close();
    }

    // The halving box is a real click: disabled for an application fee, it changes nothing.
    void resultShown_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("joint");
        QTest::addColumn<bool>("halve");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("label");
        auto row = [](const char *type, const char *amount, const char *joint, bool halve,
                      const char *shown, const char *label) {
            QTest::addRow("%s", type)
                << QString::fromUtf8(type) << QString::fromUtf8(amount) << QString::fromUtf8(joint)
                << halve << QString::fromUtf8(shown) << QString::fromUtf8(label);
        };
        row("财产案件", "123457", "", true, "1384.57", "诉讼标的");
        row("离婚案件", "", "796260", true, "1515.65至1640.65", "无需填写");
        row("管辖权异议不成立", "", "", true, "25至50", "无需填写");
        row("申请执行", "x", "", true, "50至500", "执行金额");
        row("申请保全", "2000000", "", true, "5000", "保全数额");
    }
    void resultShown() {
        QFETCH(QString, type);
        QFETCH(QString, amount);
        QFETCH(QString, joint);
        QFETCH(bool, halve);
        QFETCH(QString, shown);
        QFETCH(QString, label);
        remember(2007);
        auto *w = 打开费用窗口();
        点选类型(w, type);
        QCOMPARE(w->Te共同产->isVisible(), type == QStringLiteral("离婚案件"));
        if (w->Te共同产->isVisible())
            typeText(w->Te共同产, joint);
        typeText(w->Tex标的, amount);
        if (halve)
            clickHalving(w);
        QCOMPARE(w->Te结果->text(), shown);
        QCOMPARE(w->Label3[0]->text(), label);
        QCOMPARE(w->Tex标的->isEnabled(), label != QStringLiteral("无需填写"));
        QCOMPARE(w->Lab依据->text().endsWith(减半依据), w->Chk减半->isChecked());
        QCOMPARE(w->Label7->isVisible(), amount == QStringLiteral("x")); // flagged as in 1989
        w->close();
    }

    // A change of schedule starts over: no fee of the old schedule stands under the new one.
    void switchingSchedules() {
        auto *w = 打开费用窗口();
        QVERIFY(!w->Chk减半->isEnabled());
        点选类型(w, QStringLiteral("民事_财产（破产）案件"));
        typeText(w->Tex标的, QStringLiteral("100000"));
        QCOMPARE(w->Te结果->text(), QStringLiteral("3510"));
        chooseSchedule(w, 1);
        QCOMPARE(w->List1->count(), 20);
        QVERIFY(w->Te结果->text().isEmpty());
        QVERIFY(w->Te共同产->isVisible());
        点选类型(w, QStringLiteral("财产案件"));
        QCOMPARE(w->Te结果->text(), QStringLiteral("2300"));
        clickHalving(w);
        QCOMPARE(w->Te结果->text(), QStringLiteral("1150"));
        // An application fee is not halved, and the greyed box does not look ticked.
        点选类型(w, QStringLiteral("申请执行"));
        QVERIFY(!w->Chk减半->isEnabled() && !w->Chk减半->isChecked());
        QCOMPARE(w->Te结果->text(), QStringLiteral("1400"));
        chooseSchedule(w, 0);
        QVERIFY(w->Te结果->text().isEmpty());
        QVERIFY(w->Lab依据->text().isEmpty());
        QVERIFY(!w->Chk减半->isEnabled());
        点选类型(w, QStringLiteral("民事_财产（破产）案件"));
        QCOMPARE(w->Te结果->text(), QStringLiteral("3510"));
        QCOMPARE(w->Label3[0]->text(), QStringLiteral("诉讼标的"));
        w->close();
    }

    // Beyond the money range: the overflow is reported, and no fee stands in the result box.
    void overflowShowsNoFee() {
        remember(2007);
        auto *w = 打开费用窗口();
        点选类型(w, QStringLiteral("财产案件"));
        BoxAnswerer answerer;
        typeText(w->Tex标的, QStringLiteral("5"));
        w->Tex标的->setText(QStringLiteral("1e15"));
        QCOMPARE(answerer.texts, QStringList{"溢出"});
        QVERIFY(w->Te结果->text().isEmpty());
        QVERIFY(w->Lab依据->text().isEmpty());
        w->close();
    }
};

QTEST_MAIN(TestFee2007)
#include "test_fee_2007.moc"
