#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

// Answers message boxes as a user would: records each one's title and text and presses OK.
class MessageAnswerer : public QObject
{
public:
    QStringList texts;
    QStringList titles;

    MessageAnswerer()
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box == nullptr || box == answered_)
                return;
            answered_ = box;
            texts << box->text();
            titles << box->windowTitle();
            box->button(QMessageBox::Ok)->click();
        });
        timer_.start(10);
    }

private:
    QTimer timer_;
    QMessageBox *answered_ = nullptr;
};

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
