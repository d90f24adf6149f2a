#pragma once

#include "common/table_text.h"

#include <functional>

class QMimeData;

// The block of cells on the clipboard. Tab-separated text is taken when the text holds a tab;
// otherwise an HTML table when there is one (a word processor's table puts its cells on
// separate lines of its text); otherwise the text, one cell per line.
表格块 剪贴板表格();
表格块 读剪贴内容(const QMimeData &data);

// Puts a block on the clipboard as tab-separated text and as an HTML table; see HTML表格 for
// number.
void 表格放入剪贴板(const 表格块 &block,
                    const std::function<QString(int row, int col)> &number = {});
