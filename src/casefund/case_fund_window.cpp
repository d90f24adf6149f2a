#include "casefund/case_fund_window.h"

#include "casefund/case_tables.h"
#include "casefund/distribution.h"
#include "casefund/plan_document.h"
#include "common/app_dir.h"
#include "common/controls.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "common/number_text.h"
#include "common/twips.h"
#include "common/window_events.h"
#include "output/pdf_output.h"
#include "output/print_routine.h"
#include "output/spreadsheet_export.h"
#include "output/spreadsheet_files.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

namespace {

// The client area at the window's first size, in twips; the controls of the table sit at their
// places there, and the window may be made larger but not smaller.
constexpr int 原宽 = 8655, 原高 = 7095;

// The tables' columns at the window's first size, and those that take a wider window's room:
// the names and the amounts.
const QList<int> 交款列宽{1000, 960, 2000, 1500}, 交款伸展列{0, 1};
const QList<int> 债权列宽{1500, 960, 950, 1600, 960, 1700}, 债权伸展列{0, 1, 3, 4};

// The claims table on paper and in the workbook: the blank entry row, whose 分配金额 the
// distribution fills with "0", is left out, and a row "合计" sums 债权金额, 其中抵押优先金额 and
// 分配金额.
const 合计规则 分配表合计{4, {1, 3, 4}};

void 设列宽(FlexGrid *grid, const QList<int> &widths) {
    for (int c = 0; c < widths.size(); ++c)
        grid->setColWidth(c, widths[c]);
}

void 设表头(FlexGrid *grid, int rows, const QStringList &headers) {
    grid->setRows(rows);
    grid->setCols(int(headers.size()));
    for (int c = 0; c < headers.size(); ++c)
        grid->setTextMatrix(0, c, headers[c]);
}

} // namespace

Fo案款分配计算::Fo案款分配计算() {
    建立控件();
    捕获错误([this] { 载入(); });
}

void Fo案款分配计算::建立控件() {
    QWidget *c = 建立窗口(this, QStringLiteral("Fo案款分配计算"), 原宽, 原高);
    建立菜单();
    // A case of many claims needs more room than the first size gives: the window can be
    // enlarged and maximised, and the tables and the summary grow with it.
    c->setMinimumSize(像素(原宽), 像素(原高));
    c->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->setSizeConstraint(QLayout::SetMinimumSize);

    Label2 =
        新标签(c, QStringLiteral("Label2"), QStringLiteral("案款分配计算"), 3480, 240, 1710, 285);
    Label2->setFont(宋体(14.25));
    Label3[0] =
        新标签(c, QStringLiteral("Label3(0)"), QStringLiteral("已交案款"), 1560, 840, 1215, 255);
    MSFjk = 新控件<FlexGrid>(c, QStringLiteral("MSFjk"), 1560, 1080, 6615, 2175);
    Label3[1] =
        新标签(c, QStringLiteral("Label3(1)"), QStringLiteral("债权列表"), 480, 3360, 1215, 255);
    MSFzc = 新控件<FlexGrid>(c, QStringLiteral("MSFzc"), 480, 3600, 7695, 2175);
    Label4 = 新标签(c, QStringLiteral("Label4"), QStringLiteral("出错提示"), 480, 5880, 7695, 975);
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label4->setTextFormat(Qt::PlainText);

    tEXTAK = new 格上文本框(c);
    tEXTAK->setObjectName(QStringLiteral("tEXTAK"));
    Tefp = new 格上文本框(c);
    Tefp->setObjectName(QStringLiteral("Tefp"));
    Comzq = new 格上组合框(c);
    Comzq->setObjectName(QStringLiteral("Comzq"));
    设可编辑组合框(Comzq, 分配类别名称());
    for (QWidget *editor : {static_cast<QWidget *>(tEXTAK), static_cast<QWidget *>(Tefp),
                            static_cast<QWidget *>(Comzq)})
        editor->hide();

    Com清除 = 新按钮(c, QStringLiteral("Com清除"), QStringLiteral("清除内容"), 5760, 480, 975, 255);
    Com删除案件 = 新按钮(c, QStringLiteral("Com删除案件"), QStringLiteral("删除这个案件"), 6840,
                         480, 1215, 255);
    Com删除案件->hide();
    建立原数据面板(c);

    // Before every menu command the unsaved content is put in the recovery file: a command that
    // ends the program (a crash in a printer driver, say) then loses none of it.
    for (QAction *command : menuBar()->findChildren<QAction *>())
        connect(command, &QAction::triggered, this, [this] { 写恢复文件(); });
    connect(Com清除, &QPushButton::clicked, this, [this] {
        if (可离开编辑器() && 可丢下内容())
            捕获错误([this] { 清除(); });
    });
    connect(Comm取消, &QPushButton::clicked, this, [this] { 收起原数据面板(); });
    连接案件命令();
    connect(回到上页, &QAction::triggered, this, [this] { close(); });
    // The status line says where the output went.
    statusBar()->setObjectName(QStringLiteral("状态栏"));
    connect(打印分配结果, &QAction::triggered, this, [this] {
        if (!可离开编辑器())
            return;
        if (const auto sent =
                打印表格内容(*MSFzc, QStringLiteral("案款分配表"), 说明, 案件.名称, 分配表合计))
            statusBar()->showMessage(
                QStringLiteral("已送往打印机“%1”：%2页").arg(sent->打印机).arg(sent->页数));
    });
    connect(保存为PDF文件, &QAction::triggered, this, [this] {
        if (!可离开编辑器())
            return;
        const QString name =
            输出PDF文件(this, *MSFzc, QStringLiteral("案款分配表"), 说明, 案件.名称, 分配表合计);
        if (!name.isEmpty())
            statusBar()->showMessage(QStringLiteral("已保存：") + QDir::toNativeSeparators(name));
    });
    connect(输出分配方案, &QAction::triggered, this, [this] {
        if (!可离开编辑器())
            return;
        const 案件行 rows = 表中行();
        const QString name = ::输出分配方案(this, rows.交款, rows.债权, Label4->text(), 案件.名称);
        if (!name.isEmpty())
            statusBar()->showMessage(方案保存说明(name));
    });
    connect(输出到电子表格, &QAction::triggered, this, [this] {
        if (可离开编辑器())
            捕获错误([this] { 输出电子表格(*MSFzc, 分配说明(), 案件.名称, 分配表合计); });
    });
    连接编辑();
    连接未存内容();
}

