// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoundComponent.h"

#include <QSemaphore>

#include <cstdlib>
#include <thread>

namespace {
// How long a closing audio device may take before the program ends without waiting for it.
constexpr int DeviceCloseLimitMs = 500;
} // namespace

int SoundComponent::closeAtExit(std::unique_ptr<SoundComponent> component, int exitCode)
{
    QSemaphore closed;
    const std::jthread guard([&closed, exitCode] {
        if (!closed.tryAcquire(1, DeviceCloseLimitMs)) {
            qWarning("The audio device did not close; ending without it.");
            std::_Exit(exitCode); // nothing is left to lose: the window has gone, settings are written
        }
    });
    component.reset();
    closed.release();
    return exitCode;
}
