// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AudioCapture.h"
#include "RecordingStore.h"
#include "sound/Sound.h"

#include <QObject>
#include <QTemporaryDir>

#include <optional>
#include <vector>

class SoundComponent;
class SoundPlayer;

// A teacher recording the phrases of one language: a beep, the take, a beep; the take cleaned and
// held until it is kept (or replaced by the next); the built-in voice restored; the recordings
// carried to and from a folder. Every failure is one message and changes no recording.
class RecordingSession : public QObject
{
    Q_OBJECT

public:
    /// The store, the player and its component are the caller's and outlive the session.
    RecordingSession(const RecordingStore &store, SoundPlayer &player, SoundComponent &component, QString language,
                     QObject *parent = nullptr);
    ~RecordingSession() override;

    /// The language whose phrases are recorded.
    const QString &language() const { return language_; }
    /// True when the teacher's own recording of sound is played.
    bool hasOwn(Sound sound) const { return store_.has(language_, sound); }
    /// True while a take is recorded.
    bool isRecording() const { return capture_.isRecording() || beeping_; }
    /// The phrase of the take waiting to be kept, if any.
    std::optional<Sound> take() const { return take_.empty() ? std::nullopt : std::optional(takeSound_); }

public slots:
    /// Beeps, then records a take of sound; the take waiting until now is dropped.
    void record(Sound sound);
    /// Ends the take, beeps, and cleans it: a take with no voice is refused.
    void stop();
    /// Plays the take of sound waiting to be kept, or else the recording the game plays for it.
    void listen(Sound sound);
    /// Keeps the waiting take as the teacher's recording of its phrase.
    void keep();
    /// Removes the teacher's recording of sound: the built-in voice speaks it again.
    void restore(Sound sound);
    /// Copies the teacher's recordings of the language into folder.
    void exportTo(const QString &folder);
    /// Takes the playable recordings in folder as the teacher's; the others are named in a message.
    void importFrom(const QString &folder);

signals:
    /// The take has begun: speak now.
    void recordingStarted();
    /// How loud the voice is while recording, 0 to 100.
    void levelChanged(int percent);
    /// A take has ended, refused or not.
    void recordingStopped();
    /// A cleaned take of sound waits to be listened to and kept.
    void takeReady(Sound sound);
    /// Which recordings are the teacher's own may have changed.
    void recordingsChanged();
    /// What was done, for the status line.
    void done(const QString &text);
    /// What went wrong, said once; nothing was lost.
    void problem(const QString &text);

private:
    void beginCapture();
    void endCapture(const QString &lostText);
    qint64 longestMs() const;

    const RecordingStore &store_;
    SoundPlayer &player_;
    SoundComponent &component_;
    const QString language_;
    AudioCapture capture_;
    QTemporaryDir takeFolder_; // the waiting take, as a file the component can play
    Sound takeSound_ = Sound::Welcome;
    Sound recording_ = Sound::Welcome;
    std::vector<qint16> take_;
    qint32 listening_ = 0;
    bool beeping_ = false;
};
