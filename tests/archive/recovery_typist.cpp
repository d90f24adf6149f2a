// A clerk typing payers' names into the case fund window, for the recovery test: one key at a
// time, until the test kills it. It says "written" once its recovery file holds some of it.
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    设应用目录(加尾分隔符(dir));
    恢复设置::间隔毫秒 = 50;
    Fo案款分配计算 w;
    w.show();
    w.findChild<FlexGrid *>(QStringLiteral("MSFjk"))->单击格(1, 0);
    auto *editor = w.findChild<QLineEdit *>(QStringLiteral("tEXTAK"));
    const QByteArray name = "Zhang San ";
    bool told = false;
    for (qsizetype i = 0;; ++i) {
        QTest::keyClick(editor, name[i % name.size()]);
        QTest::qWait(10);
        if (!told && !QDir(dir).entryList({QStringLiteral("varnel-恢复-*.json")}).isEmpty()) {
            std::puts("written");
            std::fflush(stdout);
            told = true;
        }
    }
}
