// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmark: what guards the game's speed and memory from one release to the next. Key -> first
// mixed sample, start-up, resident memory and idle processor use, each beside its floor measured in
// the same run, so that the ratios hold on any machine. Prints a table and writes it as JSON.

#include "GameSeam.h"
#include "Measure.h"
#include "SoundPipe.h"
#include "support/ToneRecordings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QJsonDocument>
#include <QProcess>
#include <QThread>

#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <random>

using namespace Qt::StringLiterals;

namespace {

struct Rounds {
    int presses = 200; // door keys, and keys on the floor's window
    int starts = 20;   // of the game and of the floor, each
    int idleMs = 10'000;
};
const Rounds Smoke{5, 1, 500};

constexpr double MixPeriodMs = 1000.0 * SdlSoundComponent::DefaultBufferFrames / 48000;

// Listens to the mixer's output from outside the game: a post-mix callback sees every buffer once
// all channels are mixed into it. Only one may exist, made after the device opened.
class MixWatch
{
public:
    MixWatch() { Mix_SetPostMix(&MixWatch::onMix, this); }
    // Once this returns the audio thread is outside the callback: the mixer swaps it under its lock.
    ~MixWatch() { Mix_SetPostMix(nullptr, nullptr); }

    /// When the first buffer with sound in it was mixed since listen(); 0 while none was.
    qint64 heardNs() const { return heardNs_; }
    void listen() { heardNs_ = 0; }
    /// Runs the event loop until nothing has sounded for 200 ms from now on.
    void settle() const
    {
        const qint64 from = seam::nowNs();
        seam::waitUntil([&] { return seam::nowNs() - std::max(from, lastSoundNs_.load()) > 200'000'000; }, 30'000,
                        "the sound never ended");
    }

private:
    static void SDLCALL onMix(void *self, Uint8 *stream, int length)
    {
        auto *watch = static_cast<MixWatch *>(self);
        if (std::any_of(stream, stream + length, [](Uint8 byte) { return byte != 0; })) {
            watch->lastSoundNs_ = seam::nowNs();
            qint64 none = 0;
            watch->heardNs_.compare_exchange_strong(none, watch->lastSoundNs_);
        }
    }

