#include "common/window_events.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <utility>

namespace {

QPointer<QWidget> &主窗口() {
    static QPointer<QWidget> w;
    return w;
}

class EventHook : public QObject {
  public:
    EventHook(QWidget *control, QEvent::Type type, std::function<void()> action)
        : QObject(control), type(type), action(std::move(action)) {
        control->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == type) {
            if (type == QEvent::MouseButtonRelease &&
                static_cast<QMouseEvent *>(e)->button() != Qt::LeftButton)
                return false;
            // Focus given back when a window is re-activated (after a message box closes) is
            // not the user moving the focus.
            if (type == QEvent::FocusIn) {
                const Qt::FocusReason why = static_cast<QFocusEvent *>(e)->reason();
                if (why == Qt::ActiveWindowFocusReason || why == Qt::PopupFocusReason)
                    return false;
            }
            action();
        }
        return false;
    }

  private:
    QEvent::Type type;
    std::function<void()> action;
};

class KeyHook : public QObject {
  public:
    KeyHook(QWidget *control, std::function<bool(QKeyEvent *)> handler)
        : QObject(control), handler(std::move(handler)) {
        control->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject *, QEvent *e) override {
        return e->type() == QEvent::KeyPress && handler(static_cast<QKeyEvent *>(e));
    }

  private:
    std::function<bool(QKeyEvent *)> handler;
};

class ClickSwallower : public QObject {
  public:
    ClickSwallower(QWidget *control, std::function<bool()> swallow)
        : QObject(control), swallow(std::move(swallow)) {
        control->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject *, QEvent *e) override {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            swallowing = swallow();
            return swallowing;
        case QEvent::MouseButtonRelease:
            return std::exchange(swallowing, false);
        default:
            return false;
        }
    }

  private:
    std::function<bool()> swallow;
    bool swallowing = false;
};

} // namespace

void 登记主窗口(QWidget *mainWindow) {
    主窗口() = mainWindow;
}

void 显示主窗口() {
    if (QWidget *w = 主窗口()) {
        w->show();
        // Back in front with the focus, so that the next keystroke reaches it.
        w->raise();
        w->activateWindow();
    }
}

void 连接单击(QWidget *control, std::function<void()> action) {
    new EventHook(control, QEvent::MouseButtonRelease, std::move(action));
}

void 连接隐藏(QWidget *control, std::function<void()> action) {
    new EventHook(control, QEvent::Hide, std::move(action));
}

void 连接得到焦点(QWidget *control, std::function<void()> action) {
    new EventHook(control, QEvent::FocusIn, std::move(action));
}

void 连接按键(QWidget *control, std::function<bool(QKeyEvent *)> handler) {
    new KeyHook(control, std::move(handler));
}

void 吞掉点击(QWidget *control, std::function<bool()> swallow) {
    new ClickSwallower(control, std::move(swallow));
}
