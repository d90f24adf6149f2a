#include "common/date_picker.h"

#include "common/controls.h"
#include "common/date_text.h"
#include "common/twips.h"
#include "common/window_events.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>

namespace {

// The picker's buttons show the focus however it came, as the desktop's do: the Fusion style
// draws it only after a Tab, and the buttons take it from a click or from the program too.
class 焦点可见样式 : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override {
        const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
        if (element == CE_PushButton && button && (button->state & State_HasFocus)) {
            QStyleOptionButton shown(*button);
            shown.state |= State_KeyboardFocusChange;
            QProxyStyle::drawControl(element, &shown, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

QStyle *焦点可见() {
    static QPointer<QStyle> style;
    if (!style) {
        style = new 焦点可见样式(QApplication::style()->name());
        style->setParent(qApp);
    }
    return style;
}

} // namespace

选日面板::选日面板(QWidget *client, int clientWidth, int clientHeight) : QFrame(client) {
    setObjectName(QStringLiteral("Picture1"));
    放置(this, std::max(0, (clientWidth - 宽) / 2), std::max(0, (clientHeight - 高) / 2), 宽, 高);
    setFrameShape(QFrame::Box);
    setAttribute(Qt::WA_NoMousePropagation);
    设背景色(this, 颜色(0x00E0E0E0));
    MonthView1 = 新控件<QCalendarWidget>(this, QStringLiteral("MonthView1"), 120, 120, 4065, 2220);
    MonthView1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    MonthView1->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    MonthView1->setFont(宋体(8));
    Tex日期 = 新控件<QLineEdit>(this, QStringLiteral("Tex日期"), 120, 2400, 1815, 270);
    Command2 = 新控件<QPushButton>(this, QStringLiteral("Command2"), 2040, 2400, 975, 255);
    Command2->setText(QStringLiteral("确定"));
    Command1 = 新控件<QPushButton>(this, QStringLiteral("Command1"), 3120, 2400, 975, 255);
    Command1->setText(QStringLiteral("取消"));
    for (QPushButton *b : {Command2, Command1}) {
        b->setFocusPolicy(Qt::StrongFocus);
        b->setStyle(焦点可见());
    }
    // The date box is white like every text box, not the panel's grey.
    QPalette white = Tex日期->palette();
    white.setColor(QPalette::Base, Qt::white);
    Tex日期->setPalette(white);
    hide();

    const auto confirm = [this] {
        if (确认)
            确认();
    };
    const auto cancel = [this] {
        if (取消)
            取消();
    };
    connect(MonthView1, &QCalendarWidget::clicked, this,
            [this](QDate d) { Tex日期->setText(短日期文本(d)); });
    connect(MonthView1, &QCalendarWidget::activated, this, [this, confirm](QDate d) {
        Tex日期->setText(短日期文本(d));
        confirm();
    });
    连接按键(Tex日期, [this, confirm](QKeyEvent *e) {
        if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter)
            return 日期框按键 && 日期框按键(e);
        confirm();
        return true;
    });
    连接按键(this, [cancel](QKeyEvent *e) {
        if (e->key() != Qt::Key_Escape)
            return false;
        cancel();
        return true;
    });
    连接得到焦点(Command2, confirm);
    连接得到焦点(Command1, cancel);
}

void 选日面板::打开(const QString &text, const QDate &fallback, bool keepText) {
    show();
    raise();
    const auto d = 读日期(text);
    if (d)
        Tex日期->setText(text);
    else if (!keepText)
        Tex日期->clear();
    MonthView1->setSelectedDate(d.value_or(fallback));
    选日框得焦点();
}

// The date box takes the focus with its text selected, so that a date typed at once replaces
// what it holds.
void 选日面板::选日框得焦点() {
    Tex日期->setFocus(Qt::OtherFocusReason);
    Tex日期->selectAll();
}
