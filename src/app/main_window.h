#pragma once

#include <QWidget>

class QPushButton;
class QLabel;

// The main window: the program's start-up window and the hub from which each calculator and
// the about window are opened.
class Fo工具主页 : public QWidget {
  public:
    Fo工具主页();
    // At start: offers back the unsaved case fund work that a Varnel no longer running left in
    // the application directory, one file at a time, oldest first; 是 opens the case fund
    // window with it, and the files after it wait for the next start.
    void 提供恢复();

    QPushButton *Command1 = nullptr; // 诉讼费计算
    QPushButton *Command4 = nullptr; // 案款分配计算
    QPushButton *Command2 = nullptr; // 刑期计算
    QPushButton *Command3 = nullptr; // 利息计算
    QPushButton *Command5 = nullptr; // 关于软件
    QLabel *Lab版本 = nullptr;
    QLabel *Label1 = nullptr;

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    void 建立控件();
    void 载入();
    void 打开(QWidget *window);
};
