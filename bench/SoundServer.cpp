// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoundServer.h"

#include "Figures.h"
#include "Measure.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <pipewire/pipewire.h>
#include <spa/param/audio/format-utils.h>

#include <sys/prctl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cmath>
#include <csignal>
#include <memory>
#include <mutex>
#include <numbers>
#include <random>
#include <stdexcept>

namespace {
constexpr int Rate = 48000;
constexpr qint64 FrameNs = 1'000'000'000 / Rate;
constexpr float Loud = 1e-3f;          // a sample above this (about -60 dBFS) is sound
constexpr int GapFrames = Rate / 2000; // 0.5 ms of silence ends a sound; a 440 Hz tone has none
constexpr double ToneNs = 10e6;        // every recording the timed game plays is a 10 ms tone
constexpr const char *SinkName = "velkarn_bench_sink";

[[noreturn]] void fail(const QString &what)
{
    throw std::runtime_error(what.toStdString());
}
double ms(double ns)
{
    return ns / 1e6;
}

/// Processor time used so far by the process pid and all its threads; 0 once it has gone.
qint64 processCpuNs(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    const QByteArray line = stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
    // After the name in parentheses, utime and stime are the 12th and 13th fields.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toLongLong() + fields.value(12).toLongLong()) * 1'000'000'000 / sysconf(_SC_CLK_TCK);
}

// The private server. Its processes stop with it, and die with the benchmark should it crash.
class SoundServer
{
public:
    SoundServer()
    {
        QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env_ = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"PULSE_SERVER", "PIPEWIRE_REMOTE"})
            env_.remove(QString::fromLatin1(name));
        // The user's own settings and saved state stay out of it, and untouched.
        for (const char *name : {"XDG_RUNTIME_DIR", "PIPEWIRE_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_STATE_HOME"})
            env_.insert(QString::fromLatin1(name), dir_.path());
        const QString bus = QStringLiteral("unix:path=%1/bus").arg(dir_.path());
        env_.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus);
        const QString sink = QString::fromLatin1(SinkName);
        QByteArray chosen;
        if (launch({QStringLiteral("dbus-daemon"), QStringLiteral("--session"), QStringLiteral("--nofork"),
                    QStringLiteral("--address=") + bus},
                   QStringLiteral("bus"))
            && launch({QStringLiteral("pipewire")}, QStringLiteral("pipewire-0"))
            && launch({QStringLiteral("wireplumber")}, {})
            && launch({QStringLiteral("pipewire-pulse")}, QStringLiteral("pulse/native"))
            && pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                      QStringLiteral("sink_name=") + sink})) {
            // The session manager may know the new sink only a moment later, on a busy machine seconds.
            for (int tries = 0; tries < 250 && chosen.trimmed() != sink; ++tries) {
                QThread::msleep(20);
                if (pactl({QStringLiteral("set-default-sink"), sink}))
                    pactl({QStringLiteral("get-default-sink")}, &chosen);
            }
            failure_ = chosen.trimmed() == sink ? QString()
                                                : QStringLiteral("the null sink never became the default: ") + failure_;
        }
    }
    ~SoundServer()
    {
        for (auto process = processes_.rbegin(); process != processes_.rend(); ++process) {
            (*process)->terminate();
            if (!(*process)->waitForFinished(3000))
                (*process)->kill();
            (*process)->waitForFinished();
        }
    }

    /// Why the server could not start; empty while it runs.
    QString failure() const { return failure_; }
    /// The environment that makes a client use this server rather than the desktop's.
    QProcessEnvironment environment() const { return env_; }
    /// Processor time its processes have used so far.
    qint64 cpuNs() const
    {
        qint64 sum = 0;
        for (const auto &process : processes_)
            sum += processCpuNs(process->processId());
        return sum;
    }

