#include "box_answerer.h"
#include "case_fund_fixture.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "common/twips.h"
#include "output/spreadsheet_files.h"
#include "typing.h"
#include "window_test.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
const QColor 白(255, 255, 255);
const QColor 浅红(255, 128, 128);
QColor 底色(QWidget *w) {
    return w->palette().color(QPalette::Base);
}

void touch(const QString &path) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
}
} // namespace

class TestCaseFundWindow : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void loadState();
    void distributionExamples_data();
    void distributionExamples();
    void natureChosenFromTheList();
    void editorsLieOverTheirCell();
    void clickRules();
    void paymentAmountRefusedStillRecomputes();
    void claimAmountRefusedDoesNotRecompute();
    void priorityAboveAmountRefused();
    void paymentDates_data();
    void paymentDates();
    void blankRowGrowsAndShrinks();
    void clearEmptiesTheWindow();
    void overflowIsShownAndWindowStays();
    void numberedFiles();
    void loadAndUnloadPurgeNumberedFiles();

  private:
    template <class T> T *c(const char *name) { return child<T>(w, name); }
    FlexGrid *payments() { return c<FlexGrid>("MSFjk"); }
    FlexGrid *claims() { return c<FlexGrid>("MSFzc"); }
    void replace(QWidget *editor, const QString &text); // clears the editor, then types
    void payment(int row, const QString &amount);
    void claim(int row, const QString &amount, const QString &nature, const QString &priority);
    QStringList allocations();
    // Esc on a refused editor: the box is answered 取消 and what it said is returned.
    QStringList escapeCancelling(const char *editor);

    Fo案款分配计算 *w = nullptr;
    QTemporaryDir dir;
    std::unique_ptr<BoxAnswerer> guard; // answers any box the test did not expect
};

void TestCaseFundWindow::init() {
    guard = std::make_unique<BoxAnswerer>();
    w = 打开案款窗口(dir);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

void TestCaseFundWindow::cleanup() {
    关闭不保存(w);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // A box no test expected fails the test; the guard has answered it.
    QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
}

void TestCaseFundWindow::replace(QWidget *editor, const QString &text) {
    QLineEdit *line = qobject_cast<QLineEdit *>(editor);
    if (!line)
        line = qobject_cast<QComboBox *>(editor)->lineEdit();
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Delete);
    typeText(line, text);
}

QStringList TestCaseFundWindow::escapeCancelling(const char *editor) {
    BoxAnswerer cancel(QMessageBox::Cancel);
    QTest::keyClick(c<QLineEdit>(editor), Qt::Key_Escape);
    return cancel.texts;
}

void TestCaseFundWindow::payment(int row, const QString &amount) {
    clickGridCell(payments(), row, 1);
    replace(c<QLineEdit>("tEXTAK"), amount);
}

void TestCaseFundWindow::claim(int row, const QString &amount, const QString &nature,
                               const QString &priority) {
    clickGridCell(claims(), row, 1);
    replace(c<QLineEdit>("Tefp"), amount);
    clickGridCell(claims(), row, 2);
    replace(c<QComboBox>("Comzq"), nature);
    if (!priority.isEmpty()) {
        clickGridCell(claims(), row, 3);
        replace(c<QLineEdit>("Tefp"), priority);
    }
}

QStringList TestCaseFundWindow::allocations() {
    QStringList out;
    for (int r = 1; r < claims()->Rows(); ++r)
        out << claims()->TextMatrix(r, 4);
    return out;
}

