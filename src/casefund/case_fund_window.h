#pragma once

#include "casefund/case_on_screen.h"
#include "casefund/recovery_file.h"
#include "casefund/distribution.h"
#include "common/grid_paste.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <optional>

class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// The case fund distribution window: payments and claims typed straight into two tables, every
// committed change redistributing the money and rewriting the summary paragraph.
class Fo案款分配计算 : public QMainWindow {
  public:
    Fo案款分配计算();

    void 分配计算();
    // Fills both grids with the stored case `id`, named `name`, and recomputes its distribution;
    // false when the case could not be read whole or is no longer stored (the clerk is told so,
    // and the window stays exactly as it was).
    bool 读出案件(int id, const QString &name = QString());
    const QString &分配说明() const { return 说明; }
    // Before a click, a key or a command takes the clerk away from an editor whose text was
    // refused: asks whether to go back to it (false: nothing more happens) or to put back what
    // the cell held when the editor was opened (true: the action goes on).
    bool 可离开编辑器();
    int 当前案件号() const { return 案件.号; }

    // Unsaved work (unsaved_work.cpp). Whether the tables hold changes not stored: they differ
    // from the stored case's rows as loaded or last saved (from empty tables for none), the
    // distributed amounts, which are worked out, and rows that hold nothing aside.
    bool 有未存修改() const;
    // Before a command throws the tables' content away (close, 清除内容, a load): with changes
    // not stored, asks whether to save them first. false: the command stops.
    bool 可丢下内容();
    // The content of a recovery file becomes the window's: unsaved, of the same stored case.
    void 接过恢复内容(const 恢复内容 &content);
    恢复内容 当前恢复内容() const;
    // A kept version's rows become the tables' unsaved content of the case on screen; false
    // when the clerk kept the tables as they were.
    bool 放入版本(const 案件行 &rows);
    // Stores a deleted case again, under its name or a free one near it, and loads it; false
    // when nothing was stored.
    bool 恢复已删除案件(qint64 version, const QString &name);

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
    // Above the list: typing filters it to the names that contain the text.
    QLineEdit *Txt案件筛选 = nullptr;
    QPushButton *Com确定 = nullptr;
    QPushButton *Comm取消 = nullptr;
    QAction *存入内容 = nullptr;
    QAction *读出内容 = nullptr;
    QAction *历史版本 = nullptr;
    QAction *已删除的案件 = nullptr;
    QAction *回到上页 = nullptr;
    QAction *输出到电子表格 = nullptr;
    QAction *打印分配结果 = nullptr;
    QAction *保存为PDF文件 = nullptr;
    QAction *输出分配方案 = nullptr;

  protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    // Layout and commands (case_fund_window.cpp).
    void 建立控件();
    void 建立菜单();
    void 建立原数据面板(QWidget *client);
    void 随窗口伸缩();
    void 载入();
    void 清除();
    void 从头输入();

    // Grid editing (grid_editing.cpp).
    void 连接编辑器();
    void 放置编辑器(QWidget *editor, const FlexGrid &grid, int row, int col, bool keepHeight);
    void 交款表单击();
    void 债权表单击();
    void 交款提交();
    void 债权提交();
    void 性质提交();
    static constexpr int 末填列 = 3; // the blank-row rule looks at columns 0 to 3

    // Why an editor's text was refused; the editor is light red while it is not 无.
    enum class 拒绝 { 无, 金额, 日期, 优先 };
    struct 编辑记录 {
        QString 原文; // the cell's text when the editor was opened
        拒绝 原因 = 拒绝::无;
    };
    // The tests of a typed cell, which a pasted cell passes too: a payment amount must be a
    // number, a payment date a date; a claim amount (column 1) or priority amount (column 3)
    // must be a number, the priority not larger than the amount (other: the row's other one).
    static 拒绝 交款格检查(int col, const QString &text);
    static 拒绝 债权金额检查(int col, const QString &text, const QString &other);
    static void 设编辑器底色(QWidget *editor, bool accepted);
    static void 编辑器位置(QWidget *editor, const FlexGrid &grid, int row, int col,
                           bool keepHeight);

    // Refused entries and leaving their editors (entry_refusal.cpp).
    编辑记录 &记录(QLineEdit *editor) { return editor == tEXTAK ? 交款记录 : 债权记录; }
    void 开始编辑(QWidget *editor, const QString &cellText);
    void 设拒绝(QLineEdit *editor, 拒绝 reason);
    bool 待离开(QLineEdit *editor) const;
    void 回到编辑器(QLineEdit *editor);
    void 撤回编辑(QLineEdit *editor);
    void 滚出后询问();

    // Editors on the keyboard and while the grids scroll (editor_keys.cpp).
    void 连接编辑器键盘();
    void 编辑器跟随();
    static void 跟随单元格(QWidget *editor, FlexGrid &grid, int row, int col, bool keepHeight);
    bool 编辑器按键(QWidget *editor, QKeyEvent *event);
    void 移到相邻格(FlexGrid &grid, int row, int col, bool forward);

    // Copy, paste, clear and undo of a paste on the two tables (table_paste.cpp).
    void 连接表格命令();
    粘贴规则 表格规则(const FlexGrid &grid) const;
    QString 债权粘贴检查(int row, int col, const QString &text, const 粘贴行 &pasted) const;
    void 表格粘贴(FlexGrid &grid);
    void 粘贴到(FlexGrid &grid, int row, int col, const 表格块 &block);
    bool 编辑器粘贴(QWidget *editor);
    void 表格清除(FlexGrid &grid);
    void 撤销粘贴();
    void 收起编辑器(FlexGrid &grid);
    struct 粘贴撤销 {
        FlexGrid *表 = nullptr;
        粘贴前行 原样;
    };

    // The archive commands (case_commands.cpp), which call the archive (case_archive.h).
    void 连接案件命令();
    static void 填表(FlexGrid &grid, const QList<QStringList> &rows, int columns);
    void 标明案件(const QString &name);
    void 更新标题();
    bool 存入();
    bool 存入命令();
    void 忘记案件();
    void 列出();
    bool 载入列表案件();
    void 收起原数据面板();
    void 确定载入();
    void 删除();
    void 打开历史版本();
    void 打开已删除案件();

    // A COMMIT that got no answer (unknown_commit.cpp).
    void 核对不明的保存(std::int32_t id, const QString &name);
    void 核对不明的删除();

    // Unsaved work (unsaved_work.cpp).
    案件行 表中行() const;
    void 放入内容(const 案件行 &rows);
    void 连接未存内容();
    void 安排恢复写入();
    void 写恢复文件();
    QTimer *恢复计时 = nullptr;
    bool 恢复写入已告知 = false;

    short 交款编辑行 = 0, 交款编辑列 = 0;
    short 性质编辑行 = 0, 性质编辑列 = 0;
    short 债权编辑行 = 0, 债权编辑列 = 0;
    QString 说明;
    屏上案件 案件;
    // When the panel of stored cases was last put away.
    QElapsedTimer 面板收起时刻;
    编辑记录 交款记录, 债权记录;
    bool 询问中 = false, 滚出询问已排 = false;
    // The last paste, until a commit, a clear or a load (every recomputation but the paste's own).
    std::optional<粘贴撤销> 上次粘贴;
};
