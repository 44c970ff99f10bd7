// SPDX-License-Identifier: GPL-3.0-or-later
#include "SdlSoundComponent.h"

#include "RecordingFile.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QFileInfo>
#include <QTimer>

#include <cmath>
#include <numbers>

std::atomic<SdlSoundComponent *> SdlSoundComponent::instance_{nullptr};

namespace {
// PipeWire's own rate: nothing is resampled on the way, which would hold back part of a buffer.
constexpr int Frequency = 48000;
constexpr int Channels = 2;
constexpr int MixChannels = 8;
// A waited sound ends at the latest this long after its own length, even if the device stalls.
constexpr qint64 StallMarginMs = 1000;
} // namespace

// Owns SDL's audio subsystem and the mixer's open device.
class SdlSoundComponent::Device
{
public:
    explicit Device(int bufferFrames)
    {
        // SDL must not take over SIGINT and SIGTERM: the system's request to end has to end the game.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        // PipeWire's own protocol follows the buffer asked for, where its PulseAudio server adds
        // about 25 ms. A driver the user names in SDL_AUDIODRIVER is used as it is.
        const bool chosen = !qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER");
        if (!chosen)
            SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "pipewire,pulseaudio,alsa", SDL_HINT_OVERRIDE);
        int status = SDL_InitSubSystem(SDL_INIT_AUDIO);
        if (status != 0 && !chosen) {
            // None of those here: SDL tries every driver it has, as it would by itself.
            SDL_ResetHint(SDL_HINT_AUDIODRIVER);
            status = SDL_InitSubSystem(SDL_INIT_AUDIO);
        }
        if (status != 0) {
            error_ = QString::fromUtf8(SDL_GetError());
            return;
        }
        subsystem_ = true;
        if (Mix_OpenAudio(Frequency, AUDIO_S16SYS, Channels, bufferFrames) != 0) {
            error_ = QString::fromUtf8(Mix_GetError());
            return;
        }
        open_ = true;
        // The device may mix at another rate or with other channels than asked for.
        int frequency{};
        Uint16 format{};
        int channels{};
        Mix_QuerySpec(&frequency, &format, &channels);
        bytesPerSecond_ = static_cast<qint64>(frequency) * channels * (SDL_AUDIO_BITSIZE(format) / 8);
    }
    ~Device()
    {
        if (open_)
            Mix_CloseAudio();
        if (subsystem_)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    Device(const Device &) = delete;
    Device &operator=(const Device &) = delete;

    bool isOpen() const { return open_; }
    QString error() const { return error_; }
    /// How many bytes of mixed sound make a second.
    qint64 bytesPerSecond() const { return bytesPerSecond_; }

private:
    bool subsystem_ = false;
    bool open_ = false;
    QString error_;
    qint64 bytesPerSecond_ = Frequency * Channels * 2;
};

void SdlSoundComponent::ChunkDeleter::operator()(Mix_Chunk *chunk) const
{
    Mix_FreeChunk(chunk);
}

SdlSoundComponent::SdlSoundComponent(int bufferFrames, QObject *parent)
    : SoundComponent(parent)
    , device_(std::make_unique<Device>(bufferFrames))
{
    Q_ASSERT(instance_.load() == nullptr); // the mixer is one per process
    if (!device_->isOpen()) {
        openError_ = device_->error();
        return;
    }
    const int channels = Mix_AllocateChannels(MixChannels);
    channelOwner_.resize(static_cast<size_t>(channels));
    instance_ = this;
    Mix_ChannelFinished(&SdlSoundComponent::channelFinishedOnAudioThread);
}

SdlSoundComponent::~SdlSoundComponent()
{
    if (!isOpen())
        return;
    // Once this returns, the audio thread can no longer be inside the callback. The sounds are
    // freed (and halted) before the device closes: they are declared after it.
    Mix_ChannelFinished(nullptr);
    instance_ = nullptr;
}

bool SdlSoundComponent::isOpen() const
{
    return device_->isOpen();
}

void SdlSoundComponent::channelFinishedOnAudioThread(int /*channel*/)
{
    // Audio thread: never call the mixer here, only hand the news to the component's own thread.
    if (SdlSoundComponent *self = instance_.load())
        QMetaObject::invokeMethod(self, &SoundComponent::playbackEnded, Qt::QueuedConnection);
}

SdlSoundComponent::Chunk SdlSoundComponent::decode(const QString &path) const
{
    // The file is opened and closed here, not by the mixer, which would leave a file it could not
    // read open.
    const RecordingFile::Handle file = RecordingFile::open(path);
    Mix_Chunk *raw = file ? Mix_LoadWAV_RW(file.get(), 0) : nullptr;
    if (raw == nullptr)
        return {};
    Chunk chunk(raw, ChunkDeleter{});
    if (lengthMs(*chunk) < RecordingFile::ShortestSoundMs)
        return {};
    return chunk;
}

