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

// Clicks a grid cell where it is drawn, scrolling it into view first.
inline void clickGridCell(FlexGrid *grid, int row, int col) {
    if (row >= grid->FixedRows())
        grid->scrollTo(grid->model()->index(row - grid->FixedRows(), col));
    const auto [target, rect] = grid->格位置(row, col);
    QTest::mouseClick(target, Qt::LeftButton, {}, rect.center());
}
