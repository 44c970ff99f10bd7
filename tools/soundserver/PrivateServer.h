// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Measure.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <sys/prctl.h>

#include <csignal>
#include <memory>
#include <vector>

// A private PipeWire as a Debian desktop runs it: a D-Bus session, pipewire, wireplumber and
// pipewire-pulse in a runtime folder of their own, with a null sink as the default output. Its
// processes stop with it, and die with the tool should it crash.
class PrivateServer
{
public:
    static constexpr const char *SinkName = "velkarn_tool_sink";

    PrivateServer()
    {
        QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env_ = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"PULSE_SERVER", "PIPEWIRE_REMOTE"})
            env_.remove(QString::fromLatin1(name));
        for (const char *name : {"XDG_RUNTIME_DIR", "PIPEWIRE_RUNTIME_DIR"})
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
    ~PrivateServer()
    {
        for (auto process = processes_.rbegin(); process != processes_.rend(); ++process) {
            (*process)->terminate();
            if (!(*process)->waitForFinished(3000))
                (*process)->kill();
            (*process)->waitForFinished();
        }
    }
    PrivateServer(const PrivateServer &) = delete;
    PrivateServer &operator=(const PrivateServer &) = delete;

    /// Why the server could not start; empty while it runs.
    QString failure() const { return failure_; }
    /// The environment that makes a client use this server rather than the desktop's.
    QProcessEnvironment environment() const { return env_; }
    /// Processor time used so far by the server's program of that name, in ns.
    qint64 cpuNs(const QString &program) const
    {
        for (const auto &process : processes_) {
            if (process->program() == program)
                return ::cpuNs(process->processId());
        }
        return 0;
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
