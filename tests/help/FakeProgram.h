// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QSaveFile>
#include <QStringList>

// Writes an executable file holding text; always a new file, never one a running script still reads.
inline bool writeProgram(const QString &path, const QByteArray &text)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit()
        && QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A shell script that writes its own path ($0) and arguments, one a line, to record, and exits with exitCode.
inline QByteArray recordingScript(const QString &record, int exitCode = 0)
{
    return "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > '" + QFile::encodeName(record) + "'\nexit "
        + QByteArray::number(exitCode) + "\n";
}

// What a recording script has written so far.
inline QStringList readRecord(const QString &record)
{
    QFile file(record);
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()).split(u'\n', Qt::SkipEmptyParts)
                                          : QStringList();
}
