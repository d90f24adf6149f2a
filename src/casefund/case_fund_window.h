#pragma once

#include "casefund/distribution.h"

#include <QMainWindow>

class FlexGrid;
class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

// The case fund distribution window: payments and claims typed straight into two tables, every
// committed change redistributing the money and rewriting the summary paragraph.
class Fo案款分配计算 : public QMainWindow {
  public:
    Fo案款分配计算();

    void 分配计算();
    // A grid cell as a literal of the archive's INSERT statements.
    QString 保存内容(const QString &原内容) const;
    // Fills both grids with the stored case `id` and recomputes its distribution.
    void 读出案件(int id);
    const QString &分配说明() const { return 说明; }
    int 当前案件号() const { return 案件号; }

    QLabel *Label2 = nullptr;
    QLabel *Label3[2] = {};
    FlexGrid *MSFjk = nullptr;
    FlexGrid *MSFzc = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *tEXTAK = nullptr;
    QLineEdit *Tefp = nullptr;
    QComboBox *Comzq = nullptr;
    QPushButton *Com清除 = nullptr;
    QPushButton *Com删除案件 = nullptr;
    QFrame *Pic原数据 = nullptr;
    FlexGrid *MSFysj = nullptr;
    QPushButton *Com确定 = nullptr;
    QPushButton *Comm取消 = nullptr;
    QAction *存入内容 = nullptr;
    QAction *读出内容 = nullptr;
    QAction *回到上页 = nullptr;
    QAction *输出到电子表格 = nullptr;
    QAction *打印分配结果 = nullptr;

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    // Layout and commands (case_fund_window.cpp).
    void 建立控件();
    void 建立菜单();
    void 建立原数据面板(QWidget *client);
    void 载入();
    void 清除();

    // Grid editing (grid_editing.cpp).
    void 连接编辑器();
    void 放置编辑器(QWidget *editor, const FlexGrid &grid, int row, int col, bool keepHeight);
    void 交款表单击();
    void 债权表单击();
    void 交款提交();
    void 债权提交();
    void 性质提交();
    bool 债权金额可接受(const QString &text) const;
    static void 设编辑器底色(QWidget *editor, bool accepted);
    static void 编辑器位置(QWidget *editor, const FlexGrid &grid, int row, int col,
                           bool keepHeight);

    // Editors on the keyboard and while the grids scroll (editor_keys.cpp).
    void 连接编辑器键盘();
    void 编辑器跟随();
    static void 跟随单元格(QWidget *editor, FlexGrid &grid, int row, int col, bool keepHeight);
    bool 编辑器按键(QWidget *editor, QKeyEvent *event);
    void 移到相邻格(FlexGrid &grid, int row, int col, bool forward);

    // The archive commands (src/archive/case_commands.cpp).
    void 连接案件命令();
    void 标明案件(const QString &name);
    void 存入();
    void 保存行(class 数据库连接 &connection, int id);
    void 列出();
    bool 载入列表案件();
    void 收起原数据面板();
    void 确定载入();
    void 单击载入();
    void 删除();

    short 交款编辑行 = 0, 交款编辑列 = 0;
    short 性质编辑行 = 0, 性质编辑列 = 0;
    short 债权编辑行 = 0, 债权编辑列 = 0;
    QString 说明;
    int 案件号 = 0;
};
