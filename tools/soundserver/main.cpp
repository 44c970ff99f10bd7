// SPDX-License-Identifier: GPL-3.0-or-later
// What the child hears through the desktop's sound server: the game through a private PipeWire,
// once for each sound component (VELKARN_SOUND), beside a 4,096-frame SDL_mixer program and a
// native PipeWire client, the floor. Key -> sink, the first key after a silence, and the idle cost
// of the game and the server together.

#include "GameSeam.h"
#include "Measure.h"
#include "PrivateServer.h"
#include "SinkRecorder.h"
#include "sound/ChooseSoundComponent.h"
#include "support/ToneRecordings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QProcess>

#include <cstdlib>
#include <random>

using namespace Qt::StringLiterals;

namespace {

struct Rounds {
    int presses = 40;
    int gapMs = 2'000;      // between keys, after each answer has ended
    int silentPresses = 20; // each the first key after silenceMs
    int silenceMs = 6'000;
    int settleMs = 10'000; // the game's welcome and first prompt, before idle is measured
    int idleMs = 20'000;
};
const Rounds Smoke{3, 100, 1, 600, 1'000, 500};

// The game's every recording is a 10 ms tone here: a sound heard whole is then a whole number of them.
constexpr int ToneMs = 10;

// A sound is heard whole when its length is a whole number of tones (several may follow one
// another without a gap) within 2 ms; a drop-out shortens it, splits it or draws it out.
bool heardWhole(const SinkRecorder::Sound &sound)
{
    const double tones = std::round(double(sound.lengthNs) / (ToneMs * 1e6));
    return tones >= 1 && std::abs(double(sound.lengthNs) - tones * ToneMs * 1e6) <= 2e6;
}

void printRow(const QString &label, const std::vector<double> &ms, const QString &more = {})
{
    std::printf("  %-66s %6.1f %6.1f %6.1f  %s\n", qPrintable(label), percentile(ms, 50), percentile(ms, 95),
                percentile(ms, 100), qPrintable(more));
    std::fflush(stdout);
}

/// Runs the event loop until the recorder has heard nothing for 300 ms from now on.
void settle(const SinkRecorder &recorder)
{
    const qint64 from = seam::nowNs();
    seam::waitUntil([&] { return seam::nowNs() - std::max(from, recorder.lastHeardNs()) > 300'000'000; }, 30'000,
                    "the sink never fell silent");
}

/// In a process of its own: presses door keys on the game (or, with referenceFrames, any key on a
/// bare SDL_mixer window with that buffer) gapMs apart, prints key -> sink as one row, and ends.
[[noreturn]] void pressKeys(int presses, int gapMs, int referenceFrames)
{
    pw_init(nullptr, nullptr);
    SinkRecorder recorder;
    qint64 calibrationErrorNs = 0;
    recorder.pressNative(5, calibrationErrorNs);
    const std::unique_ptr<SoundComponent> component
        = referenceFrames > 0 ? std::make_unique<SdlSoundComponent>(referenceFrames) : chooseSoundComponent();
    if (!component->isOpen())
        throw std::runtime_error("the game found no sound device");
    std::unique_ptr<QWidget> bare;
    std::unique_ptr<Velkarn> game;
    if (referenceFrames > 0)
        bare = std::make_unique<seam::BareWindow>(*component,
                                                  QCoreApplication::applicationDirPath() + u"/wave/nr1.wav"_s);
    else
        game = seam::startGame(*component);
    QWidget *const window = game ? &game->window() : bare.get();
    window->show();
    std::mt19937 random(static_cast<unsigned>(presses));
    // The answers to the keys pressed here. Not the welcome, nor the room-count list's answers while
    // a walk is set up: there Return follows the list's move at once and rightly cuts its number short.
    std::vector<SinkRecorder::Sound> heard;
    bool answering = false;
    std::vector<double> ms;
    for (;;) {
        settle(recorder);
        const std::vector<SinkRecorder::Sound> rest = recorder.take();
        if (answering)
            heard.insert(heard.end(), rest.begin(), rest.end());
        if (int(ms.size()) == presses)
            break;
        answering = referenceFrames > 0 || seam::walks(*window);
        if (!answering)
            continue;
        seam::stayIdle(gapMs + std::uniform_int_distribution(0, 100)(random));
        const qint64 key = seam::nowNs(); // as the window system hands the key to Qt
        TypeKey(*window, Qt::Key_1 + std::uniform_int_distribution(0, 2)(random));
        // The recorder may lag behind on a busy machine.
        const auto answer
            = [&] { return std::find_if(heard.begin(), heard.end(), [key](auto &s) { return s.startNs > key; }); };
        seam::waitUntil(
            [&] {
                const std::vector<SinkRecorder::Sound> more = recorder.take();
                heard.insert(heard.end(), more.begin(), more.end());
                return answer() != heard.end();
            },
            10'000, "a key's answer was never heard");
        ms.push_back(double(answer()->startNs - key) / 1e6);
    }
    const QString label = referenceFrames > 0
        ? u"SDL_mixer program, %1-frame chunk, pulseaudio"_s.arg(referenceFrames)
        : u"VELKARN_SOUND=%1 (%2), %3"_s.arg(
            qEnvironmentVariable("VELKARN_SOUND"), QString::fromLatin1(component->metaObject()->className()),
            gapMs >= 6'000 ? u"after %1 s of silence"_s.arg(gapMs / 1000) : u"keys %1 s apart"_s.arg(gapMs / 1000.0));
    QStringList broken; // the length of each sound not heard whole, to tell a drop-out from a cut
    int missed = 0;     // of those, where the recorder itself missed a cycle
    for (const SinkRecorder::Sound &sound : heard) {
        if (!heardWhole(sound)) {
            broken << QString::number(double(sound.lengthNs) / 1e6, 'f', 2);
            missed += sound.missedCycle;
        }
    }
    printRow(label, ms,
             u"%1 heard, %2 not whole%3 (recording placed within %4 ms)"_s.arg(heard.size())
                 .arg(broken.size())
                 .arg(broken.isEmpty()
                          ? QString()
                          : u": %1 ms, %2 where the recorder missed a cycle"_s.arg(broken.join(u", "_s)).arg(missed))
                 .arg(double(calibrationErrorNs) / 1e6, 0, 'f', 3));
    // Measured. SDL 2.26's PipeWire driver may crash while it closes (its thread outlives the stream
    // it frees), as a busy machine shows now and then: end without closing.
    std::_Exit(0);
}

/// Starts this tool again, in the environment it was given plus env, to press keys in a process of its own.
void runPresses(const QStringList &env, int presses, int gapMs, int referenceFrames = 0)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &variable : env)
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {u"--keys"_s, QString::number(presses), u"--gap-ms"_s, QString::number(gapMs), u"--reference"_s,
                 QString::number(referenceFrames)});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        throw std::runtime_error(
            QStringLiteral("a run of key presses %1 %2")
                .arg(child.exitStatus() == QProcess::NormalExit ? "exited with" : "crashed, signal")
                .arg(child.exitCode())
                .toStdString());
    }
}

