#pragma once

#include <functional>

class QKeyEvent;
class QWidget;

// The main window registers itself here; every window it opens shows it again from its
// unload step. Without a registered main window (a window opened alone) nothing is shown.
void 登记主窗口(QWidget *mainWindow);
void 显示主窗口();

// Calls the action on every mouse click (button released inside the control).
void 连接单击(QWidget *control, std::function<void()> action);
// Calls the action whenever the control is hidden.
void 连接隐藏(QWidget *control, std::function<void()> action);
// Calls the action whenever the user gives the control the keyboard focus, by mouse or keyboard.
void 连接得到焦点(QWidget *control, std::function<void()> action);
// Shows every key press of the control to the handler first; a handler returning true has
// used the key, which then goes no further.
void 连接按键(QWidget *control, std::function<bool(QKeyEvent *)> handler);
// Swallows the mouse presses (and double clicks) that reach the control while `swallow` says so,
// and the release of each press swallowed: a click meant for a control that has just gone away
// from above this one.
void 吞掉点击(QWidget *control, std::function<bool()> swallow);
