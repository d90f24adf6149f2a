#include "sentence/sentence_window.h"

#include "common/controls.h"
#include "common/date_picker.h"
#include "common/date_text.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "common/number_text.h"
#include "common/twips.h"
#include "common/window_events.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int 客户宽 = 6090;
// Taller than the system's 5625 by the two lines under the result.
constexpr int 客户高 = 6345;

} // namespace

Fo刑期计算::Fo刑期计算() {
    建立控件();
    捕获错误([this] { 载入(); });
}

void Fo刑期计算::建立控件() {
    客户区 = 建立窗口(this, QStringLiteral("Fo刑期计算"), 客户宽, 客户高);
    回到上页 = 新命令(menuBar(), QStringLiteral("回到上页"));
    QWidget *c = 客户区;

    Label2 = 新标签(c, QStringLiteral("Label2"), QStringLiteral("刑期计算"), 2640, 480, 1140, 285);
    Label2->setFont(宋体(14.25));
    Line1 = 新控件<QFrame>(c, QStringLiteral("Line1"), 2280, 945, 1920, 45);
    设背景色(Line1, QColor(128, 128, 0));
    Label1 = 新标签(c, QStringLiteral("Label1"), QStringLiteral("Varnel 法院办公工具"), 480, 5820,
                    2400, 255);

    const char *termUnits[] = {"年", "月", "日"};
    const int termLists[] = {20, 12, 30};
    Label3[0] =
        新标签(c, QStringLiteral("Label3(0)"), QStringLiteral("刑期"), 1680, 1440, 360, 180);
    for (int i = 0; i < 3; ++i) {
        Com刑期[i] = 新控件<QComboBox>(c, QStringLiteral("Com刑期(%1)").arg(i), 2160 + 1080 * i,
                                       1440, 855, 300);
        QStringList numbers;
        for (int n = 1; n <= termLists[i]; ++n)
            numbers.append(QString::number(n));
        设可编辑组合框(Com刑期[i], numbers);
        Com刑期[i]->setCurrentIndex(-1);
        Com刑期[i]->setEditText(QString());
        Label3[i + 1] = 新标签(c, QStringLiteral("Label3(%1)").arg(i + 1),
                               QString::fromUtf8(termUnits[i]), 3000 + 1080 * i, 1440, 180, 180);
    }
    Label3[4] =
        新标签(c, QStringLiteral("Label3(4)"), QStringLiteral("羁押情况"), 1680, 1920, 720, 180);
    MSF = new FlexGrid(c);
    MSF->setObjectName(QStringLiteral("MSF"));
    放置(MSF, 1680, 2160, 3975, 1095);
    Label3[5] =
        新标签(c, QStringLiteral("Label3(5)"), QStringLiteral("执行日期"), 1680, 3480, 720, 180);
    Tex执行日期 = 新控件<QLineEdit>(c, QStringLiteral("Tex执行日期"), 2520, 3480, 2055, 375);
    Text1 = 新控件<QPlainTextEdit>(c, QStringLiteral("Text1"), 480, 4200, 5175, 735);
    Text1->setReadOnly(true);
    Text1->setTabChangesFocus(true);
    建立说明行(c);
    建立选日面板(c);

    for (QComboBox *term : Com刑期)
        连接改动与选取(term, this, [this] { 刷新结果(); });
    MSF->设单击([this] { 打开表格选日(); });
    MSF->设键入编辑(Tex日期);
    连接表格命令();
    连接表格Tab键();
    连接单击(Tex执行日期, [this] { 打开执行日选日(); });
    connect(Tex执行日期, &QLineEdit::editingFinished, this, [this] { 执行日期改完(); });
    连接单击(客户区, [this] { 关闭选日(); });
    connect(回到上页, &QAction::triggered, this, [this] { close(); });
}

void Fo刑期计算::建立选日面板(QWidget *c) {
    auto *panel = new 选日面板(c, 客户宽, 客户高);
    Picture1 = panel;
    MonthView1 = panel->MonthView1;
    Tex日期 = panel->Tex日期;
    Command2 = panel->Command2;
    Command1 = panel->Command1;
    panel->确认 = [this] { 确认(); };
    panel->取消 = [this] { 关闭选日(); };
    panel->日期框按键 = [this](QKeyEvent *e) { return 选日框Tab键(e); };
}

void Fo刑期计算::载入() {
    Text1->clear();
    Picture1->hide();
    MSF->setRows(2);
    MSF->setCols(2);
    MSF->setTextMatrix(0, 0, QStringLiteral("关押日期"));
    MSF->setTextMatrix(0, 1, QStringLiteral("释放日期"));
    MSF->setColWidth(0, 1500);
    MSF->setColWidth(1, 1500);
}

