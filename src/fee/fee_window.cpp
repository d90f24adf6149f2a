#include "fee/fee_window.h"

#include "common/controls.h"
#include "common/message_box.h"
#include "common/number_text.h"
#include "common/twips.h"
#include "common/window_events.h"
#include "fee/fee_rules.h"
#include "fee/fee_rules_2007.h"
#include "fee/fee_standard.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>

namespace {

constexpr unsigned 暗红 = 0xC0;
constexpr unsigned 蓝 = 0xFF0000;

// The schedules of Com收费标准, in its order.
const QStringList 标准名称{
    QStringLiteral("1989年《人民法院诉讼收费办法》（2007年4月1日起不再适用）"),
    QStringLiteral("2007年《诉讼费用交纳办法》")};

QLabel *标签(QWidget *parent, const QString &name, const QString &text, int left, int top,
             int width, int height, unsigned colour) {
    QLabel *l = 新标签(parent, name, text, left, top, width, height);
    设前景色(l, 颜色(colour));
    return l;
}

// The case-type list: one type is chosen at a time, and once chosen a type can only be replaced
// by another, never cleared (a Ctrl+click or Ctrl+Space selects the item like a plain click).
class 类型列表 : public QListWidget {
  public:
    using QListWidget::QListWidget;

  protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override {
        const auto flags = QListWidget::selectionCommand(index, event);
        if (!index.isValid() || flags == QItemSelectionModel::NoUpdate)
            return flags;
        return QItemSelectionModel::ClearAndSelect;
    }
};

} // namespace

Fo诉讼费计算::Fo诉讼费计算() {
    建立控件();
    捕获错误([this] { 载入(); });
}

