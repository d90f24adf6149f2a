// The spreadsheet export of 1 000 and 10 000 claim rows (fill a numbered copy of the template,
// the opener replaced so that no program starts), and in the same run the same cells written
// into the same template by openpyxl, with the ratio ours/openpyxl.
#include "claims_case.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "output/spreadsheet_export.h"
#include "output/saved_file.h"
#include "output/spreadsheet_files.h"
#include "timing.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const int 次数 = 5;

double 我们的(const FlexGrid &grid, const QString &dir) {
    std::vector<double> runs;
    for (int i = 0; i < 次数; ++i) {
        清除残留表(dir);
        runs.push_back(毫秒([&] { 输出电子表格(grid, 说明()); }));
    }
    return 中位数(runs);
}

QString 转义(QString text) {
    return text.replace(u'\t', QStringLiteral("\\t"))
        .replace(u'\r', QStringLiteral("\\r"))
        .replace(u'\n', QStringLiteral("\\n"));
}

double openpyxl的(const FlexGrid &grid, const QString &dir) {
    const QString cellsFile = dir + QStringLiteral("cells.tsv");
    QFile f(cellsFile);
    if (!f.open(QIODevice::WriteOnly))
        return -1;
    QTextStream out(&f);
    for (const 写入格 &c : 导出单元(grid, 说明()))
        out << c.行 << '\t' << c.列 << '\t' << (c.数 ? "n\t" : "s\t")
            << (c.数 ? QString::number(*c.数, 'g', 17) : 转义(c.文本)) << '\n';
    out.flush();
    f.close();
    QProcess p;
    p.start(QStringLiteral(VARNEL_PYTHON3),
            {QStringLiteral(BENCH_DIR "/export_openpyxl.py"), dir + 模板文件名,
             dir + QStringLiteral("openpyxl.xlsx"), cellsFile, QString::number(次数)});
    if (!p.waitForFinished(-1) || p.exitCode() != 0) {
        std::fprintf(stderr, "openpyxl failed: %s\n", p.readAllStandardError().constData());
        return -1;
    }
    return p.readAllStandardOutput().trimmed().toDouble();
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString dir = 加尾分隔符(tmp.path());
    设应用目录(dir);
    if (!QFile::copy(QStringLiteral(VARNEL_TEMPLATE_FILE), dir + 模板文件名)) {
        std::fprintf(stderr, "no template at %s\n", VARNEL_TEMPLATE_FILE);
        return 1;
    }
    文件打开器() = [](const QString &) { return true; };
    std::printf("median of %d runs: ours (fill and rename) vs openpyxl (load, fill, save)\n", 次数);
    for (int rows : {1000, 10000}) {
        const auto grid = 债权表(rows);
        const double ours = 我们的(*grid, dir);
        const double theirs = openpyxl的(*grid, dir);
        std::printf("claim rows %6d: ours %9.2f ms, openpyxl %9.2f ms, ours/openpyxl %.3f\n", rows,
                    ours, theirs, theirs > 0 ? ours / theirs : 0.0);
    }
    return 0;
}
