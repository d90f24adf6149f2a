#pragma once

#include <QWidget>

class QPushButton;
class QLabel;

// The main window: the program's start-up window and the hub from which each calculator and
// the about window are opened.
class Fo工具主页 : public QWidget {
  public:
    Fo工具主页();

    QPushButton *Command1 = nullptr; // 诉讼费计算
    QPushButton *Command4 = nullptr; // 案款分配计算
    QPushButton *Command2 = nullptr; // 刑期计算
    QPushButton *Command5 = nullptr; // 关于软件
    QLabel *Lab版本 = nullptr;
    QLabel *Label1 = nullptr;

  private:
    void 建立控件();
    void 载入();
    void 打开(QWidget *window);
};
