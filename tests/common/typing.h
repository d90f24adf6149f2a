#pragma once

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QTest>

// Types text into a control as a person would: ASCII key by key, anything else (Chinese,
// full-width digits) committed by the input method, one character at a time.
inline void typeText(QWidget *w, const QString &text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(w, QString(c));
        } else {
            QInputMethodEvent e;
            e.setCommitString(QString(c));
            QCoreApplication::sendEvent(w, &e);
        }
    }
}
