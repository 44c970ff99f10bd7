// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <optional>
#include <vector>

// A private PipeWire server (tools/pipewire/private-server.sh) that this process plays through
// from construction on: the variables that name the server are set in its environment, and set back
// when it is destroyed, which stops the server with all its processes.
class PrivateSoundServer
{
public:
    /// Starts the server with a null sink of that name as its default output; "-" for none.
    explicit PrivateSoundServer(const QString &sink = QStringLiteral("velkarn_null"))
    {
        script_.setProcessChannelMode(QProcess::MergedChannels);
        script_.start(QStringLiteral("sh"), {QStringLiteral(VELKARN_PRIVATE_SERVER), dir_.path(), sink});
        QByteArray said;
        while (script_.waitForReadyRead(60000) || script_.canReadLine()) {
            said = script_.readLine().trimmed();
            if (said == "ready" || said.startsWith("unavailable: "))
                break;
        }
        if (said != "ready") {
            failure_
                = said.isEmpty() ? QStringLiteral("the server's script said nothing") : QString::fromUtf8(said.mid(13));
            return;
        }
        QFile env(dir_.filePath(QStringLiteral("env")));
        env.open(QIODevice::ReadOnly);
        // Its own variables, and the ones that would name another server.
        const QList<QByteArray> lines
            = env.readAll().split('\n') + QList<QByteArray>{"PIPEWIRE_REMOTE", "PULSE_SERVER"};
        for (const QByteArray &line : lines) {
            const qsizetype equals = line.indexOf('=');
            const QByteArray name = equals < 0 ? line : line.left(equals);
            if (name.isEmpty())
                continue;
            before_.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
            if (equals < 0)
                qunsetenv(name.constData());
            else
                qputenv(name.constData(), line.mid(equals + 1));
        }
    }
    ~PrivateSoundServer()
    {
        for (const auto &[name, value] : before_) {
            if (value)
                qputenv(name.constData(), *value);
            else
                qunsetenv(name.constData());
        }
        script_.closeWriteChannel(); // its signal to stop the server
        if (!script_.waitForFinished(20000))
            script_.kill();
    }
    PrivateSoundServer(const PrivateSoundServer &) = delete;
    PrivateSoundServer &operator=(const PrivateSoundServer &) = delete;

    /// Why the server could not start; empty while it runs.
    QString failure() const { return failure_; }
    /// Sends a signal to one of the server's programs ("pipewire", "wireplumber", ...).
    bool signal(const QString &program, int signal) const
    {
        QFile pids(dir_.filePath(QStringLiteral("pids")));
        if (!pids.open(QIODevice::ReadOnly))
            return false;
        for (const QByteArray &line : pids.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() == 2 && fields[0] == program.toUtf8())
                return ::kill(static_cast<pid_t>(fields[1].toLongLong()), signal) == 0;
        }
        return false;
    }

private:
    QTemporaryDir dir_;
    QProcess script_;
    QString failure_;
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> before_; // the environment it changed
};
