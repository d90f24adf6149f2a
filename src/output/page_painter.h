#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QSize>
#include <QStringList>

class QPainter;
class QPaintDevice;
class 打印页面;
struct 表格快照;

// Draws the page window's content: the title, the note, the table panel with its labels and
// lines, and the page number. The painter works in twips (the caller scales it to its device):
// the page window and the printer both draw the page through this one function.
void 画页面(QPainter &p, const 打印页面 &page);

// 宋体 at a point size for a painter in twips: a pixel size of points × 20. A point size would
// be converted with the device's resolution before the painter's scale and come out wrong.
QFont 页面字体(double points, bool bold = false);

// The note as it fits its box: word-wrapped at its own size, or smaller, down to 6 points; if it
// still does not fit, the last line that fits ends in "…". The lines hold no line breaks.
struct 注释排版 {
    int 像素 = 0; // pixel size of the font, twips
    QStringList 行;
    double 行距 = 0; // twips from one line's top to the next
};
注释排版 排注释(const QString &text, double points, QSize box, QPaintDevice *device);

// A cell's text starts 5 twips in from its left edge and wraps 40 twips before its right edge,
// clear of the column line; a grown row leaves 40 twips below its last line.
constexpr int 单元内边 = 5;
constexpr int 单元右留白 = 40;

// The lines of cells' texts in the page's font of one size: a text's own line breaks, then
// wrapped at word boundaries, or anywhere in a word wider than the column. The printer, the PDF
// file and the row heights all break the lines here.
class 单元排字 {
  public:
    单元排字(double points, bool bold);
    QStringList 折行(const QString &text, int columnWidth) const;
    double 行距() const { return 度量.lineSpacing(); }
    double 字高() const { return 度量.height(); }

  private:
    QFont 字体;
    QFontMetricsF 度量;
};

// Grows every row whose text wraps to the height of its lines (plus the label's 10 twips above
// and 40 below); rows whose texts fit keep their height. The heights before are kept in 原行高.
void 撑高各行(表格快照 &table, double points);
