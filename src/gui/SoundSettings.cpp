#include "SoundSettings.h"

#include "info/AppInfo.h"

#include <QSettings>

namespace {
const QString VolumeKey = QStringLiteral("sound/volume");
const QString BothEarsKey = QStringLiteral("sound/bothEars");
const QString Application = QString::fromUtf8(AppInfo::Id);
} // namespace

SoundSettings LoadSoundSettings()
{
    const QSettings store(QSettings::IniFormat, QSettings::UserScope, Application);
    SoundSettings settings;
    if (store.status() != QSettings::NoError)
        return settings;
    bool ok{};
    const int volume = store.value(VolumeKey).toInt(&ok);
    if (ok)
        settings.volume = volume; // the player keeps it within its range
    settings.bothEars = store.value(BothEarsKey).toString() == QLatin1String("true");
    return settings;
}

void SaveSoundSettings(const SoundSettings &settings)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, Application);
    store.setValue(VolumeKey, settings.volume);
    store.setValue(BothEarsKey, settings.bothEars);
}
