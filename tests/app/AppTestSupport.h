#pragma once

#include <QCoreApplication>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

// Types a key as the window system delivers it, routed by Qt to the focused control, and lets the
// program handle it. Held down, it comes `repeats` more times as auto-repeat before it is let go.
inline void TypeKey(QWidget &window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    const QString &text = {}, int repeats = 0)
{
    for (int press = 0; press <= repeats + 1; ++press) {
        QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window.windowHandle(), press <= repeats ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers,
            text, press > 0 && press <= repeats);
    }
    QCoreApplication::processEvents();
}
