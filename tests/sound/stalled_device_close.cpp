// SPDX-License-Identifier: GPL-3.0-or-later
// A sound plays through SDL's disk driver into a FIFO held open but never read. Once the FIFO is
// full the device is stalled for good, and closing it at the program's end must end the program
// all the same: the test's time limit fails it otherwise.
#include "sound/sdl/SdlSoundComponent.h"
#include "support/WaveFile.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char *argv[])
{
    const QByteArray fifo = qgetenv("SDL_DISKAUDIOFILE");
    unlink(fifo.constData());
    const int reader = mkfifo(fifo.constData(), 0600) == 0 ? open(fifo.constData(), O_RDONLY | O_NONBLOCK) : -1;
    if (reader < 0)
        return 2;
    QCoreApplication app(argc, argv);
    const QTemporaryDir dir;
    const QString tone = dir.filePath(QStringLiteral("tone.wav"));
    auto sound = std::make_unique<SdlSoundComponent>();
    if (!WriteBytes(tone, WaveBytes(3000)) || !sound->isOpen())
        return 3;
    sound->startWave(sound->openWave(tone));
    QTimer full;
    QObject::connect(&full, &QTimer::timeout, &app, [reader] {
        int queued = 0;
        if (ioctl(reader, FIONREAD, &queued) == 0 && queued >= fcntl(reader, F_GETPIPE_SZ))
            QCoreApplication::quit();
    });
    full.start(10);
    return SoundComponent::closeAtExit(std::move(sound), QCoreApplication::exec());
}
