#pragma once

#include "common/table_editing.h"

// The case fund window's two tables as their editing sees them: which cells open an editor,
// the tests a typed or pasted cell passes, and how a row is named in a paste's message.
// Payments: 交款人, 金额 (a number), 交款时间 (a date), 备注. Claims: 债权人, 债权金额 (a
// number), 债权性质 (the list editor), 其中抵押优先金额 (a number, only on a mortgage claim,
// not larger than the claim), 分配金额 (the program's result), 备注.
编辑表 交款编辑表(FlexGrid &grid, 格上文本框 *editor);
编辑表 债权编辑表(FlexGrid &grid, 格上文本框 *editor, 格上组合框 *natures);
