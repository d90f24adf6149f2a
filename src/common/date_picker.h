#pragma once

#include <QFrame>
#include <functional>

class QCalendarWidget;
class QKeyEvent;
class QLineEdit;
class QPushButton;

// The date picker of the windows: a grey panel laid over the window's client area with a
// calendar, a date box and the buttons 确定 and 取消. A click in the calendar writes its date
// into the date box; Enter in the date box or on a calendar day confirms, Esc cancels, and each
// button acts as soon as it receives the focus. What confirming and cancelling do is the
// window's: it reads the date box, refuses or takes the date, and hides the panel.
class 选日面板 : public QFrame {
  public:
    static constexpr int 宽 = 4455;
    static constexpr int 高 = 2775;

    // The panel, hidden, centred on a client area of the given size in twips.
    选日面板(QWidget *client, int clientWidth, int clientHeight);

    // Shows the panel over the other controls with the date box holding `text` (kept as it is
    // when `text` is no date and `keepText` is set, else emptied) and the calendar on the date of
    // the text or else on `fallback`; the date box takes the focus with its text selected.
    void 打开(const QString &text, const QDate &fallback, bool keepText = false);
    void 选日框得焦点();

    std::function<void()> 确认;
    std::function<void()> 取消;
    // Keys of the date box other than Enter (Tab, say); true when the window used the key.
    std::function<bool(QKeyEvent *)> 日期框按键;

    QCalendarWidget *MonthView1 = nullptr;
    QLineEdit *Tex日期 = nullptr;
    QPushButton *Command2 = nullptr; // 确定
    QPushButton *Command1 = nullptr; // 取消
};
