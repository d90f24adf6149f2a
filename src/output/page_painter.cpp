#include "output/page_painter.h"

#include "common/twips.h"
#include "output/page_model.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QTextLayout>
#include <cmath>
#include <optional>
#include <utility>

namespace {

constexpr int 最小像素 = 6 * 20;
constexpr int 缩小步长 = 5; // a quarter point
constexpr int 线宽 = 15;    // one screen pixel; 0.75 point on paper
constexpr int 标签加宽 = 50; // a cell's label is this much wider than its cell

// Line breaks of the note (CR LF as the summary keeps them) become breaks of the layout.
QString 统一换行(QString text) {
    text.replace(QStringLiteral("\r\n"), QChar(QChar::LineSeparator));
    text.replace(QLatin1Char('\r'), QChar(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar(QChar::LineSeparator));
    return text;
}

struct 折行结果 {
    QStringList 行;
    QList<int> 起点;
};

折行结果 折行(const QString &text, const QFont &font, double width, QPaintDevice *device) {
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    折行结果 result;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        QString piece = text.mid(line.textStart(), line.textLength());
        piece.remove(QChar(QChar::LineSeparator));
        result.行.append(piece);
        result.起点.append(line.textStart());
    }
    layout.endLayout();
    return result;
}

void 画文字(QPainter &p, const 页面文字 &label, int flags) {
    if (!label.可见 || label.标题.isEmpty())
        return;
    p.setFont(页面字体(label.字号, label.粗体));
    p.drawText(label.矩形, flags, label.标题);
}

void 画注释(QPainter &p, const 页面文字 &note) {
    if (!note.可见 || note.标题.isEmpty())
        return;
    const 注释排版 fitted = 排注释(note.标题, note.字号, note.矩形.size(), p.device());
    QFont font = 页面字体(note.字号, note.粗体);
    font.setPixelSize(fitted.像素);
    p.setFont(font);
    const double ascent = QFontMetricsF(font, p.device()).ascent();
    for (qsizetype i = 0; i < fitted.行.size(); ++i)
        p.drawText(QPointF(note.矩形.left(), note.矩形.top() + i * fitted.行距 + ascent),
                   fitted.行[i]);
}

// Where each label stops showing: the labels are opaque, as the panel's labels are, and a later
// label of the same row lies over the part of an earlier one that it covers (a label is 50 twips
// wider than its cell). So a text running past its cell is cut where the next column's label
// begins; cutting it there draws what painting every label white would, without the fills.
QList<int> 可见宽度(const QList<页面文字> &labels, const QRect &panel) {
    QList<int> widths(labels.size(), 0);
    QHash<int, QList<qsizetype>> rows; // by top edge, in the order the labels were made
    for (qsizetype i = 0; i < labels.size(); ++i)
        if (labels[i].可见)
            rows[labels[i].矩形.top()].append(i);
    for (const QList<qsizetype> &row : std::as_const(rows))
        for (qsizetype k = 0; k < row.size(); ++k) {
            const QRect shown = labels[row[k]].矩形 & panel;
            int right = shown.left() + shown.width();
            for (qsizetype later = k + 1; later < row.size(); ++later) {
                const QRect &cover = labels[row[later]].矩形;
                if (cover.left() > shown.left() && cover.left() < right && cover.width() > 0)
                    right = cover.left();
            }
            widths[row[k]] = std::max(0, right - shown.left());
        }
    return widths;
}

// The labels in the order they were made, each cut where later labels lie over it and at the
// panel's edge; then the lines (flat ends, so that they end at the panel's edge), the frame last,
// inside the panel's edge.
void 画表格(QPainter &p, const 打印页面 &page) {
    if (!page.Picnr可见)
        return;
    p.save();
    p.translate(page.Picnr.topLeft());
    const QRect panel(QPoint(0, 0), page.Picnr.size());
    const QList<int> widths = 可见宽度(page.La内容标题, panel);
    std::pair<double, bool> fontSet{-1, false};
    std::optional<单元排字> cells;
    for (qsizetype i = 0; i < page.La内容标题.size(); ++i) {
        const 页面文字 &label = page.La内容标题[i];
        QRect shown = label.矩形 & panel;
        shown.setWidth(widths[i]);
        if (!label.可见 || shown.isEmpty() || label.标题.isEmpty())
            continue;
        if (fontSet != std::pair(label.字号, label.粗体)) {
            fontSet = {label.字号, label.粗体};
            p.setFont(页面字体(label.字号, label.粗体));
            cells.emplace(label.字号, label.粗体);
        }
        // The text wraps inside its cell; the lines that do not fit the label are cut by its edge.
        // A label too low for two lines holds a text that fits its cell: the rows whose texts
        // wrap have grown.
        const bool oneLine = label.矩形.height() < cells->行距() + cells->字高();
        const QStringList lines = oneLine ? QStringList{label.标题}
                                          : cells->折行(label.标题, label.矩形.width() - 标签加宽);
        const double spacing = cells->行距();
        for (qsizetype k = 0; k < lines.size(); ++k) {
            const QRectF line = QRectF(shown.left(), shown.top() + k * spacing, shown.width(),
                                       spacing) & QRectF(shown);
            if (line.isEmpty())
                break;
            p.drawText(line, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, lines[k]);
        }
    }
    QPen pen = p.pen();
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    for (const 页面线条 &line : page.Linhx)
        if (line.可见)
            p.drawLine(line.线);
    p.restore();
    p.setBrush(Qt::NoBrush);
    const double inset = 线宽 / 2.0;
    p.drawRect(QRectF(page.Picnr).adjusted(inset, inset, -inset, -inset));
}

} // namespace

