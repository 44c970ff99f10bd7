// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WaveFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

// Writes, for every recording in the folder builtWave (each language's too), a tone of milliseconds
// under the same name in the folder target: the game then plays every sound quickly. Returns false
// when builtWave holds none or one cannot be written; a copy already there is kept.
inline bool WriteToneRecordings(const QString &builtWave, const QString &target, int milliseconds)
{
    const QByteArray tone = WaveBytes(milliseconds);
    const QDir from(builtWave), to(target);
    int written = 0;
    for (QDirIterator it(from.path(), {QStringLiteral("*.wav")}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext(); ++written) {
        const QString path = to.filePath(from.relativeFilePath(it.next()));
        const QFileInfo copy(path);
        if (!(copy.size() == tone.size() || (to.mkpath(copy.path()) && WriteBytes(path, tone))))
            return false;
    }
    return written > 0;
}
