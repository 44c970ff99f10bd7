// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QMetaType>
#include <QWidget>
#include <qpa/qwindowsysteminterface.h>

// Types a key on window as the window system delivers it, routed by Qt to the focused control, and
// lets the program handle it. Held down, it comes `repeats` more times before it is let go: as
// auto-repeat, or as X11 sends it, a release and a press with one timestamp that Qt may not mark as a repeat.
enum class Held { Flagged, SameTime };
Q_DECLARE_METATYPE(Held)

inline void TypeKey(QWidget &window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    const QString &text = {}, int repeats = 0, Held held = Held::Flagged)
{
    static ulong time = 1000;
    const auto send = [&](QEvent::Type type, bool repeat, ulong after) {
        time += after;
        QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window.windowHandle(), time, type, key, modifiers, text, repeat && held == Held::Flagged);
    };
    send(QEvent::KeyPress, false, 30);
    for (int repeat = 0; repeat < repeats; ++repeat) {
        send(QEvent::KeyRelease, true, 30);
        send(QEvent::KeyPress, true, 0);
    }
    send(QEvent::KeyRelease, false, 30);
    QCoreApplication::processEvents();
}
