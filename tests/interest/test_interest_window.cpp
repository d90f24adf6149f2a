#include "box_answerer.h"
#include "common/date_picker.h"
#include "common/grid.h"
#include "interest/interest_window.h"
#include "settings_dir.h"
#include "typing.h"
#include "window_test.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {

const QColor 浅红(255, 128, 128);

// The stretches of the detail table as "起始,截止,天数,本金,利率,利息", rows joined by ";".
QString 明细(const FlexGrid *grid) {
    QStringList rows;
    for (const QStringList &row : gridRows(grid))
        rows << row.join(u',');
    return rows.join(u';');
}

} // namespace

class TestInterestWindow : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void figures_data();
    void figures();
    void refusals_data();
    void refusals();
    void paymentRefusedInItsCell();
    void paymentsPastedAndUndone();
    void pickerGoesWhenTheClerkTypesElsewhere();
    void methodSwitchesFields_data();
    void methodSwitchesFields();
    void copyText();
    void putIntoCaseFund();
    void badRateFileTold();

  private:
    template <class T> T *c(const char *name) { return child<T>(w, name); }
    QLineEdit *box(const char *name) { return c<QLineEdit>(name); }
    // Types into a field as the clerk would, replacing what it holds.
    void type(const char *name, const QString &text);
    // Types a payment into the table's row and column, and leaves the editor with Enter.
    void typePayment(int row, int col, const QString &text);
    void fill(int method, const QString &principal, const QString &start, const QString &end);
    QStringList results();

    Fo利息计算 *w = nullptr;
    std::unique_ptr<BoxAnswerer> guard;
};

void TestInterestWindow::init() {
    guard = std::make_unique<BoxAnswerer>();
    w = new Fo利息计算;
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
}

void TestInterestWindow::cleanup() {
    w->close();
    guard.reset();
}

void TestInterestWindow::type(const char *name, const QString &text) {
    QLineEdit *field = box(name);
    field->setFocus();
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        typeText(field, text);
}

void TestInterestWindow::typePayment(int row, int col, const QString &text) {
    clickGridCell(c<FlexGrid>("MSF还款"), row, col);
    typeText(box("Tex还款"), text);
    QTest::keyClick(box("Tex还款"), Qt::Key_Return);
}

void TestInterestWindow::fill(int method, const QString &principal, const QString &start,
                              const QString &end) {
    c<QComboBox>("Com计息方式")->setCurrentIndex(method);
    type("Tex本金", principal);
    type("Tex起算日", start);
    type("Tex截止日", end);
}

QStringList TestInterestWindow::results() {
    return {box("Te利息合计")->text(), box("Te尚欠本金")->text(), box("Te尚欠利息")->text(),
            box("Te本息合计")->text()};
}

void TestInterestWindow::figures_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<QString>("principal");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("rate");     // 固定年利率 only
    QTest::addColumn<QString>("payments"); // "date:amount;…"
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QStringList>("results");
    // 365000 at 3.85% earns 38.50 a day.
    QTest::newRow("fixed rate") << 4 << "365,000"
                                << "2021-01-01"
                                << "2021-01-10"
                                << "3.85"
                                << ""
                                << "2021/1/1,2021/1/10,10,365000,3.85%×1,385"
                                << QStringList{"385", "365000", "385", "365385"};
    // From the day after the time to perform ran out: 4 days of 17.50, the payment goes to the
    // principal first, then 5 days of 8.75.
    QTest::newRow("delayed performance with a payment")
        << 0 << "100000"
        << "2021-01-01"
        << "2021-01-10"
        << ""
        << "2021/1/5:50000"
        << "2021/1/2,2021/1/5,4,100000,日万分之1.75,70;"
           "2021/1/6,2021/1/10,5,50000,日万分之1.75,43.75"
        << QStringList{"113.75", "50000", "113.75", "50113.75"};
    // A stretch for each publication in the period; at 3.65% 100000 earns 10.00 a day.
    QTest::newRow("one-year LPR") << 1 << "100000"
                                  << "2020-01-01"
                                  << "2024-06-30"
                                  << ""
                                  << ""
                                  << "2020/1/1,2020/2/19,50,100000,4.15%×1,568.49;"
                                     "2020/2/20,2020/4/19,60,100000,4.05%×1,665.75;"
                                     "2020/4/20,2021/12/19,609,100000,3.85%×1,6423.7;"
                                     "2021/12/20,2022/1/19,31,100000,3.8%×1,322.74;"
                                     "2022/1/20,2022/8/21,214,100000,3.7%×1,2169.32;"
                                     "2022/8/22,2023/6/19,302,100000,3.65%×1,3020;"
                                     "2023/6/20,2023/8/20,62,100000,3.55%×1,603.01;"
                                     "2023/8/21,2024/6/30,315,100000,3.45%×1,2977.4"
                                  << QStringList{"16750.41", "100000", "16750.41", "116750.41"};
}

