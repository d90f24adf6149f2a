#include "output/spreadsheet_export.h"

#include "common/app_dir.h"
#include "common/grid.h"
#include "common/number_text.h"
#include "common/varnel_error.h"
#include "output/print_routine.h"
#include "output/saved_file.h"
#include "output/spreadsheet_files.h"
#include "output/xlsx_fill.h"

#include <QDir>

namespace {

constexpr int 说明行 = 5, 首列 = 2, 案件名行 = 3, 案件名列 = 3;

// Columns of the claims grid that hold amounts.
bool 是金额列(int col) {
    return col == 1 || col == 3 || col == 4;
}

} // namespace

std::vector<写入格> 导出单元(const FlexGrid &claims, const QString &分配说明,
                            const QString &案件名, const 合计规则 &规则) {
    std::vector<写入格> cells;
    if (!案件名.isEmpty())
        cells.push_back({案件名行, 案件名列, 案件名, std::nullopt});
    cells.push_back({说明行, 首列, 分配说明, std::nullopt});
    if (claims.Rows() - 1 + (表格首行 - 1) > 最大行 || claims.Cols() - 1 + 首列 > 最大列)
        溢出();
    const 表格快照 table = 整理打印表格(表格快照自(claims), 规则);
    const int rows = int(table.行.size());
    const int cols = claims.Cols();
    cells.reserve(size_t(rows) * size_t(cols) + 2);
    for (int i = 1; i < rows; ++i)
        for (int j = 0; j < cols; ++j) {
            QString text = 去尾空格(table.行[i].value(j));
            const std::optional<double> number = 是金额列(j) ? 数值(text) : std::nullopt;
            cells.push_back({i + 表格首行 - 1, j + 首列, std::move(text), number});
        }
    return cells;
}

void 输出电子表格(const FlexGrid &claims, const QString &分配说明, const QString &案件名,
                  const 合计规则 &规则) {
    const QString folder = 去尾空格(应用目录());
    const QString copy = 空闲表名(folder);
    if (copy.isEmpty())
        throw VarnelError(
            QStringLiteral("文件夹 %1 中已有 100 个案款分配表，不能再输出。请关闭这些表格，"
                           "再重新打开本窗口。")
                .arg(QDir::toNativeSeparators(QDir::cleanPath(folder))));
    填写副本(folder + 模板文件名, copy, 导出单元(claims, 分配说明, 案件名, 规则), 表格首行);
    记下副本(copy);
    打开输出文件(copy, QStringLiteral("电子表格程序"));
}
