#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

class SoundComponent;

// Finds the recordings and plays one at a time through the sound component, optionally waiting
// for its end. Keeps the current sound's handle; opening the next one releases it.
class SoundPlayer
{
public:
    /// Shows a failure to the user and returns once it has been acknowledged.
    using Report = std::function<void(const QString &text)>;

    SoundPlayer(SoundComponent &component, Report report);
    SoundPlayer(const SoundPlayer &) = delete;
    SoundPlayer &operator=(const SoundPlayer &) = delete;

    /// Sets SoundDir to the "wave" folder beside the given program folder (default: this program's).
    void InitSoundPath(const QString &appFolder = {});
    /// The recordings' folder, ending in a separator.
    const QString &SoundDir() const { return soundDir_; }
    /// Handle of the sound held open, 0 before the first.
    qint32 CurrentSound() const { return currentSound_; }

    /// Opens fileName (a full path) as the current sound; reports a file that cannot be opened.
    bool LoadSound(const QString &fileName);
    /// Plays fileName at pan (<0 left, 0 centre, >0 right); with wait, returns when it has ended.
    void PlayWave(const QString &fileName, bool wait, qint16 pan);
    /// Silences all output at once.
    void StopAll();

private:
    void WaitUntilEnded(qint32 handle);

    SoundComponent &component_;
    Report report_;
    QString soundDir_;
    qint32 currentSound_ = 0;
};
