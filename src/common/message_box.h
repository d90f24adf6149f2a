#pragma once

#include <QString>
#include <functional>

class QWidget;

// The program's message boxes. Every box is modal; the caption is the application title
// "Varnel" unless a caller names another.
namespace 消息框 {

inline const QString 应用标题 = QStringLiteral("Varnel");

// The window a box is centred over: the active one; when none is active (the print windows
// have just closed, the program has just started), the program's window that is shown, so
// that the box does not stand alone in the middle of the screen.
QWidget *所属窗口();

// An OK box. With 无图标 false it carries the information icon.
void 提示(const QString &text, const QString &caption = 应用标题, bool 无图标 = true);

// Which button of a Yes/No box Enter presses. A question whose Yes deletes or overwrites
// stored data takes 否, so that a key pressed in haste keeps the data.
enum class 默认钮 { 是, 否 };

// A Yes/No box without an icon; true for Yes.
bool 是否(const QString &text, const QString &caption = 应用标题, 默认钮 默认 = 默认钮::是);

// A Yes/No/Cancel box without an icon, 取消 the default and the answer of Esc.
enum class 三答 { 是, 否, 取消 };
三答 是否取消(const QString &text, const QString &caption);

// A Retry/Cancel box without an icon, 重试 the default; true for 重试.
bool 重试取消(const QString &text, const QString &caption);

// An input box, holding preset when it opens; returns the typed text, or empty text with *ok
// false when cancelled. A scripted answer of 是 with a null 文本 takes the preset as it stands.
QString 输入(const QString &prompt, const QString &caption, bool *ok,
            const QString &preset = QString());

// A scripted responder for benchmarks and tests: while it is set, no box is shown; it is told
// each box's kind, text and caption and gives the answer (Yes or No, Retry or Cancel, the typed
// text, OK or Cancel of an input box; for a Yes/No/Cancel box, 是 true for Yes and otherwise
// 文本 "取消" for Cancel).
enum class 框类 { 提示, 是否, 输入, 重试取消, 是否取消 };
struct 框应答 {
    bool 是 = true;
    QString 文本;
};
inline std::function<框应答(框类, const QString &text, const QString &caption)> 应答器;

} // namespace 消息框

// A text quoted in a message: a very long text is cut, so that the box stays on the screen.
QString 引述(const QString &text);

// Runs a handler body; a VarnelError or any other exception ends it and its description is
// shown in an OK box. Returns false when the body ended in an error.
bool 捕获错误(const std::function<void()> &body);
