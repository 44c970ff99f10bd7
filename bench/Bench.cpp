// The benchmark: the game's key-to-sound latency, processor use, start-up, memory and growth,
// each beside the alternative it is judged against. Prints a table and writes the same as JSON.

#include "Measure.h"
#include "Stats.h"
#include "TestRecordings.h"
#include "sound/SdlSoundComponent.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSysInfo>
#include <QThread>

#include <cstdio>
#include <random>
#include <stdexcept>

namespace {

struct Settings {
    bool smoke = false;
    int presses = 210;   // ten walks of 21 choices: a wrong door in room 1 and in room 20 each time
    int starts = 10;
    int idleMs = 10'000;
    int choices = 1'000;
    int coldOpens = 3;
    int warmOpens = 20;
    int soakCommands = 100'000;
};

Settings SmokeSettings()
{
    Settings s;
    s.smoke = true;
    s.presses = 21; // one walk still reaches room 20
    s.starts = 1;
    s.idleMs = 500;
    s.choices = 21;
    s.coldOpens = 1;
    s.warmOpens = 1;
    s.soakCommands = 1'000;
    return s;
}

double Ms(double ns) { return ns / 1e6; }
double Us(double ns) { return ns / 1e3; }

// ---- Programs started as processes of their own ---------------------------------------------

// What a started program said: "name=value" lines, and whether it ended as it should.
struct Reported {
    QHash<QString, QString> values;
    QStringList choices; // the "choice=" lines, one per door choice
    bool ended = false;  // exited by itself with status 0
    QString failure;     // else how it ended

    double Value(const char *name) const
    {
        bool ok = false;
        const double value = values.value(QString::fromUtf8(name)).toDouble(&ok);
        if (!ok)
            throw std::runtime_error(std::string("a started program did not report ") + name);
        return value;
    }
};

/// Runs program (a path, or a name in the benchmark's own folder) and collects what it reports.
Reported Start(const QString &program, const QStringList &arguments, qint64 *startNs = nullptr,
               int timeoutMs = 600'000)
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(program);
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (startNs != nullptr)
        *startNs = bench::MonotonicNs();
    process.start(path, arguments);
    Reported reported;
    if (!process.waitForFinished(timeoutMs)) {
        reported.failure = QStringLiteral("did not end: %1").arg(process.errorString());
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() != QProcess::NormalExit) {
        // For a process ended by a signal, Qt gives the signal as its exit code.
        reported.failure = QStringLiteral("crashed (signal %1)").arg(process.exitCode());
    } else if (process.exitCode() != 0) {
        reported.failure = QStringLiteral("exited with status %1").arg(process.exitCode());
    }
    reported.ended = reported.failure.isEmpty();
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            continue;
        const QString name = QString::fromUtf8(line.left(equals));
        const QString value = QString::fromUtf8(line.mid(equals + 1));
        if (name == QStringLiteral("choice"))
            reported.choices.append(value);
        else
            reported.values.insert(name, value);
    }
    return reported;
}

/// As Start, for a program that must end well: throws when it did not.
Reported Run(const QString &program, const QStringList &arguments, qint64 *startNs = nullptr)
{
    Reported reported = Start(program, arguments, startNs);
    if (!reported.ended)
        throw std::runtime_error(QFileInfo(program).fileName().toStdString() + " " + reported.failure.toStdString());
    return reported;
}

// ---- Key to sound ---------------------------------------------------------------------------

struct Choice {
    int room = 0;            // rooms passed before the choice (0 is the first room)
    bool correct = false;    // whether the chosen door was the one that opens
    double keyToSoundNs = 0; // key arrival at the window to the first mixed samples of its announcement
    double cpuNs = 0;        // processor time of the window's thread until all its sounds ended
};

struct LatencyRow {
    int frames = 0;
    std::vector<Choice> choices;

    std::vector<double> KeyToSoundNs(int room = -1, bool wrongOnly = false) const
    {
        std::vector<double> values;
        for (const Choice &c : choices) {
            if ((room < 0 || c.room == room) && (!wrongOnly || !c.correct))
                values.push_back(c.keyToSoundNs);
        }
        return values;
    }
    std::vector<double> CpuNs(int room, bool wrongOnly) const
    {
        std::vector<double> values;
        for (const Choice &c : choices) {
            if (c.room == room && (!wrongOnly || !c.correct))
                values.push_back(c.cpuNs);
        }
        return values;
    }
};

