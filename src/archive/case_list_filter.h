#pragma once

#include <QString>

class FlexGrid;

// The stored-case list of the archive panel: column 1 holds the names.

// Shows only the rows whose name contains `text`, letter case and full- or half-width forms
// ignored (all rows for an empty text), and makes the last row shown the current one, as after
// listing. Returns that grid row, 0 when no row is shown.
int 筛选案件列表(FlexGrid &list, const QString &text);

// From now on, a name too long for its column shows whole as a tooltip when pointed at.
void 设长名称提示(FlexGrid &list);
