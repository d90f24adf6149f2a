#pragma once

#include "common/table_text.h"

#include <functional>

class QMimeData;

// The block of cells on the clipboard. Tab-separated text is taken when the text holds a tab;
// otherwise an HTML table when there is one that gives filled cells in another shape than the
// text (a word processor's table puts its cells on separate lines of its text); otherwise the
// text, one cell per line. A refused HTML table (too large) with nothing in the text gives an
// empty block and the reason in `refusal`; 剪贴板表格 tells the clerk in a 粘贴提示 box.
表格块 剪贴板表格();
表格块 读剪贴内容(const QMimeData &data, QString *refusal = nullptr);

// Puts a block on the clipboard as tab-separated text and as an HTML table; see HTML表格 for
// number.
void 表格放入剪贴板(const 表格块 &block,
                    const std::function<QString(int row, int col)> &number = {});