void TestCaseFundWindow::loadState() {
    QCOMPARE(payments()->Rows(), 2);
    QCOMPARE(payments()->Cols(), 4);
    QCOMPARE(claims()->Rows(), 2);
    QCOMPARE(claims()->Cols(), 6);
    const QStringList payHeaders{"交款人", "金额", "交款时间", "备注"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(payments()->TextMatrix(0, i), payHeaders[i]);
    const QStringList claimHeaders{"债权人或案款项目", "债权金额", "债权性质",
                                   "其中抵押优先金额", "分配金额", "备注"};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(claims()->TextMatrix(0, i), claimHeaders[i]);
    // Every column; the amount columns keep the grid's default width of 960 twips.
    const QList<int> payWidths{1000, 960, 2000, 1500};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(payments()->ColWidth(i), payWidths[i]);
    const QList<int> claimWidths{1500, 960, 950, 1600, 960, 1700};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(claims()->ColWidth(i), claimWidths[i]);
    auto *cases = c<FlexGrid>("MSFysj");
    QCOMPARE(cases->Rows(), 1);
    QCOMPARE(cases->TextMatrix(0, 1), QStringLiteral("案件名称"));
    QCOMPARE(cases->ColWidth(0), 0);
    QCOMPARE(cases->ColWidth(1), 3000);
    QVERIFY(c<QLabel>("Label4")->text().isEmpty());
    QVERIFY(w->分配说明().isEmpty());
    QCOMPARE(w->当前案件号(), 0);
    for (const char *hidden : {"tEXTAK", "Tefp", "Comzq", "Com删除案件", "Pic原数据"})
        QVERIFY2(!c<QWidget>(hidden)->isVisible(), hidden);
    QStringList bar;
    for (QAction *a : w->menuBar()->actions())
        bar << a->text();
    QCOMPARE(bar, (QStringList{"数据保存", "回到上页", "输出分配结果"}));
    QStringList data, output;
    for (QAction *a : w->menuBar()->actions()[0]->menu()->actions())
        data << a->text();
    for (QAction *a : w->menuBar()->actions()[2]->menu()->actions())
        output << a->text();
    QCOMPARE(data, (QStringList{"存入内容", "读出内容", "历史版本", "已删除的案件"}));
    QCOMPARE(output, (QStringList{"输出到电子表格", "打印分配结果", "保存为PDF文件",
                                  "输出分配方案"}));
    QCOMPARE(缇左(claims()), 480);
    QCOMPARE(缇上(claims()), 3600);
}

void TestCaseFundWindow::distributionExamples_data() {
    QTest::addColumn<QStringList>("paid");
    QTest::addColumn<QStringList>("rows"); // amount, nature, priority
    QTest::addColumn<QStringList>("allocated");
    QTest::addColumn<QString>("summary");
    QTest::newRow("all classes") << QStringList{"100000"}
                                 << QStringList{"5000",  "诉讼费用", "",      "80000",    "抵押",
                                                "60000", "20000",    "工资",  "",         "10000",
                                                "税款",  "",         "30000", "一般债权", ""}
                                 << QStringList{"5000", "62000", "20000", "10000", "3000", "0"}
                                 << "已交案款：100000元，债权总额：145000元（总比例68.97%"
                                    "）。\r\n分配案款中：诉讼费用5000元(100%)，"
                                    "抵押物优先权：60000元(100%)，工资和劳动保险20000元(100%)"
                                    "，税款10000元(100%)， 一般债权5000元(10%)";
    QTest::newRow("three general")
        << QStringList{"1000"}
        << QStringList{"1000", "一般债权", "", "1000", "一般债权", "", "1000", "一般债权", ""}
        << QStringList{"333.33", "333.33", "333.33", "0"}
        << "已交案款：1000元，债权总额：3000元（总比例33.33%）。\r\n分配案款中：一般债权1000元(33."
           "3333%)";
    QTest::newRow("surplus") << QStringList{"1200"} << QStringList{"1000", "诉讼费用", ""}
                             << QStringList{"1000", "0"}
                             << "已交案款：1200元，债权总额：1000元（总比例100%"
                                "）。\r\n分配案款中：诉讼费用1000元(100%)，\r\n余款200归还交款人。";
    QTest::newRow("priority not covered")
        << QStringList{"700", "300"} << QStringList{"50000", "抵押", "40000", "10000", "", ""}
        << QStringList{"1000", "0", "0"}
        << "已交案款：1000元，债权总额：60000元（总比例1.67%"
           "）。\r\n分配案款中：抵押物优先权：1000元(2.5%)，一般债权0元(0%)";
    QTest::newRow("no payment")
        << QStringList{} << QStringList{"500", "诉讼费用", ""} << QStringList{"0", "0"}
        << "已交案款：0元，债权总额：500元（总比例0%）。\r\n分配案款中：诉讼费用0元(0%)，";
}

void TestCaseFundWindow::distributionExamples() {
    QFETCH(QStringList, paid);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, allocated);
    QFETCH(QString, summary);
    for (int i = 0; i < paid.size(); ++i)
        payment(i + 1, paid[i]);
    for (int i = 0; i + 2 < rows.size(); i += 3)
        claim(i / 3 + 1, rows[i], rows[i + 1], rows[i + 2]);
    QCOMPARE(allocations(), allocated);
    QCOMPARE(c<QLabel>("Label4")->text(), summary);
    const QString kept = QString(summary).replace("，\r\n余款", "，，余款");
    QCOMPARE(w->分配说明(), kept);
}

