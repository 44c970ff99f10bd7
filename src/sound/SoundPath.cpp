#include "SoundPath.h"

QString SoundDirFor(const QString &appFolder, QChar separator)
{
    QString dir = appFolder;
    if (!dir.endsWith(separator))
        dir += separator;
    return dir + QStringLiteral("wave") + separator;
}
