#include "SoundSettings.h"

#include "info/AppInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
// Real settings take a few dozen bytes; anything much larger is not ours.
constexpr qint64 MaxFileBytes = 64 * 1024;
// Changes closer together than this are written once.
constexpr int WriteDelayMs = 500;

// A FIFO would block the reader until a writer comes, and a device or a folder is nothing to
// replace. A link is followed, to a regular file only; a dangling one counts as something else.
bool IsUsable(const QFileInfo &file)
{
    return file.isFile() || (!file.exists() && !file.isSymLink());
}

// The [sound] group of the INI file, as QSettings writes it. Not read with QSettings, which reads a
// file of any size whole and may answer from its cache for a file replaced within the same moment.
SoundSettings Read(const QString &path)
{
    SoundSettings settings;
    QFile file(path);
    if (!IsUsable(QFileInfo(path)) || file.size() > MaxFileBytes || !file.open(QIODevice::ReadOnly))
        return settings;
    QByteArray section;
    for (const QByteArray &text : file.read(MaxFileBytes).split('\n')) {
        const QByteArray line = text.trimmed();
        const qsizetype equals = line.indexOf('=');
        if (line.startsWith('[')) {
            section = line;
        } else if (section == "[sound]" && equals > 0) {
            const QByteArray key = line.left(equals).trimmed();
            const QByteArray value = line.mid(equals + 1).trimmed();
            bool ok{};
            const int volume = value.toInt(&ok);
            if (key == "volume" && ok)
                settings.volume = volume; // the player keeps it within its range
            else if (key == "bothEars")
                settings.bothEars = value == "true";
        }
    }
    return settings;
}

// A fresh file in QSettings' format, swapped in whole, so a kill never leaves half of it.
void Write(const QString &path, const SoundSettings &settings)
{
    if (!IsUsable(QFileInfo(path)) || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return;
    QSaveFile file(path);
    const QByteArray text = QByteArrayLiteral("[sound]\nbothEars=") + (settings.bothEars ? "true" : "false")
                            + "\nvolume=" + QByteArray::number(settings.volume) + '\n';
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size())
        file.commit(); // a file that cannot be written is left as it is
}
} // namespace

SettingsStore::SettingsStore()
    : path_(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/'
            + QString::fromUtf8(AppInfo::Id) + QStringLiteral(".ini"))
    , settings_(Read(path_))
{
    delay_.setSingleShot(true);
    delay_.setInterval(WriteDelayMs);
    QObject::connect(&delay_, &QTimer::timeout, &delay_, [this] { write(); });
    writer_.setMaxThreadCount(1); // one write at a time, in order: the last one wins
}

SettingsStore::~SettingsStore()
{
    if (delay_.isActive())
        write();
    writer_.waitForDone();
}

void SettingsStore::keep(const SoundSettings &settings)
{
    settings_ = settings;
    delay_.start();
}

void SettingsStore::write()
{
    delay_.stop();
    writer_.start([path = path_, settings = settings_] { Write(path, settings); });
}