private:
    // Starts a program and waits for the socket it makes (if any) in the runtime folder.
    bool launch(const QStringList &command, const QString &socket)
    {
        QProcess &process = *processes_.emplace_back(std::make_unique<QProcess>());
        process.setProcessEnvironment(env_);
        process.setStandardOutputFile(QProcess::nullDevice()); // their chatter would fill the table, or a pipe
        process.setStandardErrorFile(QProcess::nullDevice());
        process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        process.start(command.first(), command.mid(1));
        process.waitForStarted();
        for (int tries = 0; process.state() == QProcess::Running && tries < 250; ++tries) {
            if (socket.isEmpty() || QFile::exists(QDir(dir_.path()).filePath(socket)))
                return true;
            QThread::msleep(20);
        }
        failure_ = process.state() == QProcess::Running
            ? QStringLiteral("%1 made no %2 in 5 s").arg(command.first(), socket)
            : process.error() == QProcess::FailedToStart
            ? QStringLiteral("%1: %2").arg(command.first(), process.errorString())
            : QStringLiteral("%1 ended at once").arg(command.first());
        return false;
    }
    bool pactl(const QStringList &arguments, QByteArray *output = nullptr)
    {
        QProcess pactl;
        pactl.setProcessEnvironment(env_);
        pactl.start(QStringLiteral("pactl"), arguments);
        if (!pactl.waitForFinished(5000) || pactl.exitStatus() != QProcess::NormalExit || pactl.exitCode() != 0) {
            failure_ = QStringLiteral("pactl %1: %2").arg(arguments.join(u' '), pactl.errorString());
            return false;
        }
        if (output != nullptr)
            *output = pactl.readAllStandardOutput();
        return true;
    }

    QTemporaryDir dir_;
    QProcessEnvironment env_;
    std::vector<std::unique_ptr<QProcess>> processes_;
    QString failure_;
};

// Listens to the null sink's monitor and times every sound the sink plays on the monotonic clock,
// to the sample. A sample is at the sink at the end of the graph cycle that carries it: the earliest
// a device could begin to play it. A native client plays a 10 ms tone from the next cycle on request:
// the floor, and the calibration of the recording, as it knows in which cycle its tone was played.
class SinkRecorder
{
public:
    struct Sound {
        qint64 startNs = 0; // when its first sample was at the sink
        qint64 lengthNs = 0;
        uint64_t cycle = 0; // the recorder's cycle that heard it begin
    };

    SinkRecorder()
        : loop_(pw_thread_loop_new("velkarn-recorder", nullptr))
        , capture_(newStream(true))
    {
        if (pw_thread_loop_start(loop_) != 0)
            fail(QStringLiteral("the recorder's PipeWire loop did not start"));
    }
    ~SinkRecorder()
    {
        pw_thread_loop_stop(loop_);
        pw_stream_destroy(capture_);
        pw_thread_loop_destroy(loop_);
    }
    SinkRecorder(const SinkRecorder &) = delete;
    SinkRecorder &operator=(const SinkRecorder &) = delete;

    /// The sounds heard whole since the last call.
    std::vector<Sound> take()
    {
        const std::lock_guard lock(mutex_);
        return std::exchange(sounds_, {});
    }