LatencyRow PressDoors(int frames, int presses, const TestRecordings &recordings)
{
    const Reported reported = Run(recordings.ShortGame(), {QStringLiteral("--frames"), QString::number(frames),
                                                           QStringLiteral("--presses"), QString::number(presses),
                                                           QStringLiteral("--seed"), QString::number(frames)});
    LatencyRow row{frames, {}};
    for (const QString &line : reported.choices) {
        const QStringList fields = line.split(QLatin1Char(' '));
        if (fields.size() != 4)
            throw std::runtime_error("velkarn-bench-game reported a door choice it should not: " + line.toStdString());
        row.choices.push_back({fields[0].toInt(), fields[1] == QStringLiteral("1"), fields[2].toDouble(),
                               fields[3].toDouble()});
    }
    if (static_cast<int>(row.choices.size()) != presses)
        throw std::runtime_error("velkarn-bench-game did not report every door choice");
    return row;
}

// ---- Opening recordings of growing length ---------------------------------------------------

struct OpenCost {
    int seconds = 0;
    double coldNs = 0; // first open: decoded
    double warmNs = 0; // opened again: already decoded
};

std::vector<OpenCost> MeasureOpening(const TestRecordings &recordings, const Settings &settings)
{
    recordings.MakeCopies(settings.coldOpens);
    SdlSoundComponent component;
    if (!component.isOpen())
        throw std::runtime_error("no audio device: " + component.openError().toStdString());
    auto timedOpen = [&component](const QString &path) {
        const qint64 start = bench::MonotonicNs();
        const qint32 handle = component.openWave(path);
        const qint64 spent = bench::MonotonicNs() - start;
        if (handle <= 0)
            throw std::runtime_error("cannot open " + path.toStdString());
        component.closeWave(handle);
        return static_cast<double>(spent);
    };
    std::vector<OpenCost> costs;
    for (int seconds : {1, 10, 60}) {
        std::vector<double> cold;
        std::vector<double> warm;
        for (int copy = 1; copy <= settings.coldOpens; ++copy)
            cold.push_back(timedOpen(recordings.OfLength(seconds, copy)));
        for (int i = 0; i < settings.warmOpens; ++i)
            warm.push_back(timedOpen(recordings.OfLength(seconds, 1)));
        costs.push_back({seconds, bench::Median(cold), bench::Median(warm)});
    }
    return costs;
}

struct StartUp {
    double gameNs = 0;       // to the first sample of the welcome
    double gameExposeNs = 0; // to the game window's first expose
    double bareNs = 0;
};

StartUp MeasureStartUp(int starts)
{
    std::vector<double> game;
    std::vector<double> gameExpose;
    std::vector<double> bare;
    for (int i = 0; i < starts; ++i) {
        qint64 start = 0;
        const Reported g = Run(QStringLiteral("velkarn-bench-game"), {QStringLiteral("--start-only")}, &start);
        game.push_back(g.Value("first_mix_ns") - static_cast<double>(start));
        gameExpose.push_back(g.Value("first_expose_ns") - static_cast<double>(start));
        const Reported b = Run(QStringLiteral("velkarn-bench-bare"), {QStringLiteral("--start-only")}, &start);
        bare.push_back(b.Value("first_expose_ns") - static_cast<double>(start));
    }
    return {bench::Median(game), bench::Median(gameExpose), bench::Median(bare)};
}

// ---- Machine --------------------------------------------------------------------------------

QString CpuModel()
{
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (info.open(QIODevice::ReadOnly)) {
        for (QByteArray line = info.readLine(); !line.isEmpty(); line = info.readLine()) {
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
        }
    }
    return QStringLiteral("unknown");
}

// ---- Table and JSON -------------------------------------------------------------------------

class Report
{
public:
    void Heading(const char *text) { std::printf("\n%s\n", text); }
    void Line(const QString &text) { std::printf("  %s\n", qPrintable(text)); }

    /// Holds value against a limit (at most, or at least) and says so in the table and the JSON.
    void Target(const QString &name, double value, double limit, bool atMost, const QString &unit)
    {
        const bool met = atMost ? value <= limit : value >= limit;
        QString verdict = met ? QStringLiteral("met") : QStringLiteral("MISSED");
        if (!met)
            verdict += QStringLiteral(" by %1%2").arg(std::abs(value - limit), 0, 'f', 2).arg(unit);
        std::printf("  target %-48s %9.2f%-3s %s %6.2f%-3s %s\n", qPrintable(name), value, qPrintable(unit),
                    atMost ? "<=" : ">=", limit, qPrintable(unit), qPrintable(verdict));
        targets_.append(QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("value"), value},
                                    {QStringLiteral("limit"), limit},
                                    {QStringLiteral("at_most"), atMost}, {QStringLiteral("met"), met}});
    }
    QJsonArray Targets() const { return targets_; }