void TestInterestWindow::figures() {
    QFETCH(int, method);
    QFETCH(QString, principal);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, rate);
    QFETCH(QString, payments);
    QFETCH(QString, rows);
    QFETCH(QStringList, results);
    fill(method, principal, start, end);
    if (!rate.isEmpty())
        type("Tex年利率", rate);
    int row = 1;
    for (const QString &p : payments.split(u';', Qt::SkipEmptyParts)) {
        typePayment(row, 0, p.section(u':', 0, 0));
        typePayment(row, 1, p.section(u':', 1, 1));
        ++row;
    }
    QCOMPARE(明细(c<FlexGrid>("MSF明细")), rows);
    QCOMPARE(this->results(), results);
    QVERIFY(guard->texts.isEmpty());
}

// A field the computation cannot take is light red, the results are empty, and leaving the field
// (Enter) says why in the box the other windows give.
void TestInterestWindow::refusals_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("putRight");
    QTest::newRow("principal no number") << 1 << "Tex本金"
                                         << "100000元"
                                         << "数字输入错误"
                                         << "输入出错提示"
                                         << "100000";
    QTest::newRow("start no date") << 1 << "Tex起算日"
                                   << "2020-13-01"
                                   << "日期格式出错！"
                                   << "日期出错提示"
                                   << "2020/1/1";
    QTest::newRow("end before start") << 1 << "Tex截止日"
                                      << "2019-12-31"
                                      << "截止日不能早于起算日。"
                                      << "日期出错提示"
                                      << "2020-1-1";
    QTest::newRow("multiple 0") << 1 << "Tex倍数"
                                << "0"
                                << "倍数应是大于0的数。"
                                << "输入出错提示"
                                << "1.5";
    QTest::newRow("fixed rate no number") << 4 << "Tex年利率"
                                          << "3.85%"
                                          << "数字输入错误"
                                          << "输入出错提示"
                                          << "3.85";
}

void TestInterestWindow::refusals() {
    QFETCH(int, method);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, caption);
    QFETCH(QString, putRight);
    fill(method, "100000", "2020-01-01", "2020-12-31");
    type("Tex年利率", "4");
    QVERIFY(!box("Te利息合计")->text().isEmpty());
    BoxAnswerer answer;
    type(field.toUtf8().constData(), text);
    QTest::keyClick(box(field.toUtf8().constData()), Qt::Key_Return);
    QTRY_COMPARE(answer.texts, QStringList{message});
    QCOMPARE(answer.titles, QStringList{caption});
    QCOMPARE(box(field.toUtf8().constData())->palette().color(QPalette::Base), 浅红);
    QCOMPARE(results(), (QStringList{"", "", "", ""}));
    QCOMPARE(c<FlexGrid>("MSF明细")->Rows(), 1);
    QVERIFY(!w->复制计算结果->isEnabled());
    // Put right, the field is white again and the result is back.
    type(field.toUtf8().constData(), putRight);
    QCOMPARE(box(field.toUtf8().constData())->palette().color(QPalette::Base), QColor(Qt::white));
    QVERIFY(!box("Te利息合计")->text().isEmpty());
}

// A payment after the end of the period is refused in its date cell; the explanation says why.
void TestInterestWindow::paymentRefusedInItsCell() {
    fill(1, "100000", "2020-01-01", "2020-12-31");
    typePayment(1, 0, "2021-01-05");
    typePayment(1, 1, "100");
    auto *grid = c<FlexGrid>("MSF还款");
    QCOMPARE(grid->Rows(), 3);
    QCOMPARE(grid->item(0, 0)->background().color(), 浅红);
    QCOMPARE(grid->item(0, 1)->background().style(), Qt::NoBrush);
    QCOMPARE(c<QLabel>("La计算说明")->text(),
             QStringLiteral("还款日期应在2020年1月1日至2020年12月31日之间。"));
    QCOMPARE(box("Te利息合计")->text(), QString());
    typePayment(1, 0, "2020-07-01");
    QCOMPARE(grid->item(0, 0)->background().style(), Qt::NoBrush);
    QVERIFY(!box("Te利息合计")->text().isEmpty());
    // A text that is no date stays in the light red editor, the cell keeps its date, and
    // leaving asks.
    BoxAnswerer cancel(QMessageBox::Cancel);
    clickGridCell(grid, 1, 0);
    typeText(box("Tex还款"), "2020-13-45");
    QCOMPARE(grid->TextMatrix(1, 0), QStringLiteral("2020-07-01"));
    QCOMPARE(box("Tex还款")->palette().color(QPalette::Base), 浅红);
    QTest::keyClick(box("Tex还款"), Qt::Key_Return);
    QCOMPARE(cancel.texts, QStringList{"输入的内容“2020-13-45”不是有效的日期。"});
    QCOMPARE(grid->TextMatrix(1, 0), QStringLiteral("2020-07-01"));
}

