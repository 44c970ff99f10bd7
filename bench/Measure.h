// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

// Clocks, counters and reports shared by the benchmark and the programs it starts. Every program
// reads the same monotonic clock, so a time taken in one process can be compared with another's.
namespace bench {

/// Nanoseconds on the system's monotonic clock (the same in every process).
inline qint64 monotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

/// The p-th percentile (nearest rank) of the values; 0 for none.
inline double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<size_t>(std::ceil(p / 100.0 * double(values.size())));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

/// Resident memory of this process in KiB, or -1 when the system does not say.
inline qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    const qsizetype at = text.indexOf("VmRSS:");
    return at < 0 ? -1 : text.mid(at + 6).trimmed().split(' ').value(0).toLongLong();
}

/// Processor use of this process while work() runs, as a percentage of one core.
template<typename Work> double corePercent(Work work)
{
    const auto cpuNs = [] {
        timespec now{};
        return clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now) == 0 ? double(now.tv_sec) * 1e9 + double(now.tv_nsec)
                                                                  : 0.0;
    };
    const double cpu = cpuNs();
    const qint64 start = monotonicNs();
    work();
    const qint64 wall = monotonicNs() - start;
    return wall > 0 ? 100.0 * (cpuNs() - cpu) / double(wall) : 0.0;
}

/// Lets the event loop run, blocking as it does when nothing happens, for the given time.
inline void stayIdle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

/// Headless by default: the offscreen window system and SDL's silent audio driver (an empty
/// SDL_AUDIODRIVER leaves the choice of driver to the game).
inline void useHeadlessDefaults()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
}

/// A started program's options: each "--name n" given, by name.
inline QHash<QString, int> parseOptions(const QCoreApplication &app, const QStringList &names)
{
    QCommandLineParser parser;
    for (const QString &name : names)
        parser.addOption({name, QStringLiteral("A number."), QStringLiteral("n")});
    parser.process(app);
    QHash<QString, int> options;
    for (const QString &name : names) {
        if (parser.isSet(name))
            options.insert(name, parser.value(name).toInt());
    }
    return options;
}

/// One "name=value" line on standard output: how the started programs report to the benchmark.
inline void report(const char *name, double value)
{
    std::printf("%s=%.6f\n", name, value);
    std::fflush(stdout);
}

// Notes when a window of the application is first exposed, that is, when it could first be seen.
// It watches the whole application, so that the window under test is left exactly as it is made.
class ExposeWatch : public QObject
{
public:
    /// Watches from now on; with quit, ends the event loop at the first expose.
    explicit ExposeWatch(bool quit = false)
        : quit_(quit)
    {
        qApp->installEventFilter(this);
    }
    qint64 firstExposeNs() const { return firstNs_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto *window = qobject_cast<QWindow *>(watched);
        if (event->type() == QEvent::Expose && window != nullptr && window->isExposed()) {
            firstNs_ = monotonicNs();
            qApp->removeEventFilter(this); // seen: the rest of the run goes unwatched
            if (quit_)
                QMetaObject::invokeMethod(
                    qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool quit_;
    qint64 firstNs_ = 0;
};

} // namespace bench
