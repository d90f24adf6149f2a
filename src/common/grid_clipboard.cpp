#include "common/grid_clipboard.h"

#include "common/grid_paste.h"
#include "common/message_box.h"
#include "common/table_html.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>

namespace {

bool 同形(const 表格块 &a, const 表格块 &b) {
    return a.size() == b.size() &&
           std::equal(a.cbegin(), a.cend(), b.cbegin(),
                      [](const QStringList &x, const QStringList &y) { return x.size() == y.size(); });
}

} // namespace

表格块 读剪贴内容(const QMimeData &data, QString *refusal) {
    const QString text = data.hasText() ? data.text() : QString();
    const 表格块 plain = 读表格文本(text);
    if (text.contains(u'\t') || !data.hasHtml())
        return plain;
    QString refused;
    表格块 html = 读HTML表格(data.html(), &refused);
    // The text keeps blanks exactly as they were copied (a browser's rendering of the HTML
    // does not): when both give a block of the same shape, or the HTML no filled cell, the
    // text is pasted.
    if (!有填写单元格(html) || 同形(html, plain)) {
        if (!有填写单元格(plain) && refusal)
            *refusal = refused;
        return plain;
    }
    return html;
}

表格块 剪贴板表格() {
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return {};
    QString refusal;
    表格块 block = 读剪贴内容(*data, &refusal);
    if (!refusal.isEmpty())
        消息框::提示(refusal, 粘贴提示标题);
    return block;
}

void 表格放入剪贴板(const 表格块 &block, const std::function<QString(int row, int col)> &number) {
    auto *data = new QMimeData;
    data->setText(表格文本(block));
    data->setHtml(HTML表格(block, number));
    QGuiApplication::clipboard()->setMimeData(data);
}
