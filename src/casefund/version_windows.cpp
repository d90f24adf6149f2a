#include "casefund/version_windows.h"

#include "archive/case_archive.h"
#include "casefund/case_fund_window.h"
#include "casefund/case_list_filter.h"
#include "common/controls.h"
#include "common/grid.h"
#include "common/message_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A read-only table of the given columns (width in twips) with its header row only.
FlexGrid *新表(QWidget *parent, const QString &name, const QList<std::pair<QString, int>> &cols,
              int fixedCols = 0) {
    auto *grid = new FlexGrid(parent, 1, fixedCols);
    grid->setObjectName(name);
    grid->setRows(1);
    grid->setCols(int(cols.size()));
    for (int c = 0; c < cols.size(); ++c) {
        grid->setTextMatrix(0, c, cols[c].first);
        grid->setColWidth(c, cols[c].second);
    }
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return grid;
}

void 填行(FlexGrid &grid, const QList<QStringList> &rows) {
    grid.setRows(1 + int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int k = 0; k < rows[r].size() && k < grid.Cols(); ++k)
            grid.setTextMatrix(r + 1, k, rows[r][k]);
}

QWidget *窗口框(QWidget *w, const QString &name, const QString &title) {
    w->setObjectName(name);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setWindowFlag(Qt::Window);
    w->setWindowTitle(title);
    w->setFont(宋体(9));
    return w;
}

QPushButton *按钮(QWidget *parent, const QString &name, const QString &text) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    回车可按(b);
    return b;
}

// The command button and 关闭, at the bottom right.
void 按钮行(QVBoxLayout *layout, QPushButton *command, QPushButton *close) {
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(command);
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

} // namespace

Fo历史版本::Fo历史版本(Fo案款分配计算 *window, std::int32_t id, const QString &name)
    : QWidget(window), 窗口(window), 案件号(id) {
    窗口框(this, QStringLiteral("Fo历史版本"), QStringLiteral("历史版本 — ") + name);
    MSF版本 = 新表(this, QStringLiteral("MSF版本"),
                   {{QStringLiteral("保存时间"), 2000}, {QStringLiteral("办案人员"), 1200},
                    {QStringLiteral("操作"), 600}, {QStringLiteral("交款行数"), 900},
                    {QStringLiteral("债权行数"), 900}, {QStringLiteral("债权金额合计"), 1500}});
    MSF版本交款 = 新表(this, QStringLiteral("MSF版本交款"),
                       {{QStringLiteral("交款人"), 1500}, {QStringLiteral("金额"), 1200},
                        {QStringLiteral("交款时间"), 1500}, {QStringLiteral("备注"), 1500}});
    MSF版本债权 = 新表(this, QStringLiteral("MSF版本债权"),
                       {{QStringLiteral("债权人或案款项目"), 1500}, {QStringLiteral("债权金额"), 1200},
                        {QStringLiteral("债权性质"), 950}, {QStringLiteral("其中抵押优先金额"), 1600},
                        {QStringLiteral("分配金额"), 1200}, {QStringLiteral("备注"), 1500}});
    Com恢复版本 = 按钮(this, QStringLiteral("Com恢复版本"), QStringLiteral("恢复这个版本"));
    Com关闭 = 按钮(this, QStringLiteral("Com关闭"), QStringLiteral("关闭"));
    Com恢复版本->setEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(MSF版本, 2);
    layout->addWidget(new QLabel(QStringLiteral("这个版本的已交案款"), this));
    layout->addWidget(MSF版本交款, 2);
    layout->addWidget(new QLabel(QStringLiteral("这个版本的债权列表"), this));
    layout->addWidget(MSF版本债权, 3);
    按钮行(layout, Com恢复版本, Com关闭);
    resize(像素(9000), 像素(8000));

    MSF版本->设单击([this] { 显示(MSF版本->Row()); });
    connect(MSF版本, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previous, int) {
                if (row != previous)
                    显示(row + 1);
            });
    connect(Com恢复版本, &QPushButton::clicked, this, [this] { 恢复(); });
    connect(Com关闭, &QPushButton::clicked, this, &QWidget::close);
    捕获错误([this] { 列出(); });
}

