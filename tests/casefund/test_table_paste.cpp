// Blocks of cells between the case fund tables and the office's other programs, through the
// real clipboard: copied out as text and HTML, pasted from Calc and Excel texts and HTML tables,
// refused cells named in one message, undo, Delete.
#include "box_answerer.h"
#include "case_fund_fixture.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "common/money.h"
#include "common/table_html.h"
#include "typing.h"
#include "window_test.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
void setClipboard(const QString &text, const QString &html = QString()) {
    auto *data = new QMimeData;
    if (!text.isNull())
        data->setText(text);
    if (!html.isNull())
        data->setHtml(html);
    QGuiApplication::clipboard()->setMimeData(data);
}
} // namespace

class TestTablePaste : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void pastedBlocks_data();
    void pastedBlocks();
    void refusedCellsInOneMessage_data();
    void refusedCellsInOneMessage();
    void pasteFromAnOpenEditor();
    void copiedBlockReadsBack();
    void singleColumnPastedBackUnchanged();
    void selectingOpensNoEditor();
    void undoOnlyTheLastPaste();
    void deleteEmptiesABlock();
    void claimPutInFromElsewhere_data();
    void claimPutInFromElsewhere();
    void tenThousandRows();

  private:
    template <class T> T *c(const char *name) { return child<T>(w, name); }
    FlexGrid *payments() { return c<FlexGrid>("MSFjk"); }
    FlexGrid *claims() { return c<FlexGrid>("MSFzc"); }
    // A click on the cell (which may open its editor), Esc, and Ctrl+V on the table.
    void pasteAt(FlexGrid *grid, int row, int col) {
        clickGridCell(grid, row, col);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    }
    QStringList row(FlexGrid *grid, int r) {
        QStringList texts;
        for (int c = 0; c < grid->Cols(); ++c)
            texts << grid->TextMatrix(r, c);
        return texts;
    }

    Fo案款分配计算 *w = nullptr;
    QTemporaryDir dir;
    std::unique_ptr<BoxAnswerer> guard;
};

void TestTablePaste::init() {
    guard = std::make_unique<BoxAnswerer>();
    w = 打开案款窗口(dir);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

void TestTablePaste::cleanup() {
    关闭不保存(w);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
}

// A payment of 2500 is pasted first; the claims then take it: wages before general claims.
void TestTablePaste::pastedBlocks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QStringList>("amounts"); // as shown in the program that copied them
    const QString calc = "张三\t1000\t工资\n李四\t2000\t一般债权\t\t\t\"欠条两张\n2019年\"\n";
    const QString excel = "张三\t1000\t工资\r\n李四\t2000\t一般债权\t\t\t\"欠条两张\n2019年\"\r\n";
    const QString excelHtml =
        "<html xmlns:x=\"urn:schemas-microsoft-com:office:excel\"><body><table border=0>"
        "<!--StartFragment--><col width=72 span=6><tr height=19><td height=19>张三</td>"
        "<td class=xl65 align=right x:num=\"1000\">1,000</td><td>工资</td></tr>"
        "<tr><td>李四</td><td class=xl65 align=right x:num=\"2000\">2,000</td><td>一般债权</td>"
        "<td></td><td></td><td>欠条两张<br style='mso-data-placement:same-cell' />2019年</td>"
        "</tr><!--EndFragment--></table></body></html>";
    const QStringList plain{"1000", "2000"}, shown{"1,000", "2,000"};
    QTest::newRow("Calc, LF, final line end") << calc << QString() << plain;
    QTest::newRow("Excel, CR LF") << excel << QString() << plain;
    QTest::newRow("no final line end") << calc.chopped(1) << QString() << plain;
    QTest::newRow("Excel HTML table") << QString() << excelHtml << shown;
    QTest::newRow("HTML beside a text without tabs") << "张三 1000" << excelHtml << shown;
}

