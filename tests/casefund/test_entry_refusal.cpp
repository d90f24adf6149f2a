// What a clerk types is what the tables keep: a refused text is never left behind silently,
// typing over a cell replaces it, and the window grows with the tables in it.
#include "box_answerer.h"
#include "case_fund_fixture.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "common/twips.h"
#include "typing.h"
#include "window_test.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class TestEntryRefusal : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void leavingARefusedEditor_data();
    void leavingARefusedEditor();
    void retryIsTheDefault();
    void refusedClaimAmountAndDate_data();
    void refusedClaimAmountAndDate();
    void typingReplacesTheCell_data();
    void typingReplacesTheCell();
    void secondClickPlacesTheCaret();
    void windowGrows();

  private:
    template <class T> T *c(const char *name) { return child<T>(w, name); }
    FlexGrid *payments() { return c<FlexGrid>("MSFjk"); }
    FlexGrid *claims() { return c<FlexGrid>("MSFzc"); }
    QLineEdit *tEXTAK() { return c<QLineEdit>("tEXTAK"); }
    // A payment of 45000 against a claim of 100000, then 85000。50 typed over the payment: the
    // cell keeps 85000, the editor is light red.
    void refusedPayment();
    // Where a text editor lies over a cell: 50 twips in, 10 twips smaller.
    static QRect over(FlexGrid *grid, int row, int col) {
        return 缇矩形(缇左(grid) + grid->ColPos(col) + 50, 缇上(grid) + grid->RowPos(row) + 50,
                      grid->ColWidth(col) - 10, grid->RowHeight(row) - 10);
    }

    static QList<int> widths(FlexGrid *grid) {
        QList<int> twips;
        for (int col = 0; col < grid->Cols(); ++col)
            twips << grid->ColWidth(col);
        return twips;
    }

    QPointer<Fo案款分配计算> w;
    QTemporaryDir dir;
    std::unique_ptr<BoxAnswerer> guard;
};

void TestEntryRefusal::init() {
    guard = std::make_unique<BoxAnswerer>();
    w = 打开案款窗口(dir);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

void TestEntryRefusal::cleanup() {
    if (w) {
        // A refused editor left by a failed test is put back without a box.
        BoxAnswerer cancel(QMessageBox::Cancel);
        关闭不保存(w);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
}

void TestEntryRefusal::refusedPayment() {
    clickGridCell(claims(), 1, 1);
    typeText(c<QLineEdit>("Tefp"), "100000");
    clickGridCell(payments(), 1, 1);
    typeText(tEXTAK(), "45000");
    clickGridCell(payments(), 1, 0);
    typeText(tEXTAK(), "甲");
    clickGridCell(payments(), 1, 1);
    typeText(tEXTAK(), QStringLiteral("85000。50"));
    QCOMPARE(payments()->TextMatrix(1, 1), QStringLiteral("85000"));
    QCOMPARE(claims()->TextMatrix(1, 4), QStringLiteral("85000"));
}

enum Way { ClickCell, Tab, Enter, Escape, Scroll, Clear, Back, Save };
Q_DECLARE_METATYPE(Way)

void TestEntryRefusal::leavingARefusedEditor_data() {
    QTest::addColumn<Way>("way");
    QTest::addColumn<bool>("retry");
    const QList<QPair<const char *, Way>> ways = {
        {"click", ClickCell}, {"Tab", Tab},     {"Enter", Enter}, {"Esc", Escape},
        {"scroll", Scroll},   {"clear", Clear}, {"back", Back},   {"save", Save}};
    for (const auto &[name, way] : ways) {
        QTest::addRow("%s, retry", name) << way << true;
        QTest::addRow("%s, cancel", name) << way << false;
    }
}

void TestEntryRefusal::leavingARefusedEditor() {
    QFETCH(Way, way);
    QFETCH(bool, retry);
    refusedPayment();
    if (way == Scroll) {
        payments()->setRows(40);
        for (int r = 2; r < 40; ++r)
            payments()->setTextMatrix(r, 0, QStringLiteral("乙"));
        QTRY_VERIFY(payments()->verticalScrollBar()->maximum() > 0);
    }
    BoxAnswerer answer;
    // The refused entry is answered as the row says; the content, never saved, is let go.
    answer.act = [retry](QMessageBox *box) {
        const bool unsaved = box->text() == QStringLiteral("案件内容已修改，还没有保存。要保存吗？");
        if (auto *b = box->button(unsaved  ? QMessageBox::No
                                  : retry ? QMessageBox::Retry
                                          : QMessageBox::Cancel))
            b->click();
        else
            box->accept();
    };
    switch (way) {
    case ClickCell:
        clickGridCell(payments(), 1, 3);
        break;
    case Tab:
        QTest::keyClick(tEXTAK(), Qt::Key_Tab);
        break;
    case Enter:
        QTest::keyClick(tEXTAK(), Qt::Key_Return);
        break;
    case Escape:
        QTest::keyClick(tEXTAK(), Qt::Key_Escape);
        break;
    case Scroll:
        payments()->verticalScrollBar()->setValue(payments()->verticalScrollBar()->maximum());
        QTRY_COMPARE(answer.texts.size(), 1);
        break;
    case Clear:
        QTest::mouseClick(c<QPushButton>("Com清除"), Qt::LeftButton);
        break;
    case Back:
        c<QAction>("回到上页")->trigger();
        break;
    case Save:
        c<QAction>("存入内容")->trigger();
        break;
    }
    QCOMPARE(answer.texts.first(), QStringLiteral("输入的内容“85000。50”不是有效的金额。"));
    QCOMPARE(answer.titles.first(), QStringLiteral("输入出错提示"));
    if (retry) {
        // Back to the editor, its text selected, and nothing else done.
        QCOMPARE(answer.texts.size(), 1);
        QVERIFY(w && w->isVisible());
        QVERIFY(tEXTAK()->isVisible());
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(QApplication::focusWidget(), tEXTAK());
        QCOMPARE(tEXTAK()->selectedText(), QStringLiteral("85000。50"));
        QCOMPARE(tEXTAK()->geometry(), over(payments(), 1, 1));
        QCOMPARE(payments()->TextMatrix(1, 1), QStringLiteral("85000"));
        QCOMPARE(payments()->TextMatrix(1, 0), QStringLiteral("甲"));
        return;
    }
    if (way == Back) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w);
        return;
    }
    if (way == Save) {
        // The save went on and found no database in the temporary folder.
        QCOMPARE(answer.texts.size(), 2);
    }
    if (way == Clear) {
        QCOMPARE(payments()->TextMatrix(1, 0), QString());
        return;
    }
    // Put back as it stood when the editor was opened, and the money redistributed.
    QCOMPARE(payments()->TextMatrix(1, 1), QStringLiteral("45000"));
    QCOMPARE(claims()->TextMatrix(1, 4), QStringLiteral("45000"));
    QCOMPARE(tEXTAK()->palette().color(QPalette::Base), QColor(255, 255, 255));
    QCOMPARE(tEXTAK()->isVisible(), way == ClickCell || way == Tab || way == Enter || way == Save);
    if (way != Save && tEXTAK()->isVisible())
        QCOMPARE(tEXTAK()->geometry(), over(payments(), 1, way == ClickCell ? 3 : 2));
}

