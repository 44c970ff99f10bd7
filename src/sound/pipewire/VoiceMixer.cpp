// SPDX-License-Identifier: GPL-3.0-or-later
#include "VoiceMixer.h"

#include <algorithm>

VoiceMixer::Play VoiceMixer::start(std::shared_ptr<const Pcm> sound, float left, float right)
{
    for (int index = 0; index < Voices; ++index) {
        Voice &voice = voices_[static_cast<size_t>(index)];
        const quint64 last = voice.requested.load(std::memory_order_relaxed);
        // Free once the mixer has let go of its last play and its end is known (a voice never used
        // has let go of play 0).
        if (voice.finished.load(std::memory_order_acquire) != last || voice.reported != last)
            continue;
        voice.held = std::move(sound);
        voice.samples = voice.held->samples.data();
        voice.frames = voice.held->frames();
        voice.left = left;
        voice.right = right;
        const Play play{index, nextSerial_++};
        voice.requested.store(play.serial, std::memory_order_release);
        return play;
    }
    return {};
}

bool VoiceMixer::stop(const Play &play)
{
    if (!isPlaying(play))
        return false;
    Voice &voice = voices_[static_cast<size_t>(play.voice)];
    voice.reported = play.serial;
    voice.cancelled.store(play.serial, std::memory_order_release);
    return true;
}

bool VoiceMixer::stopAll()
{
    bool stopped = false;
    for (int index = 0; index < Voices; ++index)
        stopped |= stop({index, voices_[static_cast<size_t>(index)].requested.load(std::memory_order_relaxed)});
    return stopped;
}

bool VoiceMixer::isPlaying(const Play &play) const
{
    if (play.voice < 0)
        return false;
    const Voice &voice = voices_[static_cast<size_t>(play.voice)];
    return voice.requested.load(std::memory_order_relaxed) == play.serial && voice.reported != play.serial
        && voice.finished.load(std::memory_order_acquire) != play.serial;
}

bool VoiceMixer::anyPlaying() const
{
    for (int index = 0; index < Voices; ++index) {
        const Voice &voice = voices_[static_cast<size_t>(index)];
        if (isPlaying({index, voice.requested.load(std::memory_order_relaxed)}))
            return true;
    }
    return false;
}

int VoiceMixer::collectEnded()
{
    int ended = 0;
    for (Voice &voice : voices_) {
        const quint64 last = voice.requested.load(std::memory_order_relaxed);
        if (voice.finished.load(std::memory_order_acquire) != last)
            continue;
        voice.held.reset(); // the mixer reads it no more
        if (voice.reported != last) {
            voice.reported = last;
            ++ended;
        }
    }
    return ended;
}

bool VoiceMixer::mix(float *out, quint32 frames)
{
    std::fill(out, out + 2 * static_cast<size_t>(frames), 0.0f);
    // The mixer's gains: a sample of full scale is 1.
    const float gain = gain_.load(std::memory_order_relaxed) / 32768.0f;
    bool ended = false;
    for (Voice &voice : voices_) {
        const quint64 wanted = voice.requested.load(std::memory_order_acquire);
        if (wanted != voice.mixing) {
            voice.mixing = wanted;
            voice.active = true;
            voice.position = 0;
        }
        if (!voice.active)
            continue;
        if (voice.cancelled.load(std::memory_order_acquire) == wanted) {
            voice.active = false;
            voice.finished.store(wanted, std::memory_order_release);
            ended = true;
            continue;
        }
        const quint32 count = std::min(frames, voice.frames - voice.position);
        const qint16 *in = voice.samples + 2 * static_cast<size_t>(voice.position);
        const float left = voice.left * gain;
        const float right = voice.right * gain;
        for (quint32 i = 0; i < count; ++i) {
            out[2 * i] += in[2 * i] * left;
            out[2 * i + 1] += in[2 * i + 1] * right;
        }
        voice.position += count;
        if (voice.position == voice.frames) {
            voice.active = false;
            voice.finished.store(wanted, std::memory_order_release);
            ended = true;
        }
    }
    // As a 16-bit mixer does: sounds that add up beyond full scale are clipped, never wrapped.
    std::transform(out, out + 2 * static_cast<size_t>(frames), out,
                   [](float sample) { return std::clamp(sample, -1.0f, 32767.0f / 32768.0f); });
    return ended;
}
