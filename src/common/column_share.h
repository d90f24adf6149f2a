#pragma once

#include <QList>

// The widths of a table's columns, in twips, when the table is `extra` twips wider than its
// designed width: the extra goes to the growing columns (indexes into `designed`) in proportion
// to their designed widths, in whole twips that add up to `extra` exactly; the other columns
// keep their designed widths. No extra (or a narrower table) gives the designed widths.
QList<int> 伸展列宽(const QList<int> &designed, const QList<int> &growing, int extra);
