#include "common/twips.h"

#include <QFontDatabase>
#include <QVariant>
#include <QWidget>
#include <cmath>

int 像素(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}
int 缇(int pixels) {
    return pixels * 15;
}

QRect 缇矩形(int left, int top, int width, int height) {
    return QRect(像素(left), 像素(top), 像素(width), 像素(height));
}

void 放置(QWidget *w, int left, int top, int width, int height) {
    w->setProperty("缇左", left);
    w->setProperty("缇上", top);
    w->setProperty("缇宽", width);
    w->setProperty("缇高", height);
    w->setGeometry(缇矩形(left, top, width, height));
}

void 移到左(QWidget *w, int left) {
    放置(w, left, 缇上(w), 缇宽(w), 缇高(w));
}

namespace {
int twipsOf(const QWidget *w, const char *name, int pixels) {
    const QVariant v = w->property(name);
    return v.isValid() ? v.toInt() : 缇(pixels);
}
} // namespace

int 缇左(const QWidget *w) {
    return twipsOf(w, "缇左", w->x());
}
int 缇上(const QWidget *w) {
    return twipsOf(w, "缇上", w->y());
}
int 缇宽(const QWidget *w) {
    return twipsOf(w, "缇宽", w->width());
}
int 缇高(const QWidget *w) {
    return twipsOf(w, "缇高", w->height());
}

QColor 颜色(unsigned bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QFont 宋体(double points) {
    static const QString family = [] {
        for (const char *name :
             {"宋体", "SimSun", "AR PL UMing CN", "Noto Sans Mono CJK SC", "Noto Sans CJK SC"})
            if (QFontDatabase::hasFamily(QString::fromUtf8(name)))
                return QString::fromUtf8(name);
        return QString();
    }();
    QFont f;
    if (!family.isEmpty())
        f.setFamily(family);
    f.setPointSizeF(points);
    // Widths as the layouts expect them from FreeType too (the offscreen platform on Windows
    // hints fully by default, which widens some half-width glyphs by a pixel).
    f.setHintingPreference(QFont::PreferVerticalHinting);
    return f;
}

void 设前景色(QWidget *w, QColor c) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, c);
    p.setColor(QPalette::Text, c);
    w->setPalette(p);
}

void 设背景色(QWidget *w, QColor c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Base, c);
    p.setColor(QPalette::Button, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QColor 前景色(const QWidget *w) {
    return w->palette().color(QPalette::WindowText);
}