    /// Presses the native client's key at random moments; returns key -> sink of each in ns, and
    /// the largest difference between where the recording put a tone and where it was played.
    std::vector<double> pressNative(int presses, qint64 &calibrationErrorNs)
    {
        pw_thread_loop_lock(loop_);
        player_ = newStream(false);
        pw_thread_loop_unlock(loop_);
        QThread::msleep(500); // linked and running
        std::mt19937 random(presses);
        std::vector<double> latencies;
        for (int i = 0; i < presses; ++i) {
            QThread::usleep(20'000 + random() % 20'000);
            take();
            toneCycle_ = 0;
            const qint64 key = bench::monotonicNs();
            keyNs_ = key;
            std::vector<Sound> heard;
            for (int waited = 0; waited < 2000 && heard.empty(); ++waited) {
                QThread::msleep(1);
                heard = take();
            }
            const qint64 cycle = toneCycle_;
            if (heard.empty() || cycle == 0)
                fail(QStringLiteral("the native client's tone was never heard"));
            const qint64 played = cycle + toneFrames_ * FrameNs;
            const std::lock_guard lock(mutex_);
            // The recorder hears a cycle's sound some cycles later: from the first tone on, each
            // sound is placed in the cycle in which the sink played it.
            for (uint64_t back = 0; lag_ < 0 && back < Cycles; ++back) {
                if (cycles_[(heard.front().cycle - back) % Cycles] == cycle)
                    lag_ = static_cast<int>(back);
            }
            if (i > 0)
                calibrationErrorNs = std::max(calibrationErrorNs, std::abs(heard.front().startNs - played));
            latencies.push_back(static_cast<double>(played - key));
        }
        pw_thread_loop_lock(loop_);
        pw_stream_destroy(player_); // once it returns, the data thread no longer plays
        player_ = nullptr;
        pw_thread_loop_unlock(loop_);
        if (lag_ < 0)
            fail(QStringLiteral("the recording path could not be calibrated"));
        return latencies;
    }
    /// Cycles from the sink playing a sound to the recorder hearing it.
    int lag() const { return lag_; }

private:
    static constexpr uint64_t Cycles = 4096;

    pw_stream *newStream(bool capture)
    {
        static const pw_stream_events captureEvents = events(&SinkRecorder::onCapture);
        static const pw_stream_events playEvents = events(&SinkRecorder::onPlay);
        // The recorder asks for the longest cycle, so that it never shortens the graph's, and is
        // passive, so that the graph rests when nothing else plays; the native client asks for the
        // shortest cycle that PipeWire's defaults allow.
        pw_properties *props
            = pw_properties_new(PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, capture ? "Capture" : "Playback",
                                PW_KEY_NODE_LATENCY, capture ? "8192/48000" : "64/48000", nullptr);
        if (capture) {
            pw_properties_set(props, PW_KEY_STREAM_CAPTURE_SINK, "true");
            pw_properties_set(props, PW_KEY_NODE_PASSIVE, "true");
            pw_properties_set(props, PW_KEY_TARGET_OBJECT, SinkName);
        }
        pw_stream *stream
            = pw_stream_new_simple(pw_thread_loop_get_loop(loop_), capture ? "velkarn-recorder" : "velkarn-native",
                                   props, capture ? &captureEvents : &playEvents, this);
        uint8_t buffer[512];
        spa_pod_builder builder = SPA_POD_BUILDER_INIT(buffer, sizeof buffer);
        spa_audio_info_raw info{};
        info.format = SPA_AUDIO_FORMAT_F32;
        info.rate = Rate;
        info.channels = 2;
        const spa_pod *params[] = {spa_format_audio_raw_build(&builder, SPA_PARAM_EnumFormat, &info)};
        const auto flags = static_cast<pw_stream_flags>(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS
                                                        | PW_STREAM_FLAG_RT_PROCESS);
        if (stream == nullptr
            || pw_stream_connect(stream, capture ? PW_DIRECTION_INPUT : PW_DIRECTION_OUTPUT, PW_ID_ANY, flags, params,
                                 1)
                != 0)
            fail(QStringLiteral("cannot connect a PipeWire stream"));
        return stream;
    }
    static pw_stream_events events(void (*process)(void *))
    {
        pw_stream_events events{};
        events.version = PW_VERSION_STREAM_EVENTS;
        events.process = process;
        return events;
    }