// A date typed before its amount is no payment yet; a block pasted on the table is taken as
// payments, and Ctrl+Z on the table takes it back.
void TestInterestWindow::paymentsPastedAndUndone() {
    fill(1, "100000", "2020-01-01", "2020-12-31");
    const QStringList whole = results();
    typePayment(1, 0, "2020-07-01");
    QCOMPARE(results(), whole);
    auto *grid = c<FlexGrid>("MSF还款");
    QGuiApplication::clipboard()->setText(QStringLiteral("2020-03-01\t5000\n2020-06-01\t3000\n"));
    clickGridCell(grid, 1, 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(gridRows(grid),
             (QList<QStringList>{{"2020-03-01", "5000"}, {"2020-06-01", "3000"}, {"", ""}}));
    QVERIFY(box("Te尚欠本金")->text() != whole[1]);
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(grid->TextMatrix(1, 0), QStringLiteral("2020-07-01"));
    QCOMPARE(results(), whole);
}

// A date picked for a field never lands in it after the clerk has worked elsewhere.
void TestInterestWindow::pickerGoesWhenTheClerkTypesElsewhere() {
    auto *picker = c<QFrame>("Picture1");
    QTest::mouseClick(box("Tex起算日"), Qt::LeftButton);
    QVERIFY(picker->isVisible());
    box("Tex本金")->setFocus();
    QVERIFY(!picker->isVisible());
    QTest::mouseClick(box("Tex截止日"), Qt::LeftButton);
    QVERIFY(picker->isVisible());
}

void TestInterestWindow::methodSwitchesFields_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<QString>("startLabel");
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<bool>("rate");
    QTest::newRow("delayed") << 0 << "履行期限届满日" << false << false;
    QTest::newRow("LPR 5Y") << 2 << "起算日" << true << false;
    QTest::newRow("fixed") << 4 << "起算日" << true << true;
}

void TestInterestWindow::methodSwitchesFields() {
    QFETCH(int, method);
    QFETCH(QString, startLabel);
    QFETCH(bool, multiple);
    QFETCH(bool, rate);
    c<QComboBox>("Com计息方式")->setCurrentIndex(0);
    c<QComboBox>("Com计息方式")->setCurrentIndex(method);
    QCOMPARE(c<QLabel>("La起算日")->text(), startLabel);
    QCOMPARE(box("Tex倍数")->isEnabled(), multiple);
    QCOMPARE(box("Tex年利率")->isEnabled(), rate);
    // A multiple that is not used does not stop the computation.
    type("Tex倍数", "0");
    fill(method, "365000", "2021-01-01", "2021-01-10");
    type("Tex年利率", "3.85");
    QCOMPARE(box("Te利息合计")->text().isEmpty(), multiple);
}

void TestInterestWindow::copyText() {
    fill(4, "365000", "2021-01-01", "2021-01-10");
    type("Tex年利率", "3.85");
    w->复制计算结果->trigger();
    const QString text = QApplication::clipboard()->text();
    QCOMPARE(text.section(u'\n', 0, 6),
             QStringLiteral("起始日期\t截止日期\t天数\t计息本金\t利率\t利息\n"
                            "2021/1/1\t2021/1/10\t10\t365000\t3.85%×1\t385\n"
                            "\n利息合计\t385\n尚欠本金\t365000\n尚欠利息\t385\n本息合计\t365385"));
    QVERIFY(text.section(u'\n', 7, 7).startsWith(QStringLiteral("自2021年1月1日起至")));
}

// The interest owed and the first 40 characters of the explanation go to the case fund window.
void TestInterestWindow::putIntoCaseFund() {
    Money amount;
    QString note;
    w->放入案款分配回调 = [&](const Money &m, const QString &n) {
        amount = m;
        note = n;
    };
    fill(4, "365000", "2021-01-01", "2021-01-10");
    type("Tex年利率", "3.85");
    w->放入案款分配->trigger();
    QCOMPARE(amount, 元(385));
    QCOMPARE(note, c<QLabel>("La计算说明")->text().left(40));
    QCOMPARE(note.size(), 40);
}

// A bad line of the office's rate file is told once, with its number, and nothing is computed.
void TestInterestWindow::badRateFileTold() {
    const QString path = 测试设置文件夹() + QStringLiteral("/利率表.csv");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("2025-06-20,LPR1Y,3\n2025-06-20,LPR9Y,3\n");
    }
    BoxAnswerer answer;
    // Opened with the file, and computing again: told once.
    auto *other = new Fo利息计算;
    other->show();
    child<QComboBox>(other, "Com计息方式")->setCurrentIndex(4);
    child<QLineEdit>(other, "Tex本金")->setText(QStringLiteral("100"));
    QFile::remove(path);
    QTRY_COMPARE(answer.texts.size(), 1);
    QVERIFY(answer.texts[0].contains(QStringLiteral("第 2 行")));
    QCOMPARE(child<QLabel>(other, "La计算说明")->text(), answer.texts[0]);
    QCOMPARE(child<QLineEdit>(other, "Te利息合计")->text(), QString());
    other->close();
}

int runInterestWindowTests(int argc, char **argv) {
    TestInterestWindow t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_interest_window.moc"