    std::atomic<qint64> heardNs_{0};
    std::atomic<qint64> lastSoundNs_{0};
};

/// Key -> first mixed sample of its answer, in ms, for presses of the door keys 1 to 3 on window
/// at random moments after the last answer has ended; on the game, each during a walk.
std::vector<double> timeKeys(QWidget &window, MixWatch &mix, int presses, bool game)
{
    std::mt19937 random(static_cast<unsigned>(presses));
    std::vector<double> ms;
    while (int(ms.size()) < presses) {
        mix.settle();
        if (game && !seam::walks(window))
            continue;
        seam::stayIdle(std::uniform_int_distribution(0, 100)(random));
        mix.listen();
        const qint64 key = seam::nowNs(); // as the window system hands the key to Qt
        TypeKey(window, Qt::Key_1 + std::uniform_int_distribution(0, 2)(random));
        seam::waitUntil([&] { return mix.heardNs() != 0; }, 5'000, "a key was never answered");
        ms.push_back(double(mix.heardNs() - key) / 1e6);
    }
    return ms;
}

/// In this process, on SDL's dummy driver with the game's buffer: first the floor's bare window, then
/// the game's, whose every recording is here a 10 ms tone beside this program: heard from its first
/// sample, soon over.
void measureKeyToSound(const Rounds &settings, Figures &figures)
{
    if (!WriteToneRecordings(QStringLiteral(BUILT_WAVE), QCoreApplication::applicationDirPath() + u"/wave"_s, 10))
        throw std::runtime_error("cannot write the tones beside the benchmark");
    qputenv("SDL_AUDIODRIVER", "dummy");
    SdlSoundComponent component;
    if (!component.isOpen())
        throw std::runtime_error("no audio device: " + component.openError().toStdString());
    MixWatch mix;
    seam::BareWindow bare(component, QCoreApplication::applicationDirPath() + u"/wave/nr1.wav"_s);
    bare.show();
    const std::vector<double> floor = timeKeys(bare, mix, settings.presses, false);
    bare.close();
    const std::unique_ptr<Velkarn> game = seam::startGame(component);
    const std::vector<double> answers = timeKeys(game->window(), mix, settings.presses, true);

    figures.section(u"key_to_sound_ms"_s,
                    u"Key -> first mixed sample (ms; %1 presses at random moments, "
                    "%2-frame mixer)"_s.arg(settings.presses)
                        .arg(SdlSoundComponent::DefaultBufferFrames));
    figures.add(u"floor: the same recording played at the key, p50"_s, percentile(floor, 50), "ms");
    figures.add(u"floor, p95"_s, percentile(floor, 95), "ms");
    figures.add(u"game: a door key, p50"_s, percentile(answers, 50), "ms");
    figures.add(u"game, p95"_s, percentile(answers, 95), "ms");
    figures.add(u"game, max"_s, percentile(answers, 100), "ms");
    // The game may cost one mixing pass more than the floor, no more.
    figures.add(u"game p95 over the floor's"_s, percentile(answers, 95) - percentile(floor, 95), "ms",
                Figures::Limit{MixPeriodMs});
}

// A program started with SDL's disk driver writing its sound into a pipe, followed from outside. In
// a hurry, the driver mixes a buffer every millisecond rather than in real time, so that its first
// sound comes out within a few milliseconds of being mixed (it writes four buffers at a time).
class Started
{
public:
    Started(const QString &program, const QStringList &arguments, bool hurry)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"SDL_AUDIODRIVER"_s, u"disk"_s);
        env.insert(u"SDL_DISKAUDIOFILE"_s, pipe_.path());
        // Milliseconds between buffers: SDL's own choice is a buffer's length.
        env.insert(u"SDL_DISKAUDIODELAY"_s, QString::number(hurry ? 1 : SdlSoundComponent::DefaultBufferFrames / 48));
        env.insert(u"VELKARN_SOUND"_s, u"sdl"_s);
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedChannels);
        startNs_ = seam::nowNs();
        process_.start(program, arguments);
        if (!process_.waitForStarted())
            throw std::runtime_error((program + u": "_s + process_.errorString()).toStdString());
    }
    ~Started()
    {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished();
    }

    /// Process start -> its first sound, in ms, once it has come out.
    double firstSoundMs() const
    {
        seam::waitUntil([&] { return pipe_.firstSoundNs() != 0; }, 60'000, "a started program made no sound");
        return double(pipe_.firstSoundNs() - startNs_) / 1e6;
    }
    /// Its resident memory in MiB and idle processor use over idleMs in % of a core, once it has
    /// made its first sounds and then been silent for a second.
    std::pair<double, double> residentAndIdle(int idleMs) const
    {
        seam::waitUntil(
            [&] { return pipe_.firstSoundNs() != 0 && seam::nowNs() - pipe_.lastSoundNs() > 1'000'000'000; }, 60'000,
            "a started program never fell silent");
        const qint64 pid = process_.processId(), cpu = cpuNs(pid), start = seam::nowNs();
        const double resident = double(residentKb(pid)) / 1024;
        seam::stayIdle(idleMs);
        return {resident, 100.0 * double(cpuNs(pid) - cpu) / double(seam::nowNs() - start)};
    }

private:
    SoundPipe pipe_;
    QProcess process_;
    qint64 startNs_ = 0;
};

/// The program as built, with its recordings, against a bare window that plays the welcome once shown.
void measureStartUpAndIdle(const Rounds &settings, Figures &figures)
{
    const QString game = QStringLiteral(VELKARN_PROGRAM), bare = QCoreApplication::applicationFilePath();
    std::vector<double> gameStart, bareStart;
    for (int i = 0; i <= settings.starts; ++i) { // the first warms the caches up, as on a player's machine
        const double gameMs = Started(game, {}, true).firstSoundMs();
        const double bareMs = Started(bare, {u"--floor"_s}, true).firstSoundMs();
        gameStart.insert(gameStart.end(), i > 0 ? 1 : 0, gameMs);
        bareStart.insert(bareStart.end(), i > 0 ? 1 : 0, bareMs);
    }
    const auto [gameMiB, gameIdle] = Started(game, {}, false).residentAndIdle(settings.idleMs);
    const auto [bareMiB, bareIdle] = Started(bare, {u"--floor"_s}, false).residentAndIdle(settings.idleMs);

    figures.section(u"startup_ms"_s,
                    u"Start-up: process start -> first sample of the welcome (ms, median of %1 "
                    "starts)"_s.arg(settings.starts));
    figures.add(u"floor: a bare window that plays the welcome once shown"_s, percentile(bareStart, 50), "ms");
    figures.add(u"game"_s, percentile(gameStart, 50), "ms");
    figures.add(u"game over floor"_s, percentile(gameStart, 50) / percentile(bareStart, 50), "x", Figures::Limit{2});

    figures.section(u"memory_mib"_s, u"Resident memory once the welcome and the first prompt have ended (MiB)"_s);
    figures.add(u"floor"_s, bareMiB, "MiB");
    figures.add(u"game"_s, gameMiB, "MiB");
    figures.add(u"game over floor"_s, gameMiB / bareMiB, "x", Figures::Limit{1.5});

    figures.section(u"idle_cpu_percent"_s,
                    u"Processor, idle %1 s after that (% of one core)"_s.arg(settings.idleMs / 1000.0));
    figures.add(u"floor: the bare window, its audio device open"_s, bareIdle, "%");
    figures.add(u"game, asking for the number of rooms"_s, gameIdle, "%");
    figures.add(u"game over floor"_s, gameIdle / bareIdle, "x", Figures::Limit{1.3});
}

} // namespace

