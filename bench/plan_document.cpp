// The distribution plan document of 1 000 and 10 000 claim rows (the template filled and the
// file written, the dialog answered and the opener replaced so that no program starts), beside
// the spreadsheet export of the same case.
#include "claims_case.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "casefund/plan_document.h"
#include "output/saved_file.h"
#include "output/spreadsheet_export.h"
#include "output/spreadsheet_files.h"
#include "timing.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace {

const int 次数 = 5;

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString dir = 加尾分隔符(tmp.path());
    设应用目录(dir);
    if (!QFile::copy(QStringLiteral(VARNEL_PLAN_TEMPLATE_FILE), dir + 方案模板文件名) ||
        !QFile::copy(QStringLiteral(VARNEL_TEMPLATE_FILE), dir + 模板文件名)) {
        std::fprintf(stderr, "no templates at %s\n", VARNEL_PLAN_TEMPLATE_FILE);
        return 1;
    }
    const QString out = dir + QStringLiteral("方案.docx");
    设文件名询问([&](QWidget *, const QString &) { return out; });
    文件打开器() = [](const QString &) { return true; };
    const QList<QStringList> payments{{"甲", "100000", "2024/3/1", ""}};
    std::printf("median of %d runs: the plan document (fill and write) and the spreadsheet "
                "export (fill and rename) of the same case\n", 次数);
    for (int rows : {1000, 10000}) {
        const auto grid = 债权表(rows);
        const QList<QStringList> claims = 数据行(*grid);
        const double document =
            中位毫秒(次数, [&] { 输出分配方案(nullptr, payments, claims, 说明(), QString()); });
        const double sheet = 中位毫秒(次数, [&] {
            清除残留表(dir);
            输出电子表格(*grid, 说明());
        });
        std::printf("claim rows %6d: document %8.2f ms (%lld KB), spreadsheet %8.2f ms\n", rows,
                    document, QFileInfo(out).size() / 1024, sheet);
    }
    return 0;
}
