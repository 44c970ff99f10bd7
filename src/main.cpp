// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/Velkarn.h"
#include "i18n/Translations.h"
#include "info/AppInfo.h"
#include "sound/ChooseSoundComponent.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Ties the running window to its menu entry and icon, where the desktop asks for them.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(AppInfo::Id));
    QApplication::setWindowIcon(QIcon::fromTheme(QString::fromUtf8(AppInfo::Id)));
    // For a teacher's launcher: the language of this run, over the one kept or the desktop's.
    QCommandLineParser parser;
    const QString languages = Translations::available().join(QStringLiteral(", "));
    const QCommandLineOption languageOption(QStringLiteral("language"),
                                            QStringLiteral("Språk / language: ") + languages, QStringLiteral("code"));
    parser.addOption(languageOption);
    // For a teacher's launcher: how to play with a screen reader this run.
    const QCommandLineOption screenReaderOption(QStringLiteral("screen-reader"),
                                                QStringLiteral("Skjermleser / screen reader: auto, on, off"),
                                                QStringLiteral("mode"));
    parser.addOption(screenReaderOption);
    parser.addHelpOption();
    parser.process(app);
    auto sound = chooseSoundComponent();
    int exitCode = 0;
    {
        // The game, on the sound component chosen above, with the recordings beside the program and
        // the user's own settings.
        Velkarn velkarn(*sound, {.recordings = SoundCatalogue::folderBeside(), .settings = SettingsStore::userFile()});
        velkarn.start(parser.value(languageOption), parser.value(screenReaderOption));
        // The ordinary event loop blocks until something happens and ends with the last window.
        exitCode = QApplication::exec();
    } // the settings are written by now
    return SoundComponent::closeAtExit(std::move(sound), exitCode);
}