void TestCaseFundWindow::natureChosenFromTheList() {
    payment(1, "100");
    clickGridCell(claims(), 1, 1);
    replace(c<QLineEdit>("Tefp"), "300");
    clickGridCell(claims(), 1, 2);
    auto *combo = c<QComboBox>("Comzq");
    QVERIFY(combo->isVisible());
    combo->showPopup();
    QAbstractItemView *list = combo->view();
    const QModelIndex taxes = list->model()->index(4, 0);
    QTRY_VERIFY(list->isVisible());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(taxes).center());
    QCOMPARE(claims()->TextMatrix(1, 2), QStringLiteral("税款"));
    QVERIFY(c<QLabel>("Label4")->text().endsWith(QStringLiteral("税款100元(33.3333%)， ")));
}

void TestCaseFundWindow::editorsLieOverTheirCell() {
    claim(1, "100", "抵押", "");
    clickGridCell(claims(), 2, 1);
    auto *tefp = c<QLineEdit>("Tefp");
    QCOMPARE(缇左(tefp), 480 + claims()->ColPos(1) + 50);
    QCOMPARE(缇上(tefp), 3600 + claims()->RowPos(2) + 50);
    QCOMPARE(缇宽(tefp), claims()->ColWidth(1) - 10);
    QCOMPARE(缇高(tefp), claims()->RowHeight(2) - 10);
    QVERIFY(tefp->hasFocus());
    clickGridCell(claims(), 1, 2);
    auto *combo = c<QComboBox>("Comzq");
    QCOMPARE(缇左(combo), 480 + claims()->ColPos(2) + 50);
    QCOMPARE(缇宽(combo), claims()->ColWidth(2) - 10);
    QCOMPARE(combo->currentText(), QStringLiteral("抵押"));
    QVERIFY(!tefp->isVisible());
    clickGridCell(payments(), 1, 2);
    auto *ak = c<QLineEdit>("tEXTAK");
    QCOMPARE(缇左(ak), 1560 + payments()->ColPos(2) + 50);
    QCOMPARE(缇上(ak), 1080 + payments()->RowPos(1) + 50);
}

void TestCaseFundWindow::clickRules() {
    clickGridCell(claims(), 0, 1); // header: nothing
    QVERIFY(!c<QLineEdit>("Tefp")->isVisible());
    clickGridCell(payments(), 0, 1);
    QVERIFY(!c<QLineEdit>("tEXTAK")->isVisible());
    claim(1, "100", "工资", "");
    clickGridCell(claims(), 1, 0);
    auto *tefp = c<QLineEdit>("Tefp");
    const QRect placed = tefp->geometry();
    clickGridCell(claims(), 1, 4); // allocated amount: no editor, the shown one stays
    QVERIFY(tefp->isVisible());
    QCOMPARE(tefp->geometry(), placed);
    clickGridCell(claims(), 1, 2);
    QVERIFY(c<QComboBox>("Comzq")->isVisible());
    clickGridCell(claims(), 1, 3); // not a mortgage: the combo hides, no editor opens
    QVERIFY(!c<QComboBox>("Comzq")->isVisible());
    QVERIFY(!tefp->isVisible());
}

