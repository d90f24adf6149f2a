#include "common/blank_row.h"

#include "common/number_text.h"

int 末行变化(int rowCount, int editedRow, const std::function<bool(int)> &filled) {
    const int last = rowCount - 1;
    if (last >= 1 && filled(last))
        return +1;
    if (editedRow < last && rowCount > 2 && !filled(last - 1))
        return -1;
    return 0;
}

bool 单元已填(const QString &text) {
    return !去尾空格(text).isEmpty();
}
