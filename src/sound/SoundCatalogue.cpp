// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoundCatalogue.h"

#include "i18n/Translations.h"

#include <QCoreApplication>
#include <QDir>

QString SoundCatalogue::folderBeside(const QString &appFolder)
{
    QString folder = QDir::toNativeSeparators(appFolder.isEmpty() ? QCoreApplication::applicationDirPath() : appFolder);
    // No doubled separator where the program sits at a drive's or the file system's root.
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder + QStringLiteral("wave") + QDir::separator();
}

QList<Sound> SoundCatalogue::all()
{
    QList<Sound> sounds;
    for (int sound = 0; sound <= static_cast<int>(Sound::Number20); ++sound)
        sounds << static_cast<Sound>(sound);
    return sounds;
}

QString SoundCatalogue::fileName(Sound sound)
{
    switch (sound) {
    case Sound::Welcome:
        return QStringLiteral("welcome.wav");
    case Sound::ChooseRoomCount:
        return QStringLiteral("rooms_select.wav");
    case Sound::ChooseDoor:
        return QStringLiteral("door123.wav");
    case Sound::YouAreInRoom:
        return QStringLiteral("you_are_in_room.wav");
    case Sound::Of:
        return QStringLiteral("of.wav");
    case Sound::Help:
        return QStringLiteral("help.wav");
    case Sound::DoorOpen:
        return QStringLiteral("door_open.wav");
    case Sound::DoorClosed:
        return QStringLiteral("door_closed.wav");
    case Sound::Error:
        return QStringLiteral("error.wav");
    case Sound::Success:
        return QStringLiteral("success.wav");
    case Sound::VolumeTick:
        return QStringLiteral("volume.wav");
    default:
        return QStringLiteral("nr%1.wav").arg(static_cast<int>(sound) - static_cast<int>(Sound::Number1) + 1);
    }
}

bool SoundCatalogue::isEffect(Sound sound)
{
    switch (sound) {
    case Sound::DoorOpen:
    case Sound::DoorClosed:
    case Sound::Error:
    case Sound::Success:
    case Sound::VolumeTick:
        return true;
    default:
        return false;
    }
}

SoundCatalogue::SoundCatalogue(QString folder, const QString &language)
    : folder_(std::move(folder))
    , speechFolder_(language.isEmpty() || language == Translations::sourceLanguage()
                        ? folder_
                        : folder_ + language + QDir::separator())
{
}

bool SoundCatalogue::hasRecordings() const
{
    const QDir folder(speechFolder_);
    return folder.isReadable() && !folder.entryList({QStringLiteral("*.wav")}, QDir::Files).isEmpty();
}
