#pragma once

#include "output/page_model.h"

#include <QMainWindow>
#include <QWidget>

class QMdiArea;

// The page window: shows one printed page, drawn from its content by 画页面 at the size it has
// on paper. The printing routine fills its layout grid and asks it for labels and lines.
class 打印For列表 : public QWidget {
  public:
    explicit 打印For列表(QWidget *parent = nullptr);

    void 新建标题(const QString &内容, int 左边距, int 上边距, int 宽, int 高);
    void 送到标题();
    void 标题清空();
    int 标签数() const { return 内容.标签数(); }
    int 线条数() const { return 内容.线条数(); }

    打印页面 &页面() { return 内容; }
    const 打印页面 &页面() const { return 内容; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    void 载入();

    打印页面 内容;
};

// The print container: a main window whose document area holds the page window.
class MDI打印 : public QMainWindow {
  public:
    MDI打印();

    // Makes the page window, shows it inside the area and makes it the active child.
    打印For列表 *显示页面窗口();
    QMdiArea *区域 = nullptr;
};
