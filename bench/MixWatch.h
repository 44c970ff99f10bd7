#pragma once

#include <QObject>
#include <QtGlobal>

#include <SDL_stdinc.h>

#include <atomic>
#include <limits>

// Listens to the mixer's output from outside the game: a post-mix callback on the audio thread sees
// every buffer once all channels are mixed into it. Made after the sound component has opened the
// device; only one may exist at a time, as the mixer keeps a single post-mix callback.
class MixWatch : public QObject
{
    Q_OBJECT

public:
    MixWatch();
    ~MixWatch() override;
    MixWatch(const MixWatch &) = delete;
    MixWatch &operator=(const MixWatch &) = delete;

    /// From now on, keeps the time of the first pass that mixes a sound (and forgets any earlier):
    /// its buffer is not silent, or a channel still plays at its end. A recording may begin with
    /// samples so faint that panning rounds them to silence; it has started all the same.
    void ListenForSound();
    /// Monotonic time of the first pass that mixed a sound since ListenForSound, 0 while none did.
    qint64 HeardNs() const { return heardNs_.load(); }
    /// Runs the event loop until a mixing pass has ended after this call. False if none did in time.
    bool WaitForPass(int timeoutMs = 2'000);
    /// The most channels seen playing together at the end of any pass.
    int PeakPlaying() const { return peakPlaying_.load(); }

signals:
    /// The first sound after ListenForSound was mixed (sent to this object's thread).
    void Heard();
    /// The pass WaitForPass waited for has ended (sent to this object's thread).
    void Passed();

private:
    static void SDLCALL OnMix(void *self, Uint8 *stream, int length);

    static constexpr quint64 Never = std::numeric_limits<quint64>::max();

    std::atomic<bool> listening_{false};
    std::atomic<qint64> heardNs_{0};
    std::atomic<quint64> passes_{0};
    std::atomic<quint64> wakeAfter_{Never};
    std::atomic<int> peakPlaying_{0};
};
