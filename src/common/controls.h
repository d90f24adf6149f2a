#pragma once

#include "common/twips.h"

#include <QLabel>
#include <QPushButton>
#include <functional>

class QMainWindow;
class QMenu;
class QMenuBar;

// A control of a window, named and placed at its rectangle in twips.
template <class W> W *新控件(QWidget *parent, const QString &name, int l, int t, int w, int h) {
    auto *c = new W(parent);
    c->setObjectName(name);
    放置(c, l, t, w, h);
    return c;
}

// A label keeps its clicks: they do not fall through to the window under it. Where another face
// stands in for 宋体 and draws its text larger than the label's twips box, the label grows to
// hold it (see 容下文字).
QLabel *新标签(QWidget *parent, const QString &name, const QString &text, int l, int t, int w,
               int h);
// Grows a one-line label whose text its font draws beyond its box, to the side its alignment
// lets the text overflow (left-aligned to the right, centred to both sides), so that no letter
// is cut. Above the ink of the line and below it the line box is blank and may stand out. A
// label whose text fits keeps its box.
void 容下文字(QLabel *label);
// Enter on the focused button presses it, as Space does.
void 回车可按(QPushButton *button);
QPushButton *新按钮(QWidget *parent, const QString &name, const QString &text, int l, int t, int w,
                    int h);

// Sets up a window opened from the main window: its name, deleted when closed, the caption
// "Varnel", 宋体 9 pt, and a client area of the given size in twips, which is returned; the
// window cannot be resized.
QWidget *建立窗口(QMainWindow *window, const QString &name, int clientWidth, int clientHeight);

// A menu command named by its caption.
QAction *新命令(QMenuBar *bar, const QString &caption);
QAction *新命令(QMenu *menu, const QString &caption);

class QComboBox;

// An editable combo box that keeps what is typed: no completion from its list (a typed "税"
// stays "税"), a list at least as wide as its longest item, items one line of the font apart.
void 设可编辑组合框(QComboBox *combo, const QStringList &items);

// Runs the routine on every change of the combo's text and on every choice from its list, once
// for a choice that also changes the text (the two signals come in one go).
void 连接改动与选取(QComboBox *combo, QObject *context, std::function<void()> routine);
