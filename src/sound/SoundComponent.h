// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <memory>

// The sound component: opens wave files and plays them once, panned, one handle per opened file.
// Handles are positive; -1 means "could not open"; 0 is never a handle.
class SoundComponent : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    /// Closes the component as the program ends. A stalled device (a driver that no longer takes
    /// sound) can hold its closing forever: after half a second the process ends with exitCode
    /// without it. Returns exitCode.
    static int closeAtExit(std::unique_ptr<SoundComponent> component, int exitCode);

    /// False when no audio device could be opened, or it has been lost; then nothing is heard.
    virtual bool isOpen() const = 0;
    /// Opens the wave file at path; returns its handle, or -1 when it cannot be opened or holds no sound.
    virtual qint32 openWave(const QString &path) = 0;
    /// Releases a handle (stopping its sound); 0 and unknown handles are ignored.
    virtual void closeWave(qint32 handle) = 0;
    /// Silences every sound that is playing.
    virtual void stopAll() = 0;
    /// Plays the handle's sound once, from its start to its end.
    virtual void startWave(qint32 handle) = 0;
    /// True while the handle's sound is still playing.
    virtual bool isPlaying(qint32 handle) = 0;
    /// Where the handle's sound is heard from its next start: -10000 full left, 0 centre, 10000 full right.
    virtual void setPan(qint32 handle, qint32 pan) = 0;
    /// Loudness of everything played, in hundredths of a decibel: 0 is full, -2700 is 27 dB softer.
    virtual void setVolume(qint32 hundredthsOfDb) = 0;

signals:
    /// A sound has ended or was stopped; whoever waits should ask isPlaying() again.
    void playbackEnded();
    /// The audio device has gone while playing (its sound server ended); isOpen() is false from now on.
    void deviceLost();
};