int main(int argc, char *argv[])
{
    seam::leaveTheUsersHomeAlone();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Measures Velkarn's speed and memory against their floors."_s);
    parser.addHelpOption();
    const QCommandLineOption smoke(u"smoke"_s, u"One round of each measurement, short idle times."_s);
    const QCommandLineOption json(u"json"_s, u"Also write the results as JSON to this file."_s, u"path"_s);
    const QCommandLineOption floor(u"floor"_s, u"Be the floor's bare window (the benchmark starts it)."_s);
    parser.addOptions({smoke, json, floor});
    parser.process(app);
    if (parser.isSet(floor)) { // a bare window with the game's audio device, playing the welcome once shown
        SdlSoundComponent component;
        seam::BareWindow window(component, QStringLiteral(BUILT_WAVE "welcome.wav"));
        window.show();
        window.play();
        return QApplication::exec();
    }

    const Rounds settings = parser.isSet(smoke) ? Smoke : Rounds{};
    const QJsonObject machine{{u"cores"_s, QThread::idealThreadCount()},
                              {u"load"_s, QString::fromLatin1(loadAverage())},
                              {u"qt"_s, QString::fromLatin1(qVersion())}};
    std::printf("Velkarn benchmark (%s)\nMachine: %s\n", parser.isSet(smoke) ? "smoke: one round of each" : "full",
                QJsonDocument(machine).toJson(QJsonDocument::Compact).constData());
    try {
        Figures figures;
        measureKeyToSound(settings, figures);
        measureStartUpAndIdle(settings, figures);
        if (parser.isSet(json)) {
            QJsonObject results = figures.json();
            results.insert(u"machine"_s, machine);
            results.insert(u"smoke"_s, parser.isSet(smoke));
            QFile file(parser.value(json));
            if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(results).toJson()) < 0)
                throw std::runtime_error("cannot write " + parser.value(json).toStdString());
            std::printf("\nWritten to %s\n", qPrintable(parser.value(json)));
        }
        return 0;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "velkarn-bench: %s\n", error.what());
        return 1;
    }
}