void Fo刑期计算::打开表格选日() {
    捕获错误([this] {
        if (MSF->Row() < 1)
            return;
        编辑对象 = 1;
        编辑行 = short(MSF->Row());
        编辑列 = short(MSF->Col());
        // A cell without a date opens the calendar on the row's other date, else where the
        // last date was entered, else on today.
        Picture1->打开(MSF->Text(),
                       读日期(MSF->TextMatrix(编辑行, 1 - 编辑列)).value_or(选日起点()));
    });
}

void Fo刑期计算::打开执行日选日() {
    编辑对象 = 2;
    // The date box and the calendar show the execution date, so that confirming keeps it; with
    // none the date box keeps what it held and the calendar shows the last date entered, else
    // today: never what a cancelled edit left.
    Picture1->打开(Tex执行日期->text(), 选日起点(), true);
}

// Where a picker with no date of its own opens: the last date entered, else today.
QDate Fo刑期计算::选日起点() const {
    return 上次日期.value_or(QDate::currentDate());
}

void Fo刑期计算::收起选日面板() {
    // The focus goes back to where the edit started before the panel hides; left to itself it
    // would move on to the term years, selecting their text.
    if (Picture1->isVisible()) {
        if (编辑对象 == 1)
            MSF->setFocus(Qt::OtherFocusReason);
        else if (编辑对象 == 2)
            Tex执行日期->setFocus(Qt::OtherFocusReason);
    }
    Picture1->hide();
}

void Fo刑期计算::关闭选日() {
    捕获错误([this] {
        收起选日面板();
        编辑对象 = 0;
    });
}

void Fo刑期计算::确认() {
    捕获错误([this] {
        MSF->setRow(编辑行);
        MSF->setCol(编辑列);
        const QString text = Tex日期->text();
        // A release before the detention of its row is refused; the cell keeps what it held.
        const bool release = 编辑对象 == 1 && 编辑列 == 1;
        if (编辑对象 == 1 && (编辑列 == 1 ? 期间颠倒(MSF->TextMatrix(编辑行, 0), text)
                                          : 期间颠倒(text, MSF->TextMatrix(编辑行, 1)))) {
            if (release)
                记下释放被拒(编辑行, true);
            消息框::提示(期间颠倒说明, QStringLiteral("日期出错提示"));
            Picture1->选日框得焦点();
        } else if (是日期(text) || 去尾空格(text).isEmpty()) {
            if (release)
                记下释放被拒(编辑行, false);
            收起选日面板();
            if (const auto d = 读日期(text))
                上次日期 = *d;
            if (编辑对象 == 1) {
                MSF->setText(text);
                MSF->当前格左对齐();
                保持末行空白(*MSF, 编辑行, 1);
                上次粘贴.reset();
            } else if (编辑对象 == 2) {
                Tex执行日期->setText(text);
            }
        } else {
            if (release)
                记下释放被拒(编辑行, true);
            消息框::提示(QStringLiteral("日期格式出错！"), QStringLiteral("日期出错提示"));
            Picture1->选日框得焦点();
        }
    });
    刷新结果();
}

QString Fo刑期计算::刑期文本(int i) const {
    return Com刑期[i]->currentText();
}

// The data rows that count: every row but the trailing entry row.
QList<羁押行> Fo刑期计算::羁押表行() const {
    QList<羁押行> rows;
    for (int r = 1; r < MSF->Rows() - 1; ++r)
        rows.append({MSF->TextMatrix(r, 0), MSF->TextMatrix(r, 1)});
    return rows;
}

QDate Fo刑期计算::刑满日期() const {
    const auto custody = 读羁押表(羁押表行(), QDate::currentDate());
    if (!custody)
        return 零日期();
    return 刑满日期计算(custody->起算日, 读刑期数(刑期文本(0)), 读刑期数(刑期文本(1)),
                        读刑期数(刑期文本(2)), custody->合计);
}

// A reversed period that is in the table all the same (from an earlier version, or left by a
// refused paste's other cell) is shown light red, as a refused entry is: it is not credited.
void Fo刑期计算::标出颠倒期间() {
    for (int r = MSF->FixedRows(); r < MSF->Rows(); ++r) {
        const bool reversed = 期间颠倒(MSF->TextMatrix(r, 0), MSF->TextMatrix(r, 1));
        for (int c = 0; c < 2; ++c)
            if (QTableWidgetItem *item = MSF->item(r - MSF->FixedRows(), c))
                item->setBackground(reversed ? QBrush(QColor(255, 128, 128)) : QBrush());
    }
}

void Fo刑期计算::刷新结果() {
    标出颠倒期间();
    捕获错误([this] {
        const QDate end = 刑满日期();
        const QString terms[3] = {刑期文本(0), 刑期文本(1), 刑期文本(2)};
        // An overflow is shown; the figures keep the values reached and the refresh goes on.
        捕获错误([&] { 扣除羁押计算(扣除, Tex执行日期->text(), terms, end); });
        结果 = 刑期结果文本(end, 扣除);
        Text1->setPlainText(QString(结果).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        刷新说明行();
    });
}

void Fo刑期计算::closeEvent(QCloseEvent *event) {
    event->accept();
    显示主窗口();
}