void TestCaseFundWindow::paymentAmountRefusedStillRecomputes() {
    payment(1, "12");
    claims()->setTextMatrix(1, 4, "stale");
    typeText(c<QLineEdit>("tEXTAK"), "a");
    QCOMPARE(底色(c<QLineEdit>("tEXTAK")), 浅红);
    QCOMPARE(payments()->TextMatrix(1, 1), QStringLiteral("12"));
    QCOMPARE(claims()->TextMatrix(1, 4), QStringLiteral("0")); // recomputed
    QTest::keyClick(c<QLineEdit>("tEXTAK"), Qt::Key_Backspace);
    QCOMPARE(底色(c<QLineEdit>("tEXTAK")), 白);
}

void TestCaseFundWindow::claimAmountRefusedDoesNotRecompute() {
    claim(1, "12", "", "");
    claims()->setTextMatrix(1, 4, "stale");
    clickGridCell(claims(), 1, 1);
    QTest::keyClick(c<QLineEdit>("Tefp"), Qt::Key_End);
    typeText(c<QLineEdit>("Tefp"), "a");
    QCOMPARE(底色(c<QLineEdit>("Tefp")), 浅红);
    QCOMPARE(claims()->TextMatrix(1, 1), QStringLiteral("12"));
    QCOMPARE(claims()->TextMatrix(1, 4), QStringLiteral("stale"));
    QCOMPARE(escapeCancelling("Tefp"),
             QStringList{QStringLiteral("输入的内容“12a”不是有效的金额。")});
    QCOMPARE(claims()->TextMatrix(1, 1), QStringLiteral("12"));
}

void TestCaseFundWindow::priorityAboveAmountRefused() {
    claim(1, "1000", "抵押", "800");
    QCOMPARE(claims()->TextMatrix(1, 3), QStringLiteral("800"));
    clickGridCell(claims(), 1, 1);
    auto *tefp = c<QLineEdit>("Tefp");
    tefp->end(false);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(tefp, Qt::Key_Backspace);
    QCOMPARE(claims()->TextMatrix(1, 1), QString()); // the empty step is accepted
    typeText(tefp, "500");
    QCOMPARE(底色(tefp), 浅红);
    QCOMPARE(claims()->TextMatrix(1, 1), QString());
    typeText(tefp, "0");
    QCOMPARE(claims()->TextMatrix(1, 1), QStringLiteral("5000"));
    QCOMPARE(底色(tefp), 白);
    // And the other way: a priority above the amount.
    clickGridCell(claims(), 1, 3);
    replace(tefp, "6000");
    QCOMPARE(claims()->TextMatrix(1, 3), QStringLiteral("600"));
    QCOMPARE(底色(tefp), 浅红);
    QCOMPARE(escapeCancelling("Tefp"),
             QStringList{QStringLiteral("其中抵押优先金额不能大于债权金额。")});
    QCOMPARE(claims()->TextMatrix(1, 3), QStringLiteral("800")); // as when the editor opened
}

void TestCaseFundWindow::paymentDates_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("a date") << "2020-5-10"
                            << "2020-5-10" << true;
    QTest::newRow("month 13") << "2020-13-1"
                              << "" << false;
    QTest::newRow("year 10000") << "10000-1-1"
                                << "" << false;
    QTest::newRow("blanks") << "   "
                            << "   " << true;
}

void TestCaseFundWindow::paymentDates() {
    QFETCH(QString, typed);
    QFETCH(QString, cell);
    QFETCH(bool, accepted);
    clickGridCell(payments(), 1, 2);
    typeText(c<QLineEdit>("tEXTAK"), typed);
    QCOMPARE(payments()->TextMatrix(1, 2), cell);
    QCOMPARE(底色(c<QLineEdit>("tEXTAK")), accepted ? 白 : 浅红);
    const QStringList asked = escapeCancelling("tEXTAK");
    QCOMPARE(asked.size(), accepted ? 0 : 1);
    if (!accepted)
        QCOMPARE(asked[0], QStringLiteral("输入的内容“%1”不是有效的日期。").arg(typed));
}

