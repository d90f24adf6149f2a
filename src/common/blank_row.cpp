#include "common/blank_row.h"

#include "common/number_text.h"

#include <algorithm>

int 末行变化(int rowCount, int editedRow, const std::function<bool(int)> &filled) {
    const int last = rowCount - 1;
    if (last >= 1 && filled(last))
        return +1;
    if (editedRow < last && rowCount > 2 && !filled(last - 1))
        return -1;
    return 0;
}

int 块后行数(int rowCount, const std::function<bool(int)> &empty,
             const std::function<bool(int)> &filled) {
    int n = std::max(rowCount, 2);
    while (n > 2 && empty(n - 1) && empty(n - 2))
        --n;
    if (filled(n - 1))
        ++n;
    return n;
}

bool 单元已填(const QString &text) {
    return !去尾空格(text).isEmpty();
}
