#include "output/page_model.h"

#include "common/money.h"
#include "common/number_text.h"
#include "common/varnel_error.h"

namespace {

constexpr int 默认列宽 = 960;
constexpr int 默认行高 = 300;

// A column group: grid columns 首列 .. 首列 + 列数 - 1.
struct 列组 {
    int 首列;
    int 列数;
};

// Columns are added to the group one by one; the group is complete at the last column or when
// the next column would make it wider than the layout grid. A sum exactly equal to the width
// still fits; a single column wider than the page is a group of its own.
QList<列组> 分列组(const QList<int> &列宽) {
    QList<列组> groups;
    qint64 累计宽 = 0;
    int 列数 = 0;
    const qsizetype last = 列宽.size() - 1;
    for (qsizetype i = 0; i <= last; ++i) {
        ++列数;
        累计宽 += 列宽[i];
        const int next = i < last ? 列宽[i + 1] : 0;
        if (i == last || 页面尺寸::宽 < 累计宽 + next) {
            groups.append({int(i) - 列数 + 1, 列数});
            列数 = 0;
            累计宽 = 0;
        }
    }
    return groups;
}

qsizetype 行块数(qsizetype 行数) {
    return (行数 + 页面尺寸::每页行数 - 1) / 页面尺寸::每页行数;
}

// The blocks of rows of the pages: up to 50 rows each; rows grown for wrapped text end a block
// that would be higher than the table and than its rows before they grew. Each block is (first
// row, row count).
QList<std::pair<qsizetype, qsizetype>> 分行块(const QList<int> &行高, const QList<int> &原行高) {
    QList<std::pair<qsizetype, qsizetype>> blocks;
    qsizetype first = 0;
    qint64 height = 0, before = 0;
    for (qsizetype r = 0; r < 行高.size(); ++r) {
        const qsizetype count = r - first;
        const int was = r < 原行高.size() ? 原行高[r] : 行高[r];
        const qint64 grown = height + 行高[r];
        if (count > 0 && (count == 页面尺寸::每页行数 ||
                          (grown > 页面尺寸::表格高 && grown > before + was))) {
            blocks.append({first, count});
            first = r;
            height = before = 0;
        }
        height += 行高[r];
        before += was;
    }
    if (first < 行高.size())
        blocks.append({first, 行高.size() - first});
    return blocks;
}

// The row left out on paper: every cell blank but the computed one, which is blank or "0".
bool 是录入行(const QStringList &cells, int computed) {
    for (qsizetype c = 0; c < cells.size(); ++c) {
        const QString text = 去尾空格(cells[c]);
        if (!text.isEmpty() && !(c == computed && text == QStringLiteral("0")))
            return false;
    }
    return true;
}

// The cell copied to the layout grid: a cell that is blank after removing trailing blanks, or
// that lies in a zero-width column, prints empty; any other text is copied unchanged.
QString 打印文本(const 表格快照 &表格, int row, int col) {
    const QStringList &cells = 表格.行[row];
    if (col >= cells.size() || 表格.列宽[col] <= 0)
        return QString();
    const QString &text = cells[col];
    return 去尾空格(text).isEmpty() ? QString() : text;
}

} // namespace

void 布局表格::检查(int row, int col) const {
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols())
        throw VarnelError(QStringLiteral("下标越界"));
}

void 布局表格::setRows(int rows) {
    if (rows < 0)
        throw VarnelError(QStringLiteral("无效的行值"));
    行高.resize(rows, 默认行高);
    行起点.clear();
    格.resize(rows, QStringList());
    for (QStringList &row : 格)
        row.resize(Cols());
}

void 布局表格::setCols(int cols) {
    if (cols < 0)
        throw VarnelError(QStringLiteral("无效的列值"));
    列宽.resize(cols, 默认列宽);
    列起点.clear();
    for (QStringList &row : 格)
        row.resize(cols);
}

int 布局表格::ColWidth(int col) const {
    if (col < 0 || col >= Cols())
        throw VarnelError(QStringLiteral("下标越界"));
    return 列宽[col];
}

void 布局表格::setColWidth(int col, int twips) {
    ColWidth(col);
    列宽[col] = twips;
    列起点.clear();
}

