// A refused entry is never left behind silently. Every keystroke in an editor commits, and a
// text the cell cannot take turns the editor light red while the cell keeps its last accepted
// text, which may be a shortened form of what was meant (85000 of "85000。50"). Before a click,
// a key, a scroll or a command takes the clerk away from such an editor, a box asks: 重试 goes
// back to the editor with its text selected; 取消 puts back what the cell held when the editor
// was opened and lets the action go on.
#include "casefund/case_fund_window.h"

#include "casefund/cell_editor.h"
#include "common/grid.h"
#include "common/message_box.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>

namespace {

const QString 出错标题 = QStringLiteral("输入出错提示");

} // namespace

void Fo案款分配计算::开始编辑(QWidget *editor, const QString &cellText) {
    if (editor != tEXTAK && editor != Tefp)
        return;
    auto *box = static_cast<QLineEdit *>(editor);
    记录(box) = {cellText, 拒绝::无};
    设编辑器底色(box, true);
}

void Fo案款分配计算::设拒绝(QLineEdit *editor, 拒绝 reason) {
    记录(editor).原因 = reason;
    设编辑器底色(editor, reason == 拒绝::无);
}

// An editor still over its cell (perhaps scrolled out of view) whose text was refused.
bool Fo案款分配计算::待离开(QLineEdit *editor) const {
    const 编辑记录 &r = editor == tEXTAK ? 交款记录 : 债权记录;
    if (r.原因 == 拒绝::无)
        return false;
    return !editor->isHidden() || static_cast<格上文本框 *>(editor)->滚出视野();
}

bool Fo案款分配计算::可离开编辑器() {
    for (QLineEdit *editor : {tEXTAK, Tefp}) {
        if (!待离开(editor))
            continue;
        // A second way out while the question is open (a scroll under the box) waits for it.
        if (询问中)
            return false;
        QString text;
        switch (记录(editor).原因) {
        case 拒绝::金额:
            text = QStringLiteral("输入的内容“%1”不是有效的金额。").arg(引述(editor->text()));
            break;
        case 拒绝::日期:
            text = QStringLiteral("输入的内容“%1”不是有效的日期。").arg(引述(editor->text()));
            break;
        default:
            text = QStringLiteral("其中抵押优先金额不能大于债权金额。");
        }
        询问中 = true;
        const bool retry = 消息框::重试取消(text, 出错标题);
        询问中 = false;
        if (retry) {
            回到编辑器(editor);
            return false;
        }
        撤回编辑(editor);
    }
    return true;
}

void Fo案款分配计算::回到编辑器(QLineEdit *editor) {
    const bool payments = editor == tEXTAK;
    FlexGrid &grid = payments ? *MSFjk : *MSFzc;
    const int row = payments ? 交款编辑行 : 债权编辑行;
    const int col = payments ? 交款编辑列 : 债权编辑列;
    grid.setRow(row);
    grid.setCol(col);
    if (!grid.格在视野内(row, col))
        grid.scrollTo(grid.model()->index(row - grid.FixedRows(), col));
    编辑器跟随();
    editor->show();
    editor->raise();
    editor->setFocus();
    editor->selectAll();
}

void Fo案款分配计算::撤回编辑(QLineEdit *editor) {
    const bool payments = editor == tEXTAK;
    FlexGrid &grid = payments ? *MSFjk : *MSFzc;
    const int row = payments ? 交款编辑行 : 债权编辑行;
    const int col = payments ? 交款编辑列 : 债权编辑列;
    const QString original = 记录(editor).原文;
    {
        const QSignalBlocker quiet(editor);
        editor->setText(original);
    }
    设拒绝(editor, 拒绝::无);
    if (row < 1 || row >= grid.Rows() || col >= grid.Cols())
        return;
    grid.setTextMatrix(row, col, original);
    保持末行空白(grid, row, 末填列);
    分配计算();
}

// A scroll has taken a refused editor out of view: the question comes once the scroll is done,
// not from inside it.
void Fo案款分配计算::滚出后询问() {
    const auto scrolledOut = [](QLineEdit *e) { return static_cast<格上文本框 *>(e)->滚出视野(); };
    const bool due = (待离开(tEXTAK) && scrolledOut(tEXTAK)) || (待离开(Tefp) && scrolledOut(Tefp));
    if (!due || 滚出询问已排)
        return;
    滚出询问已排 = true;
    QTimer::singleShot(0, this, [this, scrolledOut] {
        滚出询问已排 = false;
        if ((待离开(tEXTAK) && scrolledOut(tEXTAK)) || (待离开(Tefp) && scrolledOut(Tefp)))
            捕获错误([this] { 可离开编辑器(); });
    });
}
