#include "SoundPlayer.h"

#include "SoundComponent.h"
#include "SoundPath.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>

namespace {
constexpr qint32 FullLeft = -10000;
constexpr qint32 FullRight = 10000;
constexpr qint32 StepHundredthsOfDb = 300;

qint32 ComponentPan(qint16 pan)
{
    if (pan < 0)
        return FullLeft;
    if (pan > 0)
        return FullRight;
    return 0;
}
} // namespace

SoundPlayer::SoundPlayer(SoundComponent &component, Report report)
    : component_(component)
    , report_(std::move(report))
{
}

void SoundPlayer::InitSoundPath(const QString &appFolder)
{
    const QString folder = appFolder.isEmpty() ? QCoreApplication::applicationDirPath() : appFolder;
    soundDir_ = SoundDirFor(QDir::toNativeSeparators(folder), QDir::separator());
}

bool SoundPlayer::FindRecordings()
{
    const QDir folder(soundDir_);
    silent_ = !folder.isReadable() || folder.entryList({QStringLiteral("*.wav")}, QDir::Files).isEmpty();
    return !silent_;
}

bool SoundPlayer::LoadSound(const QString &fileName)
{
    // Without an audio device or recordings the game runs silently; the user was told once at start-up.
    if (fileName.isEmpty() || silent_ || !component_.IsOpen())
        return false;
    const qint32 handle = component_.OpenWave(fileName);
    if (handle == -1) {
        report_(QStringLiteral("Kan ikke åpne lydfilen: ") + fileName);
        return false;
    }
    component_.CloseWave(currentSound_);
    currentSound_ = handle;
    return true;
}

bool SoundPlayer::Start(const QString &fileName, qint16 pan)
{
    if (!LoadSound(fileName))
        return false;
    // The position is set before the start so that not even the first samples are heard elsewhere.
    component_.SetPan(currentSound_, ComponentPan(bothEars_ ? 0 : pan));
    component_.StartWave(currentSound_, 0, -1);
    ++soundsStarted_;
    // A sound the mixer could not start is not heard, and must not be waited for.
    return component_.IsPlaying(currentSound_);
}

bool SoundPlayer::IsPlaying(qint32 handle) const
{
    return component_.IsPlaying(handle);
}

void SoundPlayer::StopAll()
{
    component_.StopAll();
}

void SoundPlayer::SetVolume(int volume)
{
    volume_ = std::clamp(volume, SoftestVolume, LoudestVolume);
    component_.SetVolume((volume_ - LoudestVolume) * StepHundredthsOfDb);
}