/// The game as built, with component, idle after its welcome and first prompt: each process's share
/// of a core, and together.
void measureIdle(const PrivateServer &server, const QString &component, const Rounds &settings)
{
    QProcess game;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"VELKARN_SOUND"_s, component);
    game.setProcessEnvironment(env);
    game.setProcessChannelMode(QProcess::ForwardedChannels);
    game.start(QStringLiteral(VELKARN_PROGRAM), {});
    if (!game.waitForStarted())
        throw std::runtime_error("cannot start " VELKARN_PROGRAM);
    seam::stayIdle(settings.settleMs);
    const QStringList programs{u"pipewire"_s, u"pipewire-pulse"_s, u"wireplumber"_s};
    const auto used = [&] {
        std::vector<qint64> ns{cpuNs(game.processId())};
        for (const QString &program : programs)
            ns.push_back(server.cpuNs(program));
        return ns;
    };
    const std::vector<qint64> before = used();
    const qint64 start = seam::nowNs();
    seam::stayIdle(settings.idleMs);
    const std::vector<qint64> after = used();
    const double wall = double(seam::nowNs() - start);
    QString each = u"game %1"_s.arg(100.0 * double(after[0] - before[0]) / wall, 0, 'f', 2);
    double all = 0;
    for (size_t i = 0; i < after.size(); ++i) {
        all += 100.0 * double(after[i] - before[i]) / wall;
        each += i == 0 ? QString()
                       : u", %1 %2"_s.arg(programs[i - 1]).arg(100.0 * double(after[i] - before[i]) / wall, 0, 'f', 2);
    }
    std::printf("  %-66s %6.2f %% of a core (%s)\n", qPrintable(u"VELKARN_SOUND=%1, idle"_s.arg(component)), all,
                qPrintable(each));
    std::fflush(stdout);
    game.terminate();
    if (!game.waitForFinished(3000))
        game.kill();
}

