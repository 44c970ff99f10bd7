// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "KeptRecordings.h"
#include "sound/SoundComponent.h"

#include <QDeadlineTimer>

#include <atomic>
#include <map>
#include <memory>
#include <vector>

struct Mix_Chunk;

// The sound component on SDL2_mixer. Short decoded sounds are kept per file (and reloaded when the
// file changes), so opening a door's recording again costs no decoding. Every SDL call is made on
// the thread that owns this object; the mixer's end-of-channel callback only posts a message to it.
class SdlSoundComponent final : public SoundComponent
{
    Q_OBJECT

public:
    /// Opens the default audio device with a mixing buffer of the given number of frames.
    explicit SdlSoundComponent(int bufferFrames = DefaultBufferFrames, QObject *parent = nullptr);
    ~SdlSoundComponent() override;

    /// 5.3 ms at 48 kHz: small enough that a key is answered within a few milliseconds.
    static constexpr int DefaultBufferFrames = 256;

    /// Why the audio device could not be opened (empty when it is open).
    QString openError() const { return openError_; }

    bool isOpen() const override;
    qint32 openWave(const QString &path) override;
    void closeWave(qint32 handle) override;
    void stopAll() override;
    void startWave(qint32 handle) override;
    bool isPlaying(qint32 handle) override;
    void setPan(qint32 handle, qint32 pan) override;
    void setVolume(qint32 hundredthsOfDb) override;

private:
    struct ChunkDeleter {
        void operator()(Mix_Chunk *chunk) const;
    };
    using Chunk = std::shared_ptr<Mix_Chunk>;

    struct Wave {
        explicit Wave(Chunk sound)
            : chunk(std::move(sound))
        {
        }
        Chunk chunk;
        int channel = -1;
        qint32 pan = 0;
        QDeadlineTimer deadline;
    };

    class Device;

    Chunk decode(const QString &path) const;
    int freeChannel();
    void applyPan(int channel, qint32 pan);
    qint64 lengthMs(const Mix_Chunk &chunk) const;
    void guardAgainstStall(qint32 handle);
    static void channelFinishedOnAudioThread(int channel);

    std::unique_ptr<Device> device_;
    QString openError_;
    KeptRecordings<Mix_Chunk> kept_;
    std::map<qint32, Wave> waves_;
    std::vector<qint32> channelOwner_;
    qint32 nextHandle_ = 1;

    static std::atomic<SdlSoundComponent *> instance_;
};
