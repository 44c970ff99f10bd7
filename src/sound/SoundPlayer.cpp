#include "SoundPlayer.h"

#include "SoundComponent.h"
#include "SoundPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>

namespace {
constexpr qint32 FullLeft = -10000;
constexpr qint32 FullRight = 10000;

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

bool SoundPlayer::LoadSound(const QString &fileName)
{
    if (fileName.isEmpty())
        return false;
    // Without an audio device the game runs silently; the user was told once at start-up.
    if (!component_.IsOpen())
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

void SoundPlayer::PlayWave(const QString &fileName, bool wait, qint16 pan)
{
    if (!LoadSound(fileName))
        return;
    // The position is set before the start so that not even the first samples are heard elsewhere.
    component_.SetPan(currentSound_, ComponentPan(pan));
    component_.StartWave(currentSound_, 0, -1);
    if (wait)
        WaitUntilEnded(currentSound_);
}

void SoundPlayer::StopAll()
{
    component_.StopAll();
}

void SoundPlayer::WaitUntilEnded(qint32 handle)
{
    // Sleep in a local event loop until the component reports an end. Keys and clicks stay
    // queued and are handled afterwards, in order; repainting and timers go on meanwhile.
    QEventLoop loop;
    QObject::connect(&component_, &SoundComponent::PlaybackEnded, &loop, &QEventLoop::quit);
    while (component_.IsPlaying(handle)) {
        if (loop.exec(QEventLoop::ExcludeUserInputEvents) != 0)
            break; // the application is quitting
    }
}
