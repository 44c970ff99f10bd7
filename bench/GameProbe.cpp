// The game as the benchmark starts it in a process of its own: the real window and component,
// with the recordings in "wave" beside this program (the benchmark copies it next to the test
// recordings it needs), reporting what it measured on itself as "name=value" lines.

#include "GameDriver.h"
#include "Measure.h"
#include "MixWatch.h"
#include "Soak.h"
#include "gui/MainWindow.h"
#include "sound/SdlSoundComponent.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>
#include <QTemporaryDir>
#include <QWindow>

#include <cstdio>
#include <random>
#include <stdexcept>

namespace {
struct Options {
    int frames = SdlSoundComponent::DefaultBufferFrames;
    quint64 seed = 1;
    bool startOnly = false;
    int idleMs = 0;
    bool waited = false;
    int choices = 0;
    int presses = 0;
    int soak = 0;
};

Options Parse(const QApplication &app)
{
    QCommandLineParser parser;
    const QCommandLineOption frames(QStringLiteral("frames"), QStringLiteral("Mixer buffer."), QStringLiteral("n"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the door draw."), QStringLiteral("n"));
    const QCommandLineOption startOnly(QStringLiteral("start-only"), QStringLiteral("End once the welcome is heard."));
    const QCommandLineOption idle(QStringLiteral("idle-ms"), QStringLiteral("Idle time to measure."), QStringLiteral("ms"));
    const QCommandLineOption waited(QStringLiteral("waited"),
                                    QStringLiteral("Start a new game and measure while its prompt is waited for."));
    const QCommandLineOption choices(QStringLiteral("choices"), QStringLiteral("Door choices, for memory."), QStringLiteral("n"));
    const QCommandLineOption presses(QStringLiteral("presses"), QStringLiteral("Door keys to time."), QStringLiteral("n"));
    const QCommandLineOption soak(QStringLiteral("soak"), QStringLiteral("Random commands to send."), QStringLiteral("n"));
    parser.addOptions({frames, seed, startOnly, idle, waited, choices, presses, soak});
    parser.process(app);
    Options options;
    options.frames = parser.value(frames).toInt() > 0 ? parser.value(frames).toInt() : options.frames;
    options.seed = parser.isSet(seed) ? parser.value(seed).toULongLong() : options.seed;
    options.startOnly = parser.isSet(startOnly);
    options.idleMs = parser.value(idle).toInt();
    options.waited = parser.isSet(waited);
    options.choices = parser.value(choices).toInt();
    options.presses = parser.value(presses).toInt();
    options.soak = parser.value(soak).toInt();
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
            if (window != nullptr && window->isExposed()) {
                firstNs_ = bench::MonotonicNs();
                qApp->removeEventFilter(this); // seen: the rest of the run goes unwatched
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    qint64 firstNs_ = 0;
};

// A new game from the room-count prompt: the game waits until its prompt, 2 s long in the
// benchmark's recordings, has been heard.
void MeasureWaitedSound(GameDriver &driver)
{
    const qint64 cpu = bench::ProcessCpuNs();
    const qint64 start = bench::MonotonicNs();
    driver.PressKey(Qt::Key_F2);
    driver.Settle();
    const qint64 wall = bench::MonotonicNs() - start;
    driver.Walk().NewGame();
    bench::Report("waited_wall_ns", wall);
    bench::Report("waited_cpu_pct", bench::CorePercent(bench::ProcessCpuNs() - cpu, wall));
}

void MakeDoorChoices(GameDriver &driver, int choices)
{
    driver.StartWalk(20);
    bench::Report("rss_walk_kb", bench::ResidentKb());
    for (int i = 1; i <= choices; ++i) {
        // Walk to the last room, then turn back with a wrong door: every room is visited.
        driver.ChooseDoor(driver.Walk().Room() < 19);
        if (i == 100)
            bench::Report("rss_100_choices_kb", bench::ResidentKb());
    }
    bench::Report("rss_choices_kb", bench::ResidentKb());
    driver.FinishWalk();
}

void TimeDoorKeys(GameDriver &driver, int presses, int frames)
{
    driver.StartWalk(20);
    bool wrongInFirstRoom = true;
    // A child presses at any moment, not just after a mixing pass: each key waits a random time
    // up to the longest mixer period first, so the keys fall evenly across the period.
    std::mt19937 random(static_cast<std::mt19937::result_type>(frames));
    std::uniform_int_distribution<int> pause(0, 93);
    for (int i = 0; i < presses; ++i) {
        bench::StayIdle(pause(random));
        // Every walk: a wrong door in room 1, the right doors up to room 20, a wrong door there.
        const int room = driver.Walk().Room();
        bool correct = room < 19;
        if (room == 0) {
            correct = !wrongInFirstRoom;
            wrongInFirstRoom = !wrongInFirstRoom;
        }
        const GameDriver::Choice choice = driver.ChooseDoor(correct);
        std::printf("choice=%d %d %lld %lld\n", choice.room, choice.correct ? 1 : 0,
                    static_cast<long long>(choice.keyToSoundNs), static_cast<long long>(choice.cpuNs));
    }
    std::fflush(stdout);
    driver.FinishWalk();
}

int Play(const Options &options)
{
    SdlSoundComponent component(options.frames);
    if (!component.isOpen()) {
        std::fprintf(stderr, "no audio device: %s\n", qPrintable(component.openError()));
        return 1;
    }
    MixWatch mix;
    MainWindow window(component, options.seed);
    if (options.startOnly) {
        // The first sound mixed is the welcome; once it is heard, a start-only run is done.
        mix.ListenForSound();
        QObject::connect(&mix, &MixWatch::Heard, qApp, &QCoreApplication::quit);
        window.start();
        QApplication::exec();
        bench::Report("first_mix_ns", mix.HeardNs());
        return 0;
    }

    GameDriver driver(window, component, mix, options.seed);
    driver.Start();
    bench::Report("rss_start_kb", bench::ResidentKb());
    if (options.idleMs > 0) {
        const qint64 cpu = bench::ProcessCpuNs();
        const qint64 start = bench::MonotonicNs();
        bench::StayIdle(options.idleMs);
        bench::Report("idle_cpu_pct", bench::CorePercent(bench::ProcessCpuNs() - cpu, bench::MonotonicNs() - start));
    }
    if (options.waited)
        MeasureWaitedSound(driver);
    if (options.choices > 0)
        MakeDoorChoices(driver, options.choices);
    if (options.presses > 0)
        TimeDoorKeys(driver, options.presses, options.frames);
    if (options.soak > 0)
        Soak(window, driver, mix, options.seed).Run(options.soak);
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    bench::UseHeadlessDefaults();
    QApplication app(argc, argv);
    const Options options = Parse(app);
    // The game keeps its volume and one-ear mode; the benchmark's commands must not change the user's.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    ExposeWatch expose;
    app.installEventFilter(&expose);
    int status = 1;
    try {
        status = Play(options);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    bench::Report("first_expose_ns", expose.FirstExposeNs());
    return status;
}
