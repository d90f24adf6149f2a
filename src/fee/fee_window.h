#pragma once

#include "common/money.h"

#include <QMainWindow>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTimer;
class QFrame;

// The litigation fee calculator: the fee follows every click in the case-type list and every
// change of either amount box; non-numeric amounts are flagged by "数字输入错误" and two
// blinking "<<<" arrows that slide beside the amount boxes. Com收费标准 chooses the schedule:
// the 1989 rules (whole yuan) or the 2007 measures (to the fen, ranges, halving by Chk减半,
// the articles named under the result).
class Fo诉讼费计算 : public QMainWindow {
  public:
    Fo诉讼费计算();

    void 计算诉讼费();
    Money 民事受理费计算(const QString &caseType, const QString &amount, const QString &joint);
    void 行政受理费计算();
    void 执行费计算();
    void 交纳办法计算();
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
    QComboBox *Com收费标准 = nullptr;
    QCheckBox *Chk减半 = nullptr;
    QLabel *Lab依据 = nullptr;
    QTimer *Timer1 = nullptr;
    QAction *回到上页 = nullptr;

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    static constexpr int 客户宽 = 6840;
    static constexpr int 客户高 = 5160;

    void 建立控件();
    void 建立标准控件(QWidget *client);
    void 载入();
    void 类型单击();
    QString 选中类型() const;
    bool 显示共同产() const;
    bool 按2007() const;
    void 换标准();
    void 填类型列表();
    void 更新标的与减半();
    void 设共同产行(bool shown);

    bool 箭头右移 = false;
    short 闪烁计数 = 0;
};
