#pragma once

#include "Sound.h"

#include <QList>
#include <QString>

// Where each sound's recording is: one file per sound in the recordings' folder.
class SoundCatalogue
{
public:
    /// The recordings' folder beside the program in appFolder (default: this program's).
    static QString folderBeside(const QString &appFolder = {});
    /// Every sound the game can play.
    static QList<Sound> all();
    /// The file name of a sound's recording, such as "welcome.wav".
    static QString fileName(Sound sound);

    explicit SoundCatalogue(QString folder = {});

    /// The recordings' folder, ending in a separator.
    const QString &folder() const { return folder_; }
    /// The full path of a sound's recording.
    QString path(Sound sound) const { return folder_ + fileName(sound); }
    /// False when the folder is missing, unreadable or holds no recording at all.
    bool hasRecordings() const;

private:
    QString folder_;
};
