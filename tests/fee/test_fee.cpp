#include "box_answerer.h"
#include "common/twips.h"
#include "common/varnel_error.h"
#include "fee/fee_rules.h"
#include "fee/fee_window.h"
#include "fee_window_fixture.h"
#include "typing.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {
const QString 财产 = QStringLiteral("民事_财产（破产）案件");
const QString 人身 = QStringLiteral("民事_人身非财产案件");
const QString 其他非财产 = QStringLiteral("民事_其他非财产案件");
} // namespace

class TestFee : public QObject {
    Q_OBJECT
  private slots:
    void init() { guard = std::make_unique<BoxAnswerer>(); }
    // A box no test expected fails the test; the guard has answered it.
    void cleanup() {
        QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
    }
    void propertyScale_data();
    void propertyScale();
    void civilRules_data();
    void civilRules();
    void administrative_data();
    void administrative();
    void enforcement_data();
    void enforcement();
    void shownRounding_data();
    void shownRounding();

    void loadState();
    void workedValues_data();
    void workedValues();
    void jointRowFollowsCaseType();
    void arrowsFlagBadInput_data();
    void arrowsFlagBadInput();
    void nothingSelectedKeepsResult();
    void overflowKeepsWindowOpen();
    void arrowAnimation();
    void caseTypeCannotBeEmptied();
    void tabOrderFollowsReading();

  private:
    Fo诉讼费计算 *openWindow();
    void choose(Fo诉讼费计算 *w, const QString &type);
    std::unique_ptr<BoxAnswerer> guard; // answers any box the test did not expect
};

// ---- rules ---------------------------------------------------------------------------------

void TestFee::propertyScale_data() {
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("fee");
    QTest::newRow("negative") << "-500"
                              << "50";
    QTest::newRow("zero") << "0"
                          << "50";
    QTest::newRow("1000") << "1000"
                          << "50";
    QTest::newRow("1000.5") << "1000.5"
                            << "50.02";
    QTest::newRow("1001") << "1001"
                          << "50.04";
    QTest::newRow("12345") << "12345"
                           << "503.8";
    QTest::newRow("50000") << "50000"
                           << "2010";
    QTest::newRow("50001") << "50001"
                           << "2010.03";
    QTest::newRow("100000") << "100000"
                            << "3510";
    QTest::newRow("200000") << "200000"
                            << "5510";
    QTest::newRow("500000") << "500000"
                            << "10010";
    QTest::newRow("1000000") << "1000000"
                             << "15010";
    QTest::newRow("2500000") << "2500000"
                             << "22510";
    // Inside each bracket, away from the bounds where two formulas give the same fee.
    QTest::newRow("inside 4%") << "30000"
                               << "1210";
    QTest::newRow("inside 3%") << "75000"
                               << "2760";
    QTest::newRow("inside 2%") << "150000"
                               << "4510";
    QTest::newRow("inside 1.5%") << "300000"
                                 << "7010";
    QTest::newRow("inside 1%") << "750000"
                               << "12510";
    QTest::newRow("inside 0.5%") << "2000000"
                                 << "20010";
}

void TestFee::propertyScale() {
    QFETCH(QString, amount);
    QFETCH(QString, fee);
    QCOMPARE(金额文本(财产标准(文本金额(amount))), fee);
}

