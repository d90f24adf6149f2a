// Saves a large case over the stored case 1 through the case fund window, for the crash test:
// it loads case 1, fills the grids with rows tagged by its second argument, says "ready" and
// saves. The test kills it at a random moment of the save.
#include "box_answerer.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"

#include <QAction>
#include <QApplication>
#include <cstdio>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (argc < 4)
        return 2;
    设应用目录(加尾分隔符(QString::fromLocal8Bit(argv[1])));
    const QString tag = QString::fromLocal8Bit(argv[2]);
    const int claims = QString::fromLocal8Bit(argv[3]).toInt();
    auto *w = new Fo案款分配计算;
    w->读出案件(1);
    auto *payments = w->findChild<FlexGrid *>(QStringLiteral("MSFjk"));
    auto *claimGrid = w->findChild<FlexGrid *>(QStringLiteral("MSFzc"));
    // The rows, and the blank row the window keeps at the bottom.
    payments->setRows(102);
    for (int r = 1; r <= 100; ++r)
        payments->setTextMatrix(r, 0, tag + QStringLiteral("-交款-") + QString::number(r));
    payments->setTextMatrix(101, 0, QString());
    claimGrid->setRows(claims + 2);
    for (int r = 1; r <= claims; ++r)
        claimGrid->setTextMatrix(r, 0, tag + QStringLiteral("-债权-") + QString::number(r));
    claimGrid->setTextMatrix(claims + 1, 0, QString());
    std::puts("ready");
    std::fflush(stdout);
    BoxAnswerer answerer(QMessageBox::Yes);
    w->findChild<QAction *>(QStringLiteral("存入内容"))->trigger();
    const bool saved = answerer.texts.value(1) == QStringLiteral("保存成功！");
    std::puts(saved ? "saved" : "failed");
    std::fflush(stdout);
    delete w;
    return saved ? 0 : 1;
}
