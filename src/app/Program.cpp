#include "Program.h"

#include "frmMain.h"
#include "sound/SdlSoundComponent.h"

#include <QApplication>
#include <QSemaphore>

#include <cstdlib>
#include <memory>
#include <thread>

namespace {
// How long a closing audio device may take before the program ends without waiting for it.
constexpr int DeviceCloseLimitMs = 500;
} // namespace

int Main()
{
    auto component = std::make_unique<SdlSoundComponent>();
    int exitCode = 0;
    {
        frmMain window(*component);
        window.Start();
        // The ordinary event loop blocks until something happens and ends with the last window.
        exitCode = QApplication::exec();
    } // the window has written the settings by now

    // A stalled device (a driver that no longer takes sound) can hold its closing forever, long
    // after the window has gone. Nothing is left to lose then, so the process ends without it.
    QSemaphore closed;
    const std::jthread guard([&closed, exitCode] {
        if (!closed.tryAcquire(1, DeviceCloseLimitMs)) {
            qWarning("The audio device did not close; ending without it.");
            std::_Exit(exitCode);
        }
    });
    component.reset();
    closed.release();
    return exitCode;
}
