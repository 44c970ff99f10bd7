// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/Sound.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <span>

// The teacher's own recordings, one folder per language under a root outside the program's folder,
// each file named as the built-in recording it replaces. A file is written whole or not at all.
class RecordingStore
{
    Q_DECLARE_TR_FUNCTIONS(RecordingStore)

public:
    /// The user's own root: the program's data folder's "recordings".
    static QString userRoot();
    /// The speech a teacher can record, in the order a child hears it.
    static QList<Sound> phrases();
    /// True when the file at path is a wave file SDL can play, holding some sound.
    static bool isPlayable(const QString &path);
    /// The cleaned take as a 48 kHz, 16-bit mono wave file.
    static QByteArray waveBytes(std::span<const qint16> samples);

    explicit RecordingStore(QString root);

    /// The language's folder, ending in a separator.
    QString folder(const QString &language) const;
    /// Where the language's own recording of sound is kept.
    QString path(const QString &language, Sound sound) const;
    /// True when the teacher has recorded sound in the language.
    bool has(const QString &language, Sound sound) const;
    /// Keeps samples as the language's recording of sound; an empty text, or what went wrong.
    QString save(const QString &language, Sound sound, std::span<const qint16> samples) const;
    /// Removes the own recording: the built-in one plays again. False when it could not be removed.
    bool restore(const QString &language, Sound sound) const;
    /// Copies the language's own recordings into the folder; an empty text, or what went wrong.
    QString exportTo(const QString &language, const QString &target) const;
    /// Copies the playable recordings in the folder that are named after a phrase into the
    /// language's; returns the names of the files refused. A folder that cannot be read is refused by its name.
    QStringList importFrom(const QString &language, const QString &source) const;

private:
    QString root_;
};
