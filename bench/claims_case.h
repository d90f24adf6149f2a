#pragma once

#include "common/grid.h"

#include <QString>
#include <memory>

// The case of the output benchmarks: a claims grid of the given number of claims, of every class,
// some with a priority amount or a remark, with its header row and the window's blank last row;
// and its summary.
inline std::unique_ptr<FlexGrid> 债权表(int rows) {
    const char *natures[] = {"诉讼费用", "抵押", "工资", "劳动保险", "税款", "一般债权"};
    auto g = std::make_unique<FlexGrid>(nullptr);
    g->setRows(rows + 2);
    g->setCols(6);
    for (int r = 1; r <= rows; ++r) {
        g->setTextMatrix(r, 0, QStringLiteral("债权人%1").arg(r));
        g->setTextMatrix(r, 1, QString::number(100 + r * 7.13, 'f', 2));
        g->setTextMatrix(r, 2, QString::fromUtf8(natures[r % 6]));
        if (r % 6 == 1)
            g->setTextMatrix(r, 3, QString::number(50 + r));
        g->setTextMatrix(r, 4, QString::number(40 + r * 3.07, 'f', 2));
        if (r % 4 == 0)
            g->setTextMatrix(
                r, 5,
                QStringLiteral("身份证号11010119900307%1").arg(r % 10000, 4, 10, QChar(u'0')));
    }
    return g;
}

inline QString 说明() {
    return QStringLiteral(
        "已交案款：100000元，债权总额：250000元（总比例40%）。\r\n分配案款中：诉讼费用"
        "2000元(100%)，抵押30000元(100%)，工资20000元(100%)，一般债权48000元(24%)");
}