void TestFee::civilRules_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("joint");
    QTest::addColumn<QString>("fee");
    QTest::newRow("property empty") << 财产 << ""
                                    << ""
                                    << "50";
    QTest::newRow("property ignores joint") << 财产 << "12345"
                                            << "99999"
                                            << "503.8";
    QTest::newRow("divorce plain") << 离婚案件 << ""
                                   << ""
                                   << "50";
    QTest::newRow("divorce joint 10000") << 离婚案件 << ""
                                         << "10000"
                                         << "50";
    QTest::newRow("divorce joint 10100") << 离婚案件 << ""
                                         << "10100"
                                         << "51";
    QTest::newRow("divorce joint 25000") << 离婚案件 << ""
                                         << "25000"
                                         << "200";
    QTest::newRow("divorce both") << 离婚案件 << "80000"
                                  << "25000"
                                  << "3110";
    QTest::newRow("divorce small claim") << 离婚案件 << "500"
                                         << "10000"
                                         << "100";
    QTest::newRow("divorce negative claim") << 离婚案件 << "-100"
                                            << ""
                                            << "50";
    QTest::newRow("personal none") << 人身 << ""
                                   << ""
                                   << "100";
    QTest::newRow("personal letters") << 人身 << "abc"
                                      << ""
                                      << "100";
    QTest::newRow("personal 500") << 人身 << "500"
                                  << ""
                                  << "50";
    QTest::newRow("personal negative") << 人身 << "-5"
                                       << ""
                                       << "50";
    QTest::newRow("personal 20000") << 人身 << "20000"
                                    << ""
                                    << "810";
    QTest::newRow("other none") << 其他非财产 << ""
                                << ""
                                << "50";
    QTest::newRow("other 20000") << 其他非财产 << "20000"
                                 << ""
                                 << "810";
    QTest::newRow("labour") << QStringLiteral("民事_劳动争议案件") << "900000"
                            << ""
                            << "50";
    QTest::newRow("payment order") << QStringLiteral("民事_支付令件") << "5"
                                   << ""
                                   << "100";
    QTest::newRow("summons") << QStringLiteral("民事_公示催告") << ""
                             << ""
                             << "100";
    QTest::newRow("unknown") << QStringLiteral("民事_其他") << "5000"
                             << ""
                             << "0";
    QTest::newRow("tie amount") << 财产 << "12362.5"
                                << ""
                                << "504.5";
}

void TestFee::civilRules() {
    QFETCH(QString, type);
    QFETCH(QString, amount);
    QFETCH(QString, joint);
    QFETCH(QString, fee);
    QCOMPARE(金额文本(民事受理费(type, amount, joint)), fee);
}

void TestFee::administrative_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("fee");
    QTest::newRow("security empty") << "行政_治安"
                                    << ""
                                    << "30";
    QTest::newRow("other empty") << "行政_其他"
                                 << ""
                                 << "100";
    QTest::newRow("security letters") << "行政_治安"
                                      << "x"
                                      << "30";
    QTest::newRow("other letters") << "行政_其他"
                                   << "x"
                                   << "100";
    QTest::newRow("low") << "行政_其他"
                         << "1000"
                         << "50";
    QTest::newRow("tens cut") << "行政_其他"
                              << "12345"
                              << "500";
    QTest::newRow("security with amount") << "行政_治安"
                                          << "12345"
                                          << "500";
    QTest::newRow("top bracket") << "行政_其他"
                                 << "2500000"
                                 << "22510";
    // 12399 × 4% × 0.1 = 49.596: cut to 49 tens (500), where rounding would give 510.
    QTest::newRow("cut, not rounded") << "行政_其他"
                                      << "12399"
                                      << "500";
    QTest::newRow("cut in the lowest bracket") << "行政_治安"
                                               << "1999"
                                               << "80";
    QTest::newRow("inside 3%") << "行政_其他"
                               << "75000"
                               << "2760";
    QTest::newRow("inside 2%") << "行政_其他"
                               << "150000"
                               << "4510";
    QTest::newRow("inside 1.5%") << "行政_其他"
                                 << "300000"
                                 << "7010";
    QTest::newRow("inside 1%") << "行政_其他"
                               << "750000"
                               << "12510";
}

void TestFee::administrative() {
    QFETCH(QString, type);
    QFETCH(QString, amount);
    QFETCH(QString, fee);
    QCOMPARE(行政受理费(type, amount).value_or("none"), fee);
    QVERIFY(!行政受理费(QStringLiteral("执行费"), amount));
}

void TestFee::enforcement_data() {
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("fee");
    QTest::newRow("empty") << ""
                           << "50";
    QTest::newRow("letters") << "abc"
                             << "0";
    QTest::newRow("blanks") << "  "
                            << "0";
    QTest::newRow("10000") << "10000"
                           << "50";
    QTest::newRow("10100") << "10100"
                           << "50.5";
    QTest::newRow("10300") << "10300"
                           << "51.5";
    QTest::newRow("500000") << "500000"
                            << "2500";
    QTest::newRow("750000") << "750000"
                            << "2750";
    QTest::newRow("inside 0.5%") << "250000"
                                 << "1250";
    QTest::newRow("inside 0.1%") << "600000"
                                 << "2600";
    QTest::newRow("just above 10000") << "10001"
                                      << "50.005";
}