void TestTablePaste::pastedBlocks() {
    QFETCH(QString, text);
    QFETCH(QString, html);
    QFETCH(QStringList, amounts);
    setClipboard("甲\t2500\t2020-5-10\n");
    pasteAt(payments(), 1, 0);
    setClipboard(text, html);
    pasteAt(claims(), 1, 0);
    QCOMPARE(row(claims(), 1), QStringList({"张三", amounts[0], "工资", "", "1000", ""}));
    QCOMPARE(row(claims(), 2),
             QStringList({"李四", amounts[1], "一般债权", "", "1500", "欠条两张\n2019年"}));
    QCOMPARE(claims()->Rows(), 4);
    QCOMPARE(row(claims(), 3), QStringList({"", "", "", "", "0", ""}));
    QCOMPARE(row(payments(), 1), QStringList({"甲", "2500", "2020-5-10", ""}));
    QCOMPARE(payments()->Rows(), 3);
}

void TestTablePaste::refusedCellsInOneMessage_data() {
    QTest::addColumn<bool>("onPayments");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("message");
    QTest::addColumn<QStringList>("row1");
    QTest::addColumn<int>("rows");
    QTest::newRow("payment amount and date")
        << true << 0 << "甲\t12a\t2020-13-1\t备注\n乙\t500\t2020-5-10\n"
        << QStringList{"第1行（交款人“甲”）“金额”：“12a”不是数字",
                       "第1行（交款人“甲”）“交款时间”：“2020-13-1”不是日期"}
        << QStringList{"甲", "", "", "备注"} << 4;
    // A priority above its own row's amount is refused alone: the amount stays.
    QTest::newRow("priority against the pasted amount")
        << false << 0 << "丙\t500\t抵押\t800\n丁\t1000\t工资\t100\n戊\t1000\t抵押\t800\t999\n"
        << QStringList{"第1行（债权人“丙”）“其中抵押优先金额”：“800”大于债权金额",
                       "第2行（债权人“丁”）“其中抵押优先金额”：“100”只能填在性质为“抵押”的债权上"}
        << QStringList{"丙", "500", "抵押", "", "0", ""} << 5;
    // A nature stays free text, but one that is no class on a claim is said; blanks around a
    // class name go, so that the wage claim keeps its priority.
    QTest::newRow("natures that are no class")
        << false << 0 << "丙\t500\t 工资 \n丁\t300\t保证\n戊\t200\t\n\t\t税\n"
        << QStringList{"第2行（债权人“丁”）“债权性质”：“保证”不是分配类别，按一般债权分配。",
                       "第3行（债权人“戊”）“债权性质”：“”不是分配类别，按一般债权分配。"}
        << QStringList{"丙", "500", "工资", "", "0", ""} << 6;
    QStringList many{"粘贴的内容超出表格的最后一列，多出的2列没有粘贴。"};
    QString block;
    for (int i = 1; i <= 23; ++i) {
        block += QStringLiteral("a%1\t工资\t\t999\t备注\t多1\t多2\n").arg(i);
        if (i <= 20)
            many << QStringLiteral("第%1行“债权金额”：“a%1”不是数字").arg(i);
    }
    many << "另有3个单元格没有粘贴。";
    QTest::newRow("wider than the table, more than 20")
        << false << 1 << block << many << QStringList{"", "", "工资", "", "0", "备注"} << 25;
}

void TestTablePaste::refusedCellsInOneMessage() {
    QFETCH(bool, onPayments);
    QFETCH(int, col);
    QFETCH(QString, text);
    QFETCH(QStringList, message);
    QFETCH(QStringList, row1);
    QFETCH(int, rows);
    FlexGrid *grid = onPayments ? payments() : claims();
    setClipboard(text);
    BoxAnswerer answer;
    pasteAt(grid, 1, col);
    QCOMPARE(answer.titles, QStringList{"粘贴提示"});
    QCOMPARE(answer.texts, QStringList{message.join('\n')});
    QCOMPARE(row(grid, 1), row1);
    QCOMPARE(grid->Rows(), rows);
}

