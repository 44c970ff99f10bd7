// SPDX-License-Identifier: GPL-3.0-or-later
#include "PipeWireSoundComponent.h"

#include "PipeWireOutput.h"
#include "RecordingFile.h"

#include <SDL.h>

#include <QFileInfo>

#include <cmath>
#include <numbers>

namespace {
// A waited sound ends at the latest this long after its own length, even if the server stalls.
constexpr qint64 StallMarginMs = 1000;
constexpr int Channels = 2;

qint64 lengthMs(const Pcm &sound)
{
    return static_cast<qint64>(sound.frames()) * 1000 / PipeWireOutput::Rate;
}

// Decodes a recording to the stream's 16-bit stereo at its rate, converted as SDL's mixer converts.
std::shared_ptr<const Pcm> decode(const QString &path)
{
    const RecordingFile::Handle file = RecordingFile::open(path);
    SDL_AudioSpec spec{};
    Uint8 *raw = nullptr;
    Uint32 bytes = 0;
    if (!file || SDL_LoadWAV_RW(file.get(), 0, &spec, &raw, &bytes) == nullptr)
        return {};
    const std::unique_ptr<Uint8, decltype(&SDL_FreeWAV)> loaded(raw, &SDL_FreeWAV);
    SDL_AudioCVT cvt{};
    if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, Channels, PipeWireOutput::Rate)
        < 0)
        return {};
    const Uint32 frameBytes = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
    cvt.len = static_cast<int>(bytes - bytes % frameBytes);
    if (cvt.len <= 0)
        return {}; // no sound in it: refused, as the SDL component refuses it
    // The conversion works in place, in a buffer len_mult times the sound's size.
    auto pcm = std::make_shared<Pcm>();
    pcm->samples.resize((static_cast<size_t>(cvt.len) * static_cast<size_t>(cvt.len_mult) + 1) / sizeof(qint16));
    std::memcpy(pcm->samples.data(), raw, static_cast<size_t>(cvt.len));
    cvt.buf = reinterpret_cast<Uint8 *>(pcm->samples.data());
    if (cvt.needed != 0 && SDL_ConvertAudio(&cvt) != 0)
        return {};
    const int converted = cvt.needed != 0 ? cvt.len_cvt : cvt.len;
    pcm->samples.resize(static_cast<size_t>(converted) / (Channels * sizeof(qint16)) * Channels);
    pcm->samples.shrink_to_fit();
    if (lengthMs(*pcm) < RecordingFile::ShortestSoundMs)
        return {};
    return pcm;
}

// The constant-power law in the steps of a mixer's 8-bit panning: the centre is 1/sqrt(2) on each
// side, so it sounds as loud as either side.
float sideGain(qint32 pan, bool right)
{
    const double angle = (pan + 10000) / 20000.0 * (std::numbers::pi / 2);
    return static_cast<float>(std::lround(255 * (right ? std::sin(angle) : std::cos(angle)))) / 255.0f;
}
} // namespace

PipeWireSoundComponent::PipeWireSoundComponent(int quantumFrames, QObject *parent)
    : SoundComponent(parent)
    , output_(std::make_unique<PipeWireOutput>(mixer_, quantumFrames))
{
    connect(output_.get(), &PipeWireOutput::soundsEnded, this, &PipeWireSoundComponent::onSoundsEnded,
            Qt::QueuedConnection);
    connect(output_.get(), &PipeWireOutput::lost, this, &PipeWireSoundComponent::onLost, Qt::QueuedConnection);
    restTimer_.setSingleShot(true);
    restTimer_.setInterval(RestAfterMs);
    connect(&restTimer_, &QTimer::timeout, this, &PipeWireSoundComponent::rest);
    stallTimer_.setSingleShot(true);
    stallTimer_.setTimerType(Qt::PreciseTimer);
    connect(&stallTimer_, &QTimer::timeout, this, &PipeWireSoundComponent::guardAgainstStall);
}

PipeWireSoundComponent::~PipeWireSoundComponent() = default;

QString PipeWireSoundComponent::openError() const
{
    return lost_ ? QStringLiteral("the PipeWire server has gone") : output_->error();
}

bool PipeWireSoundComponent::isOpen() const
{
    return openError().isEmpty();
}