void Fo案款分配计算::建立菜单() {
    QMenu *data = menuBar()->addMenu(QStringLiteral("数据保存"));
    data->setObjectName(QStringLiteral("数据保存"));
    存入内容 = 新命令(data, QStringLiteral("存入内容"));
    读出内容 = 新命令(data, QStringLiteral("读出内容"));
    历史版本 = 新命令(data, QStringLiteral("历史版本"));
    已删除的案件 = 新命令(data, QStringLiteral("已删除的案件"));
    回到上页 = 新命令(menuBar(), QStringLiteral("回到上页"));
    QMenu *output = menuBar()->addMenu(QStringLiteral("输出分配结果"));
    output->setObjectName(QStringLiteral("输出分配结果"));
    输出到电子表格 = 新命令(output, QStringLiteral("输出到电子表格"));
    打印分配结果 = 新命令(output, QStringLiteral("打印分配结果"));
    保存为PDF文件 = 新命令(output, QStringLiteral("保存为PDF文件"));
    输出分配方案 = 新命令(output, QStringLiteral("输出分配方案"));
}

void Fo案款分配计算::建立原数据面板(QWidget *c) {
    Pic原数据 = 新控件<QFrame>(c, QStringLiteral("Pic原数据"), 0, 0, 3135, 4695);
    Pic原数据->setFrameShape(QFrame::Box);
    设背景色(Pic原数据, 颜色(0x00E0E0E0));
    Txt案件筛选 = 新控件<QLineEdit>(Pic原数据, QStringLiteral("Txt案件筛选"), 240, 120, 2655, 330);
    Txt案件筛选->setPlaceholderText(QStringLiteral("输入名称中的字查找"));
    Txt案件筛选->setClearButtonEnabled(true);
    MSFysj = new FlexGrid(Pic原数据, 1, 1);
    MSFysj->setObjectName(QStringLiteral("MSFysj"));
    放置(MSFysj, 240, 540, 2655, 3555);
    Com确定 =
        新按钮(Pic原数据, QStringLiteral("Com确定"), QStringLiteral("确定"), 240, 4200, 1215, 375);
    Comm取消 = 新按钮(Pic原数据, QStringLiteral("Comm取消"), QStringLiteral("取消"), 1680, 4200,
                      1215, 375);
    Pic原数据->hide();
}

void Fo案款分配计算::载入() {
    清除残留表(应用目录());
    Label4->setText(QString());
    设表头(MSFjk, 2,
           {QStringLiteral("交款人"), QStringLiteral("金额"), QStringLiteral("交款时间"),
            QStringLiteral("备注")});
    设列宽(MSFjk, 交款列宽);
    设表头(MSFzc, 2,
           {QStringLiteral("债权人或案款项目"), QStringLiteral("债权金额"),
            QStringLiteral("债权性质"), QStringLiteral("其中抵押优先金额"),
            QStringLiteral("分配金额"), QStringLiteral("备注")});
    设列宽(MSFzc, 债权列宽);
    设表头(MSFysj, 1, {QString(), QStringLiteral("案件名称")});
    MSFysj->setColWidth(0, 0);
    MSFysj->setColWidth(1, 3000);
    案件.号 = 0;
    标明案件(QString());
    Pic原数据->hide();
    放置(Pic原数据, 0, 0, 缇宽(Pic原数据), 缇高(Pic原数据));
    从头输入();
}