private:
    QJsonArray targets_;
};

// ---- Soak -----------------------------------------------------------------------------------

// A smaller mixer buffer than the game's own: with 10 ms recordings the soak then spends its time
// on commands rather than on waiting for the next mixing pass.
constexpr int SoakFrames = 256;

/// Sends random commands through the game in a process of its own, so that a crash is seen; adds
/// the figures to the table and the JSON. False when the game did not end well.
bool Soak(int commands, const TestRecordings &recordings, Report &report, QJsonObject &json)
{
    const Reported soak = Start(recordings.ShortGame(),
                                {QStringLiteral("--soak"), QString::number(commands), QStringLiteral("--frames"),
                                 QString::number(SoakFrames), QStringLiteral("--seed"), QString::number(commands)},
                                nullptr, 3'600'000);
    report.Heading(qPrintable(QStringLiteral("Soak: %1 random commands through the window and the SDL component "
                                             "(10 ms recordings, %2-frame mixer)")
                                  .arg(commands).arg(SoakFrames)));
    const QString ended = soak.ended ? QStringLiteral("normally") : soak.failure;
    report.Line(QString::asprintf("%-50s %s", "the game ended", qPrintable(ended)));
    QJsonObject figures{{QStringLiteral("commands"), commands}, {QStringLiteral("mixer_frames"), SoakFrames},
                        {QStringLiteral("ended_normally"), soak.ended}, {QStringLiteral("failure"), soak.failure}};
    if (!soak.ended) {
        json[QStringLiteral("soak")] = figures;
        return false;
    }
    const auto count = [&soak](const char *name) { return static_cast<int>(soak.Value(name)); };
    const double seconds = soak.Value("soak_seconds");
    report.Line(QString::asprintf("%-50s %d keys, %d held keys, %d clicks, %d screen-reader presses, %d menu commands",
                                  "sent", count("soak_keys"), count("soak_held_keys"), count("soak_clicks"),
                                  count("soak_accessibility_presses"), count("soak_menu_commands")));
    report.Line(QString::asprintf("%-50s %d walks begun, %d commands sent during a walk", "seen", count("soak_walks"),
                                  count("soak_during_walks")));
    report.Line(QString::asprintf("%-50s %d About dialogs closed, %d messages (each a fault)", "",
                                  count("soak_dialogs_closed"), count("soak_messages")));
    report.Line(QString::asprintf("%-50s %9.1f s (%.2f ms a command)", "time", seconds, 1000 * seconds / commands));
    const double warmKb = soak.Value("soak_rss_warm_kb");
    const double peakKb = soak.Value("soak_rss_peak_kb");
    const double endKb = soak.Value("soak_rss_end_kb");
    report.Line(QString::asprintf("%-50s %9.1f %9.1f %9.1f",
                                  qPrintable(QStringLiteral("resident MiB after %1 commands / peak / end")
                                                 .arg(count("soak_warmup_commands"))),
                                  warmKb / 1024, peakKb / 1024, endKb / 1024));
    report.Line(QString::asprintf("%-50s %9d %9d %9d", "open handles at start / peak / end",
                                  count("soak_handles_start"), count("soak_handles_peak"), count("soak_handles_end")));
    report.Line(QString::asprintf("%-50s %9d %9d", "mixer channels allocated / most playing at once",
                                  count("soak_channels_peak"), count("soak_playing_peak")));
    for (const char *name : {"soak_keys", "soak_held_keys", "soak_clicks", "soak_accessibility_presses",
                             "soak_menu_commands", "soak_dialogs_closed", "soak_walks", "soak_during_walks", "soak_messages",
                             "soak_warmup_commands", "soak_handles_start", "soak_handles_peak", "soak_handles_end",
                             "soak_channels_peak", "soak_playing_peak"})
        figures[QString::fromLatin1(name + 5)] = count(name);
    figures[QStringLiteral("seconds")] = seconds;
    figures[QStringLiteral("rss_warm_kib")] = warmKb;
    figures[QStringLiteral("rss_peak_kib")] = peakKb;
    figures[QStringLiteral("rss_end_kib")] = endKb;
    json[QStringLiteral("soak")] = figures;
    report.Target(QStringLiteral("soak: resident growth after warm-up, MiB"), (endKb - warmKb) / 1024, 1, true,
                  QStringLiteral(" M"));
    return count("soak_messages") == 0;
}

