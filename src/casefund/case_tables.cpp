#include "casefund/case_tables.h"

#include "casefund/distribution.h"
#include "common/blank_row.h"
#include "common/date_text.h"
#include "common/message_box.h"
#include "common/money.h"
#include "common/number_text.h"

namespace {

constexpr int 末填列 = 3; // the blank-row rule looks at columns 0 to 3

enum class 拒绝 { 无, 金额, 日期, 优先 };

拒绝 交款格检查(int col, const QString &text) {
    if (去尾空格(text).isEmpty())
        return 拒绝::无;
    if (col == 1 && !是数字(text))
        return 拒绝::金额;
    if (col == 2 && !是日期(text))
        return 拒绝::日期;
    return 拒绝::无;
}

// A claim amount (column 1) or priority amount (column 3) must be a number, the priority not
// larger than the amount (other: the row's other one), compared as money. A typed amount too
// large for money raises the overflow error.
拒绝 债权金额检查(int col, const QString &text, const QString &other) {
    if (去尾空格(text).isEmpty())
        return 拒绝::无;
    Money typed;
    if (!读金额(text, typed))
        return 拒绝::金额;
    Money otherAmount;
    if (!读金额(other, otherAmount))
        otherAmount = Money{};
    const Money amount = col == 1 ? typed : otherAmount;
    const Money priority = col == 1 ? otherAmount : typed;
    return priority <= amount ? 拒绝::无 : 拒绝::优先;
}

QString 问句(拒绝 reason, const QString &text) {
    switch (reason) {
    case 拒绝::无:
        return QString();
    case 拒绝::金额:
        return 非金额问句(text);
    case 拒绝::日期:
        return 非日期问句(text);
    case 拒绝::优先:
        break;
    }
    return QStringLiteral("其中抵押优先金额不能大于债权金额。");
}

QString 拒绝说明(bool refused, const QString &why, const QString &text) {
    return refused ? 粘贴拒绝(text, why) : QString();
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

// The cells of a row are written from left to right, so the nature and the amount are in place
// when the priority amount is tested. The claim amount is compared with the priority amount
// that the row will hold: the pasted one when it will be written (empty, or a mortgage's
// priority not above the pasted amount), else the table's. A pasted priority above its pasted
// amount is thus refused alone; the amount stays.
QString 债权粘贴检查(const FlexGrid &claims, int row, int col, const QString &text,
                     const 粘贴行 &pasted) {
    if (col == 3 && 单元已填(text) && !是抵押(claims.TextMatrix(row, 2)))
        return 拒绝说明(true, QStringLiteral("只能填在性质为“抵押”的债权上"), text);
    if (col != 1 && col != 3)
        return QString();
    QString other = claims.TextMatrix(row, col == 1 ? 3 : 1);
    if (col == 1) {
        const QString nature = pasted.文本(2).value_or(claims.TextMatrix(row, 2));
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

} // namespace

编辑表 交款编辑表(FlexGrid &grid, 格上文本框 *editor) {
    编辑表 t;
    t.表 = &grid;
    t.文本框 = editor;
    t.末填列 = 末填列;
    t.金额列 = {1};
    t.检查 = [](int, int col, const QString &text) { return 问句(交款格检查(col, text), text); };
    t.拒绝也提交 = true;
    t.规则 = [&grid] {
        粘贴规则 rules;
        rules.末填列 = 末填列;
        rules.行名 = 按首列命名(grid, QStringLiteral("交款人"));
        rules.检查 = [](int, int col, const QString &text, const 粘贴行 &) {
            const 拒绝 reason = 交款格检查(col, text);
            return 拒绝说明(reason != 拒绝::无,
                            reason == 拒绝::日期 ? QStringLiteral("不是日期")
                                                 : QStringLiteral("不是数字"),
                            text);
        };
        return rules;
    };
    return t;
}

编辑表 债权编辑表(FlexGrid &grid, 格上文本框 *editor, 格上组合框 *natures) {
    编辑表 t;
    t.表 = &grid;
    t.文本框 = editor;
    t.组合框 = natures;
    t.组合框列 = 2;
    t.末填列 = 末填列;
    t.金额列 = {1, 3, 4};
    // Not the allocated amount; the priority amount only on a mortgage claim.
    t.可编辑 = [&grid](int row, int col) {
        return col != 4 && (col != 3 || 是抵押(grid.TextMatrix(row, 2)));
    };
    t.检查 = [&grid](int row, int col, const QString &text) {
        if (col != 1 && col != 3)
            return QString();
        const QString other = grid.TextMatrix(row, col == 1 ? 3 : 1);
        return 问句(债权金额检查(col, text, other), text);
    };
    t.规则 = [&grid] {
        粘贴规则 rules;
        rules.末填列 = 末填列;
        // The allocated amount is the program's result.
        rules.跳过 = [](int col) { return col == 4; };
        rules.行名 = 按首列命名(grid, QStringLiteral("债权人"));
        rules.整理 = [&grid](int row, int col, QString &text) {
            return col == 2 ? 整理性质(grid, row, text) : QString();
        };
        rules.检查 = [&grid](int row, int col, const QString &text, const 粘贴行 &pasted) {
            return 债权粘贴检查(grid, row, col, text, pasted);
        };
        return rules;
    };
    return t;
}
