// Pasting 10 000 claim rows into the claims table with Ctrl+V: reading the clipboard, testing
// and writing every cell, the blank-row rule and the one recomputation. The block comes as Calc
// puts it on the clipboard (tab-separated text beside an HTML table) and as an HTML table alone.
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "common/table_html.h"
#include "timing.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <cstdio>

namespace {

表格块 claimRows(int count) {
    const QStringList natures = {QStringLiteral("诉讼费用"), QStringLiteral("抵押"),
                                 QStringLiteral("工资"),     QStringLiteral("劳动保险"),
                                 QStringLiteral("税款"),     QStringLiteral("一般债权")};
    表格块 block;
    for (int r = 1; r <= count; ++r)
        block.append({QStringLiteral("债权人%1").arg(r), QString::number(100 + r * 7.13, 'f', 2),
                      natures[r % 6], r % 6 == 1 ? QString::number(50 + r) : QString(), QString(),
                      QStringLiteral("备注%1").arg(r)});
    return block;
}

// Milliseconds of one Ctrl+V on the first data cell of an empty claims table.
double pasteOnce(const QString &text, const QString &html) {
    Fo案款分配计算 w;
    w.show();
    w.MSFjk->setRows(3);
    w.MSFjk->setTextMatrix(1, 1, QStringLiteral("1000000"));
    auto *data = new QMimeData;
    if (!text.isEmpty())
        data->setText(text);
    data->setHtml(html);
    QGuiApplication::clipboard()->setMimeData(data);
    w.MSFzc->setCurrentCell(0, 0);
    QCoreApplication::processEvents();
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    const double ms = 毫秒([&] { QCoreApplication::sendEvent(w.MSFzc, &paste); });
    if (w.MSFzc->Rows() != 10002)
        std::fprintf(stderr, "the paste gave %d rows\n", w.MSFzc->Rows());
    return ms;
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    设应用目录(加尾分隔符(dir.path()));
    消息框::应答器 = [](消息框::框类, const QString &, const QString &) {
        return 消息框::框应答{};
    };
    const 表格块 block = claimRows(10000);
    const QString text = 表格文本(block), html = HTML表格(block, {});
    std::vector<double> calc, htmlOnly;
    for (int i = 0; i < 5; ++i) {
        calc.push_back(pasteOnce(text, html));
        htmlOnly.push_back(pasteOnce(QString(), html));
    }
    std::printf("paste 10000 claim rows, text beside HTML: %8.1f ms (median of 5; at most 300)\n",
                中位数(calc));
    std::printf("paste 10000 claim rows, HTML table only:  %8.1f ms (median of 5)\n",
                中位数(htmlOnly));
    return 0;
}