int 布局表格::RowHeight(int row) const {
    if (row < 0 || row >= Rows())
        throw VarnelError(QStringLiteral("下标越界"));
    return 行高[row];
}

void 布局表格::setRowHeight(int row, int twips) {
    RowHeight(row);
    行高[row] = twips;
    行起点.clear();
}

int 布局表格::起点(const QList<int> &sizes, QList<int> &starts, int index) {
    if (starts.isEmpty())
        starts.append(0);
    while (starts.size() <= index)
        starts.append(starts.last() + sizes[starts.size() - 1]);
    return starts[index];
}

int 布局表格::ColPos(int col) const {
    ColWidth(col);
    return 起点(列宽, 列起点, col);
}

int 布局表格::RowPos(int row) const {
    RowHeight(row);
    return 起点(行高, 行起点, row);
}

QString 布局表格::TextMatrix(int row, int col) const {
    检查(row, col);
    return 格[row][col];
}

void 布局表格::setTextMatrix(int row, int col, const QString &text) {
    检查(row, col);
    格[row][col] = text;
}

打印页面::打印页面() {
    Lab标题名称 = {QString(), QRect(240, 240, 2895, 315), 12, true, true};
    La注释 = {QString(), QRect(3240, 120, 6495, 735), 9, false, true};
    La案件名称 = {QString(), QRect(240, 585, 2895, 345), 9, false, true};
    La页数 = {QString(), QRect(5640, 14342, 1500, 255), 9, false, true};
    Picnr = QRect(0, 页面尺寸::表格顶, 页面尺寸::宽, 页面尺寸::表格高);
    La内容标题.append({QString(), QRect(120, 120, 735, 255), 8.25, false, true});
    Linhx.append({QLine(), false});
    载入();
}

void 打印页面::载入() {
    定页面尺寸();
    标签计数 = 0;
    La内容标题[0].标题.clear();
    线条计数 = 0;
}

void 打印页面::定页面尺寸() {
    MSF列表.Left = 0;
    高 = 页面尺寸::高;
    宽 = 页面尺寸::宽;
    MSF列表.Width = 页面尺寸::宽;
    La页数.矩形.moveTop(页面尺寸::页数顶);
    MSF列表.Height = 高 - MSF列表.Top - 400;
}

void 打印页面::新建标题(const QString &内容, int 左边距, int 上边距, int 宽, int 高) {
    // More labels than the counter holds end the procedure quietly.
    if (标签计数 >= 页面尺寸::计数上限)
        return;
    ++标签计数;
    页面文字 label = La内容标题[0];
    label.标题 = 内容;
    label.矩形 = QRect(左边距 + 5, 上边距 + 10, 宽 + 50, 高 - 20);
    label.可见 = true;
    La内容标题.append(label);
}

void 打印页面::送到标题() {
    try {
        for (int c = 0; c < MSF列表.Cols(); ++c)
            for (int r = 0; r < MSF列表.Rows(); ++r)
                新建标题(MSF列表.TextMatrix(r, c), MSF列表.Left + MSF列表.ColPos(c),
                         MSF列表.RowPos(r), MSF列表.ColWidth(c), MSF列表.RowHeight(r));
    } catch (const VarnelError &) {
        return;
    }
    画表格线();
}

void 打印页面::标题清空() {
    La内容标题.resize(1);
    La内容标题[0].标题.clear();
    标签计数 = 0;
}

void 打印页面::画表格线() {
    Linhx.resize(1);
    线条计数 = 0;
    try {
        const int lastRow = MSF列表.Rows() - 1;
        const int lastCol = MSF列表.Cols() - 1;
        for (int i = 1; i <= lastRow; ++i) {
            if (线条计数 >= 页面尺寸::计数上限)
                return;
            ++线条计数;
            const int y = MSF列表.RowPos(i);
            Linhx.append({QLine(0, y, 0, y), true});
        }
        Picnr.setHeight(MSF列表.RowPos(lastRow) + MSF列表.RowHeight(lastRow));
        Picnr.moveTop(MSF列表.Top);
        Picnr.moveLeft(MSF列表.Left);
        Picnr.setWidth(MSF列表.ColPos(lastCol) + MSF列表.ColWidth(lastCol));
        for (qsizetype k = 1; k < Linhx.size(); ++k)
            Linhx[k].线.setP2(QPoint(Picnr.width(), Linhx[k].线.y2()));
        for (int j = 1; j <= lastCol; ++j) {
            if (线条计数 >= 页面尺寸::计数上限)
                return;
            ++线条计数;
            const int x = MSF列表.ColPos(j);
            Linhx.append({QLine(x, 0, x, Picnr.height()), true});
        }
    } catch (const VarnelError &) {
    }
}

