// The case fund window's full recomputation (reading both tables, writing the allocated amount
// of every claim row and both summary forms) for 50, 1 000 and 10 000 claim rows.
#include "casefund/case_fund_window.h"
#include "common/grid.h"
#include "timing.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void fill(Fo案款分配计算 &w, int claimRows) {
    const char *natures[] = {"诉讼费用", "抵押", "工资", "劳动保险", "税款", "一般债权"};
    w.MSFjk->setRows(12);
    for (int r = 1; r < 11; ++r)
        w.MSFjk->setTextMatrix(r, 1, QString::number(1000 * r + 0.25 * r));
    w.MSFzc->setRows(claimRows + 2);
    for (int r = 1; r <= claimRows; ++r) {
        w.MSFzc->setTextMatrix(r, 0, QStringLiteral("债权人%1").arg(r));
        w.MSFzc->setTextMatrix(r, 1, QString::number(100 + r * 7.13, 'f', 2));
        w.MSFzc->setTextMatrix(r, 2, QString::fromUtf8(natures[r % 6]));
        if (r % 6 == 1)
            w.MSFzc->setTextMatrix(r, 3, QString::number(50 + r));
    }
}

double msPerRun(int claimRows) {
    Fo案款分配计算 w;
    w.show();
    fill(w, claimRows);
    w.分配计算(); // warm-up: the cells of column 4 are made once
    QCoreApplication::processEvents();
    return 中位毫秒(15, [&] { w.分配计算(); });
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const double ms50 = msPerRun(50), ms1k = msPerRun(1000), ms10k = msPerRun(10000);
    std::printf("claim rows     50: %8.3f ms per run\n", ms50);
    std::printf("claim rows   1000: %8.3f ms per run\n", ms1k);
    std::printf("claim rows  10000: %8.3f ms per run\n", ms10k);
    std::printf("10000/1000 ratio: %.2f\n", ms10k / ms1k);
    return 0;
}
