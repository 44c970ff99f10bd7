#pragma once

#include <QByteArray>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QtGlobal>

#include <chrono>
#include <cstdio>
#include <ctime>

// Clocks and counters shared by the benchmark and the programs it starts. Every program reads the
// same monotonic clock, so a time taken in one process can be compared with one taken in another.
namespace bench {

/// Nanoseconds on the system's monotonic clock (the same in every process).
inline qint64 MonotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline qint64 CpuClockNs(clockid_t clock)
{
    timespec now{};
    if (clock_gettime(clock, &now) != 0)
        return 0;
    return static_cast<qint64>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

/// Processor time used by every thread of this process so far.
inline qint64 ProcessCpuNs() { return CpuClockNs(CLOCK_PROCESS_CPUTIME_ID); }
/// Processor time used by the calling thread so far.
inline qint64 ThreadCpuNs() { return CpuClockNs(CLOCK_THREAD_CPUTIME_ID); }

/// Resident memory of this process in KiB, or -1 when the system does not say.
inline qint64 ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

/// Open file descriptors of this process (the one reading the list among them), or -1.
inline qint64 OpenHandles()
{
    const QDir fds(QStringLiteral("/proc/self/fd"));
    if (!fds.exists())
        return -1;
    return fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size();
}

/// Headless by default: the offscreen window system and SDL's silent audio driver.
inline void UseHeadlessDefaults()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
}

/// Lets the event loop run, blocking as it does when nothing happens, for the given time.
inline void StayIdle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

/// Processor use over a stretch of time, as a percentage of one core.
inline double CorePercent(qint64 cpuNs, qint64 wallNs)
{
    return wallNs > 0 ? 100.0 * static_cast<double>(cpuNs) / static_cast<double>(wallNs) : 0.0;
}

/// One "name=value" line on standard output: how the started programs report to the benchmark.
inline void Report(const char *name, qint64 value)
{
    std::printf("%s=%lld\n", name, static_cast<long long>(value));
    std::fflush(stdout);
}

inline void Report(const char *name, double value)
{
    std::printf("%s=%.6f\n", name, value);
    std::fflush(stdout);
}

} // namespace bench