void 检查打印限度(qsizetype 行数, const QList<int> &列宽) {
    const qsizetype blocks = 行块数(行数);
    const qsizetype pages = qsizetype(分列组(列宽).size()) * blocks;
    if (blocks > 页面尺寸::计数上限 || 列宽.size() - 1 > 页面尺寸::计数上限 ||
        pages > 页面尺寸::计数上限)
        溢出();
}

表格快照 整理打印表格(表格快照 table, const 合计规则 &rule) {
    if (rule.计算列 < 0 && rule.合计列.isEmpty())
        return table;
    QList<Money> sums(rule.合计列.size());
    for (qsizetype r = table.行.size() - 1; r >= 1; --r) {
        if (rule.计算列 >= 0 && 是录入行(table.行[r], rule.计算列)) {
            table.行.removeAt(r);
            table.行高.removeAt(r);
            if (r < table.原行高.size())
                table.原行高.removeAt(r);
            continue;
        }
        for (qsizetype k = 0; k < rule.合计列.size(); ++k)
            sums[k] += 文本金额(table.行[r].value(rule.合计列[k]));
    }
    if (rule.合计列.isEmpty() || table.行.isEmpty())
        return table;
    QStringList totals(table.列宽.size());
    if (!totals.isEmpty())
        totals[0] = QStringLiteral("合计");
    for (qsizetype k = 0; k < rule.合计列.size(); ++k)
        if (rule.合计列[k] < totals.size())
            totals[rule.合计列[k]] = 金额文本(比例到分(sums[k], 1, 1));
    table.行.append(totals);
    table.行高.append(table.行高.last());
    if (!table.原行高.isEmpty())
        table.原行高.append(table.原行高.last());
    return table;
}

QList<版面> 分页(const 表格快照 &表格) {
    const qsizetype rows = 表格.行高.size();
    检查打印限度(rows, 表格.列宽);
    const QList<列组> groups = 分列组(表格.列宽);
    const auto blocks = 分行块(表格.行高, 表格.原行高);
    if (qsizetype(groups.size()) * blocks.size() > 页面尺寸::计数上限)
        溢出();
    QList<版面> pages;
    for (const 列组 &group : groups) {
        for (const auto &[first, count] : blocks) {
            版面 page;
            page.页码 = int(pages.size()) + 1;
            page.首列 = group.首列;
            page.首行 = int(first);
            page.列宽 = 表格.列宽.mid(group.首列, group.列数);
            page.行高 = 表格.行高.mid(first, count);
            for (qsizetype r = first; r < first + count; ++r) {
                QStringList cells;
                cells.reserve(group.列数);
                for (int c = group.首列; c < group.首列 + group.列数; ++c)
                    cells.append(打印文本(表格, int(r), c));
                page.格.append(cells);
            }
            pages.append(page);
        }
    }
    return pages;
}

void 填入布局(布局表格 &grid, const 版面 &page) {
    grid.setRows(0);
    grid.setCols(int(page.列宽.size()));
    for (int c = 0; c < grid.Cols(); ++c)
        grid.setColWidth(c, page.列宽[c]);
    grid.setRows(int(page.行高.size()));
    for (int r = 0; r < grid.Rows(); ++r) {
        grid.setRowHeight(r, page.行高[r]);
        for (int c = 0; c < grid.Cols(); ++c)
            grid.setTextMatrix(r, c, page.格[r][c]);
    }
}

QString 页码文字(int 页码) {
    return QStringLiteral("第") + QString::number(页码) + QStringLiteral("页");
}