    static void onCapture(void *data)
    {
        auto *self = static_cast<SinkRecorder *>(data);
        pw_buffer *buffer = pw_stream_dequeue_buffer(self->capture_);
        if (buffer == nullptr)
            return;
        pw_time time{};
        pw_stream_get_time_n(self->capture_, &time, sizeof time);
        const spa_data &d = buffer->buffer->datas[0];
        const auto *samples = static_cast<const float *>(d.data) + d.chunk->offset / sizeof(float);
        const uint32_t frames = d.data == nullptr ? 0 : d.chunk->size / (2 * sizeof(float));
        const std::lock_guard lock(self->mutex_);
        const uint64_t cycle = ++self->heardCycle_;
        self->cycles_[cycle % Cycles] = time.now;
        const qint64 played = self->cycles_[(cycle - std::max(self->lag_, 0)) % Cycles] + frames * FrameNs;
        for (uint32_t i = 0; i < frames; ++i) {
            const qint64 at = played + i * FrameNs;
            if (std::max(std::abs(samples[2 * i]), std::abs(samples[2 * i + 1])) > Loud) {
                if (self->start_.startNs == 0)
                    self->start_ = {at, 0, cycle};
                self->lastNs_ = at;
                self->quiet_ = 0;
            } else if (self->start_.startNs != 0 && ++self->quiet_ == GapFrames) {
                self->start_.lengthNs = self->lastNs_ + FrameNs - self->start_.startNs;
                self->sounds_.push_back(std::exchange(self->start_, {}));
            }
        }
        pw_stream_queue_buffer(self->capture_, buffer);
    }

    static void onPlay(void *data)
    {
        // The data thread: atomics only.
        auto *self = static_cast<SinkRecorder *>(data);
        pw_buffer *buffer = pw_stream_dequeue_buffer(self->player_);
        if (buffer == nullptr)
            return;
        spa_data &d = buffer->buffer->datas[0];
        auto *out = static_cast<float *>(d.data);
        const uint32_t frames = std::min<uint32_t>(buffer->requested > 0 ? buffer->requested : 64, d.maxsize / 8);
        if (self->toneLeft_ == 0 && self->keyNs_.exchange(0) != 0) {
            pw_time time{};
            pw_stream_get_time_n(self->player_, &time, sizeof time);
            self->toneLeft_ = Rate / 100;
            self->toneFrames_ = frames;
            self->toneCycle_ = time.now;
        }
        for (uint32_t i = 0; i < frames && out != nullptr; ++i) {
            const int n = Rate / 100 - self->toneLeft_ + 1;
            out[2 * i] = out[2 * i + 1]
                = self->toneLeft_ > 0 ? 0.5f * std::sin(2 * std::numbers::pi_v<float> * 440 * n / Rate) : 0;
            self->toneLeft_ -= self->toneLeft_ > 0;
        }
        *d.chunk = spa_chunk{0, frames * 8, 8, 0};
        pw_stream_queue_buffer(self->player_, buffer);
    }

    pw_thread_loop *loop_ = nullptr;
    pw_stream *capture_ = nullptr;
    pw_stream *player_ = nullptr;
    std::mutex mutex_; // guards what follows, up to the player's atomics
    std::vector<Sound> sounds_;
    std::array<qint64, Cycles> cycles_{};
    uint64_t heardCycle_ = 0;
    int lag_ = -1;
    Sound start_;
    qint64 lastNs_ = 0;
    int quiet_ = 0;
    std::atomic<qint64> keyNs_{0};
    std::atomic<qint64> toneCycle_{0};
    std::atomic<qint64> toneFrames_{0};
    int toneLeft_ = 0;
};

struct Row {
    QString label;
    QString driver; // SDL_AUDIODRIVER; empty: the game chooses
    int frames = 0; // 0: the game's own buffer
    int gapMs = 0;  // silence before each key
    bool idle = true;
    double idleCpu = -1;
};

// A sound is heard whole when its length is a whole number of 10 ms recordings (several may follow
// one another without a gap) within 2 ms; a drop-out shortens it, splits it or draws it out.
bool heardWhole(const SinkRecorder::Sound &sound)
{
    const double tones = std::round(static_cast<double>(sound.lengthNs) / ToneNs);
    return tones >= 1 && std::abs(static_cast<double>(sound.lengthNs) - tones * ToneNs) <= 2e6;
}

