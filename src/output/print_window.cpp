#include "output/print_window.h"

#include "common/message_box.h"
#include "common/twips.h"
#include "output/page_painter.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QMdiSubWindow>
#include <QPainter>

打印For列表::打印For列表(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("打印For列表"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("打印"));
    setFont(宋体(9));
    载入();
}

void 打印For列表::载入() {
    内容.载入();
    setFixedSize(像素(内容.宽), 像素(内容.高));
}

void 打印For列表::新建标题(const QString &text, int 左边距, int 上边距, int 宽, int 高) {
    内容.新建标题(text, 左边距, 上边距, 宽, 高);
    update();
}

void 打印For列表::送到标题() {
    内容.送到标题();
    update();
}

void 打印For列表::标题清空() {
    内容.标题清空();
    update();
}

void 打印For列表::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(1.0 / 缇(1), 1.0 / 缇(1));
    画页面(p, 内容);
}

MDI打印::MDI打印() {
    setObjectName(QStringLiteral("MDI打印"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(消息框::应用标题);
    区域 = new QMdiArea(this);
    区域->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    区域->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(区域);
    // As tall as the screen lets it be, at the screen's top: the page is taller than most screens
    // and scrolls in the area.
    QSize size(像素(页面尺寸::宽) + 60, 760);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        size = size.boundedTo(free.size() - QSize(20, 60));
        move(free.topLeft() + QPoint(10, 10));
    }
    resize(size);
}

打印For列表 *MDI打印::显示页面窗口() {
    auto *page = new 打印For列表;
    QMdiSubWindow *sub = 区域->addSubWindow(page);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    sub->move(0, 0); // the page's top left, with the title, in view
    区域->setActiveSubWindow(sub);
    return page;
}
