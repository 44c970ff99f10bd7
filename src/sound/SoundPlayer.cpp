// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoundPlayer.h"

#include "SoundComponent.h"
#include "i18n/CutForMessage.h"

#include <algorithm>

namespace {
constexpr qint32 StepHundredthsOfDb = 300;

qint32 componentPan(Side side)
{
    switch (side) {
    case Side::Left:
        return -10000;
    case Side::Centre:
        return 0;
    case Side::Right:
        return 10000;
    }
    return 0;
}
} // namespace

SoundPlayer::SoundPlayer(SoundComponent &component, Report report, QObject *parent)
    : QObject(parent)
    , component_(component)
    , report_(std::move(report))
{
    connect(&component_, &SoundComponent::playbackEnded, this, &SoundPlayer::soundEnded);
    // Said once; the game then goes on silently, as without a device at all.
    connect(&component_, &SoundComponent::deviceLost, this,
            [this] { report_(tr("Lydenheten forsvant. Velkarn går videre uten lyd.")); });
}

bool SoundPlayer::hasDevice() const
{
    return component_.isOpen();
}

bool SoundPlayer::play(Sound sound, Side side)
{
    // Without an audio device or recordings the game runs silently; the user was told once at start-up.
    if (silent_ || !component_.isOpen())
        return false;
    QString path = catalogue_.path(sound);
    qint32 handle = component_.openWave(path);
    if (handle == -1 && path != catalogue_.builtInPath(sound)) {
        // A broken own recording: the built-in voice speaks, and the teacher hears of it once.
        if (!reported_.contains(path)) {
            reported_.insert(path);
            report_(tr("Din egen innspilling %1 kan ikke spilles. Velkarn bruker den innebygde stemmen.")
                        .arg(cutForMessage(path)));
        }
        path = catalogue_.builtInPath(sound);
        handle = component_.openWave(path);
    }
    if (handle == -1) {
        report_(tr("Kan ikke åpne lydfilen: %1").arg(cutForMessage(path)));
        return false;
    }
    component_.closeWave(current_);
    current_ = handle;
    // The side is set before the start so that not even the first samples are heard elsewhere.
    component_.setPan(current_, componentPan(bothEars_ ? Side::Centre : side));
    component_.startWave(current_);
    ++soundsStarted_;
    // A sound the mixer could not start is not heard, and must not be waited for.
    return component_.isPlaying(current_);
}

bool SoundPlayer::isPlaying() const
{
    return component_.isPlaying(current_);
}

void SoundPlayer::stopAll()
{
    component_.stopAll();
}

void SoundPlayer::setVolume(int volume)
{
    volume_ = std::clamp(volume, SoftestVolume, LoudestVolume);
    component_.setVolume((volume_ - LoudestVolume) * StepHundredthsOfDb);
}
