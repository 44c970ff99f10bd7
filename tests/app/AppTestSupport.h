#pragma once

#include <QCoreApplication>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

// Types a key as the window system delivers it: queued, routed by Qt to the focused control.
// Returns at once; the key is handled when the event loop next turns.
inline void QueueKey(QWidget &window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     const QString &text = {})
{
    QWindow *handle = window.windowHandle();
    QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
        handle, QEvent::KeyPress, key, modifiers, text);
    QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
        handle, QEvent::KeyRelease, key, modifiers, text);
}

// Types a key and lets the program handle it (and anything it waits for) before returning.
inline void TypeKey(QWidget &window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    const QString &text = {})
{
    QueueKey(window, key, modifiers, text);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}
