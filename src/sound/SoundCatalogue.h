// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Sound.h"

#include <QList>
#include <QString>

// Where each sound's recording is: one file per sound. The effects say nothing and are shared by
// every language from the recordings' folder; the speech is in the folder of the language in use,
// which the caller names. The teacher's own recording of a phrase, in the own folder the caller
// names, is played instead of the built-in one.
class SoundCatalogue
{
public:
    /// The recordings' folder beside the program in appFolder (default: this program's).
    static QString folderBeside(const QString &appFolder = {});
    /// Every sound the game can play.
    static QList<Sound> all();
    /// The file name of a sound's recording, such as "welcome.wav".
    static QString fileName(Sound sound);
    /// True for a sound effect, the same in every language; false for speech.
    static bool isEffect(Sound sound);

    /// The effects in folder, the speech in speechFolder (the same folder when none is given), the
    /// teacher's own speech in ownFolder (none when empty); all end in a separator.
    explicit SoundCatalogue(QString folder = {}, QString speechFolder = {}, QString ownFolder = {});

    /// The folder of the speech, ending in a separator.
    const QString &folder() const { return speechFolder_; }
    /// The full path of a sound's recording: the teacher's own where there is one.
    QString path(Sound sound) const;
    /// The full path of a sound's built-in recording.
    QString builtInPath(Sound sound) const { return (isEffect(sound) ? folder_ : speechFolder_) + fileName(sound); }
    /// False when the language's folder is missing, unreadable or holds no recording at all.
    bool hasRecordings() const;

private:
    QString folder_;
    QString speechFolder_;
    QString ownFolder_;
};