// The clerk starts typing in the payments table's first cell, not on 清除内容 (where Enter
// would clear the tables).
void Fo案款分配计算::从头输入() {
    MSFjk->setCurrentCell(0, 0);
    MSFjk->setFocus(Qt::OtherFocusReason);
}

void Fo案款分配计算::清除() {
    案件.号 = 0;
    编辑->忘记粘贴();
    标明案件(QString());
    MSFjk->setRows(1);
    MSFzc->setRows(1);
    MSFjk->setRows(2);
    MSFzc->setRows(2);
    编辑->收起全部();
    说明.clear();
    Label4->setText(QString());
    Com删除案件->hide();
    案件.读出时行 = {};
    本程序恢复文件::实例().删();
    更新标题();
    从头输入();
}

void Fo案款分配计算::分配计算() {
    编辑->忘记粘贴();
    QStringList payments;
    for (int r = 1; r < MSFjk->Rows(); ++r)
        payments.append(MSFjk->TextMatrix(r, 1));
    QList<债权行> claims;
    for (int r = 1; r < MSFzc->Rows(); ++r)
        claims.append({MSFzc->TextMatrix(r, 1), MSFzc->TextMatrix(r, 2), MSFzc->TextMatrix(r, 3)});
    ::分配计算(
        payments, claims,
        [this](int row, const QString &text) {
            MSFzc->setRow(row + 1);
            MSFzc->setCol(4);
            MSFzc->setText(text);
        },
        [this](const QString &screen, const QString &kept) {
            Label4->setText(screen);
            说明 = kept;
        });
    安排恢复写入();
    更新标题();
}

// The room beyond the first size goes to the tables' widths, and there to their name and amount
// columns, and to the summary's; of the height, a quarter goes to the payments table and the
// rest to the claims table, which holds the longer list. Open editors stay on their cells.
void Fo案款分配计算::随窗口伸缩() {
    const QWidget *c = centralWidget();
    const int dw = std::max(0, 缇(c->width()) - 原宽);
    const int dh = std::max(0, 缇(c->height()) - 原高);
    const int payments = dh / 4;
    放置(MSFjk, 1560, 1080, 6615 + dw, 2175 + payments);
    放置(Label3[1], 480, 3360 + payments, 1215, 255);
    放置(MSFzc, 480, 3600 + payments, 7695 + dw, 2175 + dh - payments);
    放置(Label4, 480, 5880 + dh, 7695 + dw, 975);
    MSFjk->伸展列(交款伸展列, dw);
    MSFzc->伸展列(债权伸展列, dw);
    编辑->编辑器跟随();
}

void Fo案款分配计算::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    if (MSFzc)
        随窗口伸缩();
}

void Fo案款分配计算::closeEvent(QCloseEvent *event) {
    if (!可离开编辑器() || !可丢下内容()) {
        event->ignore();
        return;
    }
    本程序恢复文件::实例().删();
    捕获错误([] { 清除残留表(应用目录()); });
    event->accept();
    显示主窗口();
}

void Fo案款分配计算::连接编辑() {
    编辑 = std::make_unique<表格编辑>(this, [this] { 分配计算(); });
    编辑->加表(交款编辑表(*MSFjk, tEXTAK));
    编辑->加表(债权编辑表(*MSFzc, Tefp, Comzq));
    // The reading order of the window.
    setTabOrder(Com清除, Com删除案件);
    setTabOrder(Com删除案件, MSFjk);
    setTabOrder(MSFjk, MSFzc);
    setTabOrder(MSFysj, Com确定);
    setTabOrder(Com确定, Comm取消);
}

bool Fo案款分配计算::放入债权(const Money &amount, const QString &note) {
    if (!可离开编辑器())
        return false;
    QString last;
    for (int r = MSFzc->Rows() - 1; r >= 1 && last.isEmpty(); --r)
        last = 去尾空格(MSFzc->TextMatrix(r, 0));
    bool ok = false;
    const QString creditor =
        消息框::输入(QStringLiteral("请输入债权人"), QStringLiteral("放入案款分配"), &ok, last)
            .trimmed();
    if (!ok || creditor.isEmpty())
        return false;
    // Into the blank entry row at the bottom, as a paste: one recomputation, and Ctrl+Z in the
    // claims table takes the row out again.
    编辑->粘贴到(
        *MSFzc, MSFzc->Rows() - 1, 0,
        {{creditor, 金额文本(amount), QStringLiteral("一般债权"), QString(), QString(), note}});
    // Keys typed next go to the entry row below the new claim, which shows as the table's
    // current cell, not into a cell of the claim just added.
    MSFzc->setCurrentCell(MSFzc->Rows() - 1 - MSFzc->FixedRows(), 0);
    MSFzc->setFocus(Qt::OtherFocusReason);
    // The box may have been opened over the window the claim came from, which would otherwise
    // take the keys back when it closed.
    raise();
    activateWindow();
    return true;
}
