// The commands on the result: copy it as a table, print it or save it as PDF like the case fund
// window's distribution table, and hand the interest owed to the case fund window.
#include "interest/interest_window.h"

#include "common/grid.h"
#include "common/grid_clipboard.h"
#include "common/message_box.h"
#include "common/number_text.h"
#include "output/pdf_output.h"
#include "output/print_routine.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

namespace {

const QString 表标题 = QStringLiteral("利息计算表");
// How much of the explanation goes with the claim as its note.
constexpr int 备注字数 = 40;

// The amounts go to a spreadsheet as numbers: 计息本金 and 利息 of the stretches, and the results.
void 复制块(const 表格块 &block, int stretches) {
    表格放入剪贴板(block, [&](int row, int col) {
        const bool stretch = row >= 1 && row <= stretches && (col == 3 || col == 5);
        const bool result = row > stretches + 1 && row <= stretches + 5 && col == 1;
        const QString text = block.value(row).value(col);
        return (stretch || result) && 是数字(text) ? text : QString();
    });
}

} // namespace

void Fo利息计算::连接命令() {
    statusBar()->setObjectName(QStringLiteral("状态栏"));
    connect(复制计算结果, &QAction::triggered, this, [this] { 捕获错误([this] { 复制结果(); }); });
    connect(打印计算结果, &QAction::triggered, this, [this] { 打印结果(); });
    connect(保存为PDF文件, &QAction::triggered, this, [this] { 保存PDF(); });
    connect(放入案款分配, &QAction::triggered, this, [this] { 捕获错误([this] { 放入分配(); }); });
}

表格块 Fo利息计算::结果表格() const {
    表格块 block = 数据行(*MSF明细);
    QStringList headings;
    for (int col = 0; col < MSF明细->Cols(); ++col)
        headings << MSF明细->TextMatrix(0, col);
    block.prepend(headings);
    block.append(QStringList{});
    const std::pair<const char *, const QLineEdit *> results[] = {{"利息合计", Te利息合计},
                                                                  {"尚欠本金", Te尚欠本金},
                                                                  {"尚欠利息", Te尚欠利息},
                                                                  {"本息合计", Te本息合计}};
    for (const auto &[caption, box] : results)
        block.append({QString::fromUtf8(caption), box->text()});
    block.append({La计算说明->text()});
    return block;
}

void Fo利息计算::复制结果() {
    if (!上次结果 || !编辑->可离开编辑器())
        return;
    复制块(结果表格(), int(上次结果->明细.size()));
    statusBar()->showMessage(QStringLiteral("计算结果已复制"));
}

void Fo利息计算::打印结果() {
    if (!上次结果 || !编辑->可离开编辑器())
        return;
    if (const auto sent = 打印表格内容(*MSF明细, 表标题, La计算说明->text()))
        statusBar()->showMessage(
            QStringLiteral("已送往打印机“%1”：%2页").arg(sent->打印机).arg(sent->页数));
}

void Fo利息计算::保存PDF() {
    if (!上次结果 || !编辑->可离开编辑器())
        return;
    const QString name = 输出PDF文件(this, *MSF明细, 表标题, La计算说明->text(), QString());
    if (!name.isEmpty())
        statusBar()->showMessage(QStringLiteral("已保存：") + QDir::toNativeSeparators(name));
}

void Fo利息计算::放入分配() {
    if (!上次结果 || !放入案款分配回调 || !编辑->可离开编辑器())
        return;
    放入案款分配回调(上次结果->尚欠利息, La计算说明->text().left(备注字数));
}
