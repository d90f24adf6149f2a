// Blocks of cells in and out of the payments and claims tables: copy, paste from the office's
// spreadsheets, word processors and web pages, Delete on a block, and undo of the last paste.
// Every pasted cell passes the test that typing it would pass; the distribution is recomputed
// once after the whole block.
#include "casefund/case_fund_window.h"

#include "casefund/distribution.h"
#include "common/blank_row.h"
#include "common/grid_clipboard.h"
#include "common/message_box.h"
#include "common/number_text.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

QString 拒绝说明(bool refused, const QString &why, const QString &text) {
    return refused ? QStringLiteral("“%1”%2").arg(引述(text), why) : QString();
}

// A row named by its first column: "债权人“丁”", or nothing when that cell is blank.
std::function<QString(int)> 按首列命名(const FlexGrid &grid, const QString &who) {
    return [&grid, who](int row) {
        const QString name = 去尾空格(grid.TextMatrix(row, 0));
        return name.isEmpty() ? QString() : QStringLiteral("%1“%2”").arg(who, 引述(name));
    };
}

// A pasted nature stays free text, as a typed one does. Blanks around a class name go (a wage
// claim pasted as " 工资 " keeps its priority); a nature that is no class on a row that holds a
// claim is written and said, since the claim is distributed as a general claim.
QString 整理性质(const FlexGrid &claims, int row, QString &text) {
    if (分配类别名称().contains(text.trimmed())) {
        text = text.trimmed();
        return QString();
    }
    if (!单元已填(claims.TextMatrix(row, 0)) && !单元已填(claims.TextMatrix(row, 1)))
        return QString();
    return QStringLiteral("“%1”不是分配类别，按一般债权分配。").arg(引述(text));
}

} // namespace

void Fo案款分配计算::连接表格命令() {
    MSFjk->设块选({1});
    MSFzc->设块选({1, 3, 4});
    for (FlexGrid *grid : {MSFjk, MSFzc}) {
        grid->设粘贴([this, grid] { 捕获错误([&] { 表格粘贴(*grid); }); });
        grid->设清除([this, grid] { 捕获错误([&] { 表格清除(*grid); }); });
        grid->设撤销([this] { 捕获错误([this] { 撤销粘贴(); }); });
    }
}

粘贴规则 Fo案款分配计算::表格规则(const FlexGrid &grid) const {
    粘贴规则 rules;
    rules.末填列 = 末填列;
    if (&grid == MSFjk) {
        rules.行名 = 按首列命名(grid, QStringLiteral("交款人"));
        rules.检查 = [](int, int col, const QString &text, const 粘贴行 &) {
            const 拒绝 reason = 交款格检查(col, text);
            return 拒绝说明(reason != 拒绝::无,
                            reason == 拒绝::日期 ? QStringLiteral("不是日期")
                                                 : QStringLiteral("不是数字"),
                            text);
        };
        return rules;
    }
    // The allocated amount is the program's result.
    rules.跳过 = [](int col) { return col == 4; };
    rules.行名 = 按首列命名(grid, QStringLiteral("债权人"));
    rules.整理 = [&grid](int row, int col, QString &text) {
        return col == 2 ? 整理性质(grid, row, text) : QString();
    };
    rules.检查 = [this](int row, int col, const QString &text, const 粘贴行 &pasted) {
        return 债权粘贴检查(row, col, text, pasted);
    };
    return rules;
}