void TestCaseFundWindow::blankRowGrowsAndShrinks() {
    clickGridCell(claims(), 1, 5);
    typeText(c<QLineEdit>("Tefp"), "x"); // a remark alone does not fill a row
    QCOMPARE(claims()->Rows(), 2);
    clickGridCell(claims(), 1, 0);
    typeText(c<QLineEdit>("Tefp"), "甲");
    QCOMPARE(claims()->Rows(), 3);
    QCOMPARE(allocations(), (QStringList{"0", "0"}));
    clickGridCell(claims(), 2, 0);
    typeText(c<QLineEdit>("Tefp"), "乙");
    QCOMPARE(claims()->Rows(), 4);
    replace(c<QLineEdit>("Tefp"), "");
    QCOMPARE(claims()->Rows(), 3);
    clickGridCell(claims(), 1, 0);
    replace(c<QLineEdit>("Tefp"), "");
    QCOMPARE(claims()->Rows(), 2);
    replace(c<QLineEdit>("Tefp"), "");
    QCOMPARE(claims()->Rows(), 2); // never below the header and one row
    payment(1, "5");
    QCOMPARE(payments()->Rows(), 3);
}

void TestCaseFundWindow::clearEmptiesTheWindow() {
    payment(1, "1000");
    payment(2, "200");
    claim(1, "1000", "诉讼费用", "");
    QVERIFY(!c<QLabel>("Label4")->text().isEmpty());
    {
        BoxAnswerer discard(QMessageBox::No); // the content was never saved
        QTest::mouseClick(c<QPushButton>("Com清除"), Qt::LeftButton);
        QCOMPARE(discard.texts, QStringList{"案件内容已修改，还没有保存。要保存吗？"});
    }
    QCOMPARE(payments()->Rows(), 2);
    QCOMPARE(claims()->Rows(), 2);
    QCOMPARE(payments()->TextMatrix(1, 1), QString());
    QCOMPARE(claims()->TextMatrix(1, 1), QString());
    QCOMPARE(payments()->TextMatrix(0, 1), QStringLiteral("金额"));
    QVERIFY(c<QLabel>("Label4")->text().isEmpty());
    QVERIFY(w->分配说明().isEmpty());
    for (const char *hidden : {"tEXTAK", "Tefp", "Comzq", "Com删除案件"})
        QVERIFY2(!c<QWidget>(hidden)->isVisible(), hidden);
    QCOMPARE(w->当前案件号(), 0);
}

void TestCaseFundWindow::overflowIsShownAndWindowStays() {
    payment(1, "100");
    BoxAnswerer answerer;
    clickGridCell(claims(), 1, 1);
    replace(c<QLineEdit>("Tefp"), "1e300");
    // 1e30 and 1e300 are beyond money: each of those two keystrokes ends its commit with one
    // overflow message, and the cell keeps 1e3, the last text it took.
    QCOMPARE(answerer.texts, QStringList({QStringLiteral("溢出"), QStringLiteral("溢出")}));
    QCOMPARE(claims()->TextMatrix(1, 1), QStringLiteral("1e3"));
    QCOMPARE(底色(c<QLineEdit>("Tefp")), 浅红);
    QVERIFY(w->isVisible());
    // Leaving the refused editor asks; 取消 (the guard's answer) puts back the empty cell.
    QCOMPARE(escapeCancelling("Tefp"),
             QStringList{QStringLiteral("输入的内容“1e300”不是有效的金额。")});
    QCOMPARE(claims()->TextMatrix(1, 1), QString());
    // Nothing of it is left to overflow again at later keystrokes.
    clickGridCell(claims(), 1, 1);
    replace(c<QLineEdit>("Tefp"), "1e3");
    clickGridCell(payments(), 1, 0);
    typeText(c<QLineEdit>("tEXTAK"), "甲");
    QCOMPARE(answerer.texts.size(), 2);
    QCOMPARE(claims()->TextMatrix(1, 4), QStringLiteral("100"));
    const QStringList odd{"922337203685477.5808", "-0", "1,2,3", "１２３"};
    for (const QString &text : odd) {
        clickGridCell(payments(), 2, 1);
        replace(c<QLineEdit>("tEXTAK"), text);
    }
    QCOMPARE(payments()->TextMatrix(2, 1), QStringLiteral("１２３"));
    // A pasted nature of 10 000 characters is a general claim.
    clickGridCell(claims(), 1, 1);
    replace(c<QLineEdit>("Tefp"), "100");
    clickGridCell(claims(), 1, 2);
    c<QComboBox>("Comzq")->setEditText(QString(10000, u'债'));
    QCOMPARE(claims()->TextMatrix(1, 2).size(), 10000);
    QVERIFY(c<QLabel>("Label4")->text().contains(QStringLiteral("一般债权100元(100%)")));
    QVERIFY(w->isVisible());
}

