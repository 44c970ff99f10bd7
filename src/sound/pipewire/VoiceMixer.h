// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <array>
#include <atomic>
#include <memory>
#include <vector>

/// A decoded recording: 16-bit stereo frames at the output's rate, never changed once made.
struct Pcm {
    std::vector<qint16> samples; // left, right, left, right, ...
    quint32 frames() const { return static_cast<quint32>(samples.size() / 2); }
};

// Mixes the sounds that play for the output's real-time thread, while the component's thread starts
// and stops them. The threads share no lock: a sound is handed to a voice through atomic serial
// numbers, and its samples are kept alive until the mixing thread has let go of them.
class VoiceMixer
{
public:
    static constexpr int Voices = 16;

    /// One play of a sound on one voice; a play that did not start has no voice.
    struct Play {
        int voice = -1;
        quint64 serial = 0;
    };

    // On the component's thread:

    /// Starts a sound on a free voice, each side scaled by its gain (0 to 1); no voice when all are busy.
    Play start(std::shared_ptr<const Pcm> sound, float left, float right);
    /// Stops a play; true when it was still playing.
    bool stop(const Play &play);
    /// Stops every play; true when any was still playing.
    bool stopAll();
    /// True until the play has been stopped or the mixing thread has played it to its end.
    bool isPlaying(const Play &play) const;
    /// True while any play is playing.
    bool anyPlaying() const;
    /// How many plays have ended by themselves since the last call; frees what the mixing thread let go.
    int collectEnded();
    /// Scales everything, from the next mixing pass on.
    void setGain(float gain) { gain_.store(gain, std::memory_order_relaxed); }

    // On the mixing thread, with no lock or allocation:

    /// Writes the next `frames` stereo frames of the mix to out; true when a play ended or was
    /// stopped during this pass.
    bool mix(float *out, quint32 frames);

private:
    struct Voice {
        // Written by the component before it publishes `requested`; read by the mixer after it.
        const qint16 *samples = nullptr;
        quint32 frames = 0;
        float left = 0;
        float right = 0;
        std::atomic<quint64> requested{0}; // the play the component wants here
        std::atomic<quint64> cancelled{0}; // the play the component has stopped
        std::atomic<quint64> finished{0};  // the last play the mixer has let go of
        // The component's own.
        std::shared_ptr<const Pcm> held;
        quint64 reported = 0; // the last play whose end the component knows of
        // The mixer's own.
        quint64 mixing = 0;
        bool active = false;
        quint32 position = 0;
    };

    std::array<Voice, Voices> voices_;
    std::atomic<float> gain_{1.0f};
    quint64 nextSerial_ = 1;
};
