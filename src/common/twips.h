#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QWidget;

// Positions and sizes of the windows are kept in twips as written; 1 px = 15 twips
// (96 dpi logical pixels). This is the one place that converts.
int 像素(int twips);
int 缇(int pixels);
QRect 缇矩形(int left, int top, int width, int height);

// Places a control at a twips rectangle and remembers the twips on the control, so that
// positions that move in steps smaller than a pixel (the fee window's arrows) stay exact.
void 放置(QWidget *w, int left, int top, int width, int height);
void 移到左(QWidget *w, int left);
int 缇左(const QWidget *w);
int 缇上(const QWidget *w);
int 缇宽(const QWidget *w);
int 缇高(const QWidget *w);

// A colour written as the platform's &H00BBGGRR& value.
QColor 颜色(unsigned bgr);

// 宋体 at a point size. Where it is missing, AR PL UMing CN stands in: a Song face with 宋体's
// metrics (at 9 pt 12 px lines, Latin letters half the width of Chinese ones), for which the
// layouts in twips are made. The Noto CJK faces are the last resort.
QFont 宋体(double points);

// Foreground colour of a label or the face of a button.
void 设前景色(QWidget *w, QColor c);
void 设背景色(QWidget *w, QColor c);
QColor 前景色(const QWidget *w);