qint32 SdlSoundComponent::openWave(const QString &path)
{
    if (!isOpen())
        return -1;
    // Only a regular file: a folder fails to read, but a named pipe would wait for a writer forever.
    const QFileInfo file(path);
    if (!file.isFile())
        return -1;

    Chunk chunk = kept_.find(file);
    if (!chunk) {
        chunk = decode(path);
        if (!chunk)
            return -1;
        kept_.keep(file, chunk, lengthMs(*chunk));
    }
    const qint32 handle = nextHandle_++;
    waves_.emplace(handle, Wave(chunk));
    return handle;
}

void SdlSoundComponent::closeWave(qint32 handle)
{
    const auto wave = waves_.find(handle);
    if (wave == waves_.end())
        return;
    const int channel = wave->second.channel;
    if (channel >= 0 && channelOwner_[static_cast<size_t>(channel)] == handle)
        Mix_HaltChannel(channel);
    waves_.erase(wave);
}

void SdlSoundComponent::stopAll()
{
    if (!isOpen())
        return;
    Mix_HaltChannel(-1);
}

int SdlSoundComponent::freeChannel()
{
    for (size_t channel = 0; channel < channelOwner_.size(); ++channel) {
        if (!Mix_Playing(static_cast<int>(channel)))
            return static_cast<int>(channel);
    }
    // Every channel busy: make room rather than drop the new sound.
    const int added = Mix_AllocateChannels(static_cast<int>(channelOwner_.size()) * 2);
    const int first = static_cast<int>(channelOwner_.size());
    channelOwner_.resize(static_cast<size_t>(added));
    return added > first ? first : -1;
}

void SdlSoundComponent::startWave(qint32 handle)
{
    const auto wave = waves_.find(handle);
    if (wave == waves_.end())
        return;
    Wave &w = wave->second;
    const int channel = freeChannel();
    if (channel < 0)
        return;
    applyPan(channel, w.pan);
    if (Mix_PlayChannel(channel, w.chunk.get(), 0) < 0) {
        qWarning("Mix_PlayChannel failed: %s", Mix_GetError());
        return;
    }
    w.channel = channel;
    channelOwner_[static_cast<size_t>(channel)] = handle;
    w.deadline = QDeadlineTimer(lengthMs(*w.chunk) + StallMarginMs, Qt::PreciseTimer);
    guardAgainstStall(handle);
}

void SdlSoundComponent::guardAgainstStall(qint32 handle)
{
    const auto wave = waves_.find(handle);
    if (wave == waves_.end())
        return;                               // released meanwhile
    const int channel = wave->second.channel; // it was started, so it has one
    if (channelOwner_[static_cast<size_t>(channel)] != handle || !Mix_Playing(channel))
        return; // it has ended, or another sound plays there now
    const QDeadlineTimer &deadline = wave->second.deadline;
    if (!deadline.hasExpired()) {
        // Look again once the deadline has passed; should the timer fire early, this comes back here.
        const qint64 wait = std::max<qint64>(1, deadline.remainingTime());
        QTimer::singleShot(wait, Qt::PreciseTimer, this, [this, handle] { guardAgainstStall(handle); });
        return;
    }
    // The device has not played the sound in its own time: give up on it so no one waits forever.
    Mix_HaltChannel(channel);
    emit playbackEnded();
}

bool SdlSoundComponent::isPlaying(qint32 handle)
{
    const auto wave = waves_.find(handle);
    if (wave == waves_.end() || wave->second.channel < 0)
        return false;
    const int channel = wave->second.channel;
    return channelOwner_[static_cast<size_t>(channel)] == handle && Mix_Playing(channel);
}

void SdlSoundComponent::setPan(qint32 handle, qint32 pan)
{
    const auto wave = waves_.find(handle);
    if (wave == waves_.end())
        return;
    wave->second.pan = std::clamp(pan, -10000, 10000);
}

void SdlSoundComponent::setVolume(qint32 hundredthsOfDb)
{
    if (!isOpen())
        return;
    const double gain = std::pow(10.0, hundredthsOfDb / 2000.0); // the mixer keeps it at most full
    Mix_MasterVolume(static_cast<int>(std::lround(gain * MIX_MAX_VOLUME)));
}

void SdlSoundComponent::applyPan(int channel, qint32 pan)
{
    // Constant-power law: the centre is 1/sqrt(2) on each side, so it sounds as loud as either side
    // (255 on both would be about 3 dB louder than a sound from one side alone).
    const double angle = (pan + 10000) / 20000.0 * (std::numbers::pi / 2);
    const auto left = static_cast<Uint8>(std::lround(255 * std::cos(angle)));
    const auto right = static_cast<Uint8>(std::lround(255 * std::sin(angle)));
    if (Mix_SetPanning(channel, left, right) == 0)
        qWarning("Mix_SetPanning failed: %s", Mix_GetError());
}

qint64 SdlSoundComponent::lengthMs(const Mix_Chunk &chunk) const
{
    return static_cast<qint64>(chunk.alen) * 1000 / device_->bytesPerSecond();
}
