// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/SoundComponent.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <map>

// A sound component that plays nothing and writes down what it was asked to do. A started sound
// "plays" until step(), as the test decides.
class FakeSoundComponent final : public SoundComponent
{
public:
    bool open = true;
    QSet<QString> missing; // file names whose open fails
    QStringList log;       // "start x.wav L|C|R" ("start en/x.wav C" from a language's folder), "stop", "volume -900"

    bool isOpen() const override { return open; }
    qint32 openWave(const QString &path) override
    {
        const QString folder = QFileInfo(path).dir().dirName();
        names_[nextHandle_] = (folder == "wave" ? QString() : folder + '/') + QFileInfo(path).fileName();
        return missing.contains(names_[nextHandle_]) || !open ? -1 : nextHandle_++;
    }
    // Like the mixer, a sound cut off by its release reports its end, a moment later.
    void closeWave(qint32 handle) override
    {
        if (playing_.remove(handle))
            QMetaObject::invokeMethod(this, &SoundComponent::playbackEnded, Qt::QueuedConnection);
    }
    void stopAll() override
    {
        log << QStringLiteral("stop");
        step();
    }
    void startWave(qint32 handle) override
    {
        log << "start " + names_[handle] + (pans_[handle] < 0 ? " L" : pans_[handle] > 0 ? " R" : " C");
        playing_.insert(handle);
    }
    bool isPlaying(qint32 handle) override { return playing_.contains(handle); }
    void setPan(qint32 handle, qint32 pan) override { pans_[handle] = pan; }
    void setVolume(qint32 hundredthsOfDb) override { log << QStringLiteral("volume %1").arg(hundredthsOfDb); }

    /// What choosing a door that opens sounds like: its number, then the door, both at its side.
    static QStringList doorOpens(int door, const QString &folder = {})
    {
        const QString side = QString("LCR")[door - 1];
        return {folder + QStringLiteral("nr%1.wav ").arg(door) + side, "door_open.wav " + side};
    }

    /// Plays out everything from here on, ending each sound in turn: one entry per stretch of
    /// sounds started together ("door_open.wav L + success.wav C"), so each ends with a sound that
    /// was waited for, or with the last one.
    QStringList playOut()
    {
        QStringList stretches;
        for (int guard = 0; guard < 100; ++guard) {
            QCoreApplication::processEvents();
            const QStringList heard = log.filter(QRegularExpression("^start ")).replaceInStrings("start ", "");
            if (heard.size() > seen_)
                stretches << heard.mid(seen_).join(QStringLiteral(" + "));
            seen_ = heard.size();
            if (playing_.isEmpty())
                break;
            step();
        }
        return stretches;
    }
    /// Ends what is playing, as if it had been heard to its end.
    void step()
    {
        playing_.clear();
        emit playbackEnded();
    }

private:
    std::map<qint32, QString> names_;
    std::map<qint32, qint32> pans_;
    QSet<qint32> playing_;
    qint32 nextHandle_ = 1;
    qsizetype seen_ = 0;
};
