// Blocks of dates in and out of the custody table: copy, paste (each cell a date the picker
// would accept, or empty), Delete on a block, and undo of the last paste. The table's blank-row
// rule and the refresh of the result run once after the whole block.
#include "sentence/sentence_window.h"

#include "common/date_picker.h"
#include "common/date_text.h"
#include "common/grid_clipboard.h"
#include "common/message_box.h"
#include "common/number_text.h"

#include <QFrame>

void Fo刑期计算::连接表格命令() {
    MSF->设块选({});
    MSF->设粘贴([this] { 捕获错误([this] { 羁押粘贴(); }); });
    MSF->设清除([this] { 捕获错误([this] { 羁押清除(); }); });
    MSF->设撤销([this] { 捕获错误([this] { 撤销粘贴(); }); });
}

// A release date is compared with the detention date the row will hold (the pasted one, when it
// is a date, else the table's); a detention date with the table's release date when no release
// date is pasted beside it.
粘贴规则 Fo刑期计算::羁押规则() const {
    粘贴规则 rules;
    rules.末填列 = 1;
    rules.检查 = [this](int row, int col, const QString &text, const 粘贴行 &pasted) {
        if (去尾空格(text).isEmpty())
            return QString();
        if (!是日期(text))
            return QStringLiteral("“%1”不是日期").arg(引述(text));
        bool reversed;
        if (col == 1) {
            const QString pastedDetention = pasted.文本(0).value_or(QString());
            reversed =
                期间颠倒(是日期(pastedDetention) ? pastedDetention : MSF->TextMatrix(row, 0), text);
        } else {
            reversed = !pasted.文本(1) && 期间颠倒(text, MSF->TextMatrix(row, 1));
        }
        return reversed ? 期间颠倒说明 : QString();
    };
    return rules;
}

// A picker open on a cell of the table is closed first: what it would confirm may no longer be
// what the cell holds.
void Fo刑期计算::收起表格选日() {
    if (编辑对象 == 1 && Picture1->isVisible())
        关闭选日();
}

void Fo刑期计算::羁押粘贴() {
    const auto at = 粘贴位置(*MSF);
    const 表格块 block = 剪贴板表格();
    if (!at || block.isEmpty())
        return;
    收起表格选日();
    // A release date refused or taken is noted for the line of the start, as the picker's are.
    粘贴规则 rules = 羁押规则();
    const QSet<int> refusedBefore = 释放被拒行;
    rules.检查 = [this, check = rules.检查](int row, int col, const QString &text,
                                            const 粘贴行 &pasted) {
        const QString why = check(row, col, text, pasted);
        if (col == 1)
            记下释放被拒(row, !why.isEmpty());
        return why;
    };
    const 粘贴结果 result = 粘贴块(*MSF, at->first, at->second, block, rules);
    刷新结果();
    上次粘贴 = result.原样;
    粘贴前释放被拒行 = refusedBefore;
    const QString notice = 粘贴提示文本(result);
    if (!notice.isEmpty())
        消息框::提示(notice, 粘贴提示标题);
}

void Fo刑期计算::羁押清除() {
    const 格块 block = MSF->选定块();
    if (block.空())
        return;
    收起表格选日();
    清空块(*MSF, block, 羁押规则());
    if (block.右 >= 1)
        for (int r = block.上; r <= block.下; ++r)
            记下释放被拒(r, false);
    上次粘贴.reset();
    刷新结果();
}

void Fo刑期计算::撤销粘贴() {
    if (!上次粘贴)
        return;
    收起表格选日();
    恢复快照(*MSF, *上次粘贴);
    释放被拒行 = 粘贴前释放被拒行;
    上次粘贴.reset();
    刷新结果();
}