QString Row(const char *label, double a, double b, double c, double d)
{
    return QString::asprintf("%-34s %9.2f %9.2f %9.2f %9.2f", label, a, b, c, d);
}

int RunBench(const Settings &settings, const QString &jsonPath)
{
    const TestRecordings recordings(QCoreApplication::applicationDirPath());
    Report report;
    QJsonObject json;

    const QString machine = QStringLiteral("%1 x %2, %3 %4, Qt %5, QT_QPA_PLATFORM=%6, SDL_AUDIODRIVER=%7")
                                .arg(QThread::idealThreadCount())
                                .arg(CpuModel(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
                                     QString::fromLatin1(qVersion()), qEnvironmentVariable("QT_QPA_PLATFORM"),
                                     qEnvironmentVariable("SDL_AUDIODRIVER"));
    std::printf("Velkarn benchmark (%s)\nMachine: %s\n", settings.smoke ? "smoke: one round of each" : "full",
                qPrintable(machine));
    json[QStringLiteral("machine")] = QJsonObject{{QStringLiteral("cores"), QThread::idealThreadCount()},
                                                  {QStringLiteral("cpu"), CpuModel()},
                                                  {QStringLiteral("kernel"), QSysInfo::kernelVersion()},
                                                  {QStringLiteral("qt"), QString::fromLatin1(qVersion())},
                                                  {QStringLiteral("qpa"), qEnvironmentVariable("QT_QPA_PLATFORM")},
                                                  {QStringLiteral("sdl_audio"), qEnvironmentVariable("SDL_AUDIODRIVER")}};
    json[QStringLiteral("smoke")] = settings.smoke;

    // 1. Key to sound
    report.Heading(qPrintable(QStringLiteral("Key -> first mixed sample of the door's announcement (ms, %1 presses each, at random moments)")
                                  .arg(settings.presses)));
    report.Line(QString::asprintf("%-34s %9s %9s %9s %9s", "", "p50", "p95", "p99", "max"));
    std::vector<LatencyRow> rows;
    QJsonArray latencyJson;
    for (int frames : {SdlSoundComponent::DefaultBufferFrames, 2048, 4096}) {
        rows.push_back(PressDoors(frames, settings.presses, recordings));
        const std::vector<double> ns = rows.back().KeyToSoundNs();
        const QString label = frames == SdlSoundComponent::DefaultBufferFrames
                                  ? QStringLiteral("game, mixer at %1 frames").arg(frames)
                                  : QStringLiteral("mixer at %1 frames").arg(frames);
        report.Line(Row(qPrintable(label), Ms(bench::Percentile(ns, 50)), Ms(bench::Percentile(ns, 95)),
                        Ms(bench::Percentile(ns, 99)), Ms(bench::Percentile(ns, 100))));
        latencyJson.append(QJsonObject{{QStringLiteral("frames"), frames},
                                       {QStringLiteral("presses"), static_cast<int>(ns.size())},
                                       {QStringLiteral("p50_ms"), Ms(bench::Percentile(ns, 50))},
                                       {QStringLiteral("p95_ms"), Ms(bench::Percentile(ns, 95))},
                                       {QStringLiteral("p99_ms"), Ms(bench::Percentile(ns, 99))},
                                       {QStringLiteral("max_ms"), Ms(bench::Percentile(ns, 100))}});
    }
    json[QStringLiteral("key_to_sound")] = latencyJson;
    const double p95 = Ms(bench::Percentile(rows[0].KeyToSoundNs(), 95));
    const double p95At2048 = Ms(bench::Percentile(rows[1].KeyToSoundNs(), 95));
    report.Target(QStringLiteral("key -> sound p95"), p95, 15, true, QStringLiteral(" ms"));
    report.Target(QStringLiteral("p95 at 2048 frames / game's p95"), p95 > 0 ? p95At2048 / p95 : 0, 3, false,
                  QStringLiteral("x"));

    // 2-4. Processor, start-up and memory, each program in a process of its own.
    const QString idle = QString::number(settings.idleMs);
    const Reported game = Run(recordings.WalkGame(), {QStringLiteral("--idle-ms"), idle, QStringLiteral("--choices"),
                                                      QString::number(settings.choices)});
    const Reported waitedGame = Run(recordings.WaitedGame(), {QStringLiteral("--waited")});
    const Reported bare = Run(QStringLiteral("velkarn-bench-bare"), {QStringLiteral("--idle-ms"), idle});
    const Reported spin = Run(QStringLiteral("velkarn-bench-spin"), {QStringLiteral("--idle-ms"), idle});
    const double floor = bare.Value("idle_cpu_pct");
    const double spinning = spin.Value("idle_cpu_pct");
    const double gameIdle = game.Value("idle_cpu_pct");
    const double waited = waitedGame.Value("waited_cpu_pct");
    report.Heading(qPrintable(QStringLiteral("Processor (% of one core; idle for %1 s)").arg(settings.idleMs / 1000.0)));
    report.Line(QString::asprintf("%-50s %9s %9s", "", "% core", "x floor"));
    auto cpuLine = [&](const char *label, double value) {
        report.Line(QString::asprintf("%-50s %9.3f %9.2f", label, value, floor > 0 ? value / floor : 0));
    };
    cpuLine("bare window with SDL audio open (floor), idle", floor);
    cpuLine("same window spinning processEvents, idle", spinning);
    cpuLine("game, idle in the room-count state", gameIdle);
    cpuLine("game, during a waited 2 s recording", waited);
    json[QStringLiteral("cpu_percent_of_core")] = QJsonObject{
        {QStringLiteral("idle_ms"), settings.idleMs}, {QStringLiteral("floor_idle"), floor},
        {QStringLiteral("spinning_idle"), spinning}, {QStringLiteral("game_idle"), gameIdle},
        {QStringLiteral("game_waited_2s"), waited}};
    report.Target(QStringLiteral("idle, % of one core"), gameIdle, 0.5, true, QStringLiteral(" %"));
    report.Target(QStringLiteral("idle / floor"), floor > 0 ? gameIdle / floor : 0, 1.3, true, QStringLiteral("x"));
    report.Target(QStringLiteral("during a waited sound, % of one core"), waited, 2, true, QStringLiteral(" %"));

    const StartUp start = MeasureStartUp(settings.starts);
    report.Heading(qPrintable(QStringLiteral("Start-up (ms, median of %1 starts)").arg(settings.starts)));
    report.Line(QString::asprintf("%-50s %9.1f", "bare window: process start -> first expose", Ms(start.bareNs)));
    report.Line(QString::asprintf("%-50s %9.1f", "game: process start -> first expose", Ms(start.gameExposeNs)));
    report.Line(QString::asprintf("%-50s %9.1f", "game: process start -> first sample of welcome", Ms(start.gameNs)));
    json[QStringLiteral("startup_ms")] = QJsonObject{{QStringLiteral("starts"), settings.starts},
                                                     {QStringLiteral("bare_first_expose"), Ms(start.bareNs)},
                                                     {QStringLiteral("game_first_expose"), Ms(start.gameExposeNs)},
                                                     {QStringLiteral("game_first_welcome_sample"), Ms(start.gameNs)}};
    report.Target(QStringLiteral("start-up / bare window"), start.bareNs > 0 ? start.gameNs / start.bareNs : 0, 1.3,
                  true, QStringLiteral("x"));

    const double bareKb = bare.Value("rss_start_kb");
    const double startKb = game.Value("rss_start_kb");
    const double afterHundredKb = settings.choices >= 100 ? game.Value("rss_100_choices_kb") : game.Value("rss_walk_kb");
    const double afterChoicesKb = game.Value("rss_choices_kb");
    report.Heading("Resident memory (MiB)");
    report.Line(QString::asprintf("%-50s %9.1f", "bare window with SDL audio open", bareKb / 1024));
    report.Line(QString::asprintf("%-50s %9.1f", "game after start-up", startKb / 1024));
    report.Line(QString::asprintf("%-50s %9.1f", settings.choices >= 100 ? "game after 100 door choices"
                                                                         : "game at the start of the walk",
                                  afterHundredKb / 1024));
    report.Line(QString::asprintf("%-50s %9.1f", qPrintable(QStringLiteral("game after %1 door choices").arg(settings.choices)),
                                  afterChoicesKb / 1024));
    json[QStringLiteral("memory_kib")] = QJsonObject{
        {QStringLiteral("bare_window"), bareKb}, {QStringLiteral("game_after_startup"), startKb},
        {QStringLiteral("game_after_100_choices"), afterHundredKb},
        {QStringLiteral("choices"), settings.choices}, {QStringLiteral("game_after_choices"), afterChoicesKb}};
    report.Target(QStringLiteral("memory after start-up / bare window"), startKb / bareKb, 1.3, true,
                  QStringLiteral("x"));
    report.Target(QStringLiteral("growth over the choices after the first 100, KiB"), afterChoicesKb - afterHundredKb,
                  0.01 * afterHundredKb, true, QStringLiteral(" K"));

    // 5. Growth
    const std::vector<OpenCost> opening = MeasureOpening(recordings, settings);
    report.Heading("Growth: opening a recording (ms; the first open decodes it; up to 3 s it stays decoded)");
    report.Line(QString::asprintf("%-34s %9s %9s", "", "first", "again"));
    QJsonArray openingJson;
    for (const OpenCost &cost : opening) {
        report.Line(QString::asprintf("%-34s %9.3f %9.3f", qPrintable(QStringLiteral("%1 s recording").arg(cost.seconds)),
                                      Ms(cost.coldNs), Ms(cost.warmNs)));
        openingJson.append(QJsonObject{{QStringLiteral("seconds"), cost.seconds},
                                       {QStringLiteral("first_open_ms"), Ms(cost.coldNs)},
                                       {QStringLiteral("open_again_ms"), Ms(cost.warmNs)}});
    }
    const LatencyRow &game512 = rows[0];
    report.Heading("Growth: a wrong door in room 1 and in room 20 (same sounds, same work)");
    report.Line(QString::asprintf("%-34s %9s %9s", "", "room 1", "room 20"));
    const double cpu1 = Us(bench::Median(game512.CpuNs(0, true)));
    const double cpu20 = Us(bench::Median(game512.CpuNs(19, true)));
    const double key1 = Ms(bench::Median(game512.KeyToSoundNs(0, true)));
    const double key20 = Ms(bench::Median(game512.KeyToSoundNs(19, true)));
    report.Line(QString::asprintf("%-34s %9.1f %9.1f", "window thread CPU per choice (us)", cpu1, cpu20));
    report.Line(QString::asprintf("%-34s %9.2f %9.2f", "key -> sound, median (ms)", key1, key20));
    json[QStringLiteral("growth")] = QJsonObject{
        {QStringLiteral("opening"), openingJson},
        {QStringLiteral("door_choice"), QJsonObject{{QStringLiteral("room1_cpu_us"), cpu1},
                                                    {QStringLiteral("room20_cpu_us"), cpu20},
                                                    {QStringLiteral("room1_key_to_sound_ms"), key1},
                                                    {QStringLiteral("room20_key_to_sound_ms"), key20}}}};

    // 6. Soak
    const bool soaked = settings.soakCommands <= 0 || Soak(settings.soakCommands, recordings, report, json);
    json[QStringLiteral("targets")] = report.Targets();

    if (!jsonPath.isEmpty()) {
        QFile file(jsonPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(json).toJson()) < 0)
            throw std::runtime_error("cannot write " + jsonPath.toStdString());
        std::printf("\nWritten to %s\n", qPrintable(jsonPath));
    }
    return soaked ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    bench::UseHeadlessDefaults();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Measures Velkarn's responsiveness and cost."));
    parser.addHelpOption();
    const QCommandLineOption smoke(QStringLiteral("smoke"), QStringLiteral("One round of each measurement, short idle times."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Also write the results as JSON to this file."),
                                  QStringLiteral("path"));
    const QCommandLineOption soak(QStringLiteral("soak"),
                                  QStringLiteral("Random commands for the soak (100,000; 1,000 with --smoke; 0: none)."),
                                  QStringLiteral("n"));
    parser.addOptions({smoke, json, soak});
    parser.process(app);
    Settings settings = parser.isSet(smoke) ? SmokeSettings() : Settings{};
    if (parser.isSet(soak))
        settings.soakCommands = parser.value(soak).toInt();
    try {
        return RunBench(settings, parser.value(json));
    } catch (const std::exception &error) {
        std::fprintf(stderr, "velkarn-bench: %s\n", error.what());
        return 1;
    }
}