// Enter in the box goes back to the editor: 重试 is the default button.
void TestEntryRefusal::retryIsTheDefault() {
    refusedPayment();
    bool retryDefault = false;
    guard.reset(); // this test answers the box itself, with Enter
    QTimer enter;
    connect(&enter, &QTimer::timeout, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            retryDefault = box->defaultButton() == box->button(QMessageBox::Retry);
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    enter.start(5);
    QTest::keyClick(tEXTAK(), Qt::Key_Escape);
    enter.stop();
    guard = std::make_unique<BoxAnswerer>();
    QVERIFY(retryDefault);
    QVERIFY(tEXTAK()->isVisible());
    QCOMPARE(payments()->TextMatrix(1, 1), QStringLiteral("85000"));
    // And once the text is put right, nothing asks.
    typeText(tEXTAK(), QStringLiteral("85000.50"));
    QTest::keyClick(tEXTAK(), Qt::Key_Escape);
    QVERIFY(!tEXTAK()->isVisible());
    QCOMPARE(payments()->TextMatrix(1, 1), QStringLiteral("85000.50"));
}

void TestEntryRefusal::refusedClaimAmountAndDate_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("question");
    QTest::newRow("payment date") << "MSFjk" << 2 << "2023-2-30"
                                  << "输入的内容“2023-2-30”不是有效的日期。";
    QTest::newRow("claim amount") << "MSFzc" << 1 << "12a"
                                  << "输入的内容“12a”不是有效的金额。";
}

// The date and the claim amount: the same question, and 取消 puts back the empty cell, not
// the shortened 2023-2-3 or 12.
void TestEntryRefusal::refusedClaimAmountAndDate() {
    QFETCH(QString, grid);
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(QString, question);
    auto *table = w->findChild<FlexGrid *>(grid);
    clickGridCell(table, 1, col);
    typeText(QApplication::focusWidget(), typed);
    QVERIFY(!table->TextMatrix(1, col).isEmpty());
    BoxAnswerer cancel(QMessageBox::Cancel);
    clickGridCell(table, 1, 0);
    QCOMPARE(cancel.texts, QStringList{question});
    QCOMPARE(table->TextMatrix(1, col), QString());
    QCOMPARE(table->Rows(), 2); // the blank-row rule ran again
}

