// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoundCatalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {
struct Recording {
    const char *name; // the file's name without ".wav"; the numbers' is "nr" and the number
    bool effect;      // the same in every language
};

// One recording per sound. There is no default: -Wswitch names a sound that was left out, and a
// value past the last sound has no recording.
constexpr std::optional<Recording> recording(Sound sound)
{
    switch (sound) {
    case Sound::Welcome:
        return Recording{"welcome", false};
    case Sound::ChooseRoomCount:
        return Recording{"rooms_select", false};
    case Sound::ChooseDoor:
        return Recording{"door123", false};
    case Sound::YouAreInRoom:
        return Recording{"you_are_in_room", false};
    case Sound::Of:
        return Recording{"of", false};
    case Sound::Help:
        return Recording{"help", false};
    case Sound::DoorOpen:
        return Recording{"door_open", true};
    case Sound::DoorClosed:
        return Recording{"door_closed", true};
    case Sound::Error:
        return Recording{"error", true};
    case Sound::Success:
        return Recording{"success", true};
    case Sound::VolumeTick:
        return Recording{"volume", true};
    case Sound::Number1:
    case Sound::Number2:
    case Sound::Number3:
    case Sound::Number4:
    case Sound::Number5:
    case Sound::Number6:
    case Sound::Number7:
    case Sound::Number8:
    case Sound::Number9:
    case Sound::Number10:
    case Sound::Number11:
    case Sound::Number12:
    case Sound::Number13:
    case Sound::Number14:
    case Sound::Number15:
    case Sound::Number16:
    case Sound::Number17:
    case Sound::Number18:
    case Sound::Number19:
    case Sound::Number20:
        return Recording{"nr", false};
    }
    return std::nullopt;
}

// all() counts the sounds up to SoundCount: a sound added after Number20 would be left out of it.
constexpr bool everySoundCounted()
{
    for (int sound = 0; sound < SoundCount; ++sound) {
        if (!recording(static_cast<Sound>(sound)))
            return false;
    }
    return !recording(static_cast<Sound>(SoundCount));
}
static_assert(everySoundCounted(), "SoundCount must count every sound: new sounds go above Number1");
} // namespace

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
    for (int sound = 0; sound < SoundCount; ++sound)
        sounds << static_cast<Sound>(sound);
    return sounds;
}

QString SoundCatalogue::fileName(Sound sound)
{
    QString name = QString::fromLatin1(recording(sound)->name);
    if (sound >= Sound::Number1)
        name += QString::number(static_cast<int>(sound) - static_cast<int>(Sound::Number1) + 1);
    return name + QStringLiteral(".wav");
}

bool SoundCatalogue::isEffect(Sound sound)
{
    return recording(sound)->effect;
}

SoundCatalogue::SoundCatalogue(QString folder, QString speechFolder, QString ownFolder)
    // Kept as the platform writes paths, since they are shown to the player in messages.
    : folder_(QDir::toNativeSeparators(folder))
    , speechFolder_(speechFolder.isEmpty() ? folder_ : QDir::toNativeSeparators(speechFolder))
    , ownFolder_(QDir::toNativeSeparators(ownFolder))
{
}

QString SoundCatalogue::path(Sound sound) const
{
    // Looked for at every play: a recording kept or restored is heard at once.
    const QString own = ownFolder_ + fileName(sound);
    return !ownFolder_.isEmpty() && !isEffect(sound) && QFileInfo::exists(own) ? own : builtInPath(sound);
}

bool SoundCatalogue::hasRecordings() const
{
    const QDir folder(speechFolder_);
    return folder.isReadable() && !folder.entryList({QStringLiteral("*.wav")}, QDir::Files).isEmpty();
}
