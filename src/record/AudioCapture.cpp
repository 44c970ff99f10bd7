// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioCapture.h"

#include "TakeCleaner.h"

#include <SDL.h>

#include <algorithm>

namespace {
constexpr int WatchMs = 50;
// A microphone that has sent nothing for two seconds is gone, whatever SDL says.
constexpr int QuietWatches = 2000 / WatchMs;
} // namespace

AudioCapture::AudioCapture(QObject *parent)
    : QObject(parent)
{
    watcher_.setInterval(WatchMs);
    connect(&watcher_, &QTimer::timeout, this, &AudioCapture::watch);
}

AudioCapture::~AudioCapture()
{
    stop();
}

bool AudioCapture::start(qint64 longestMs)
{
    stop();
    // SDL must not take over SIGINT and SIGTERM: the system's request to end has to end the game.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (!subsystem_ && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error_ = QString::fromUtf8(SDL_GetError());
        return false;
    }
    subsystem_ = true;
    // SDL's dummy driver "records" endless silence: no microphone at all.
    if (qstrcmp(SDL_GetCurrentAudioDriver(), "dummy") == 0) {
        error_ = QStringLiteral("SDL dummy");
        return false;
    }
    {
        const std::lock_guard lock(mutex_);
        longest_ = static_cast<size_t>(longestMs * TakeCleaner::Rate / 1000);
        take_.reserve(longest_);
    }
    peak_ = 0;
    lastSize_ = 0;
    quietWatches_ = 0;
    SDL_AudioSpec want{};
    want.freq = TakeCleaner::Rate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 1024;
    want.callback = &AudioCapture::receiveOnAudioThread;
    want.userdata = this;
    // No change allowed: SDL converts whatever the microphone gives to this format.
    device_ = SDL_OpenAudioDevice(nullptr, 1, &want, nullptr, 0);
    if (device_ == 0) {
        error_ = QString::fromUtf8(SDL_GetError());
        return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    watcher_.start();
    return true;
}

std::vector<qint16> AudioCapture::stop()
{
    watcher_.stop();
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_); // the audio thread has ended once this returns
        device_ = 0;
    }
    if (subsystem_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystem_ = false;
    }
    const std::lock_guard lock(mutex_);
    return std::exchange(take_, {});
}

void AudioCapture::receiveOnAudioThread(void *self, quint8 *bytes, int length)
{
    auto *capture = static_cast<AudioCapture *>(self);
    const std::span<const qint16> samples(reinterpret_cast<const qint16 *>(bytes), size_t(length) / 2);
    const std::lock_guard lock(capture->mutex_);
    const size_t room = capture->longest_ - std::min(capture->longest_, capture->take_.size());
    const auto kept = samples.first(std::min(room, samples.size()));
    capture->take_.insert(capture->take_.end(), kept.begin(), kept.end());
    capture->peak_ = std::max(capture->peak_.load(), TakeCleaner::peak(kept));
}

void AudioCapture::watch()
{
    size_t size = 0;
    {
        const std::lock_guard lock(mutex_);
        size = take_.size();
    }
    emit levelChanged(peak_.exchange(0) * 100 / 32768);
    if (size >= longest_) {
        watcher_.stop();
        emit full();
        return;
    }
    quietWatches_ = size == lastSize_ ? quietWatches_ + 1 : 0;
    lastSize_ = size;
    // A microphone unplugged (SDL_AUDIODEVICEREMOVED) leaves its device stopped.
    if (SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED || quietWatches_ >= QuietWatches) {
        watcher_.stop();
        emit lost();
    }
}
