// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmark: the game's key-to-sound latency, processor use, start-up, memory and its growth,
// and a soak, each beside what it is judged against. Prints a table and writes it as JSON.

#include "Figures.h"
#include "Measure.h"
#include "SoundServer.h"
#include "TestRecordings.h"
#include "sound/sdl/SdlSoundComponent.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

struct Settings {
    bool smoke = false;
    int presses = 210;
    int starts = 10;
    int idleMs = 10'000;
    int choices = 1'000;
    int soakCommands = 100'000;
};
const Settings Smoke{true, 20, 1, 500, 19, 1'000};

// A smaller mixer buffer than the game's own: with 10 ms recordings the soak then spends its time
// on commands rather than on waiting for the next mixing pass.
constexpr int SoakFrames = 256;

double ms(double ns)
{
    return ns / 1e6;
}
double ratio(double a, double b)
{
    return b > 0 ? a / b : 0;
}

// What a started program said in "name=value" lines, in order (a name may come again), and how it ended.
struct Reported {
    QList<std::pair<QString, double>> lines;
    QString failure; // empty when it exited by itself with status 0

    std::vector<double> all(const QString &name) const
    {
        std::vector<double> values;
        for (const auto &[n, value] : lines) {
            if (n == name)
                values.push_back(value);
        }
        return values;
    }
    double value(const QString &name) const
    {
        const std::vector<double> values = all(name);
        if (values.empty())
            throw std::runtime_error("a started program did not report " + name.toStdString());
        return values.back();
    }
};

/// Runs program (a path, or a name in the benchmark's own folder) with "--name value" options and
/// collects what it reports; unless mayFail, throws when it did not end well.
Reported run(const QString &program, const std::map<QString, int> &options, qint64 *startNs = nullptr,
             bool mayFail = false)
{
    QStringList arguments;
    for (const auto &[name, value] : options)
        arguments << "--"_L1 + name << QString::number(value);
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (startNs != nullptr)
        *startNs = bench::monotonicNs();
    process.start(QDir(QCoreApplication::applicationDirPath()).filePath(program), arguments);
    Reported reported;
    if (!process.waitForFinished(3'600'000)) {
        reported.failure = u"did not end: "_s + process.errorString();
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        // For a process ended by a signal, Qt gives the signal as its exit code.
        reported.failure
            = (process.exitStatus() != QProcess::NormalExit ? u"crashed, signal %1"_s : u"exited with status %1"_s)
                  .arg(process.exitCode());
    }
    if (!mayFail && !reported.failure.isEmpty())
        throw std::runtime_error((program + u' ' + reported.failure).toStdString());
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        if (const qsizetype equals = line.indexOf('='); equals > 0)
            reported.lines.append({QString::fromUtf8(line.left(equals)), line.mid(equals + 1).toDouble()});
    }
    return reported;
}

void measureKeyToSound(const Settings &settings, const TestRecordings &recordings, Figures &figures)
{
    figures.section(u"key_to_sound_ms"_s,
                    u"Key -> first mixed sample of the door's announcement "
                    "(ms, %1 presses each, at random moments)"_s.arg(settings.presses));
    std::map<int, double> p95; // by frames
    for (int frames : {SdlSoundComponent::DefaultBufferFrames, 2048, 4096}) {
        const std::vector<double> ns
            = run(recordings.shortGame, {{u"frames"_s, frames}, {u"presses"_s, settings.presses}, {u"seed"_s, frames}})
                  .all(u"key_to_sound_ns"_s);
        if (static_cast<int>(ns.size()) != settings.presses)
            throw std::runtime_error("velkarn-bench-game did not report every door choice");
        const bool game = frames == SdlSoundComponent::DefaultBufferFrames;
        for (const auto &[name, p] : {std::pair{"p50", 50}, {"p95", 95}, {"p99", 99}, {"max", 100}}) {
            figures.add(u"%1mixer at %2 frames, %3"_s.arg(game ? "game, " : "").arg(frames).arg(name),
                        ms(bench::percentile(ns, p)), "ms", 2,
                        game && p == 95 ? std::optional(Figures::Limit{15}) : std::nullopt);
        }
        p95[frames] = ms(bench::percentile(ns, 95));
    }
    figures.add(u"p95 at 2048 frames over p95 at %1"_s.arg(SdlSoundComponent::DefaultBufferFrames),
                ratio(p95[2048], p95[SdlSoundComponent::DefaultBufferFrames]), "x", 2, Figures::Limit{3, false});
}