/// Processor use of cpuNs over wallNs, as a percentage of one core.
double corePercent(qint64 cpuNs, qint64 wallNs)
{
    return wallNs > 0 ? 100.0 * double(cpuNs) / double(wallNs) : 0.0;
}

// Runs the game through the server, handing each line it prints to onLine with its process id.
template<typename OnLine>
void runGame(const QProcessEnvironment &serverEnv, const QString &gamePath, const Row &row, QStringList arguments,
             OnLine onLine)
{
    QProcessEnvironment env = serverEnv;
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), row.driver);
    if (row.frames > 0)
        arguments << QStringLiteral("--frames") << QString::number(row.frames);
    QProcess game;
    game.setProcessEnvironment(env);
    game.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    game.start(gamePath, arguments);
    const qint64 pid = game.waitForStarted() ? game.processId() : 0;
    const QDeadlineTimer limit(600'000);
    while (game.state() == QProcess::Running && !limit.hasExpired()) {
        game.waitForReadyRead(1000);
        while (game.canReadLine())
            onLine(game.readLine().trimmed(), pid);
    }
    game.kill();
    game.waitForFinished();
    while (game.canReadLine())
        onLine(game.readLine().trimmed(), pid);
    if (game.exitStatus() != QProcess::NormalExit || game.exitCode() != 0)
        fail(QStringLiteral("the game (%1) did not end well").arg(row.label));
}

void addRow(Figures &figures, const QString &label, const std::vector<double> &ns, int heard, int broken, double idle,
            bool asBuilt)
{
    for (const auto &[name, p] : {std::pair{"p50", 50}, {"p95", 95}, {"p99", 99}}) {
        figures.add(QStringLiteral("%1, key -> sink %2").arg(label, name), ms(bench::percentile(ns, p)), "ms", 1,
                    asBuilt && p == 95 ? std::optional(Figures::Limit{20}) : std::nullopt);
    }
    if (heard >= 0) {
        figures.add(QStringLiteral("%1, sounds heard").arg(label), heard, "", 0);
        figures.add(QStringLiteral("%1, sounds not whole").arg(label), broken, "", 0);
    }
    if (idle >= 0)
        figures.add(QStringLiteral("%1, idle, game and server").arg(label), idle, "%", 2,
                    asBuilt ? std::optional(Figures::Limit{1}) : std::nullopt);
}
} // namespace

