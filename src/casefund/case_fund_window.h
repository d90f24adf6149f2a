#pragma once

#include "casefund/case_on_screen.h"
#include "casefund/recovery_file.h"
#include "casefund/distribution.h"
#include "common/money.h"
#include "common/table_editing.h"

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
    bool 可离开编辑器() { return 编辑->可离开编辑器(); }
    // Adds a claim on 金额 with 备注 as a paste into the claims table's entry row, its creditor
    // asked in the input box (the last claim's creditor offered); Ctrl+Z in the table takes it
    // back. False when the clerk gave no creditor or the claim could not be added.
    bool 放入债权(const Money &amount, const QString &note);
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
    格上文本框 *tEXTAK = nullptr;
    格上文本框 *Tefp = nullptr;
    格上组合框 *Comzq = nullptr;
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

    // The two tables' editors, keys, refused entries, paste and its undo.
    void 连接编辑();
    std::unique_ptr<表格编辑> 编辑;
    QString 说明;
    屏上案件 案件;
    // When the panel of stored cases was last put away.
    QElapsedTimer 面板收起时刻;
};
