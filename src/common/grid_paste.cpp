#include "common/grid_paste.h"

#include "common/message_box.h"
#include "common/varnel_error.h"

namespace {

constexpr int 最多列出 = 20;

粘贴前行 快照(const FlexGrid &grid, int fromRow) {
    粘贴前行 s{grid.Rows(), fromRow, {}};
    for (int r = fromRow; r < grid.Rows(); ++r) {
        QStringList row;
        for (int c = 0; c < grid.Cols(); ++c)
            row.append(grid.TextMatrix(r, c));
        s.行.append(row);
    }
    return s;
}

QString 测试(const 粘贴规则 &rules, int row, int col, const QString &text, const 粘贴行 &pasted) {
    try {
        return rules.检查 ? rules.检查(row, col, text, pasted) : QString();
    } catch (const VarnelError &e) {
        // A text the test cannot even read (an amount too large for money) is not written.
        return 粘贴拒绝(text, e.description());
    }
}

// "第3行（债权人“丁”）“债权性质”：", the start of a message line about a cell.
QString 格说明(const FlexGrid &grid, const 粘贴规则 &rules, int row, int col) {
    const QString name = rules.行名 ? rules.行名(row) : QString();
    return QStringLiteral("第%1行%2“%3”：")
        .arg(row)
        .arg(name.isEmpty() ? QString() : QStringLiteral("（%1）").arg(name),
             grid.TextMatrix(0, col));
}

} // namespace

void 恢复快照(FlexGrid &grid, const 粘贴前行 &snapshot) {
    grid.setRows(snapshot.行数);
    for (int i = 0; i < snapshot.行.size(); ++i)
        for (int c = 0; c < snapshot.行[i].size() && c < grid.Cols(); ++c)
            grid.setTextMatrix(snapshot.首行 + i, c, snapshot.行[i][c]);
}

粘贴结果 粘贴块(FlexGrid &grid, int row, int col, const 表格块 &block, const 粘贴规则 &rules) {
    粘贴结果 result;
    result.原样 = 快照(grid, row);
    const int width = grid.Cols() - col;
    if (row + block.size() > grid.Rows())
        grid.setRows(int(row + block.size()));
    for (int i = 0; i < block.size(); ++i) {
        const QStringList &cells = block[i];
        result.截去列 = std::max(result.截去列, int(cells.size()) - width);
        const 粘贴行 pasted(col, cells);
        for (int j = 0; j < cells.size() && j < width; ++j) {
            const int r = row + i, c = col + j;
            if (rules.跳过(c))
                continue;
            QString text = cells[j];
            const QString note = rules.整理 ? rules.整理(r, c, text) : QString();
            const QString why = 测试(rules, r, c, text, pasted);
            if (why.isEmpty())
                grid.setTextMatrix(r, c, text);
            if (!why.isEmpty() || !note.isEmpty())
                (why.isEmpty() ? result.提醒 : result.未粘贴)
                    .append(格说明(grid, rules, r, c) + (why.isEmpty() ? note : why));
        }
    }
    块后保持末行空白(grid, rules.末填列, rules.跳过);
    return result;
}

void 清空块(FlexGrid &grid, const 格块 &block, const 粘贴规则 &rules) {
    const int top = std::max(block.上, grid.FixedRows());
    for (int r = top; r <= block.下; ++r)
        for (int c = block.左; c <= block.右; ++c)
            if (!rules.跳过(c))
                grid.setTextMatrix(r, c, QString());
    if (top <= block.下)
        保持末行空白(grid, block.下, rules.末填列);
}

std::optional<std::pair<int, int>> 粘贴位置(const FlexGrid &grid) {
    const 格块 b = grid.选定块();
    if (b.空())
        return std::nullopt;
    return std::pair{std::max(b.上, grid.FixedRows()), b.左};
}

QString 粘贴提示文本(const 粘贴结果 &result) {
    QStringList lines;
    if (result.截去列 > 0)
        lines.append(QStringLiteral("粘贴的内容超出表格的最后一列，多出的%1列没有粘贴。")
                         .arg(result.截去列));
    lines.append(result.未粘贴.mid(0, 最多列出));
    if (result.未粘贴.size() > 最多列出)
        lines.append(
            QStringLiteral("另有%1个单元格没有粘贴。").arg(result.未粘贴.size() - 最多列出));
    lines.append(result.提醒.mid(0, 最多列出));
    if (result.提醒.size() > 最多列出)
        lines.append(
            QStringLiteral("另有%1个单元格的提示没有列出。").arg(result.提醒.size() - 最多列出));
    return lines.join(u'\n');
}

QString 粘贴拒绝(const QString &text, const QString &why) {
    return QStringLiteral("“%1”%2").arg(引述(text), why);
}