void TestFee::enforcement() {
    QFETCH(QString, amount);
    QFETCH(QString, fee);
    QCOMPARE(金额文本(执行费(amount)), fee);
}

void TestFee::shownRounding_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("shown");
    QTest::newRow("503.8") << "503.8" << 504;
    QTest::newRow("50.5") << "50.5" << 50;
    QTest::newRow("51.5") << "51.5" << 52;
    QTest::newRow("504.5") << "504.5" << 504;
    QTest::newRow("largest") << "2147483647" << 2147483647;
}

void TestFee::shownRounding() {
    QFETCH(QString, text);
    QFETCH(int, shown);
    QCOMPARE(取整显示(text), shown);
    QVERIFY_THROWS_EXCEPTION(VarnelError, 取整显示(QStringLiteral("2147483647.5")));
}

// ---- window --------------------------------------------------------------------------------

Fo诉讼费计算 *TestFee::openWindow() {
    return 打开费用窗口();
}

void TestFee::choose(Fo诉讼费计算 *w, const QString &type) {
    点选类型(w, type);
}

void TestFee::loadState() {
    auto *w = openWindow();
    auto *list = w->findChild<QListWidget *>(QStringLiteral("List1"));
    QCOMPARE(list->count(), 10);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(list->item(i)->text(), 案件类型列表().at(i));
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(w->findChild<QLineEdit *>(QStringLiteral("Te结果"))->text().isEmpty());
    QVERIFY(w->findChild<QLineEdit *>(QStringLiteral("Te共同产"))->isVisible());
    QVERIFY(w->findChild<QLabel *>(QStringLiteral("Label8"))->isVisible());
    QVERIFY(!w->findChild<QLabel *>(QStringLiteral("Label7"))->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Varnel"));
    QCOMPARE(缇左(w->findChild<QLineEdit *>(QStringLiteral("Tex标的"))), 2400);
    QCOMPARE(w->findChild<QLabel *>(QStringLiteral("Label7"))->text(),
             QStringLiteral("数字输入错误"));
    // &H00C0FFFF&: light yellow.
    QCOMPARE(w->findChild<QLineEdit *>(QStringLiteral("Te结果"))->palette().color(QPalette::Base),
             QColor(255, 255, 192));
    w->close();
}

// A Ctrl+click (or Ctrl+Space) on the chosen type used to leave no type chosen and the old
// type's fee shown.
void TestFee::caseTypeCannotBeEmptied() {
    auto *w = openWindow();
    auto *list = w->findChild<QListWidget *>(QStringLiteral("List1"));
    choose(w, 人身);
    auto *result = w->findChild<QLineEdit *>(QStringLiteral("Te结果"));
    QCOMPARE(result->text(), QStringLiteral("100"));
    const QRect chosen = list->visualItemRect(list->selectedItems().value(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, chosen.center());
    QCOMPARE(list->selectedItems().size(), 1);
    QCOMPARE(list->selectedItems().value(0)->text(), 人身);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(list->selectedItems().size(), 1);
    // A Ctrl+click on another type chooses it, as a plain click does.
    const QRect other = list->visualItemRect(list->findItems(财产, Qt::MatchExactly).value(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, other.center());
    QCOMPARE(list->selectedItems().value(0)->text(), 财产);
    QCOMPARE(result->text(), QStringLiteral("50"));
    w->close();
}

void TestFee::tabOrderFollowsReading() {
    auto *w = openWindow();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->List1->setFocus();
    QStringList order;
    for (int i = 0; i < 6; ++i) {
        order << w->focusWidget()->objectName();
        QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
    }
    // The schedule chooser too, reached by the keyboard; halving is off under this schedule.
    QCOMPARE(order,
             (QStringList{"List1", "Tex标的", "Te共同产", "Te结果", "Com收费标准", "List1"}));
    w->close();
}

void TestFee::workedValues_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("joint");
    QTest::addColumn<QString>("shown");
    QTest::newRow("property empty") << 财产 << ""
                                    << ""
                                    << "50";
    QTest::newRow("property 12345") << 财产 << "12345"
                                    << ""
                                    << "504";
    QTest::newRow("property 2500000") << 财产 << "2500000"
                                      << ""
                                      << "22510";
    QTest::newRow("property tie") << 财产 << "12362.5"
                                  << ""
                                  << "504";
    QTest::newRow("property 1000.5") << 财产 << "1000.5"
                                     << ""
                                     << "50";
    QTest::newRow("divorce empty") << 离婚案件 << ""
                                   << ""
                                   << "50";
    QTest::newRow("divorce joint") << 离婚案件 << ""
                                   << "25000"
                                   << "200";
    QTest::newRow("divorce both") << 离婚案件 << "80000"
                                  << "25000"
                                  << "3110";
    QTest::newRow("divorce 500") << 离婚案件 << "500"
                                 << "10000"
                                 << "100";
    QTest::newRow("personal empty") << 人身 << ""
                                    << ""
                                    << "100";
    QTest::newRow("personal 500") << 人身 << "500"
                                  << ""
                                  << "50";
    QTest::newRow("personal 20000") << 人身 << "20000"
                                    << ""
                                    << "810";
    QTest::newRow("payment order") << QStringLiteral("民事_支付令件") << "777"
                                   << ""
                                   << "100";
    QTest::newRow("security") << QStringLiteral("行政_治安") << ""
                              << ""
                              << "30";
    QTest::newRow("admin empty") << QStringLiteral("行政_其他") << ""
                                 << ""
                                 << "100";
    QTest::newRow("admin 12345") << QStringLiteral("行政_其他") << "12345"
                                 << ""
                                 << "500";
    QTest::newRow("enforcement empty") << 执行费类型 << ""
                                       << ""
                                       << "50";
    QTest::newRow("enforcement 750000") << 执行费类型 << "750000"
                                        << ""
                                        << "2750";
    QTest::newRow("enforcement tie down") << 执行费类型 << "10100"
                                          << ""
                                          << "50";
    QTest::newRow("enforcement tie up") << 执行费类型 << "10300"
                                        << ""
                                        << "52";
    QTest::newRow("enforcement letters") << 执行费类型 << "x"
                                         << ""
                                         << "0";
    QTest::newRow("full-width amount") << 财产 << "１２３４５"
                                       << ""
                                       << "504";
    QTest::newRow("grouped amount") << 财产 << "2,500,000"
                                    << ""
                                    << "22510";
}

void TestFee::workedValues() {
    QFETCH(QString, type);
    QFETCH(QString, amount);
    QFETCH(QString, joint);
    QFETCH(QString, shown);
    auto *w = openWindow();
    choose(w, type);
    auto *joints = w->findChild<QLineEdit *>(QStringLiteral("Te共同产"));
    if (joints->isVisible())
        typeText(joints, joint);
    typeText(w->findChild<QLineEdit *>(QStringLiteral("Tex标的")), amount);
    QCOMPARE(w->findChild<QLineEdit *>(QStringLiteral("Te结果"))->text(), shown);
    w->close();
}

void TestFee::jointRowFollowsCaseType() {
    auto *w = openWindow();
    auto *joint = w->findChild<QLineEdit *>(QStringLiteral("Te共同产"));
    auto *label7 = w->findChild<QLabel *>(QStringLiteral("Label7"));
    auto *arrow0 = w->findChild<QLabel *>(QStringLiteral("Lab错误指示(0)"));
    choose(w, 离婚案件);
    typeText(joint, "9x");
    QVERIFY(label7->isVisible());
    QVERIFY(arrow0->isVisible());
    QCOMPARE(缇上(arrow0), 3240);
    choose(w, 财产);
    for (const char *name : {"Te共同产", "Label3(2)", "Label6", "Label8"})
        QVERIFY2(!w->findChild<QWidget *>(QString::fromUtf8(name))->isVisible(), name);
    QVERIFY(!label7->isVisible());
    QVERIFY(!arrow0->isVisible());
    QCOMPARE(joint->text(), QStringLiteral("9x"));
    choose(w, 离婚案件);
    for (const char *name : {"Te共同产", "Label3(2)", "Label6", "Label8"})
        QVERIFY2(w->findChild<QWidget *>(QString::fromUtf8(name))->isVisible(), name);
    QVERIFY(label7->isVisible());
    w->close();
}

void TestFee::arrowsFlagBadInput_data() {
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("flagged");
    QTest::newRow("letters") << "12a" << true;
    QTest::newRow("lone minus") << "-" << true;
    QTest::newRow("lone point") << "." << true;
    QTest::newRow("beyond double") << "1e400" << true;
    QTest::newRow("blanks only") << "   " << false;
    QTest::newRow("full-width digits") << "１２" << false;
    QTest::newRow("long text") << QString(10000, 'x') << true;
    QTest::newRow("long digits") << QString(400, '9') << true;
}

void TestFee::arrowsFlagBadInput() {
    QFETCH(QString, amount);
    QFETCH(bool, flagged);
    auto *w = openWindow();
    choose(w, 财产);
    auto *box = w->findChild<QLineEdit *>(QStringLiteral("Tex标的"));
    box->setText(amount);
    QCOMPARE(w->findChild<QLabel *>(QStringLiteral("Label7"))->isVisible(), flagged);
    auto *arrow1 = w->findChild<QLabel *>(QStringLiteral("Lab错误指示(1)"));
    QCOMPARE(arrow1->isVisible(), flagged);
    if (flagged)
        QCOMPARE(缇上(arrow1), 2760);
    QVERIFY(!w->findChild<QLabel *>(QStringLiteral("Lab错误指示(0)"))->isVisible());
    // Deleting the text hides the flags again.
    box->clear();
    QVERIFY(!w->findChild<QLabel *>(QStringLiteral("Label7"))->isVisible());
    QVERIFY(!arrow1->isVisible());
    w->close();
}

void TestFee::nothingSelectedKeepsResult() {
    auto *w = openWindow();
    typeText(w->findChild<QLineEdit *>(QStringLiteral("Tex标的")), "5000");
    QVERIFY(w->findChild<QLineEdit *>(QStringLiteral("Te结果"))->text().isEmpty());
    w->close();
}

void TestFee::overflowKeepsWindowOpen() {
    auto *w = openWindow();
    choose(w, 财产);
    auto *result = w->findChild<QLineEdit *>(QStringLiteral("Te结果"));
    {
        // Beyond the currency range: the civil rule reports the overflow and gives 0.
        BoxAnswerer answerer;
        w->findChild<QLineEdit *>(QStringLiteral("Tex标的"))->setText("1e300");
        QCOMPARE(answerer.texts, QStringList{"溢出"});
        QCOMPARE(answerer.titles, QStringList{"Varnel"});
        QCOMPARE(result->text(), QStringLiteral("0"));
    }
    {
        // A shown fee beyond the 32-bit range keeps its unrounded text.
        BoxAnswerer answerer;
        w->findChild<QLineEdit *>(QStringLiteral("Tex标的"))->setText("429494727500");
        QCOMPARE(answerer.texts, QStringList{"溢出"});
        QCOMPARE(result->text(), QStringLiteral("2147483647.5"));
    }
    QVERIFY(w->isVisible());
    w->close();
}

void TestFee::arrowAnimation() {
    auto *w = openWindow();
    auto *arrow0 = w->findChild<QLabel *>(QStringLiteral("Lab错误指示(0)"));
    auto *arrow1 = w->findChild<QLabel *>(QStringLiteral("Lab错误指示(1)"));
    auto *timer = w->findChild<QTimer *>(QStringLiteral("Timer1"));
    auto tick = [&](int n) {
        for (int i = 0; i < n; ++i)
            QMetaObject::invokeMethod(timer, "timeout");
    };
    tick(1);
    QCOMPARE(缇左(arrow0), 4915);
    QCOMPARE(缇左(arrow1), 4915);
    tick(18);
    QCOMPARE(前景色(arrow0), 颜色(0xC0));
    tick(1); // the 20th tick swaps the colours
    QCOMPARE(前景色(arrow0), 颜色(0xFF0000));
    QCOMPARE(前景色(arrow1), 颜色(0xC0));
    tick(20);
    QCOMPARE(前景色(arrow0), 颜色(0xC0));
    QCOMPARE(前景色(arrow1), 颜色(0xFF0000));
    // Leftwards until the right edge of Tex标的 (4575), then rightwards to Label7 less 270.
    tick(69 - 40);
    QCOMPARE(缇左(arrow0), 4575);
    tick(1);
    QCOMPARE(缇左(arrow0), 4580);
    tick(110);
    QCOMPARE(缇左(arrow0), 5130);
    tick(1);
    QCOMPARE(缇左(arrow0), 5125);
    QCOMPARE(缇左(arrow1), 5125);
    w->close();
}

QTEST_MAIN(TestFee)
#include "test_fee.moc"
