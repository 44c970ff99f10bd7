#pragma once

#include <QCoreApplication>
#include <QMetaType>
#include <QWidget>
#include <qpa/qwindowsysteminterface.h>

// How a held key repeats: flagged as auto-repeat, or as X11 sends it, a release and a press with
// one timestamp that Qt may not mark as a repeat.
enum class Held { Flagged, SameTime };
Q_DECLARE_METATYPE(Held)

/// Types a key on window as the window system delivers it, routed by Qt to the focused control,
/// and lets the program handle it. Held down, it comes `repeats` more times before it is let go.
inline void TypeKey(QWidget &window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    const QString &text = {}, int repeats = 0, Held held = Held::Flagged)
{
    static ulong time = 1000;
    const auto send = [&](QEvent::Type type, bool repeat) {
        QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window.windowHandle(), time, type, key, modifiers, text, repeat && held == Held::Flagged);
    };
    send(QEvent::KeyPress, false);
    for (int repeat = 0; repeat < repeats; ++repeat) {
        time += 30;
        send(QEvent::KeyRelease, true);
        send(QEvent::KeyPress, true);
    }
    time += 30;
    send(QEvent::KeyRelease, false);
    time += 30;
    QCoreApplication::processEvents();
}
