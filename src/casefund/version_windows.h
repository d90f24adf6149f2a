#pragma once

#include "archive/case_record.h"

#include <QWidget>

class FlexGrid;
class Fo案款分配计算;
class QLineEdit;
class QPushButton;

// The stored states of the case on the case fund window: the list, newest first (what is stored
// now, then each kept version), and the rows of the state chosen, read-only; 恢复这个版本 puts
// that state's rows into the window as unsaved content of the same case.
class Fo历史版本 : public QWidget {
  public:
    Fo历史版本(Fo案款分配计算 *window, std::int32_t id, const QString &name);

    FlexGrid *MSF版本 = nullptr;
    FlexGrid *MSF版本交款 = nullptr;
    FlexGrid *MSF版本债权 = nullptr;
    QPushButton *Com恢复版本 = nullptr;
    QPushButton *Com关闭 = nullptr;

  private:
    void 列出();
    void 显示(int row);
    void 恢复();

    Fo案款分配计算 *窗口;
    std::int32_t 案件号;
    // Of each data row of MSF版本: a kept version, or 0 for what is stored now.
    QList<qint64> 版本号;
    static constexpr qint64 无所选 = -1;
    案件行 所选行; // the rows of the state shown
    qint64 所选版本 = 无所选;
    int 所示行 = 0; // the row of MSF版本 whose state was read last
};

// The deleted cases, newest deletion first, with a filter box as the stored-case list has;
// 恢复这个案件 stores the case chosen again and loads it into the case fund window.
class Fo已删除案件 : public QWidget {
  public:
    explicit Fo已删除案件(Fo案款分配计算 *window);

    QLineEdit *Txt已删除筛选 = nullptr;
    FlexGrid *MSF已删除 = nullptr;
    QPushButton *Com恢复案件 = nullptr;
    QPushButton *Com关闭 = nullptr;

  private:
    void 列出();
    void 恢复();

    Fo案款分配计算 *窗口;
};