qint32 PipeWireSoundComponent::openWave(const QString &path)
{
    if (!isOpen())
        return -1;
    // Only a regular file: a folder fails to read, but a named pipe would wait for a writer forever.
    const QFileInfo file(path);
    if (!file.isFile())
        return -1;
    std::shared_ptr<const Pcm> sound = kept_.find(file);
    if (!sound) {
        sound = decode(path);
        if (!sound)
            return -1;
        kept_.keep(file, sound, lengthMs(*sound));
    }
    const qint32 handle = nextHandle_++;
    waves_.emplace(handle, Wave{std::move(sound), 0, {}, {}});
    return handle;
}

void PipeWireSoundComponent::closeWave(qint32 handle)
{
    const auto wave = waves_.find(handle);
    if (wave == waves_.end())
        return;
    stop(wave->second);
    waves_.erase(wave);
}

void PipeWireSoundComponent::stopAll()
{
    stopped(mixer_.stopAll());
}

void PipeWireSoundComponent::stop(const Wave &wave)
{
    stopped(mixer_.stop(wave.play));
}

void PipeWireSoundComponent::stopped(bool anySound)
{
    if (!anySound)
        return;
    QMetaObject::invokeMethod(this, &SoundComponent::playbackEnded, Qt::QueuedConnection);
    restWhenSilent();
}

void PipeWireSoundComponent::startWave(qint32 handle)
{
    const auto wave = waves_.find(handle);
    if (wave == waves_.end() || !isOpen())
        return;
    Wave &w = wave->second;
    const VoiceMixer::Play play = mixer_.start(w.sound, sideGain(w.pan, false), sideGain(w.pan, true));
    if (play.voice < 0) {
        qWarning("Every voice of the mixer is busy: a sound is not played.");
        return;
    }
    w.play = play;
    w.deadline = QDeadlineTimer(lengthMs(*w.sound) + StallMarginMs, Qt::PreciseTimer);
    restTimer_.stop();
    if (!active_) {
        output_->setActive(true);
        active_ = true;
    }
    guardAgainstStall();
}

bool PipeWireSoundComponent::isPlaying(qint32 handle)
{
    const auto wave = waves_.find(handle);
    return wave != waves_.end() && isOpen() && mixer_.isPlaying(wave->second.play);
}

void PipeWireSoundComponent::setPan(qint32 handle, qint32 pan)
{
    const auto wave = waves_.find(handle);
    if (wave != waves_.end())
        wave->second.pan = std::clamp(pan, -10000, 10000);
}

void PipeWireSoundComponent::setVolume(qint32 hundredthsOfDb)
{
    if (!isOpen())
        return;
    // In the 128 steps of a mixer's volume, at most full.
    const double gain = std::pow(10.0, hundredthsOfDb / 2000.0);
    mixer_.setGain(static_cast<float>(std::min<long>(std::lround(gain * 128), 128)) / 128.0f);
}

void PipeWireSoundComponent::onSoundsEnded()
{
    if (lost_)
        return;
    if (mixer_.collectEnded() > 0)
        emit playbackEnded();
    restWhenSilent();
    guardAgainstStall();
}

void PipeWireSoundComponent::onLost()
{
    lost_ = true;
    restTimer_.stop();
    stallTimer_.stop();
    // Whoever waits for a sound goes on: none plays any more.
    emit playbackEnded();
    emit deviceLost();
}

void PipeWireSoundComponent::restWhenSilent()
{
    // Counted from the end of the last sound; a sound that starts stops the count.
    if (!mixer_.anyPlaying())
        restTimer_.start();
}

void PipeWireSoundComponent::rest()
{
    output_->setActive(false);
    active_ = false;
}

void PipeWireSoundComponent::guardAgainstStall()
{
    // The server has not played a sound in its own time: give up on it so no one waits forever.
    std::optional<QDeadlineTimer> next;
    for (auto &[handle, wave] : waves_) {
        if (!mixer_.isPlaying(wave.play))
            continue;
        if (wave.deadline.hasExpired())
            stop(wave);
        else if (!next || wave.deadline < *next)
            next = wave.deadline;
    }
    if (next)
        stallTimer_.start(static_cast<int>(std::max<qint64>(1, next->remainingTime())));
    else
        stallTimer_.stop();
}
