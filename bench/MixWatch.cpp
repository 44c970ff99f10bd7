#include "MixWatch.h"

#include "Measure.h"

#include <QEventLoop>
#include <QTimer>

#include <SDL_mixer.h>

#include <algorithm>

MixWatch::MixWatch()
{
    Mix_SetPostMix(&MixWatch::OnMix, this);
}

MixWatch::~MixWatch()
{
    // Once this returns the audio thread is outside the callback: the mixer swaps it under its lock.
    Mix_SetPostMix(nullptr, nullptr);
}

void MixWatch::ListenForSound()
{
    listening_ = false;
    heardNs_ = 0;
    listening_ = true;
}

bool MixWatch::WaitForPass(int timeoutMs)
{
    QEventLoop loop;
    connect(this, &MixWatch::Passed, &loop, &QEventLoop::quit);
    QTimer limit; // gone with this call, unlike a pending QTimer::singleShot
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, [&loop] { loop.exit(1); });
    limit.start(timeoutMs);
    // A pass that is under way now counts: it ends after this call, so whatever it posted is queued.
    wakeAfter_ = passes_.load() + 1;
    return loop.exec() == 0;
}

void MixWatch::OnMix(void *self, Uint8 *stream, int length)
{
    // Audio thread: a few atomics, and a queued message to the watch's own thread when asked for.
    auto *watch = static_cast<MixWatch *>(self);
    // Inside the post-mix callback the mixer holds its lock, so its channels cannot change here.
    const int playing = Mix_Playing(-1);
    int peak = watch->peakPlaying_.load();
    while (playing > peak && !watch->peakPlaying_.compare_exchange_weak(peak, playing)) {
    }
    if (watch->listening_.load()
        && (playing > 0 || std::any_of(stream, stream + length, [](Uint8 byte) { return byte != 0; }))) {
        watch->listening_ = false;
        watch->heardNs_ = bench::MonotonicNs();
        QMetaObject::invokeMethod(watch, &MixWatch::Heard, Qt::QueuedConnection);
    }
    const quint64 passes = ++watch->passes_;
    quint64 wakeAfter = watch->wakeAfter_.load();
    if (passes >= wakeAfter && watch->wakeAfter_.compare_exchange_strong(wakeAfter, Never))
        QMetaObject::invokeMethod(watch, &MixWatch::Passed, Qt::QueuedConnection);
}
