#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

// Writes an executable shell script that records how it was started: its own path
// ($0) and its arguments go to recordPath (written whole, then renamed into place),
// then it exits with exitCode.
inline bool WriteRecordingScript(const QString& scriptPath, const QString& recordPath, int exitCode = 0)
{
    const QByteArray record = QFile::encodeName(recordPath);
    const QByteArray script = "#!/bin/sh\n"
                              "printf '%s\\n' \"$0\" \"$@\" > '" + record + ".part'\n"
                              "/bin/mv '" + record + ".part' '" + record + "'\n"
                              "exit " + QByteArray::number(exitCode) + "\n";
    QFile file(scriptPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(script) != script.size())
        return false;
    file.close();
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The lines a recording script wrote: its path, then one line per argument.
inline QStringList ReadRecord(const QString& recordPath)
{
    QFile file(recordPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromLocal8Bit(file.readAll());
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.split(u'\n');
}
