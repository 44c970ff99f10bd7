// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/SystemInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

namespace SystemInfo {

QString registeredViewer(const QSettings &microsoft)
{
    // The first place names the program itself: whatever it holds is tried, without a file check.
    const QString pathKey = QStringLiteral("Shared Tools/MSINFO/PATH");
    if (microsoft.contains(pathKey))
        return microsoft.value(pathKey).toString();
    // A relative folder would run whatever MSINFO32.EXE the current folder holds.
    const QString folder = microsoft.value(QStringLiteral("Shared Tools Location/MSINFO")).toString();
    const QFileInfo viewer(QDir(folder), QStringLiteral("MSINFO32.EXE"));
    return QDir::isAbsolutePath(folder) && viewer.isFile() ? viewer.filePath() : QString();
}

QString viewerInPath()
{
    for (const char *name : {"hardinfo2", "hardinfo", "kinfocenter", "cpu-x"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

bool startViewer()
{
#ifdef Q_OS_WIN
    // Read only, from the 64-bit view, where Windows records its own programs.
    const QSettings microsoft(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft"), QSettings::Registry64Format);
    const QString viewer = registeredViewer(microsoft);
#else
    const QString viewer = viewerInPath();
#endif
    // The path goes to the system as it is, so blanks, quotes or $(...) in it mean nothing.
    return QProcess::startDetached(viewer);
}

} // namespace SystemInfo