void Fo历史版本::列出() {
    const QList<版本摘要> states = 读案件历史(案件号);
    QList<QStringList> rows;
    for (const 版本摘要 &v : states) {
        版本号 << v.版本;
        rows << QStringList{v.时间,
                            v.办案人员,
                            v.操作,
                            QString::number(v.交款行数),
                            QString::number(v.债权行数),
                            金额文本(v.债权金额合计)};
    }
    填行(*MSF版本, rows);
    if (!rows.isEmpty())
        MSF版本->单击格(1, 0);
}

// The rows of the state of grid row `row`, read when chosen. A read that fails shows no rows
// and leaves 恢复这个版本 off, so that it never puts back another state than the one chosen;
// choosing the row again (after another) reads it again.
void Fo历史版本::显示(int row) {
    if (row < 1 || row > 版本号.size() || row == 所示行)
        return;
    所示行 = row; // a click both moves to a row and clicks it: one read, one message
    所选版本 = 无所选;
    所选行 = {};
    捕获错误([&] {
        const qint64 version = 版本号[row - 1];
        所选行 = 读状态行(案件号, version);
        所选版本 = version;
    });
    填行(*MSF版本交款, 所选行.交款);
    填行(*MSF版本债权, 所选行.债权);
    Com恢复版本->setEnabled(所选版本 != 无所选);
}

void Fo历史版本::恢复() {
    if (所选版本 == 无所选)
        return;
    // The window may hold another case by now: a version of this one does not belong there.
    if (窗口->当前案件号() != 案件号) {
        消息框::提示(QStringLiteral("窗口中已经是另一个案件，这个版本不能放进去。"),
                     QStringLiteral("提示"));
        return;
    }
    if (窗口->放入版本(所选行))
        close();
}

Fo已删除案件::Fo已删除案件(Fo案款分配计算 *window) : QWidget(window), 窗口(window) {
    窗口框(this, QStringLiteral("Fo已删除案件"), QStringLiteral("已删除的案件"));
    Txt已删除筛选 = new QLineEdit(this);
    Txt已删除筛选->setObjectName(QStringLiteral("Txt已删除筛选"));
    Txt已删除筛选->setPlaceholderText(QStringLiteral("输入名称中的字查找"));
    Txt已删除筛选->setClearButtonEnabled(true);
    // Column 0, zero wide, holds the version the case was kept in.
    MSF已删除 = 新表(this, QStringLiteral("MSF已删除"),
                     {{QString(), 0}, {QStringLiteral("名称"), 4200},
                      {QStringLiteral("删除时间"), 2000}, {QStringLiteral("办案人员"), 1200},
                      {QStringLiteral("债权行数"), 900}},
                     1);
    Com恢复案件 = 按钮(this, QStringLiteral("Com恢复案件"), QStringLiteral("恢复这个案件"));
    Com关闭 = 按钮(this, QStringLiteral("Com关闭"), QStringLiteral("关闭"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Txt已删除筛选);
    layout->addWidget(MSF已删除, 1);
    按钮行(layout, Com恢复案件, Com关闭);
    resize(像素(9200), 像素(5000));

    connect(Txt已删除筛选, &QLineEdit::textChanged, this,
            [this](const QString &text) { 筛选案件列表(*MSF已删除, text); });
    connect(Txt已删除筛选, &QLineEdit::returnPressed, Com恢复案件, &QPushButton::click);
    筛选框通到列表(*Txt已删除筛选, *MSF已删除);
    connect(MSF已删除, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (row >= 0 && row + 1 < MSF已删除->Rows())
            MSF已删除->setRow(row + 1);
    });
    connect(Com恢复案件, &QPushButton::clicked, this, [this] { 恢复(); });
    connect(Com关闭, &QPushButton::clicked, this, &QWidget::close);
    捕获错误([this] { 列出(); });
    Txt已删除筛选->setFocus();
}

void Fo已删除案件::列出() {
    const QList<版本摘要> cases = 列出已删除案件();
    QList<QStringList> rows;
    for (const 版本摘要 &c : cases)
        rows << QStringList{QString::number(c.版本), c.名称, c.时间, c.办案人员,
                            QString::number(c.债权行数)};
    填行(*MSF已删除, rows);
    if (!rows.isEmpty())
        MSF已删除->setCurrentCell(0, 1);
}

void Fo已删除案件::恢复() {
    const int row = MSF已删除->Row();
    if (row < 1 || MSF已删除->isRowHidden(row - 1))
        return;
    if (窗口->恢复已删除案件(MSF已删除->TextMatrix(row, 0).toLongLong(),
                             MSF已删除->TextMatrix(row, 1)))
        close();
}
