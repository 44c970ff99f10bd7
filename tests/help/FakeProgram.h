#pragma once

#include <QFile>
#include <QSaveFile>
#include <QStringList>

// Writes an executable file holding text; always a new file, never one a running script still reads.
inline bool WriteProgram(const QString& path, const QByteArray& text)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit()
           && QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A shell script that writes its own path ($0) and arguments, one a line, to recordPath
// (whole, then renamed into place) and exits with exitCode.
inline QByteArray RecordingScript(const QString& recordPath, int exitCode = 0)
{
    const QByteArray record = QFile::encodeName(recordPath);
    return "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > '" + record + ".part'\n/bin/mv '" + record + ".part' '"
           + record + "'\nexit " + QByteArray::number(exitCode) + "\n";
}

// The lines a recording script wrote: its path, then its arguments.
inline QStringList ReadRecord(const QString& recordPath)
{
    QFile file(recordPath);
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()).split(u'\n', Qt::SkipEmptyParts)
                                          : QStringList();
}
