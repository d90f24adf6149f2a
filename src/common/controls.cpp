#include "common/controls.h"

#include "common/message_box.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTimer>
#include <memory>

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
    // The controls sit at fixed twips: the window keeps the size of its menu bar and client area.
    window->layout()->setSizeConstraint(QLayout::SetFixedSize);
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

void 设可编辑组合框(QComboBox *combo, const QStringList &items) {
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->addItems(items);
    const QFontMetrics metrics(combo->font());
    int widest = 0;
    for (int i = 0; i < items.size(); ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(items[i]));
        combo->setItemData(i, QSize(metrics.horizontalAdvance(items[i]), metrics.height() + 4),
                           Qt::SizeHintRole);
    }
    // Room for the item margins and a scroll bar, should the list be longer than the popup.
    const int margins = 2 * combo->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr,
                                                        combo) +
                        combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 12;
    combo->view()->setMinimumWidth(widest + margins);
}

void 连接改动与选取(QComboBox *combo, QObject *context, std::function<void()> routine) {
    // A choice from the list sets the text (the change signal) and then reports the choice;
    // the choice then runs nothing more. The mark lasts until the event loop next turns, so a
    // choice of the item already shown still runs the routine.
    auto changed = std::make_shared<bool>(false);
    QObject::connect(combo, &QComboBox::editTextChanged, context, [changed, routine] {
        *changed = true;
        QTimer::singleShot(0, [changed] { *changed = false; });
        routine();
    });
    QObject::connect(combo, &QComboBox::activated, context, [changed, routine] {
        if (*changed) {
            *changed = false;
            return;
        }
        routine();
    });
}
