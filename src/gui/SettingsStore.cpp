// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsStore.h"

#include "info/AppInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
// Real settings take a few dozen bytes; anything much larger is not ours.
constexpr qint64 MaxFileBytes = 64 * 1024;
// Changes closer together than this are written once.
constexpr int WriteDelayMs = 500;

// A FIFO would block the reader until a writer comes, and a device or a folder is nothing to
// replace. A link is followed, to a regular file only; a dangling one counts as something else.
bool isUsable(const QFileInfo &file)
{
    return file.isFile() || (!file.exists() && !file.isSymLink());
}

const QString VolumeKey = QStringLiteral("sound/volume");
const QString BothEarsKey = QStringLiteral("sound/bothEars");
const QString LanguageKey = QStringLiteral("language/chosen");                // the window checks that it is spoken
const QString ScreenReaderKey = QStringLiteral("accessibility/screenReader"); // checked when used

Settings readFile(const QString &path)
{
    Settings settings;
    const QFileInfo file(path);
    if (!isUsable(file) || file.size() > MaxFileBytes)
        return settings;
    const QSettings store(path, QSettings::IniFormat);
    if (store.status() != QSettings::NoError)
        return settings;
    bool ok{};
    const int volume = store.value(VolumeKey).toInt(&ok);
    if (ok)
        settings.volume = volume; // the player keeps it within its range
    settings.bothEars = store.value(BothEarsKey).toString() == QLatin1String("true");
    settings.language = store.value(LanguageKey).toString();
    settings.screenReader = store.value(ScreenReaderKey).toString();
    return settings;
}

// QSettings replaces the file whole, so a kill never leaves half of it.
void writeFile(const QString &path, const Settings &settings)
{
    const QFileInfo file(path);
    if (!isUsable(file))
        return;
    // A file far too large for settings is not merged into, but begun afresh.
    if (file.size() > MaxFileBytes && !QFile::remove(path))
        return;
    QSettings store(path, QSettings::IniFormat);
    store.setValue(VolumeKey, settings.volume);
    store.setValue(BothEarsKey, settings.bothEars);
    if (!settings.language.isEmpty())
        store.setValue(LanguageKey, settings.language);
    if (!settings.screenReader.isEmpty())
        store.setValue(ScreenReaderKey, settings.screenReader);
    store.sync(); // a file that cannot be written is left as it is
}
} // namespace

QString SettingsStore::userFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/'
        + QString::fromUtf8(AppInfo::Id) + QStringLiteral(".ini");
}

SettingsStore::SettingsStore(QString path)
    : path_(std::move(path))
    , settings_(readFile(path_))
{
    delay_.setSingleShot(true);
    delay_.setInterval(WriteDelayMs);
    QObject::connect(&delay_, &QTimer::timeout, &delay_, [this] { write(); });
    writer_.setMaxThreadCount(1); // one write at a time, in order: the last one wins
}

SettingsStore::~SettingsStore()
{
    if (delay_.isActive())
        write(); // the thread pool's destructor waits for it
}

void SettingsStore::keep(const Settings &settings)
{
    settings_ = settings;
    delay_.start();
}

void SettingsStore::write()
{
    delay_.stop();
    writer_.start([path = path_, settings = settings_] { writeFile(path, settings); });
}