void measureProcessorAndMemory(const Settings &settings, const TestRecordings &recordings, Figures &figures)
{
    const Reported game = run(recordings.walkGame, {{u"idle-ms"_s, settings.idleMs}, {u"choices"_s, settings.choices}});
    const Reported waited = run(recordings.waitedGame, {{u"waited"_s, 1}});
    const Reported bare = run(u"velkarn-bench-bare"_s, {{u"idle-ms"_s, settings.idleMs}});

    figures.section(u"cpu_percent_of_core"_s,
                    u"Processor (% of one core; idle for %1 s)"_s.arg(settings.idleMs / 1000.0));
    const double floor = bare.value(u"idle_cpu_pct"_s);
    const double idle = game.value(u"idle_cpu_pct"_s);
    figures.add(u"bare window with SDL audio open (floor), idle"_s, floor, "%", 3);
    figures.add(u"game, idle in the room-count state"_s, idle, "%", 3, Figures::Limit{0.5});
    figures.add(u"game idle over floor"_s, ratio(idle, floor), "x", 2, Figures::Limit{1.3});
    figures.add(u"game, during a waited 2 s recording"_s, waited.value(u"waited_cpu_pct"_s), "%", 3, Figures::Limit{2});

    figures.section(u"memory_mib"_s, u"Resident memory (MiB)"_s);
    const double bareKb = bare.value(u"rss_start_kb"_s);
    const double startKb = game.value(u"rss_start_kb"_s);
    const int early = std::min(100, settings.choices / 2);
    const double earlyKb = game.value(u"rss_early_kb"_s);
    const double choicesKb = game.value(u"rss_choices_kb"_s);
    figures.add(u"bare window with SDL audio open"_s, bareKb / 1024, "MiB", 1);
    figures.add(u"game after start-up"_s, startKb / 1024, "MiB", 1);
    figures.add(u"game after start-up over bare window"_s, ratio(startKb, bareKb), "x");
    figures.add(u"game after %1 door choices"_s.arg(early), earlyKb / 1024, "MiB", 1);
    figures.add(u"game after %1 door choices"_s.arg(settings.choices), choicesKb / 1024, "MiB", 1);
    figures.add(u"growth over the choices after the first %1, KiB"_s.arg(early), choicesKb - earlyKb, "KiB", 0,
                Figures::Limit{0.01 * earlyKb});
}

void measureStartUp(const Settings &settings, Figures &figures)
{
    std::vector<double> welcome, gameExpose, bareExpose;
    for (int i = 0; i < settings.starts; ++i) {
        qint64 start = 0;
        const Reported game = run(u"velkarn-bench-game"_s, {{u"start-only"_s, 1}}, &start);
        welcome.push_back(ms(game.value(u"first_mix_ns"_s) - double(start)));
        gameExpose.push_back(ms(game.value(u"first_expose_ns"_s) - double(start)));
        const Reported bare = run(u"velkarn-bench-bare"_s, {{u"start-only"_s, 1}}, &start);
        bareExpose.push_back(ms(bare.value(u"first_expose_ns"_s) - double(start)));
    }
    figures.section(u"startup_ms"_s, u"Start-up (ms, median of %1 starts)"_s.arg(settings.starts));
    figures.add(u"bare window: process start -> first expose"_s, bench::percentile(bareExpose, 50), "ms", 1);
    figures.add(u"game: process start -> first expose"_s, bench::percentile(gameExpose, 50), "ms", 1);
    figures.add(u"game: process start -> first sample of welcome"_s, bench::percentile(welcome, 50), "ms", 1);
    figures.add(u"game's first sound over bare window's expose"_s,
                ratio(bench::percentile(welcome, 50), bench::percentile(bareExpose, 50)), "x");
}

/// Random commands through the game in a process of its own, so that a crash is seen. False when
/// the game did not end well or showed a message.
bool soak(int commands, const TestRecordings &recordings, Figures &figures)
{
    const Reported soak = run(recordings.shortGame,
                              {{u"soak"_s, commands}, {u"frames"_s, SoakFrames}, {u"seed"_s, commands}}, nullptr, true);
    figures.section(u"soak"_s,
                    u"Soak: %1 random commands through the window and the SDL component "
                    "(10 ms recordings, %2-frame mixer)"_s.arg(commands)
                        .arg(SoakFrames));
    figures.add(u"the game ended normally (1) or not (0)"_s, soak.failure.isEmpty(), "", 0, Figures::Limit{1, false});
    if (!soak.failure.isEmpty()) {
        std::printf("  the game %s\n", qPrintable(soak.failure));
        return false;
    }
    // The soak's own figures, as it labels them (the probe's other lines have names without spaces).
    for (const auto &[label, value] : soak.lines) {
        if (label.contains(u' '))
            figures.add(label, value, "", value == std::floor(value) ? 0 : 2);
    }
    figures.add(u"resident growth after the warm-up, MiB"_s,
                soak.value(u"resident at the end, MiB"_s) - soak.value(u"resident after the warm-up, MiB"_s), "MiB", 2,
                Figures::Limit{1});
    return soak.value(u"messages, each a fault"_s) == 0;
}