int measureThroughSoundServer(const QString &gamePath, int presses, int idleMs, Figures &figures)
{
    figures.section(
        QStringLiteral("sound_server"),
        QStringLiteral("Key -> sink through a private PipeWire (a null sink's monitor recorded; %1 presses each;"
                       " idle %2 s, game + pipewire + wireplumber + pipewire-pulse, % of a core)")
            .arg(presses)
            .arg(idleMs / 1000.0));
    const SoundServer server;
    if (!server.failure().isEmpty()) {
        std::printf("  not measured: PipeWire cannot start here (%s)\n", qPrintable(server.failure()));
        return 77;
    }
    const QProcessEnvironment env = server.environment();
    for (const char *name : {"XDG_RUNTIME_DIR", "PIPEWIRE_RUNTIME_DIR"})
        qputenv(name, env.value(QString::fromLatin1(name)).toLocal8Bit());
    pw_init(nullptr, nullptr);

    // Longer than the game keeps its device after the last sound.
    constexpr int AfterIdleMs = 6000;
    std::vector<Row> rows{
        {QStringLiteral("Velkarn as built"), {}, 0, 0, true},
        {QStringLiteral("first key after %1 s of silence").arg(AfterIdleMs / 1000), {}, 0, AfterIdleMs, false},
        {QStringLiteral("pipewire driver, 128 frames"), QStringLiteral("pipewire"), 128, 0, true},
        {QStringLiteral("pipewire driver, 192 frames"), QStringLiteral("pipewire"), 192, 0, true},
        {QStringLiteral("pipewire driver, 256 frames"), QStringLiteral("pipewire"), 256, 0, true},
        {QStringLiteral("pipewire driver, 512 frames"), QStringLiteral("pipewire"), 512, 0, true},
        {QStringLiteral("pulseaudio driver, 256 frames"), QStringLiteral("pulseaudio"), 256, 0, true},
        {QStringLiteral("pulseaudio driver, 512 frames"), QStringLiteral("pulseaudio"), 512, 0, true},
        {QStringLiteral("SDL_mixer program, 4096 frames"), QStringLiteral("pulseaudio"), 4096, 0, false},
    };

    // Idle first, with nothing recording: the server alone, then each game from the moment it has
    // settled, in a run of its own.
    const qint64 serverCpu = server.cpuNs();
    const qint64 serverStart = bench::monotonicNs();
    QThread::msleep(static_cast<unsigned long>(idleMs));
    const double serverIdle = corePercent(server.cpuNs() - serverCpu, bench::monotonicNs() - serverStart);
    for (Row &row : rows) {
        qint64 cpu = 0;
        qint64 start = 0;
        if (row.idle) {
            runGame(env, gamePath, row, {QStringLiteral("--idle-ms"), QString::number(idleMs)},
                    [&](const QByteArray &line, qint64 pid) {
                        if (!line.startsWith("rss_start_kb=") && !line.startsWith("idle_cpu_pct="))
                            return; // idle runs between these two
                        const qint64 now = processCpuNs(pid) + server.cpuNs();
                        if (start != 0)
                            row.idleCpu = corePercent(now - cpu, bench::monotonicNs() - start);
                        std::tie(cpu, start) = std::pair(now, bench::monotonicNs());
                    });
        }
    }

    SinkRecorder recorder;
    qint64 calibrationErrorNs = 0;
    addRow(figures, QStringLiteral("native PipeWire client, 64 frames (floor)"),
           recorder.pressNative(presses, calibrationErrorNs), -1, 0, -1, false);
    figures.add(QStringLiteral("the server alone, idle"), serverIdle, "%", 2);
    for (const Row &row : rows) {
        recorder.take();
        std::vector<qint64> keys;
        runGame(env, gamePath, row,
                {QStringLiteral("--presses"), QString::number(presses), QStringLiteral("--gap-ms"),
                 QString::number(row.gapMs), QStringLiteral("--seed"), QString::number(presses)},
                [&keys](const QByteArray &line, qint64) {
                    if (line.startsWith("key_ns="))
                        keys.push_back(static_cast<qint64>(line.mid(7).toDouble()));
                });
        // The recorder may lag behind on a busy machine: wait up to 5 s for the last key's answer.
        std::vector<SinkRecorder::Sound> heard;
        for (int waited = 0; waited < 50 && (heard.empty() || (!keys.empty() && heard.back().startNs < keys.back()));
             ++waited) {
            QThread::msleep(100);
            const std::vector<SinkRecorder::Sound> more = recorder.take();
            heard.insert(heard.end(), more.begin(), more.end());
        }
        std::vector<double> latencies;
        for (qint64 key : keys) {
            const auto answer
                = std::find_if(heard.begin(), heard.end(), [key](const auto &s) { return s.startNs > key; });
            if (key == 0 || answer == heard.end())
                fail(QStringLiteral("a key's answer was never heard (%1)").arg(row.label));
            latencies.push_back(static_cast<double>(answer->startNs - key));
        }
        // The game as built is held to what a child should hear, and to costing nothing while silent.
        addRow(
            figures, row.label, latencies, static_cast<int>(heard.size()),
            static_cast<int>(std::count_if(heard.begin(), heard.end(), [](const auto &s) { return !heardWhole(s); })),
            row.idleCpu, &row == &rows.front());
    }
    figures.add(QStringLiteral("recording calibrated: cycles the recorder hears late"), recorder.lag(), "", 0);
    figures.add(QStringLiteral("recording calibrated: tones placed within"), ms(double(calibrationErrorNs)), "ms", 3);
    return 0;
}
