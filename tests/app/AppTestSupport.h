#pragma once

#include <QCoreApplication>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

// Types a key as the window system delivers it: queued, routed by Qt to the focused control, and
// handled when the event loop next turns. Held down, it comes `repeats` more times as auto-repeat.
inline void QueueKey(QWidget &window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     const QString &text = {}, int repeats = 0)
{
    QWindow *handle = window.windowHandle();
    for (int press = 0; press <= repeats; ++press) {
        QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
            handle, QEvent::KeyPress, key, modifiers, text, press > 0);
    }
    QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
        handle, QEvent::KeyRelease, key, modifiers, text);
}

// Types a key and lets the program handle it before returning.
inline void TypeKey(QWidget &window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    const QString &text = {}, int repeats = 0)
{
    QueueKey(window, key, modifiers, text, repeats);
    QCoreApplication::processEvents();
}
