// The game plays through SDL's disk driver into a FIFO held open but never read. Once it is full the
// audio thread blocks for good, every window is closed, and the program must end all the same.
#include "app/Program.h"

#include <QApplication>
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
    QApplication app(argc, argv);
    QTimer full;
    QObject::connect(&full, &QTimer::timeout, &app, [reader] {
        int queued = 0;
        if (ioctl(reader, FIONREAD, &queued) == 0 && queued >= fcntl(reader, F_GETPIPE_SZ))
            QApplication::closeAllWindows();
    });
    full.start(10);
    return Main();
}
