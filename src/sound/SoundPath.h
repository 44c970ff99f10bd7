#pragma once

#include <QChar>
#include <QString>

/// The recordings' folder for a program in appFolder: appFolder + separator + "wave" + separator,
/// with no doubled separator when appFolder already ends in one (a drive's or the file system's root).
QString SoundDirFor(const QString &appFolder, QChar separator);
