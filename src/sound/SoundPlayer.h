#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

class SoundComponent;

// Finds the recordings and plays one at a time through the sound component: keeps the current
// sound's handle (opening the next one releases it), places each sound left, centre or right, and
// sets how loud everything is.
class SoundPlayer
{
public:
    /// Shows a failure to the user.
    using Report = std::function<void(const QString &text)>;

    static constexpr int LoudestVolume = 10;
    static constexpr int SoftestVolume = 1;

    SoundPlayer(SoundComponent &component, Report report);
    SoundPlayer(const SoundPlayer &) = delete;
    SoundPlayer &operator=(const SoundPlayer &) = delete;

    /// Sets SoundDir to the "wave" folder beside the given program folder (default: this program's).
    void InitSoundPath(const QString &appFolder = {});
    /// False when the recordings' folder is missing, unreadable or holds no recording: then the
    /// player stays silent, and reports no single recording either.
    bool FindRecordings();
    /// The recordings' folder, ending in a separator.
    const QString &SoundDir() const { return soundDir_; }
    /// Handle of the sound held open, 0 before the first.
    qint32 CurrentSound() const { return currentSound_; }
    /// The component that plays, and tells when a sound has ended.
    SoundComponent &Component() const { return component_; }

    /// Opens fileName (a full path) as the current sound; reports a file that cannot be opened.
    bool LoadSound(const QString &fileName);
    /// Starts fileName at pan (<0 left, 0 centre, >0 right); false when nothing is heard.
    bool Start(const QString &fileName, qint16 pan);
    /// How many sounds have been started so far.
    quint64 SoundsStarted() const { return soundsStarted_; }
    /// True while the current sound plays and was started after the first `started` sounds.
    bool PlayingSince(quint64 started) const { return soundsStarted_ > started && IsPlaying(currentSound_); }
    /// True while the sound of handle is still playing.
    bool IsPlaying(qint32 handle) const;
    /// Silences all output at once.
    void StopAll();

    /// Loudness from SoftestVolume (27 dB below full) to LoudestVolume (full), 3 dB a step.
    int Volume() const { return volume_; }
    /// Sets the loudness, kept within SoftestVolume and LoudestVolume.
    void SetVolume(int volume);
    /// Whether every sound is played centred, equally loud in both ears.
    bool BothEars() const { return bothEars_; }
    void SetBothEars(bool on) { bothEars_ = on; }

private:
    SoundComponent &component_;
    Report report_;
    QString soundDir_;
    qint32 currentSound_ = 0;
    quint64 soundsStarted_ = 0;
    int volume_ = LoudestVolume;
    bool bothEars_ = false;
    bool silent_ = false;
};
