#include "common/column_share.h"

QList<int> 伸展列宽(const QList<int> &designed, const QList<int> &growing, int extra) {
    QList<int> widths = designed;
    long long total = 0;
    for (int col : growing)
        total += designed.value(col);
    if (extra <= 0 || total <= 0)
        return widths;
    // Each column gets the growth of the running sum, so that the roundings never add up.
    long long before = 0, given = 0;
    for (int col : growing) {
        before += designed[col];
        const long long upTo = extra * before / total;
        widths[col] += int(upTo - given);
        given = upTo;
    }
    return widths;
}
