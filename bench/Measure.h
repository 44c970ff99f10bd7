// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <optional>
#include <vector>

// What the benchmark and the sound-server tool read of a process from outside, the Linux way, and
// how the benchmark keeps its figures.

/// The p-th percentile (nearest rank) of the values; 0 for none.
inline double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<size_t>(std::ceil(p / 100.0 * double(values.size())));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

/// Processor time that process pid and all its threads have used, in ns; 0 once it has gone.
inline qint64 cpuNs(qint64 pid)
{
    clockid_t clock{};
    timespec used{};
    if (clock_getcpuclockid(static_cast<pid_t>(pid), &clock) != 0 || clock_gettime(clock, &used) != 0)
        return 0;
    return qint64(used.tv_sec) * 1'000'000'000 + used.tv_nsec;
}

/// Resident memory of process pid in KiB, or -1 when the system does not say.
inline qint64 residentKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    const qsizetype at = text.indexOf("VmRSS:");
    return at < 0 ? -1 : text.mid(at + 6).trimmed().split(' ').value(0).toLongLong();
}

/// The machine's load averages over 1, 5 and 15 minutes, as the system gives them.
inline QByteArray loadAverage()
{
    QFile load(QStringLiteral("/proc/loadavg"));
    return load.open(QIODevice::ReadOnly) ? load.readAll().split(' ').mid(0, 3).join(' ') : QByteArray();
}

// The results as one list: each figure prints its row of the table as it is added, and the same
// list gives the JSON. A figure with a limit is a target, and says whether it is met.
class Figures
{
public:
    struct Limit {
        double atMost;
    };

    /// Starts a group of figures: a heading in the table, an object named key in the JSON.
    void section(const QString &key, const QString &heading)
    {
        section_ = key;
        std::printf("\n%s\n", qPrintable(heading));
    }

    /// Adds a figure to the current group and prints its row; its JSON name is its label's words,
    /// and a target's limit and whether it is met follow it as name_at_most and name_met.
    void add(const QString &label, double value, const char *unit, std::optional<Limit> limit = std::nullopt)
    {
        static const QRegularExpression notAWord(QStringLiteral("[^a-z0-9]+"));
        const QString key = label.toLower().replace(notAWord, QStringLiteral("_"));
        QJsonObject group = json_.value(section_).toObject();
        group.insert(key, value);
        QString target;
        if (limit) {
            group.insert(key + QStringLiteral("_at_most"), limit->atMost);
            group.insert(key + QStringLiteral("_met"), value <= limit->atMost);
            target = QStringLiteral("target <= %1: %2")
                         .arg(limit->atMost, 0, 'g', 3)
                         .arg(value <= limit->atMost ? "met" : "MISSED");
        }
        json_.insert(section_, group);
        std::printf("  %-58s %9.*f %-3s %s\n", qPrintable(label), value < 10 ? 2 : 1, value, unit, qPrintable(target));
        std::fflush(stdout);
    }

    /// Every figure by group.
    const QJsonObject &json() const { return json_; }

private:
    QString section_;
    QJsonObject json_;
};
