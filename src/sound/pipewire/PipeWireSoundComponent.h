// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "KeptRecordings.h"
#include "SoundComponent.h"
#include "VoiceMixer.h"

#include <QDeadlineTimer>
#include <QTimer>

#include <map>
#include <memory>

class PipeWireOutput;

// The sound component on PipeWire's own protocol: one stream that mixes every sound itself on
// PipeWire's real-time thread, in cycles of a few milliseconds, and rests while nothing has sounded
// for a while, so that an idle game costs nothing. Every call is made on the thread that owns it.
class PipeWireSoundComponent final : public SoundComponent
{
    Q_OBJECT

public:
    /// 2.7 ms at 48 kHz: a key is answered within a few milliseconds, with room to mix on a busy machine.
    static constexpr int DefaultQuantumFrames = 128;
    /// The stream rests this long after the last sound: through a child's pause between keys, which
    /// then costs no restart, while a longer silence costs nothing.
    static constexpr int RestAfterMs = 3000;

    /// Connects to the PipeWire server, asking for cycles of quantumFrames frames.
    explicit PipeWireSoundComponent(int quantumFrames = DefaultQuantumFrames, QObject *parent = nullptr);
    ~PipeWireSoundComponent() override;

    /// Why there is no sound through PipeWire (empty while there is).
    QString openError() const;

    bool isOpen() const override;
    qint32 openWave(const QString &path) override;
    void closeWave(qint32 handle) override;
    void stopAll() override;
    void startWave(qint32 handle) override;
    bool isPlaying(qint32 handle) override;
    void setPan(qint32 handle, qint32 pan) override;
    void setVolume(qint32 hundredthsOfDb) override;

private:
    struct Wave {
        std::shared_ptr<const Pcm> sound;
        qint32 pan = 0;
        VoiceMixer::Play play;
        QDeadlineTimer deadline;
    };

    void stop(const Wave &wave);
    void stopped(bool anySound);
    void onSoundsEnded();
    void onLost();
    void restWhenSilent();
    void rest();
    void guardAgainstStall();

    // The mixer outlives the output, whose real-time thread reads it until the stream is gone.
    VoiceMixer mixer_;
    std::unique_ptr<PipeWireOutput> output_;
    KeptRecordings<const Pcm> kept_;
    std::map<qint32, Wave> waves_;
    QTimer restTimer_;
    QTimer stallTimer_;
    qint32 nextHandle_ = 1;
    bool active_ = false;
    bool lost_ = false;
};