void Fo诉讼费计算::建立控件() {
    QWidget *client = 建立窗口(this, QStringLiteral("Fo诉讼费计算"), 客户宽, 客户高);
    回到上页 = 新命令(menuBar(), QStringLiteral("回到上页"));

    Label2 = 标签(client, QStringLiteral("Label2"), QStringLiteral("诉讼费计算"), 2520, 480, 1425,
                  285, 0x004080);
    Label2->setFont(宋体(14.25));
    Line1 = new QFrame(client);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    放置(Line1, 2280, 960 - 15, 1920, 30);

    Label3[1] = 标签(client, QStringLiteral("Label3(1)"), QStringLiteral("计算类型"), 1560, 1320,
                     975, 375, 0xC00000);
    List1 = new 类型列表(client);
    List1->setObjectName(QStringLiteral("List1"));
    放置(List1, 2400, 1320, 2415, 1320);
    Label3[0] = 标签(client, QStringLiteral("Label3(0)"), QStringLiteral("诉讼标的"), 1560, 2760,
                     975, 375, 0xC00000);
    Tex标的 = 新控件<QLineEdit>(client, QStringLiteral("Tex标的"), 2400, 2760, 2175, 375);
    Label5 = 标签(client, QStringLiteral("Label5"), QStringLiteral("元"), 4680, 2760, 375, 375, 蓝);
    Label3[2] = 标签(client, QStringLiteral("Label3(2)"), QStringLiteral("共同产标的"), 1560, 3240,
                     975, 495, 0xC00000);
    Label3[2]->setWordWrap(true);
    Te共同产 = 新控件<QLineEdit>(client, QStringLiteral("Te共同产"), 2520, 3240, 2055, 375);
    Label6 = 标签(client, QStringLiteral("Label6"), QStringLiteral("元"), 4680, 3240, 375, 375, 蓝);
    Label8 =
        标签(client, QStringLiteral("Label8"),
             QStringLiteral("注：夫妻共同产标的不包括在诉讼标的中，诉讼标的仅指夫妻共同产以外的"
                            "其他财产请求标的。"),
             120, 2160, 1215, 1935, 0x004040);
    Label8->setWordWrap(true);
    Label8->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label4 = 标签(client, QStringLiteral("Label4"), QStringLiteral("诉讼费计算结果："), 1560, 3720,
                  1440, 180, 0xC00000);
    Te结果 = 新控件<QLineEdit>(client, QStringLiteral("Te结果"), 1560, 3960, 3255, 375);
    Te结果->setReadOnly(true);
    设背景色(Te结果, 颜色(0x00C0FFFF));
    // One character a line: the label is narrower than two characters.
    Label7 = 标签(client, QStringLiteral("Label7"), QStringLiteral("数字输入错误"), 5400, 2040, 255,
                  2055, 暗红);
    Label7->setFont(宋体(14.25));
    Label7->setWordWrap(true);
    Label7->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label7->hide();
    for (int i = 0; i < 2; ++i) {
        Lab错误指示[i] = 标签(client, QStringLiteral("Lab错误指示(%1)").arg(i),
                              QStringLiteral("<<<"), 4920, 2760 + 480 * i, 270, 180, 暗红);
        Lab错误指示[i]->hide();
    }
    建立标准控件(client);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);

    connect(List1, &QListWidget::itemSelectionChanged, this, [this] { 类型单击(); });
    for (QLineEdit *box : {Tex标的, Te共同产}) {
        connect(box, &QLineEdit::textChanged, this, [this] { 计算诉讼费(); });
        连接单击(box, [this] { 计算诉讼费(); });
    }
    connect(Com收费标准, &QComboBox::currentIndexChanged, this, [this] { 换标准(); });
    connect(Com收费标准, &QComboBox::activated, this,
            [this] { 捕获错误([this] { 记住收费标准(按2007() ? 标准2007 : 标准1989); }); });
    connect(Chk减半, &QCheckBox::toggled, this, [this] { 计算诉讼费(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(回到上页, &QAction::triggered, this, [this] { close(); });
    Timer1->start();
}

// The schedule chooser above everything it governs, the articles under the result, and
// halving below them. Tab goes in reading order: the list, the amounts, the result, halving
// (when it applies), the chooser, and round to the list.
void Fo诉讼费计算::建立标准控件(QWidget *client) {
    Com收费标准 =
        新控件<QComboBox>(client, QStringLiteral("Com收费标准"), 120, 60, 客户宽 - 240, 360);
    Com收费标准->addItems(标准名称);
    Lab依据 =
        标签(client, QStringLiteral("Lab依据"), QString(), 120, 4425, 客户宽 - 240, 240, 0x004040);
    Chk减半 = 新控件<QCheckBox>(client, QStringLiteral("Chk减半"), 120, 4740, 客户宽 - 240, 300);
    Chk减半->setText(
        QStringLiteral("减半收取（调解结案、撤诉、简易程序、反诉或第三人请求合并审理）"));
    Chk减半->setEnabled(false);
    setTabOrder(Te结果, Chk减半);
    setTabOrder(Chk减半, Com收费标准);
}

void Fo诉讼费计算::载入() {
    填类型列表();
    Label8->setVisible(显示共同产());
    箭头右移 = false;
    闪烁计数 = 0;
    int standard = 标准1989;
    捕获错误([&] { standard = 开窗收费标准(); });
    Com收费标准->setCurrentIndex(standard == 标准2007 ? 1 : 0);
}

bool Fo诉讼费计算::按2007() const {
    return Com收费标准->currentIndex() == 1;
}

// The chosen schedule's types, nothing chosen. An item is a line and two pixels high: the
// stand-in face draws "_" just below its line. The 2007 list has items wider than the list:
// they wrap onto a second line.
void Fo诉讼费计算::填类型列表() {
    const QSignalBlocker blocker(List1);
    const bool by2007 = 按2007();
    List1->clear();
    List1->addItems(by2007 ? 交纳办法类型列表() : 案件类型列表());
    List1->setWordWrap(by2007);
    const QFontMetrics metrics(List1->font());
    const int room = List1->maximumViewportSize().width() -
                     List1->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 8;
    for (int i = 0; i < List1->count(); ++i) {
        const QString text = List1->item(i)->text();
        QSize size(metrics.horizontalAdvance(text), metrics.height());
        if (by2007 && size.width() > room)
            size = metrics.boundingRect(QRect(0, 0, room, 1000), Qt::TextWordWrap, text).size();
        List1->item(i)->setSizeHint(size + QSize(8, 2));
    }
}

// A change of schedule starts over as an opening does: no type chosen, no fee, the
// joint-property row shown.
void Fo诉讼费计算::换标准() {
    捕获错误([this] {
        填类型列表();
        Te结果->clear();
        Lab依据->clear();
        设共同产行(true);
        更新标的与减半();
        计算诉讼费();
    });
}

void Fo诉讼费计算::设共同产行(bool shown) {
    Te共同产->setVisible(shown);
    for (QWidget *w : {static_cast<QWidget *>(Label3[2]), static_cast<QWidget *>(Label6),
                       static_cast<QWidget *>(Label8)})
        w->setVisible(shown);
}

// Under the 2007 measures the amount label names what the chosen type reads (the box is greyed,
// its text kept, when the type reads none), and halving is offered for the acceptance fees; a
// greyed halving box is not ticked, so that it never looks applied.
void Fo诉讼费计算::更新标的与减半() {
    const QString type = 选中类型();
    const bool by2007 = 按2007();
    const QString reads = by2007 && !type.isEmpty() ? 标的名称(type) : QStringLiteral("诉讼标的");
    Label3[0]->setText(reads);
    Tex标的->setEnabled(reads != 无需填写);
    Chk减半->setEnabled(by2007 && (type.isEmpty() || 可减半(type)));
    if (!Chk减半->isEnabled()) {
        const QSignalBlocker quiet(Chk减半);
        Chk减半->setChecked(false);
    }
}

bool Fo诉讼费计算::显示共同产() const {
    return !Te共同产->isHidden();
}

QString Fo诉讼费计算::选中类型() const {
    const auto items = List1->selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

void Fo诉讼费计算::类型单击() {
    捕获错误([this] {
        设共同产行(选中类型().trimmed() == (按2007() ? 交纳办法离婚 : 离婚案件));
        更新标的与减半();
        计算诉讼费();
    });
}

void Fo诉讼费计算::计算诉讼费() {
    捕获错误([this] {
        auto inError = [](const QLineEdit *box) {
            const QString t = box->text().trimmed();
            return !t.isEmpty() && !是数字(t);
        };
        const bool amountError = inError(Tex标的);
        const bool jointError = 显示共同产() && inError(Te共同产);
        Label7->setVisible(amountError || jointError);
        Lab错误指示[0]->setVisible(jointError);
        if (jointError)
            放置(Lab错误指示[0], 缇左(Lab错误指示[0]), 缇上(Te共同产), 270, 180);
        Lab错误指示[1]->setVisible(amountError);
        if (amountError)
            放置(Lab错误指示[1], 缇左(Lab错误指示[1]), 缇上(Tex标的), 270, 180);

        const QString type = 选中类型();
        if (按2007())
            交纳办法计算();
        else if (type.startsWith(QStringLiteral("民事")))
            Te结果->setText(
                金额文本(民事受理费计算(去尾空格(type), Tex标的->text(), Te共同产->text())));
        else if (type.startsWith(QStringLiteral("行政")))
            行政受理费计算();
        else if (type == 执行费类型)
            执行费计算();
        if (!按2007() && !Te结果->text().isEmpty())
            Te结果->setText(QString::number(取整显示(Te结果->text())));
    });
}

Money Fo诉讼费计算::民事受理费计算(const QString &caseType, const QString &amount,
                                   const QString &joint) {
    Money fee;
    if (!捕获错误([&] { fee = 民事受理费(caseType, amount, joint); }))
        return Money{};
    return fee;
}

void Fo诉讼费计算::行政受理费计算() {
    捕获错误([this] {
        if (const auto text = 行政受理费(选中类型(), Tex标的->text()))
            Te结果->setText(*text);
    });
}

void Fo诉讼费计算::执行费计算() {
    捕获错误([this] { Te结果->setText(金额文本(执行费(Tex标的->text()))); });
}

// A fee to the fen or a range, and the articles it rests on; nothing when the amount is beyond
// the money range (the overflow has been reported).
void Fo诉讼费计算::交纳办法计算() {
    const QString type = 选中类型();
    if (type.isEmpty())
        return;
    Te结果->clear();
    Lab依据->clear();
    捕获错误([this, &type] {
        const 交纳费用 fee =
            交纳办法费用(type, Tex标的->text(), Te共同产->text(), Chk减半->isChecked());
        Te结果->setText(费用文本(fee));
        Lab依据->setText(fee.依据);
    });
}

void Fo诉讼费计算::Timer1_Timer() {
    捕获错误([this] {
        QLabel *arrow0 = Lab错误指示[0];
        QLabel *arrow1 = Lab错误指示[1];
        if (++闪烁计数 == 20) {
            const bool darkRed = 前景色(arrow0) == 颜色(暗红);
            设前景色(arrow0, 颜色(darkRed ? 蓝 : 暗红));
            设前景色(arrow1, 颜色(darkRed ? 暗红 : 蓝));
            闪烁计数 = 0;
        }
        int left = 缇左(arrow0);
        if (!箭头右移) {
            left -= 5;
            if (缇左(Tex标的) + 缇宽(Tex标的) >= left)
                箭头右移 = true;
        } else {
            left += 5;
            if (缇左(Label7) - 缇宽(arrow0) <= left)
                箭头右移 = false;
        }
        移到左(arrow0, left);
        移到左(arrow1, left);
    });
}

void Fo诉讼费计算::closeEvent(QCloseEvent *event) {
    Timer1->stop();
    event->accept();
    显示主窗口();
}
