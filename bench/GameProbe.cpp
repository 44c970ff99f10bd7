// The game as the benchmark starts it in a process of its own: the real window, component and
// start-up, reporting what it measured on itself as "name=value" lines.

#include "GameDriver.h"
#include "Measure.h"
#include "app/Program.h"
#include "app/frmMain.h"
#include "sound/SdlSoundComponent.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QWindow>

#include <atomic>
#include <cstdio>
#include <stdexcept>

namespace {
struct Options {
    int frames = SdlSoundComponent::DefaultBufferFrames;
    bool startOnly = false;
    int idleMs = 0;
    QString waited;
    int choices = 0;
    QString shortRecordings;
};

Options Parse(const QApplication &app)
{
    QCommandLineParser parser;
    const QCommandLineOption frames(QStringLiteral("frames"), QStringLiteral("Mixer buffer."), QStringLiteral("n"));
    const QCommandLineOption startOnly(QStringLiteral("start-only"), QStringLiteral("End once welcome is mixed."));
    const QCommandLineOption idle(QStringLiteral("idle-ms"), QStringLiteral("Idle time to measure."), QStringLiteral("ms"));
    const QCommandLineOption waited(QStringLiteral("waited"), QStringLiteral("Recording to wait for."), QStringLiteral("file"));
    const QCommandLineOption choices(QStringLiteral("choices"), QStringLiteral("Door choices to make."), QStringLiteral("n"));
    const QCommandLineOption recordings(QStringLiteral("short-recordings"),
                                        QStringLiteral("Folder holding wave/ for the door choices."), QStringLiteral("dir"));
    parser.addOptions({frames, startOnly, idle, waited, choices, recordings});
    parser.process(app);
    Options options;
    options.frames = parser.value(frames).toInt() > 0 ? parser.value(frames).toInt() : options.frames;
    options.startOnly = parser.isSet(startOnly);
    options.idleMs = parser.value(idle).toInt();
    options.waited = parser.value(waited);
    options.choices = parser.value(choices).toInt();
    options.shortRecordings = parser.value(recordings);
    return options;
}

// Notes when the first window is first exposed, watching the whole application so that the
// window under test is left exactly as the game makes it.
class ExposeWatch : public QObject
{
public:
    qint64 FirstExposeNs() const { return firstNs_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && firstNs_ == 0) {
            const auto *window = qobject_cast<QWindow *>(watched);
            if (window != nullptr && window->isExposed())
                firstNs_ = bench::MonotonicNs();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    qint64 firstNs_ = 0;
};

void MeasureWaitedSound(frmMain &window, const QString &file)
{
    const qint64 cpu = bench::ProcessCpuNs();
    const qint64 start = bench::MonotonicNs();
    window.Player().PlayWave(file, true, 0);
    const qint64 wall = bench::MonotonicNs() - start;
    bench::Report("waited_wall_ns", wall);
    bench::Report("waited_cpu_pct", bench::CorePercent(bench::ProcessCpuNs() - cpu, wall));
}

void MakeDoorChoices(frmMain &window, SdlSoundComponent &component, const Options &options)
{
    window.Player().InitSoundPath(options.shortRecordings);
    GameDriver driver(window, component);
    driver.StartWalk(20);
    bench::Report("rss_walk_kb", bench::ResidentKb());
    for (int i = 1; i <= options.choices; ++i) {
        // Walk to the last room, then turn back with a wrong door: every room is visited.
        driver.ChooseDoor(window.Rules().Room() < 19);
        if (i == 100)
            bench::Report("rss_100_choices_kb", bench::ResidentKb());
    }
    bench::Report("rss_choices_kb", bench::ResidentKb());
}
} // namespace

int main(int argc, char *argv[])
{
    bench::UseHeadlessDefaults();
    QApplication app(argc, argv);
    const Options options = Parse(app);
    ExposeWatch expose;
    app.installEventFilter(&expose);

    SdlSoundComponent component(options.frames);
    if (!component.IsOpen()) {
        std::fprintf(stderr, "no audio device: %s\n", qPrintable(component.OpenError()));
        return 1;
    }
    // The first sound mixed is the welcome; once heard, a start-only run is done.
    std::atomic<qint64> firstMix{0};
    component.SetMixListener([&firstMix, &options](qint32) {
        qint64 none = 0;
        if (firstMix.compare_exchange_strong(none, bench::MonotonicNs()) && options.startOnly)
            QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    });
    frmMain window(component);
    Begin(window, component);
    component.SetMixListener({});
    bench::Report("first_mix_ns", firstMix.load());
    bench::Report("first_expose_ns", expose.FirstExposeNs());
    app.removeEventFilter(&expose);
    if (options.startOnly)
        return 0;

    bench::Report("rss_start_kb", bench::ResidentKb());
    if (options.idleMs > 0) {
        const qint64 cpu = bench::ProcessCpuNs();
        const qint64 start = bench::MonotonicNs();
        bench::StayIdle(options.idleMs);
        bench::Report("idle_cpu_pct", bench::CorePercent(bench::ProcessCpuNs() - cpu, bench::MonotonicNs() - start));
    }
    if (!options.waited.isEmpty())
        MeasureWaitedSound(window, options.waited);
    if (options.choices > 0) {
        try {
            MakeDoorChoices(window, component, options);
        } catch (const std::exception &error) {
            std::fprintf(stderr, "%s\n", error.what());
            return 1;
        }
    }
    return 0;
}