void TestEntryRefusal::typingReplacesTheCell_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("payment, click") << "MSFjk" << 1 << "click"
                                    << "5"
                                    << "5";
    QTest::newRow("payment, Tab") << "MSFjk" << 1 << "tab"
                                  << "7"
                                  << "7";
    QTest::newRow("payment, Enter on the grid") << "MSFjk" << 1 << "enter"
                                                << "8"
                                                << "8";
    QTest::newRow("claim, click") << "MSFzc" << 1 << "click"
                                  << "5"
                                  << "5";
    QTest::newRow("nature, click") << "MSFzc" << 2 << "click"
                                   << "税款"
                                   << "税款";
}

void TestEntryRefusal::typingReplacesTheCell() {
    QFETCH(QString, grid);
    QFETCH(int, col);
    QFETCH(QString, how);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    auto *table = w->findChild<FlexGrid *>(grid);
    table->setRows(3);
    table->setTextMatrix(1, col, col == 2 ? QStringLiteral("工资") : QStringLiteral("45000"));
    if (how == "click") {
        clickGridCell(table, 1, col);
    } else if (how == "tab") {
        clickGridCell(table, 1, col - 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    } else {
        table->setFocus();
        table->setCurrentCell(0, col);
        QTest::keyClick(table, Qt::Key_Return);
    }
    typeText(QApplication::focusWidget(), typed);
    QCOMPARE(table->TextMatrix(1, col), kept);
}

void TestEntryRefusal::secondClickPlacesTheCaret() {
    payments()->setTextMatrix(1, 1, QStringLiteral("45000"));
    clickGridCell(payments(), 1, 1);
    QCOMPARE(tEXTAK()->selectedText(), QStringLiteral("45000"));
    QTest::mouseClick(tEXTAK(), Qt::LeftButton, {}, QPoint(tEXTAK()->width() - 3, 5));
    QVERIFY(!tEXTAK()->hasSelectedText());
    typeText(tEXTAK(), "5");
    QCOMPARE(payments()->TextMatrix(1, 1), QStringLiteral("450005"));
}

void TestEntryRefusal::windowGrows() {
    const QSize first = w->size();
    // At the first size the columns are as designed; the room a wider window gives goes to
    // the name and amount columns, by their widths, and the pages still print as designed.
    const QList<int> designed{1500, 960, 950, 1600, 960, 1700};
    QCOMPARE(widths(claims()), designed);
    const QRect claimsAt = claims()->geometry();
    QCOMPARE(claimsAt, 缇矩形(480, 3600, 7695, 2175));
    claims()->setRows(151);
    clickGridCell(claims(), 3, 0);
    w->resize(first + QSize(300, 400));
    QTRY_COMPARE(w->size(), first + QSize(300, 400));
    QCOMPARE(claims()->width(), claimsAt.width() + 300);
    QCOMPARE(claims()->height(), claimsAt.height() + 300);
    QCOMPARE(payments()->height(), 缇矩形(0, 0, 0, 2175).height() + 100);
    QCOMPARE(c<QLabel>("Label4")->y(), 缇矩形(480, 5880, 7695, 975).y() + 400);
    QCOMPARE(c<QLabel>("Label4")->width(), claimsAt.width() + 300);
    const QList<int> wide = widths(claims());
    QCOMPARE(wide[2], 950);
    QCOMPARE(wide[5], 1700);
    QVERIFY(wide[0] > 1500 + 1300 && wide[1] > 960 + 800 && wide[3] > wide[0] && wide[4] == wide[1]);
    QVERIFY(qAbs(wide[0] + wide[1] + wide[3] + wide[4] - (5020 + 4500)) <= 4 * 15);
    for (int col = 0; col < 6; ++col)
        QCOMPARE(claims()->原列宽(col), designed[col]);
    QCOMPARE(payments()->ColWidth(2), 2000);
    QVERIFY(payments()->ColWidth(0) > 1000 + 2000);
    // The editor stays on its cell.
    QCOMPARE(c<QLineEdit>("Tefp")->geometry(), over(claims(), 3, 0));
    // Never smaller than the first size, where every control is at its place.
    w->resize(first - QSize(100, 100));
    QTRY_COMPARE(w->size(), first);
    QCOMPARE(claims()->geometry(), claimsAt);
    QCOMPARE(widths(claims()), designed);
}

int runEntryRefusalTests(int argc, char **argv) {
    TestEntryRefusal t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_entry_refusal.moc"