int measure(const Rounds &settings)
{
    // Where the game finds its recordings when this tool builds it: beside the tool.
    if (!WriteToneRecordings(QStringLiteral(BUILT_WAVE), QCoreApplication::applicationDirPath() + u"/wave"_s, ToneMs))
        throw std::runtime_error("cannot write the tones beside the tool");
    const PrivateServer server;
    if (!server.failure().isEmpty()) {
        std::printf("Not measured: PipeWire cannot start here (%s)\n", qPrintable(server.failure()));
        return 77;
    }
    const QProcessEnvironment env = server.environment();
    for (const QString &name : env.keys())
        qputenv(name.toLocal8Bit().constData(), env.value(name).toLocal8Bit());
    pw_init(nullptr, nullptr);
    std::printf("Through a private PipeWire %s with a null sink, recorded passively on its monitor; load %s\n"
                "%d presses %g s apart, %d after %g s of silence; idle over %g s, %g s after the start\n\n"
                "  %-66s %6s %6s %6s  (key -> sink, ms)\n",
                pw_get_library_version(), loadAverage().constData(), settings.presses, settings.gapMs / 1000.0,
                settings.silentPresses, settings.silenceMs / 1000.0, settings.idleMs / 1000.0,
                settings.settleMs / 1000.0, "", "p50", "p95", "max");
    for (const QString &component : {u"sdl"_s, u"pipewire"_s}) {
        measureIdle(server, component, settings);
        runPresses({u"VELKARN_SOUND="_s + component}, settings.presses, settings.gapMs);
        runPresses({u"VELKARN_SOUND="_s + component}, settings.silentPresses, settings.silenceMs);
    }
    runPresses({u"SDL_AUDIODRIVER=pulseaudio"_s}, settings.presses, settings.gapMs, 4096);
    SinkRecorder recorder;
    qint64 calibrationErrorNs = 0;
    printRow(u"floor: a native PipeWire client, 64-frame quantum"_s,
             recorder.pressNative(settings.presses, calibrationErrorNs));
    std::printf("\nLoad at the end: %s\n", loadAverage().constData());
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    seam::leaveTheUsersHomeAlone();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("SDL_AUDIODRIVER"); // the game chooses, as on a desktop
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Measures what the child hears through a private PipeWire. Exits with 77 "
                                     "where PipeWire cannot start."_s);
    parser.addHelpOption();
    const QCommandLineOption smoke(u"smoke"_s, u"A few presses and short idle times."_s);
    // The tool's own runs of key presses, each in a process of its own.
    const QCommandLineOption keys(u"keys"_s, u"Presses this many keys (internal)."_s, u"n"_s);
    const QCommandLineOption gap(u"gap-ms"_s, u"Between presses (internal)."_s, u"ms"_s);
    const QCommandLineOption reference(u"reference"_s, u"Buffer of the bare SDL_mixer window (internal)."_s, u"n"_s);
    parser.addOptions({smoke, keys, gap, reference});
    parser.process(app);
    try {
        if (parser.isSet(keys))
            pressKeys(parser.value(keys).toInt(), parser.value(gap).toInt(), parser.value(reference).toInt());
        return measure(parser.isSet(smoke) ? Smoke : Rounds{});
    } catch (const std::exception &error) {
        std::fprintf(stderr, "velkarn-soundserver: %s\n", error.what());
        return 1;
    }
}
