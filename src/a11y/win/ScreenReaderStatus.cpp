// SPDX-License-Identifier: GPL-3.0-or-later
#include "a11y/ScreenReaderStatus.h"

#include <QTimer>

#include <windows.h>

namespace {
// Windows tells no one when a screen reader starts, so the status is looked at this often.
constexpr int PollMs = 2000;

// NVDA and JAWS set the system's screen-reader flag while they run.
bool screenReaderFlag()
{
    BOOL on = FALSE;
    return SystemParametersInfoW(SPI_GETSCREENREADER, 0, &on, 0) && on;
}

// Narrator does not set that flag. It holds a mutex of this name while it runs: opening it needs
// no rights and costs less than looking through the processes for Narrator.exe.
bool narratorRunning()
{
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"NarratorRunning");
    if (mutex == nullptr)
        return false;
    CloseHandle(mutex);
    return true;
}
} // namespace

ScreenReaderStatus::ScreenReaderStatus(QObject *parent)
    : QObject(parent)
{
    ask();
    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &ScreenReaderStatus::ask);
    timer->start(PollMs);
}

ScreenReaderStatus::~ScreenReaderStatus() = default;

void ScreenReaderStatus::ask()
{
    setRunning(screenReaderFlag() || narratorRunning());
}

void ScreenReaderStatus::propertiesChanged(const QString &, const QVariantMap &, const QStringList &) {}

void ScreenReaderStatus::setRunning(bool running)
{
    if (running == running_)
        return;
    running_ = running;
    emit runningChanged(running);
}
