// Keys as a user presses them, sent straight to a widget (press and release), for the widget tests.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

namespace kvt::test {

inline void Press(QWidget* target, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

inline void Type(QWidget* target, const QString& text) {
    for (const QChar c : text) Press(target, c.unicode(), QString(c));
}

// Enter on the widget that has the focus.
inline void PressEnter() { Press(QApplication::focusWidget(), Qt::Key_Return); }

}  // namespace kvt::test
