#pragma once

#include <QString>

class FlexGrid;
class QLineEdit;

// The stored-case list of the archive panel: column 1 holds the names.

// Shows only the rows whose name contains `text`, letter case and full- or half-width forms
// ignored (all rows for an empty text), and makes the last row shown the current one, as after
// listing. Returns that grid row, 0 when no row is shown.
int 筛选案件列表(FlexGrid &list, const QString &text);

// The filter box above a list takes the clerk's typing; Down (or Page Down) in it goes on into
// the list, at the row that is highlighted there.
void 筛选框通到列表(QLineEdit &filter, FlexGrid &list);
