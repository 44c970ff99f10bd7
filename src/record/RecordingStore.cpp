// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingStore.h"

#include "RecordingFile.h"
#include "TakeCleaner.h"
#include "i18n/CutForMessage.h"
#include "sound/SoundCatalogue.h"

#include <SDL.h>

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtEndian>

namespace {
// Writes bytes whole to path, or leaves what was there.
bool writeWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()
        && file.commit();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

QString RecordingStore::userRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recordings");
}

QList<Sound> RecordingStore::phrases()
{
    // As the child hears them: the welcome, the room count and its numbers, the doors, where the
    // player is, and the help.
    QList<Sound> sounds{Sound::Welcome, Sound::ChooseRoomCount};
    for (int n = 1; n <= HighestNumber; ++n)
        sounds << numberSound(n);
    return sounds << Sound::ChooseDoor << Sound::YouAreInRoom << Sound::Of << Sound::Help;
}

bool RecordingStore::isPlayable(const QString &path)
{
    const RecordingFile::Handle file = RecordingFile::open(path);
    SDL_AudioSpec spec{};
    Uint8 *buffer = nullptr;
    Uint32 length = 0;
    if (!file || SDL_LoadWAV_RW(file.get(), 0, &spec, &buffer, &length) == nullptr)
        return false;
    SDL_FreeWAV(buffer);
    const qint64 bytesPerSecond = qint64(spec.freq) * spec.channels * (SDL_AUDIO_BITSIZE(spec.format) / 8);
    return length * 1000 / bytesPerSecond >= RecordingFile::ShortestSoundMs; // SDL refuses a rate or channels of 0
}

QByteArray RecordingStore::waveBytes(std::span<const qint16> samples)
{
    const auto dataSize = quint32(samples.size() * 2);
    QByteArray bytes("RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\0\0\0\0\0\0\0\0\x02\0\x10\0data\0\0\0\0", 44);
    qToLittleEndian(quint32(36 + dataSize), bytes.data() + 4);
    qToLittleEndian(quint32(TakeCleaner::Rate), bytes.data() + 24);
    qToLittleEndian(quint32(TakeCleaner::Rate * 2), bytes.data() + 28);
    qToLittleEndian(dataSize, bytes.data() + 40);
    bytes.resize(44 + qsizetype(dataSize));
    qToLittleEndian<qint16>(samples.data(), qsizetype(samples.size()), bytes.data() + 44);
    return bytes;
}

RecordingStore::RecordingStore(QString root)
    : root_(std::move(root))
{
}

QString RecordingStore::folder(const QString &language) const
{
    return QDir::toNativeSeparators(root_ + u'/' + language + u'/');
}

QString RecordingStore::path(const QString &language, Sound sound) const
{
    return folder(language) + SoundCatalogue::fileName(sound);
}

bool RecordingStore::has(const QString &language, Sound sound) const
{
    return QFileInfo::exists(path(language, sound));
}

QString RecordingStore::save(const QString &language, Sound sound, std::span<const qint16> samples) const
{
    if (writeWhole(path(language, sound), waveBytes(samples)))
        return {};
    return tr("Kunne ikke lagre innspillingen i %1.").arg(cutForMessage(path(language, sound)));
}

bool RecordingStore::restore(const QString &language, Sound sound) const
{
    return !has(language, sound) || QFile::remove(path(language, sound));
}

QString RecordingStore::exportTo(const QString &language, const QString &target) const
{
    int written = 0;
    for (const Sound sound : phrases()) {
        if (!has(language, sound))
            continue;
        const QString name = SoundCatalogue::fileName(sound);
        if (!writeWhole(QDir(target).filePath(name), readAll(path(language, sound))))
            return tr("Kunne ikke skrive %1 i mappen %2.")
                .arg(cutForMessage(name), cutForMessage(QDir::toNativeSeparators(target)));
        ++written;
    }
    return written > 0 ? QString() : tr("Det finnes ingen egne innspillinger å eksportere.");
}

QStringList RecordingStore::importFrom(const QString &language, const QString &source) const
{
    const QDir from(source);
    if (!from.isReadable())
        return {QDir::toNativeSeparators(source)};
    QStringList names;
    for (const Sound sound : phrases())
        names << SoundCatalogue::fileName(sound);
    QStringList refused;
    for (const QString &name : from.entryList(QDir::Files, QDir::Name)) {
        const QString file = from.filePath(name);
        // Each good file is taken on its own: one broken file does not cost the teacher the others.
        if (!names.contains(name) || !isPlayable(file) || !writeWhole(folder(language) + name, readAll(file)))
            refused << name;
    }
    return refused;
}
