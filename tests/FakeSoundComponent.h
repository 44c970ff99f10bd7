#pragma once

#include "sound/SoundComponent.h"

#include <QFileInfo>
#include <QMetaObject>
#include <QSet>
#include <QStringList>

#include <map>

// A sound component that plays nothing and writes down what it was asked to do.
// A started sound "plays" until the event loop next turns (or, with holdSounds, until End()).
class FakeSoundComponent final : public SoundComponent
{
public:
    struct Wave {
        QString name;
        qint32 pan = 0;
    };

    bool open = true;
    bool holdSounds = false;
    QSet<QString> missing;  // file names whose open fails
    QStringList log;        // "open x", "fail x", "close x", "start x L|C|R", "wait x", "stop"
    QStringList paths;      // full paths passed to OpenWave

    bool IsOpen() const override { return open; }

    qint32 OpenWave(const QString &path) override
    {
        paths << path;
        const QString name = QFileInfo(path).fileName();
        if (missing.contains(name)) {
            log << QStringLiteral("fail ") + name;
            return -1;
        }
        const qint32 handle = nextHandle_++;
        waves_[handle] = Wave{name, 0};
        log << QStringLiteral("open ") + name;
        return handle;
    }

    void CloseWave(qint32 handle) override
    {
        const auto wave = waves_.find(handle);
        if (wave == waves_.end())
            return;
        log << QStringLiteral("close ") + wave->second.name;
        playing_.remove(handle);
        waves_.erase(wave);
    }

    void StopAll() override
    {
        log << QStringLiteral("stop");
        playing_.clear();
        emit PlaybackEnded();
    }

    void StartWave(qint32 handle, qint32, qint32) override
    {
        const auto wave = waves_.find(handle);
        if (wave == waves_.end())
            return;
        log << QStringLiteral("start %1 %2").arg(wave->second.name, Side(wave->second.pan));
        playing_.insert(handle);
        if (!holdSounds)
            QMetaObject::invokeMethod(this, [this, handle] { End(handle); }, Qt::QueuedConnection);
    }

    bool IsPlaying(qint32 handle) override
    {
        if (!playing_.contains(handle))
            return false;
        if (!waited_.contains(handle)) {
            waited_.insert(handle);
            log << QStringLiteral("wait ") + waves_[handle].name;
        }
        return true;
    }

    void SetPan(qint32 handle, qint32 pan) override
    {
        if (const auto wave = waves_.find(handle); wave != waves_.end())
            wave->second.pan = pan;
    }

    /// Ends the handle's sound as if it had played to its end.
    void End(qint32 handle)
    {
        if (playing_.remove(handle))
            emit PlaybackEnded();
    }
    /// Ends every sound that is playing.
    void EndAll()
    {
        const auto handles = playing_;
        for (qint32 handle : handles)
            End(handle);
    }
    bool AnyPlaying() const { return !playing_.isEmpty(); }

    /// The log without open/close lines: what was heard, where, and what was waited for.
    QStringList Heard() const
    {
        QStringList heard;
        for (const QString &line : log) {
            if (line.startsWith(QLatin1String("start ")) || line.startsWith(QLatin1String("wait ")))
                heard << line;
        }
        return heard;
    }

private:
    static QString Side(qint32 pan)
    {
        return pan < 0 ? QStringLiteral("L") : pan > 0 ? QStringLiteral("R") : QStringLiteral("C");
    }

    std::map<qint32, Wave> waves_;
    QSet<qint32> playing_;
    QSet<qint32> waited_;
    qint32 nextHandle_ = 1;
};
