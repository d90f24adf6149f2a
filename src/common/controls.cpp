#include "common/controls.h"

#include "common/message_box.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>
#include <QMenuBar>
#include <QStyle>
#include <utility>

namespace {

// Measures a label when it shows, with its font, alignment and wrapping all set, and when it is
// placed anew at its twips box (the fee window's moving arrows). Not before: a label made with
// 新标签 gets its font and its wrapping afterwards.
class 标签量字 : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::Resize)
            容下文字(static_cast<QLabel *>(watched));
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void 容下文字(QLabel *label) {
    if (label->text().isEmpty() || label->wordWrap())
        return;
    const QRect room = label->contentsRect();
    const QFontMetrics metrics(label->font());
    QRect need = metrics.boundingRect(room, int(label->alignment()), label->text());
    const QRect ink = metrics.tightBoundingRect(label->text()); // from the baseline
    need.adjust(0, std::max(0, metrics.ascent() + ink.top()), 0,
                -std::max(0, metrics.descent() - ink.bottom() - 1));
    if (room.contains(need))
        return;
    label->setGeometry(label->geometry().adjusted(
        std::min(0, need.left() - room.left()), std::min(0, need.top() - room.top()),
        std::max(0, need.right() - room.right()), std::max(0, need.bottom() - room.bottom())));
}

QLabel *新标签(QWidget *parent, const QString &name, const QString &text, int l, int t, int w,
               int h) {
    auto *label = 新控件<QLabel>(parent, name, l, t, w, h);
    label->setText(text);
    label->setAttribute(Qt::WA_NoMousePropagation);
    label->installEventFilter(new 标签量字(label));
    return label;
}

namespace {

// Enter on a button that has the focus presses it, as Space does: the desktop's buttons answer
// both keys, and Qt's answer Enter only inside a dialog.
class 回车按下 : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                key->modifiers() == Qt::NoModifier) {
                static_cast<QPushButton *>(watched)->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void 回车可按(QPushButton *button) {
    button->installEventFilter(new 回车按下(button));
}

QPushButton *新按钮(QWidget *parent, const QString &name, const QString &text, int l, int t, int w,
                    int h) {
    auto *button = 新控件<QPushButton>(parent, name, l, t, w, h);
    button->setText(text);
    回车可按(button);
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
    // F10 opens the menu bar's commands under the bar, for the arrow keys and Enter: the captions
    // carry no access keys, so this is the menus' way in from the keyboard. A top menu shows as a
    // submenu; a command on the bar itself (回到上页) is run by Enter like any other.
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_F10), window), &QShortcut::activated,
                     window, [window] {
                         QMenuBar *bar = window->menuBar();
                         if (bar->actions().isEmpty())
                             return;
                         QMenu commands(window);
                         commands.setObjectName(QStringLiteral("菜单命令"));
                         commands.addActions(bar->actions());
                         // The first command is chosen once the menu shows, so Enter runs it.
                         QAction *first = bar->actions().first();
                         QTimer::singleShot(0, &commands,
                                            [&commands, first] { commands.setActiveAction(first); });
                         commands.exec(bar->mapToGlobal(QPoint(0, bar->height())));
                     });
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
    const int margins =
        2 * combo->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, combo) +
        combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 12;
    combo->view()->setMinimumWidth(widest + margins);
}

namespace {

// Marks a text change of a combo box until the user next starts a choice: a mouse press or the
// wheel on the combo or its list, a key in the open list, or a key that steps through the items.
// A choice changes the text and then reports the choice in one go, even when a message box shown
// by the routine runs the event loop in between; and a typed text that names an item is
// reported as chosen when the focus leaves, after the change has run the routine.
class ChangeMark : public QObject {
  public:
    explicit ChangeMark(QComboBox *combo) : QObject(combo), list(combo->view()) {
        for (QObject *part :
             {static_cast<QObject *>(combo), static_cast<QObject *>(combo->lineEdit()),
              static_cast<QObject *>(combo->view()),
              static_cast<QObject *>(combo->view()->viewport())})
            if (part)
                part->installEventFilter(this);
    }
    bool set = false;

  protected:
    bool eventFilter(QObject *target, QEvent *e) override {
        const auto t = e->type();
        if (t == QEvent::MouseButtonPress || t == QEvent::Wheel)
            set = false;
        else if (t == QEvent::KeyPress && (target == list || 选项键(static_cast<QKeyEvent *>(e))))
            set = false;
        return false;
    }

  private:
    static bool 选项键(const QKeyEvent *e) {
        switch (e->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return true;
        default:
            return false;
        }
    }

    QObject *list;
};

} // namespace

void 连接改动与选取(QComboBox *combo, QObject *context, std::function<void()> routine) {
    auto *mark = new ChangeMark(combo);
    QObject::connect(combo, &QComboBox::editTextChanged, context, [mark, routine] {
        mark->set = true;
        routine();
    });
    // A choice that changed the text has run the routine already.
    QObject::connect(combo, &QComboBox::activated, context, [mark, routine] {
        if (std::exchange(mark->set, false))
            return;
        routine();
    });
}
