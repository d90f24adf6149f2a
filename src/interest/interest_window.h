#pragma once

#include "common/money.h"
#include "common/table_editing.h"
#include "common/table_text.h"
#include "interest/interest_rules.h"

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

class FlexGrid;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class 选日面板;

// The interest calculator: the method, the principal, the period, the rate's multiple or the
// fixed rate and part payments in a table; every change recomputes the stretches of the period
// and the interest owed. A field the computation cannot take turns light red and empties the
// results; leaving it says why.
class Fo利息计算 : public QMainWindow {
  public:
    Fo利息计算();

    void 计算();
    const std::optional<计息结果> &结果() const { return 上次结果; }
    // The stretches and the results as a block of cells: the table of stretches with its
    // headings, a blank row, one row for each result, and the explanation.
    表格块 结果表格() const;

    // 放入案款分配 hands the interest owed and the start of the explanation to this routine, which
    // the main window sets: it puts them into the case fund window as a claim.
    std::function<void(const Money &金额, const QString &备注)> 放入案款分配回调;

    QLabel *Label2 = nullptr;
    QFrame *Line1 = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *Com计息方式 = nullptr;
    QLineEdit *Tex本金 = nullptr;
    QLabel *La起算日 = nullptr;
    QLineEdit *Tex起算日 = nullptr;
    QLineEdit *Tex截止日 = nullptr;
    QLineEdit *Tex倍数 = nullptr;
    QLineEdit *Tex年利率 = nullptr;
    QComboBox *Com年天数 = nullptr;
    QCheckBox *Chk分段 = nullptr;
    FlexGrid *MSF还款 = nullptr;
    格上文本框 *Tex还款 = nullptr; // the editor laid over a payment cell
    FlexGrid *MSF明细 = nullptr;
    QLineEdit *Te利息合计 = nullptr;
    QLineEdit *Te尚欠本金 = nullptr;
    QLineEdit *Te尚欠利息 = nullptr;
    QLineEdit *Te本息合计 = nullptr;
    QLabel *La计算说明 = nullptr;
    QLabel *La利率表截至 = nullptr;
    选日面板 *Picture1 = nullptr;
    QAction *回到上页 = nullptr;
    QAction *复制计算结果 = nullptr;
    QAction *打印计算结果 = nullptr;
    QAction *保存为PDF文件 = nullptr;
    QAction *放入案款分配 = nullptr;

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    // Layout (interest_window.cpp).
    void 建立控件();
    void 建立输入(QWidget *c);
    void 建立结果(QWidget *c);
    void 建立菜单();
    void 连接输入();
    void 载入();
    void 换方式();

    // Reading the fields and showing the computation (interest_input.cpp).
    std::optional<计息输入> 读输入(QList<int> &paymentRows);
    std::optional<QDate> 读日期框(QLineEdit *field, bool &blank);
    void 拒收(QWidget *field, const QString &why);
    void 标出规则拒绝(const 计息输入 &input, const 计息结果 &result, const QList<int> &paymentRows);
    void 显示结果(const 计息结果 &result);
    void 清空结果(const QString &why);
    void 说明拒绝(QWidget *field);
    void 告知利率文件错误(const QString &why);

    // Dates from the picker (interest_input.cpp).
    void 打开选日(QLineEdit *field);
    void 确认选日();
    void 关闭选日();

    // The payments table (payment_table.cpp).
    void 连接还款编辑();
    QList<部分还款> 还款表(QList<int> *rows) const;
    void 标出还款(int row, int col);

    // The commands (interest_commands.cpp).
    void 连接命令();
    void 复制结果();
    void 打印结果();
    void 保存PDF();
    void 放入分配();

    QWidget *客户区 = nullptr;
    std::optional<计息结果> 上次结果;
    // The fields refused by the last computation and why, told when the clerk leaves one.
    QHash<QWidget *, QString> 拒绝说明;
    QString 已告知利率文件错误;
    bool 告知中 = false; // a refusal's box is open
    QLineEdit *选日对象 = nullptr;
    std::unique_ptr<表格编辑> 编辑;
};