单元排字::单元排字(double points, bool bold)
    : 字体(页面字体(points, bold)), 度量(字体) {}

QStringList 单元排字::折行(const QString &text, int columnWidth) const {
    const double room = std::max(1, columnWidth - 单元内边 - 单元右留白);
    // Most cells hold one short line: bounded by their widest character or measured, without
    // laying the text out.
    const bool breaks = text.contains(u'\r') || text.contains(u'\n');
    if (!breaks && (text.size() * 度量.maxWidth() <= room || 度量.horizontalAdvance(text) <= room))
        return {text};
    return ::折行(统一换行(text), 字体, room, nullptr).行;
}

void 撑高各行(表格快照 &table, double points) {
    const 单元排字 cells(points, false);
    table.原行高 = table.行高;
    for (qsizetype r = 0; r < table.行.size(); ++r)
        for (qsizetype c = 0; c < table.行[r].size() && c < table.列宽.size(); ++c) {
            const QString &text = table.行[r][c];
            if (text.isEmpty() || table.列宽[c] <= 0)
                continue;
            const qsizetype n = cells.折行(text, table.列宽[c]).size();
            if (n < 2)
                continue;
            const int needed =
                int(std::ceil((n - 1) * cells.行距() + cells.字高())) + 10 + 单元右留白;
            table.行高[r] = std::max(table.行高[r], needed);
        }
}

QFont 页面字体(double points, bool bold) {
    QFont font = 宋体(points);
    font.setPixelSize(int(std::lround(points * 20)));
    font.setBold(bold);
    return font;
}

注释排版 排注释(const QString &text, double points, QSize box, QPaintDevice *device) {
    const QString flowing = 统一换行(text);
    注释排版 result;
    QFont font = 页面字体(points);
    for (int px = font.pixelSize();; px -= 缩小步长) {
        px = std::max(px, 最小像素);
        font.setPixelSize(px);
        const QFontMetricsF fm(font, device);
        const 折行结果 lines = 折行(flowing, font, box.width(), device);
        result = {px, lines.行, fm.lineSpacing()};
        const auto fits = [&](qsizetype n) {
            return n == 0 || (n - 1) * fm.lineSpacing() + fm.height() <= box.height();
        };
        if (fits(lines.行.size()))
            return result;
        if (px > 最小像素)
            continue;
        // At the smallest size: keep the lines that fit; the last of them ends in "…".
        qsizetype kept = 0;
        while (fits(kept + 1))
            ++kept;
        result.行 = lines.行.mid(0, kept);
        if (kept > 0) {
            QString rest = flowing.mid(lines.起点[kept - 1]);
            rest.replace(QChar(QChar::LineSeparator), QLatin1Char(' '));
            const QString ellipsis(QChar(0x2026));
            QString line = fm.elidedText(rest, Qt::ElideRight, box.width());
            if (!line.endsWith(ellipsis)) { // a short rest that came after a line break
                line = fm.elidedText(rest, Qt::ElideRight,
                                     box.width() - fm.horizontalAdvance(ellipsis));
                if (!line.endsWith(ellipsis))
                    line += ellipsis;
            }
            result.行[kept - 1] = line;
        }
        return result;
    }
}

void 画页面(QPainter &p, const 打印页面 &page) {
    p.save();
    QPen pen(Qt::black);
    pen.setWidth(线宽);
    p.setPen(pen);
    画文字(p, page.Lab标题名称, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine);
    画注释(p, page.La注释);
    画注释(p, page.La案件名称);
    画表格(p, page);
    画文字(p, page.La页数, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine);
    p.restore();
}
