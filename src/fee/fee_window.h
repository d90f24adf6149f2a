#pragma once

#include "common/money.h"

#include <QMainWindow>

class QLabel;
class QLineEdit;
class QListWidget;
class QTimer;
class QFrame;

// The litigation fee calculator: the fee follows every click in the case-type list and every
// change of either amount box; non-numeric amounts are flagged by "数字输入错误" and two
// blinking "<<<" arrows that slide beside the amount boxes.
class Fo诉讼费计算 : public QMainWindow {
  public:
    Fo诉讼费计算();

    void 计算诉讼费();
    Money 民事受理费计算(const QString &caseType, const QString &amount, const QString &joint);
    void 行政受理费计算();
    void 执行费计算();
    void Timer1_Timer();

    QLabel *Label2 = nullptr;
    QFrame *Line1 = nullptr;
    QLabel *Label3[3] = {};
    QListWidget *List1 = nullptr;
    QLineEdit *Tex标的 = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *Te共同产 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *Te结果 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Lab错误指示[2] = {};
    QTimer *Timer1 = nullptr;
    QAction *回到上页 = nullptr;

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    void 建立控件();
    void 载入();
    void 类型单击();
    QString 选中类型() const;
    bool 显示共同产() const;

    bool 箭头右移 = false;
    short 闪烁计数 = 0;
};
