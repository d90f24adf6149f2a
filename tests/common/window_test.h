#pragma once

#include "common/grid.h"

#include <QTest>

// Finds a control of a window by its name; a missing control ends the test program.
template <class T> T *child(QWidget *window, const char *name) {
    T *found = window->findChild<T *>(QString::fromUtf8(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// The texts of a grid's rows below its heading row, row by row.
inline QList<QStringList> gridRows(const FlexGrid *grid) {
    QList<QStringList> rows;
    for (int r = 1; r < grid->Rows(); ++r) {
        QStringList row;
        for (int k = 0; k < grid->Cols(); ++k)
            row << grid->TextMatrix(r, k);
        rows << row;
    }
    return rows;
}

// Clicks a grid cell where it is drawn, scrolling it into view first.
inline void clickGridCell(FlexGrid *grid, int row, int col) {
    if (row >= grid->FixedRows())
        grid->scrollTo(grid->model()->index(row - grid->FixedRows(), col));
    const auto [target, rect] = grid->格位置(row, col);
    QTest::mouseClick(target, Qt::LeftButton, {}, rect.center());
}