void TestCaseFundWindow::numberedFiles() {
    QTemporaryDir files;
    const QString d = 加尾分隔符(QDir::toNativeSeparators(files.path()));
    QCOMPARE(空闲表名(d), d + QStringLiteral("案款分配表1.xlsx"));
    for (int n = 1; n <= 3; ++n) {
        touch(表格文件名(d, n));
        记下副本(表格文件名(d, n));
    }
    QCOMPARE(空闲表名(d), d + QStringLiteral("案款分配表4.xlsx"));
    QCOMPARE(空闲表名(d + "   "), d + QStringLiteral("案款分配表4.xlsx"));
    for (int n = 4; n <= 100; ++n) {
        touch(表格文件名(d, n));
        记下副本(表格文件名(d, n));
    }
    QCOMPARE(空闲表名(d), QString());
    // A name that cannot be deleted (a folder) is passed over; the rest go.
    QFile::remove(表格文件名(d, 50));
    QVERIFY(QDir().mkdir(表格文件名(d, 50)));
    清除残留表(d);
    QCOMPARE(QDir(files.path()).entryList(QDir::Files).size(), 0);
    QVERIFY(QFileInfo(表格文件名(d, 50)).isDir());
    删除文件(d + QStringLiteral("不存在.xlsx"));

    // A copy still open in a spreadsheet program (its lock file beside it) keeps its number and
    // outlives the purge; what an export cut short left goes.
    QDir().rmdir(表格文件名(d, 50));
    touch(表格文件名(d, 1));
    touch(d + QStringLiteral(".~lock.案款分配表1.xlsx#"));
    touch(d + QStringLiteral(".~lock.案款分配表2.xlsx#"));
    touch(表格文件名(d, 3));
    记下副本(表格文件名(d, 1));
    记下副本(表格文件名(d, 3));
    touch(表格文件名(d, 4) + QStringLiteral(".part"));
    QCOMPARE(空闲表名(d), d + QStringLiteral("案款分配表4.xlsx"));
    清除残留表(d);
    QVERIFY(QFile::exists(表格文件名(d, 1)));
    QVERIFY(!QFile::exists(表格文件名(d, 3)));
    QVERIFY(!QFile::exists(表格文件名(d, 4) + QStringLiteral(".part")));
}

void TestCaseFundWindow::loadAndUnloadPurgeNumberedFiles() {
    const QString d = 应用目录();
    for (int n : {1, 7}) {
        touch(表格文件名(d, n));
        记下副本(表格文件名(d, n));
    }
    touch(d + QStringLiteral("akfpb.xlsx"));
    auto *second = new Fo案款分配计算;
    QVERIFY(!QFile::exists(表格文件名(d, 1)));
    QVERIFY(!QFile::exists(表格文件名(d, 7)));
    touch(表格文件名(d, 2));
    记下副本(表格文件名(d, 2));
    关闭不保存(second);
    QVERIFY(!QFile::exists(表格文件名(d, 2)));
    QVERIFY(QFile::exists(d + QStringLiteral("akfpb.xlsx")));
}

int runCaseFundWindowTests(int argc, char **argv) {
    TestCaseFundWindow t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_case_fund_window.moc"
