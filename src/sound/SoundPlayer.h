// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Sound.h"
#include "SoundCatalogue.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

class SoundComponent;

// Plays the game's sounds one at a time through the sound component: keeps the current sound
// (starting the next one releases it), places each sound left, centre or right, and sets how loud
// everything is.
class SoundPlayer : public QObject
{
    Q_OBJECT

public:
    /// Shows a failure to the user.
    using Report = std::function<void(const QString &text)>;

    static constexpr int LoudestVolume = 10;
    static constexpr int SoftestVolume = 1;

    /// Plays nothing until it is given its catalogue.
    SoundPlayer(SoundComponent &component, Report report, QObject *parent = nullptr);

    /// Where the recordings are found.
    const SoundCatalogue &catalogue() const { return catalogue_; }
    /// Plays from this catalogue from now on.
    void setCatalogue(const SoundCatalogue &catalogue)
    {
        catalogue_ = catalogue;
        reported_.clear();
    }
    /// Plays nothing at all from now on, and reports no recording: the user was told once why.
    void setSilent(bool silent) { silent_ = silent; }
    /// False when no audio device could be opened.
    bool hasDevice() const;

    /// Starts a sound at its side; false when nothing is heard. A recording that cannot be opened
    /// is reported, and the current sound then plays on; a teacher's own one that cannot is
    /// reported once, and the built-in one plays instead.
    bool play(Sound sound, Side side);
    /// True while the current sound is playing.
    bool isPlaying() const;
    /// How many sounds have been started so far.
    quint64 soundsStarted() const { return soundsStarted_; }
    /// True while the current sound plays and was started after the first `started` sounds.
    bool playingSince(quint64 started) const { return soundsStarted_ > started && isPlaying(); }
    /// Silences all output at once.
    void stopAll();

    /// Loudness from SoftestVolume (27 dB below full) to LoudestVolume (full), 3 dB a step.
    int volume() const { return volume_; }
    /// Sets the loudness, kept within SoftestVolume and LoudestVolume.
    void setVolume(int volume);
    /// Whether every sound is played centred, equally loud in both ears.
    bool bothEars() const { return bothEars_; }
    void setBothEars(bool on) { bothEars_ = on; }

signals:
    /// A sound has ended or was stopped; whoever waits should ask isPlaying() again.
    void soundEnded();

private:
    SoundComponent &component_;
    Report report_;
    SoundCatalogue catalogue_;
    QSet<QString> reported_; // the own recordings that could not be played, said once each
    qint32 current_ = 0;
    quint64 soundsStarted_ = 0;
    int volume_ = LoudestVolume;
    bool bothEars_ = false;
    bool silent_ = false;
};
