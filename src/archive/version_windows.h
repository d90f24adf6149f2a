#pragma once

#include "archive/case_record.h"

#include <QWidget>

class FlexGrid;
class Fo案款分配计算;
class QLineEdit;
class QPushButton;

// The kept versions of the stored case on the case fund window: the list, newest first, and the
// rows of the version chosen, read-only; 恢复这个版本 puts that version's rows into the window as
// unsaved content of the same case.
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
    QList<qint64> 版本号; // of each data row of MSF版本
    案件行 所选行;        // the rows of the version shown
    qint64 所选版本 = 0;
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
