#include "common/grid_clipboard.h"

#include "common/table_html.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

表格块 读剪贴内容(const QMimeData &data) {
    const QString text = data.hasText() ? data.text() : QString();
    if (!text.contains(u'\t') && data.hasHtml()) {
        表格块 block = 读HTML表格(data.html());
        if (!block.isEmpty())
            return block;
    }
    return 读表格文本(text);
}

表格块 剪贴板表格() {
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data ? 读剪贴内容(*data) : 表格块{};
}

void 表格放入剪贴板(const 表格块 &block, const std::function<QString(int row, int col)> &number) {
    auto *data = new QMimeData;
    data->setText(表格文本(block));
    data->setHtml(HTML表格(block, number));
    QGuiApplication::clipboard()->setMimeData(data);
}
