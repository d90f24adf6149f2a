#pragma once

#include "common/date_picker.h"
#include "common/grid_paste.h"
#include "sentence/custody_rules.h"

#include <QMainWindow>
#include <QSet>
#include <optional>

class QCalendarWidget;
class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The sentence term calculator: the term, the custody periods in a grid, the execution date,
// dates picked from a calendar panel; shows the end of the term and the custody deducted.
class Fo刑期计算 : public QMainWindow {
  public:
    Fo刑期计算();

    void 刷新结果();
    // The result as kept, lines joined by CR LF.
    const QString &结果文本() const { return 结果; }

    QLabel *Label2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label3[6] = {};
    QComboBox *Com刑期[3] = {};
    FlexGrid *MSF = nullptr;
    QLineEdit *Tex执行日期 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    // Under the result: where the term runs from, and the custody credited.
    QLabel *La刑期起算 = nullptr;
    QLabel *La折抵羁押 = nullptr;
    QFrame *Line1 = nullptr;
    选日面板 *Picture1 = nullptr;
    QCalendarWidget *MonthView1 = nullptr;
    QLineEdit *Tex日期 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command1 = nullptr;
    QAction *回到上页 = nullptr;

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    void 建立控件();
    void 建立选日面板(QWidget *client);
    void 载入();
    void 打开表格选日();
    void 打开执行日选日();
    void 关闭选日();
    void 收起选日面板();
    void 确认();
    QDate 选日起点() const;
    // Tab and Shift+Tab on the custody table and in the date box (custody_keys.cpp).
    void 连接表格Tab键();
    bool 表格Tab键(QKeyEvent *event);
    bool 选日框Tab键(QKeyEvent *event);
    QList<羁押行> 羁押表行() const;
    QDate 刑满日期() const;
    // The lines under the result (custody_lines.cpp).
    void 建立说明行(QWidget *client);
    void 刷新说明行();
    void 执行日期改完();
    QString 刑期文本(int i) const;

    // Copy, paste, Delete and undo of a paste on the custody table (custody_paste.cpp).
    void 连接表格命令();
    粘贴规则 羁押规则() const;
    void 标出颠倒期间();
    void 收起表格选日();
    void 记下释放被拒(int row, bool refused);
    void 羁押粘贴();
    void 羁押清除();
    void 撤销粘贴();

    QWidget *客户区 = nullptr;
    short 编辑对象 = 0;
    short 编辑行 = 0;
    short 编辑列 = 0;
    扣除数 扣除;
    // The last date confirmed in the picker, where a picker with no date of its own opens.
    std::optional<QDate> 上次日期;
    QString 结果;
    // The rows before the last paste, until a date is confirmed into the table or it is cleared.
    std::optional<粘贴前行> 上次粘贴;
    // The rows whose release date was refused (by the picker or a paste) and not entered since:
    // an open row among them was meant as a completed period. Kept with the last paste.
    QSet<int> 释放被拒行;
    QSet<int> 粘贴前释放被拒行;
};
