// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Measure.h"

#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <limits>

// Listens to the mixer's output from outside the game: a post-mix callback on the audio thread sees
// every buffer once all channels are mixed into it. Made after the sound component has opened the
// device; only one may exist at a time, as the mixer keeps a single post-mix callback.
class MixWatch : public QObject
{
    Q_OBJECT

public:
    MixWatch() { Mix_SetPostMix(&MixWatch::onMix, this); }
    // Once this returns the audio thread is outside the callback: the mixer swaps it under its lock.
    ~MixWatch() override { Mix_SetPostMix(nullptr, nullptr); }

    /// From now on, keeps the time of the first pass that mixes a sound (and forgets any earlier):
    /// its buffer is not silent, or a channel still plays at its end. A recording may begin with
    /// samples so faint that panning rounds them to silence; it has started all the same.
    void listenForSound()
    {
        listening_ = false;
        heardNs_ = 0;
        listening_ = true;
    }
    /// Monotonic time of the first pass that mixed a sound since listenForSound, 0 while none did.
    qint64 heardNs() const { return heardNs_.load(); }
    /// The most channels seen playing together at the end of any pass.
    int peakPlaying() const { return peakPlaying_.load(); }

    /// Runs the event loop until a mixing pass has ended after this call. False if none did in time.
    bool waitForPass(int timeoutMs = 2'000)
    {
        if (Mix_QuerySpec(nullptr, nullptr, nullptr) == 0)
            return true; // the game has let its device go: no pass is under way or to come
        QEventLoop loop;
        connect(this, &MixWatch::passed, &loop, &QEventLoop::quit);
        QTimer limit; // gone with this call, unlike a pending QTimer::singleShot
        limit.setSingleShot(true);
        connect(&limit, &QTimer::timeout, &loop, [&loop] { loop.exit(1); });
        limit.start(timeoutMs);
        // A pass that is under way now counts: it ends after this call, so whatever it posted is queued.
        wakeAfter_ = passes_.load() + 1;
        return loop.exec() == 0;
    }

signals:
    /// The first sound after listenForSound was mixed (sent to this object's thread).
    void heard();
    /// The pass waitForPass waited for has ended (sent to this object's thread).
    void passed();

private:
    static void SDLCALL onMix(void *self, Uint8 *stream, int length)
    {
        // Audio thread: a few atomics, and a queued message to the watch's own thread when asked for.
        auto *watch = static_cast<MixWatch *>(self);
        // Inside the post-mix callback the mixer holds its lock, so its channels cannot change here.
        const int playing = Mix_Playing(-1);
        int peak = watch->peakPlaying_.load();
        while (playing > peak && !watch->peakPlaying_.compare_exchange_weak(peak, playing)) {}
        if (watch->listening_.load()
            && (playing > 0 || std::any_of(stream, stream + length, [](Uint8 byte) { return byte != 0; }))) {
            watch->listening_ = false;
            watch->heardNs_ = bench::monotonicNs();
            QMetaObject::invokeMethod(watch, &MixWatch::heard, Qt::QueuedConnection);
        }
        const quint64 passes = ++watch->passes_;
        quint64 wakeAfter = watch->wakeAfter_.load();
        if (passes >= wakeAfter && watch->wakeAfter_.compare_exchange_strong(wakeAfter, Never))
            QMetaObject::invokeMethod(watch, &MixWatch::passed, Qt::QueuedConnection);
    }

    static constexpr quint64 Never = std::numeric_limits<quint64>::max();

    std::atomic<bool> listening_{false};
    std::atomic<qint64> heardNs_{0};
    std::atomic<quint64> passes_{0};
    std::atomic<quint64> wakeAfter_{Never};
    std::atomic<int> peakPlaying_{0};
};
