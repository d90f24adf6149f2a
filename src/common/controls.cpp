#include "common/controls.h"

#include "common/message_box.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

QLabel *新标签(QWidget *parent, const QString &name, const QString &text, int l, int t, int w,
               int h) {
    auto *label = 新控件<QLabel>(parent, name, l, t, w, h);
    label->setText(text);
    label->setAttribute(Qt::WA_NoMousePropagation);
    return label;
}

QPushButton *新按钮(QWidget *parent, const QString &name, const QString &text, int l, int t, int w,
                    int h) {
    auto *button = 新控件<QPushButton>(parent, name, l, t, w, h);
    button->setText(text);
    return button;
}

QWidget *建立窗口(QMainWindow *window, const QString &name, int clientWidth, int clientHeight) {
    window->setObjectName(name);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(消息框::应用标题);
    window->setFont(宋体(9));
    auto *client = new QWidget(window);
    client->setFixedSize(像素(clientWidth), 像素(clientHeight));
    window->setCentralWidget(client);
    return client;
}

QAction *新命令(QMenuBar *bar, const QString &caption) {
    QAction *a = bar->addAction(caption);
    a->setObjectName(caption);
    return a;
}

QAction *新命令(QMenu *menu, const QString &caption) {
    QAction *a = menu->addAction(caption);
    a->setObjectName(caption);
    return a;
}