void TestTablePaste::pasteFromAnOpenEditor() {
    auto *Tefp = c<QLineEdit>("Tefp");
    // One cell as Calc copies it (with its line end) goes into the editor as typed.
    clickGridCell(claims(), 1, 1);
    setClipboard("1000\n");
    QTest::keyClick(Tefp, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Tefp->text(), QStringLiteral("1000"));
    QCOMPARE(claims()->TextMatrix(1, 1), QStringLiteral("1000"));
    QVERIFY(Tefp->isVisible());
    // A block puts the editor away and is pasted from its cell, the last row.
    clickGridCell(claims(), 2, 0);
    setClipboard("乙\t300\n丙\t400\n");
    QTest::keyClick(Tefp, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(!Tefp->isVisible());
    QCOMPARE(row(claims(), 3).mid(0, 2), QStringList({"丙", "400"}));
    QCOMPARE(claims()->Rows(), 5);
    QCOMPARE(claims()->TextMatrix(4, 0), QString());
}

void TestTablePaste::copiedBlockReadsBack() {
    setClipboard("张三\t1000\t抵押\t600\n李四\t2,000.50\t工资\n");
    pasteAt(claims(), 1, 0);
    clickGridCell(claims(), 1, 1);
    QTest::mouseClick(claims()->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      claims()->格位置(2, 3).second.center());
    QTest::keyClick(claims(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(data->text(), QStringLiteral("1000\t抵押\t600\n2,000.50\t工资\t\n"));
    QCOMPARE(读HTML表格(data->html()),
             QList<QStringList>({{"1000", "抵押", "600"}, {"2,000.50", "工资", ""}}));
    QVERIFY(data->html().contains("sdval=\"2000.5\""));
    // Ctrl+A: every data row, the allocated amounts too, no header.
    QTest::keyClick(claims(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(claims(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(
        QGuiApplication::clipboard()->text(),
        QStringLiteral("张三\t1000\t抵押\t600\t0\t\n李四\t2,000.50\t工资\t\t0\t\n\t\t\t\t0\t\n"));
    // A column chosen by its header is copied with the header.
    const auto [header, rect] = claims()->格位置(0, 0);
    QTest::mouseClick(header, Qt::LeftButton, {}, rect.center());
    child<QAction>(claims(), "复制")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("债权人或案款项目\n张三\n李四\n\n"));
}

// One column copied from Varnel holds no tab: its text and its HTML give blocks of one shape, and
// the text, which keeps every blank, is pasted.
void TestTablePaste::singleColumnPastedBackUnchanged() {
    const QStringList names{"张  三", "　李四", "王\u00A0五"};
    claims()->setRows(5);
    for (int r = 0; r < names.size(); ++r)
        claims()->setTextMatrix(r + 1, 0, names[r]);
    clickGridCell(claims(), 1, 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::mouseClick(claims()->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      claims()->格位置(3, 0).second.center());
    QTest::keyClick(claims(), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QGuiApplication::clipboard()->mimeData()->hasHtml());
    pasteAt(payments(), 1, 0);
    for (int r = 0; r < names.size(); ++r)
        QCOMPARE(payments()->TextMatrix(r + 1, 0), names[r]);
}

void TestTablePaste::selectingOpensNoEditor() {
    auto *Tefp = c<QLineEdit>("Tefp");
    const QPoint cell = claims()->格位置(1, 1).second.center();
    for (Qt::KeyboardModifier held : {Qt::ShiftModifier, Qt::ControlModifier}) {
        QTest::mouseClick(claims()->viewport(), Qt::LeftButton, held, cell);
        QVERIFY(!Tefp->isVisible());
    }
    QTest::mouseClick(claims()->viewport(), Qt::RightButton, {}, cell);
    QVERIFY(!Tefp->isVisible());
    QTest::mouseClick(claims()->viewport(), Qt::LeftButton, {}, cell);
    QVERIFY(Tefp->isVisible());
    QTest::keyClick(Tefp, Qt::Key_Escape);
    QTest::keyClick(claims(), Qt::Key_Right, Qt::ShiftModifier);
    const 格块 b = claims()->选定块();
    QCOMPARE(QList<int>({b.上, b.左, b.下, b.右}), QList<int>({1, 1, 1, 2}));
}

void TestTablePaste::undoOnlyTheLastPaste() {
    setClipboard("甲\t900\n");
    pasteAt(payments(), 1, 0);
    setClipboard("张三\t1000\t工资\n");
    pasteAt(claims(), 1, 0);
    const QString summary = c<QLabel>("Label4")->text();
    setClipboard("李四\t500\t抵押\t200\n王五\t300\t工资\n赵六\t1\n");
    pasteAt(claims(), 1, 0);
    QCOMPARE(claims()->Rows(), 5);
    QTest::keyClick(claims(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(row(claims(), 1), QStringList({"张三", "1000", "工资", "", "900", ""}));
    QCOMPARE(claims()->Rows(), 3);
    QCOMPARE(c<QLabel>("Label4")->text(), summary);
    // Only once, and not after a typed commit.
    QTest::keyClick(claims(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(claims()->TextMatrix(1, 0), QStringLiteral("张三"));
    setClipboard("李四\n");
    pasteAt(claims(), 1, 0);
    clickGridCell(claims(), 2, 0);
    typeText(c<QLineEdit>("Tefp"), "丁");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::keyClick(claims(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(claims()->TextMatrix(1, 0), QStringLiteral("李四"));
}

void TestTablePaste::deleteEmptiesABlock() {
    setClipboard("甲\t1000\n");
    pasteAt(payments(), 1, 0);
    setClipboard("张三\t600\t工资\t\t\t备注\n李四\t700\t工资\n王五\t800\t工资\n");
    pasteAt(claims(), 1, 0);
    clickGridCell(claims(), 3, 5);
    QTest::mouseClick(claims()->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      claims()->格位置(2, 0).second.center());
    QTest::keyClick(claims(), Qt::Key_Delete);
    QCOMPARE(row(claims(), 1), QStringList({"张三", "600", "工资", "", "600", "备注"}));
    // Column 4 is the distribution's, written afresh; the blank-row rule removes one row.
    QCOMPARE(row(claims(), 2), QStringList({"", "", "", "", "0", ""}));
    QCOMPARE(claims()->Rows(), 4);
}

// A claim handed over by another calculator (the interest a claim carries) lands in the entry
// row as a paste: the creditor asked with the last claim's offered, one recomputation, the
// window marked unsaved, and Ctrl+Z takes it out again.
void TestTablePaste::claimPutInFromElsewhere_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QStringList>("added"); // empty: no row added

    QTest::newRow("offered creditor kept")
        << "李四" << true
        << QStringList{"李四", "1234.56", "一般债权", "", "0", "自2020年1月1日起"};
    QTest::newRow("another creditor")
        << " 王五 " << true
        << QStringList{"王五", "1234.56", "一般债权", "", "0", "自2020年1月1日起"};
    QTest::newRow("cancelled") << "王五" << false << QStringList{};
    QTest::newRow("no creditor") << "  " << true << QStringList{};
}

void TestTablePaste::claimPutInFromElsewhere() {
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QFETCH(QStringList, added);
    setClipboard("张三\t1000\t工资\n李四\t500\t一般债权\n");
    pasteAt(claims(), 1, 0);
    BoxAnswerer answer(QMessageBox::Ok, typed, accept);
    const bool put =
        w->放入债权(文本金额(QStringLiteral("1234.56")), QStringLiteral("自2020年1月1日起"));
    QCOMPARE(answer.offered, QStringList{"李四"});
    QCOMPARE(put, !added.isEmpty());
    QCOMPARE(claims()->Rows(), added.isEmpty() ? 4 : 5);
    if (added.isEmpty())
        return;
    QCOMPARE(row(claims(), 3), added);
    QVERIFY(w->windowTitle().endsWith(QStringLiteral("（未保存）")));
    // Keys typed next go to the entry row below the claim (the grid's model has no header row).
    QCOMPARE(w->focusWidget(), claims());
    QCOMPARE(claims()->currentRow(), 3);
    QTest::keyClick(claims(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(claims()->Rows(), 4);
    QCOMPARE(row(claims(), 3), QStringList({"", "", "", "", "0", ""}));
}

void TestTablePaste::tenThousandRows() {
    QString text;
    for (int i = 1; i <= 10000; ++i)
        text += QStringLiteral("债权人%1\t%2\t工资\r\n").arg(i).arg(i % 7 + 1);
    setClipboard(text);
    pasteAt(claims(), 1, 0);
    QCOMPARE(claims()->Rows(), 10002);
    QCOMPARE(row(claims(), 10000).mid(0, 3), QStringList({"债权人10000", "5", "工资"}));
    QCOMPARE(claims()->TextMatrix(10000, 4), QStringLiteral("0"));
}

int runTablePasteTests(int argc, char **argv) {
    TestTablePaste t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_table_paste.moc"
