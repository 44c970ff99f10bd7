// A reference to measure the game against: a bare Qt window with SDL audio open, nothing else.
// Built a second time with VELKARN_SPIN, it keeps its event loop turning instead of blocking:
// processEvents back to back with the mixer polled in between, as a polling design would.

#include "Measure.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QWidget>
#include <QWindow>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>

namespace {
// SDL's audio and the mixer opened as the game opens them, and closed again on the way out.
class Audio
{
public:
    Audio()
    {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::fprintf(stderr, "SDL audio: %s\n", SDL_GetError());
            return;
        }
        subsystem_ = true;
        if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 512) != 0) {
            std::fprintf(stderr, "mixer: %s\n", Mix_GetError());
            return;
        }
        open_ = true;
    }
    ~Audio()
    {
        if (open_)
            Mix_CloseAudio();
        if (subsystem_)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    Audio(const Audio &) = delete;
    Audio &operator=(const Audio &) = delete;

    bool IsOpen() const { return open_; }

private:
    bool subsystem_ = false;
    bool open_ = false;
};

// Notes when the window is first exposed, that is, when it could first be seen.
class ExposeWatch : public QObject
{
public:
    qint64 FirstExposeNs() const { return firstNs_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && firstNs_ == 0 && static_cast<QWindow *>(watched)->isExposed()) {
            firstNs_ = bench::MonotonicNs();
            QMetaObject::invokeMethod(this, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    qint64 firstNs_ = 0;
};

void Idle(int milliseconds)
{
#ifdef VELKARN_SPIN
    const qint64 end = bench::MonotonicNs() + qint64(milliseconds) * 1'000'000;
    while (bench::MonotonicNs() < end) {
        QCoreApplication::processEvents();
        (void)Mix_Playing(-1);
    }
#else
    bench::StayIdle(milliseconds);
#endif
}
} // namespace

int main(int argc, char *argv[])
{
    bench::UseHeadlessDefaults();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption startOnly(QStringLiteral("start-only"), QStringLiteral("End once exposed."));
    const QCommandLineOption idle(QStringLiteral("idle-ms"), QStringLiteral("Idle time to measure."), QStringLiteral("ms"));
    parser.addOptions({startOnly, idle});
    parser.process(app);

    const Audio audio;
    if (!audio.IsOpen())
        return 1;
    QWidget window;
    window.setWindowTitle(QStringLiteral("Velkarn"));
    window.resize(390, 130);
    window.winId(); // creates the platform window, so that its expose can be watched
    ExposeWatch watch;
    window.windowHandle()->installEventFilter(&watch);
    window.show();
    QApplication::exec(); // until the first expose
    bench::Report("first_expose_ns", watch.FirstExposeNs());
    if (parser.isSet(startOnly))
        return 0;

    bench::Report("rss_start_kb", bench::ResidentKb());
    const int idleMs = parser.value(idle).toInt();
    if (idleMs > 0) {
        const qint64 cpu = bench::ProcessCpuNs();
        const qint64 start = bench::MonotonicNs();
        Idle(idleMs);
        bench::Report("idle_cpu_pct", bench::CorePercent(bench::ProcessCpuNs() - cpu, bench::MonotonicNs() - start));
    }
    return 0;
}