/// The game headless, as CI and a developer's machine run it: offscreen Qt, SDL's dummy driver.
int measureHeadless(const Settings &settings, Figures &figures)
{
    const TestRecordings recordings(QCoreApplication::applicationDirPath());
    measureKeyToSound(settings, recordings, figures);
    measureProcessorAndMemory(settings, recordings, figures);
    measureStartUp(settings, figures);
    return settings.soakCommands <= 0 || soak(settings.soakCommands, recordings, figures) ? 0 : 1;
}

/// What a child hears on a Debian desktop: through a private PipeWire. 77 where it cannot start.
int measureSoundServer(const Settings &settings, Figures &figures)
{
#ifdef VELKARN_SOUND_SERVER
    const TestRecordings recordings(QCoreApplication::applicationDirPath());
    return measureThroughSoundServer(recordings.shortGame, settings.smoke ? 3 : 40, settings.smoke ? 500 : 20'000,
                                     figures);
#else
    Q_UNUSED(settings);
    Q_UNUSED(figures);
    std::printf("\nKey -> sink through a sound server: not measured, built without libpipewire-0.3-dev\n");
    return 77;
#endif
}

/// Both; the sound server's absence does not fail the run.
int measureAll(const Settings &settings, Figures &figures)
{
    const int headless = measureHeadless(settings, figures);
    return measureSoundServer(settings, figures) == 1 ? 1 : headless;
}

QString cpuModel()
{
    QFile info(u"/proc/cpuinfo"_s);
    for (const QByteArray &line : (info.open(QIODevice::ReadOnly) ? info.readAll() : QByteArray()).split('\n')) {
        if (line.startsWith("model name"))
            return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
    }
    return u"unknown"_s;
}

} // namespace

int main(int argc, char *argv[])
{
    bench::useHeadlessDefaults();
    QApplication app(argc, argv);
    // Each way of running the game measures into the same list of figures.
    const std::map<QString, int (*)(const Settings &, Figures &)> modes
        = {{u"headless"_s, measureHeadless}, {u"sound-server"_s, measureSoundServer}, {u"all"_s, measureAll}};

    QCommandLineParser parser;
    parser.setApplicationDescription(u"Measures Velkarn's responsiveness and cost."_s);
    parser.addHelpOption();
    const QCommandLineOption smoke(u"smoke"_s, u"One round of each measurement, short idle times."_s);
    const QCommandLineOption json(u"json"_s, u"Also write the results as JSON to this file."_s, u"path"_s);
    const QCommandLineOption soak(u"soak"_s, u"Random commands for the soak (100,000; 1,000 with --smoke; 0: none)."_s,
                                  u"n"_s);
    const QCommandLineOption mode(
        u"mode"_s,
        u"How the game is run: headless (the default), sound-server (through a private PipeWire; exit 77 where it "
        "cannot start) or all."_s,
        u"mode"_s, u"headless"_s);
    parser.addOptions({smoke, json, soak, mode});
    parser.process(app);
    Settings settings = parser.isSet(smoke) ? Smoke : Settings{};
    if (parser.isSet(soak))
        settings.soakCommands = parser.value(soak).toInt();
    const auto measure = modes.find(parser.value(mode));
    if (measure == modes.end()) {
        std::fprintf(stderr, "velkarn-bench: there is no mode %s\n", qPrintable(parser.value(mode)));
        return 2;
    }

    const QJsonObject machine{{u"cores"_s, QThread::idealThreadCount()},
                              {u"cpu"_s, cpuModel()},
                              {u"kernel"_s, QSysInfo::kernelVersion()},
                              {u"qt"_s, QString::fromLatin1(qVersion())},
                              {u"qpa"_s, qEnvironmentVariable("QT_QPA_PLATFORM")},
                              {u"sdl_audio"_s, qEnvironmentVariable("SDL_AUDIODRIVER")}};
    std::printf("Velkarn benchmark (%s, %s)\nMachine: %s\n", qPrintable(measure->first),
                settings.smoke ? "smoke: one round of each" : "full",
                QJsonDocument(machine).toJson(QJsonDocument::Compact).constData());
    try {
        Figures figures;
        const int status = measure->second(settings, figures);
        if (parser.isSet(json)) {
            QJsonObject results = figures.json();
            results.insert(u"machine"_s, machine);
            results.insert(u"mode"_s, measure->first);
            results.insert(u"smoke"_s, settings.smoke);
            QFile file(parser.value(json));
            if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(results).toJson()) < 0)
                throw std::runtime_error("cannot write " + parser.value(json).toStdString());
            std::printf("\nWritten to %s\n", qPrintable(parser.value(json)));
        }
        return status;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "velkarn-bench: %s\n", error.what());
        return 1;
    }
}
