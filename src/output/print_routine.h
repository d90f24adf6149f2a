#pragma once

#include "output/page_model.h"

#include <functional>
#include <memory>
#include <optional>

class FlexGrid;
class QPrinter;

// Where printed pages go: by default the system's default printer, or nothing when there is
// none. Tests put a printer that writes a PDF file in its place; an empty source restores the
// default printer.
using 打印机来源 = std::function<std::unique_ptr<QPrinter>()>;
void 设打印机来源(打印机来源 source);
std::unique_ptr<QPrinter> 默认打印机();

inline const QString 无打印机说明 = QStringLiteral("没有可用的打印机，不能打印。");

// The texts, column widths and row heights of a grid, as they are printed.
表格快照 表格快照自(const FlexGrid &grid);

// Where a print job went: the printer's name and the number of pages.
struct 打印去向 {
    QString 打印机;
    int 页数 = 0;
};

// Prints the grid with the title, the note and the stored case's name on every page, closed by
// the rule (entry row left out, totals row), in column groups and blocks of up to 50 rows, as one print job without a dialog. The print windows show while
// it runs and close when the last page is printed; a failure is shown in a message box, leaves
// them open and returns nothing.
std::optional<打印去向> 打印表格内容(const FlexGrid &grid, const QString &标题, const QString &注释,
                                    const QString &案件名 = QString(),
                                    const 合计规则 &规则 = {});
