// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Sound.h"

#include <QList>
#include <QString>

// Where each sound's recording is: one file per sound in the recordings' folder. Each language has
// its own set of speech: the source language's (Norwegian) in the folder itself, every other's in
// a subfolder named by its code (wave/en/). The effects say nothing and are shared from the folder.
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

    /// The recordings in folder (ending in a separator), with the given language's speech.
    explicit SoundCatalogue(QString folder = {}, const QString &language = {});

    /// The folder of this language's speech, ending in a separator.
    const QString &folder() const { return speechFolder_; }
    /// The full path of a sound's recording.
    QString path(Sound sound) const { return (isEffect(sound) ? folder_ : speechFolder_) + fileName(sound); }
    /// False when the language's folder is missing, unreadable or holds no recording at all.
    bool hasRecordings() const;

private:
    QString folder_;
    QString speechFolder_;
};
