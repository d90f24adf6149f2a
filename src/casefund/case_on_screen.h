#pragma once

#include "archive/case_rows.h"

#include <QString>

// The stored case the case fund window holds: its number and name (0 and empty for none), and
// its rows as the window loaded or last saved them, which the next save or delete compares with
// what is stored and which the unsaved-changes rule compares with the tables.
struct 屏上案件 {
    int 号 = 0;
    QString 名称; // as the caption shows it
    案件行 读出时行;
};
