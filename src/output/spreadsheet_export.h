#pragma once

#include "output/page_model.h"
#include "output/sheet_xml.h"

#include <QString>
#include <vector>

class FlexGrid;

// The template of the export and the first row of its claims table, whose cells give the style
// of every table cell written.
inline const QString 模板文件名 = QStringLiteral("akfpb.xlsx");
constexpr int 表格首行 = 9;

// The cells the export writes: the summary into B5, the stored case's name (when there is one)
// into C3, and the data rows of the claims grid closed by the rule (the entry row left out, the
// totals row "合计" after the last claim, as on paper), each cell's text with trailing blanks
// removed, from row 9 down from column B. The amount columns (债权金额, 其中抵押优先金额,
// 分配金额) go in as numbers where their text is one, the totals too.
std::vector<写入格> 导出单元(const FlexGrid &claims, const QString &分配说明,
                            const QString &案件名 = QString(), const 合计规则 &规则 = {});

// The export of the case fund window: fills the first free numbered copy of the template in the
// application directory with the summary and the claims and opens it. A failure throws a
// VarnelError that names the file (or the folder, when all numbered names are taken).
void 输出电子表格(const FlexGrid &claims, const QString &分配说明,
                  const QString &案件名 = QString(), const 合计规则 &规则 = {});