// The cells of a row are written from left to right, so the nature and the amount are in place
// when the priority amount is tested. The claim amount is compared with the priority amount
// that the row will hold: the pasted one when it will be written (empty, or a mortgage's
// priority not above the pasted amount), else the table's. A pasted priority above its pasted
// amount is thus refused alone; the amount stays.
QString Fo案款分配计算::债权粘贴检查(int row, int col, const QString &text,
                                     const 粘贴行 &pasted) const {
    if (col == 3 && 单元已填(text) && !是抵押(MSFzc->TextMatrix(row, 2)))
        return 拒绝说明(true, QStringLiteral("只能填在性质为“抵押”的债权上"), text);
    if (col != 1 && col != 3)
        return QString();
    QString other = MSFzc->TextMatrix(row, col == 1 ? 3 : 1);
    if (col == 1) {
        const QString nature = pasted.文本(2).value_or(MSFzc->TextMatrix(row, 2));
        const std::optional<QString> priority = pasted.文本(3);
        if (priority && (!单元已填(*priority) || (是数字(*priority) && 是抵押(nature) &&
                                                  债权金额检查(3, *priority, text) == 拒绝::无)))
            other = *priority;
    }
    const 拒绝 reason = 债权金额检查(col, text, other);
    if (reason == 拒绝::金额)
        return 拒绝说明(true, QStringLiteral("不是数字"), text);
    return 拒绝说明(
        reason == 拒绝::优先,
        col == 1 ? QStringLiteral("小于其中抵押优先金额") : QStringLiteral("大于债权金额"), text);
}

void Fo案款分配计算::收起编辑器(FlexGrid &grid) {
    if (&grid == MSFjk) {
        tEXTAK->hide();
    } else {
        Tefp->hide();
        Comzq->hide();
    }
    grid.setFocus(Qt::OtherFocusReason);
}

void Fo案款分配计算::表格粘贴(FlexGrid &grid) {
    if (const auto at = 粘贴位置(grid))
        粘贴到(grid, at->first, at->second, 剪贴板表格());
}

void Fo案款分配计算::粘贴到(FlexGrid &grid, int row, int col, const 表格块 &block) {
    if (block.isEmpty() || !可离开编辑器())
        return;
    收起编辑器(grid);
    const 粘贴结果 result = 粘贴块(grid, row, col, block, 表格规则(grid));
    粘贴撤销 undo{&grid, result.原样};
    try {
        分配计算();
    } catch (...) {
        上次粘贴 = std::move(undo);
        throw;
    }
    上次粘贴 = std::move(undo);
    const QString notice = 粘贴提示文本(result);
    if (!notice.isEmpty())
        消息框::提示(notice, 粘贴提示标题);
}

// Ctrl+V in an open editor: one cell goes into the editor as typed text; a block of more than
// one cell (or a cell with a line break, which no editor holds) puts the editor away and is
// pasted from the editor's cell. An empty clipboard is left to the editor.
bool Fo案款分配计算::编辑器粘贴(QWidget *editor) {
    const 表格块 block = 剪贴板表格();
    if (block.isEmpty())
        return false;
    const QString &first = block[0][0];
    if (单元格数(block) == 1 && !first.contains(u'\n') && !first.contains(u'\r')) {
        auto *box = editor == Comzq ? Comzq->lineEdit() : static_cast<QLineEdit *>(editor);
        box->insert(first);
        return true;
    }
    捕获错误([&] {
        if (editor == tEXTAK)
            粘贴到(*MSFjk, 交款编辑行, 交款编辑列, block);
        else if (editor == Comzq)
            粘贴到(*MSFzc, 性质编辑行, 2, block);
        else
            粘贴到(*MSFzc, 债权编辑行, 债权编辑列, block);
    });
    return true;
}

void Fo案款分配计算::表格清除(FlexGrid &grid) {
    const 格块 block = grid.选定块();
    if (block.空() || !可离开编辑器())
        return;
    收起编辑器(grid);
    清空块(grid, block, 表格规则(grid));
    分配计算();
}

void Fo案款分配计算::撤销粘贴() {
    // Putting back a refused editor's cell is a commit of its own: the paste is then forgotten.
    if (!上次粘贴 || !可离开编辑器() || !上次粘贴)
        return;
    const 粘贴撤销 undo = *上次粘贴;
    收起编辑器(*undo.表);
    恢复快照(*undo.表, undo.原样);
    分配计算();
}
