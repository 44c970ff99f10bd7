// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/MainWindow.h"
#include "i18n/Translations.h"
#include "info/AppInfo.h"
#include "sound/ChooseSoundComponent.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QMessageBox>

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
    parser.addHelpOption();
    parser.process(app);
    auto sound = chooseSoundComponent();
    int exitCode = 0;
    {
        MainWindow window(*sound);
        const QString language = parser.value(languageOption);
        if (!language.isEmpty() && !window.useLanguage(language)) {
            QMessageBox::warning(nullptr, window.windowTitle(),
                                 QCoreApplication::translate("main", "Velkarn kan ikke språket «%1». Det kan: %2.")
                                     .arg(language, languages));
        }
        window.start();
        // The ordinary event loop blocks until something happens and ends with the last window.
        exitCode = QApplication::exec();
    } // the window has written the settings by now
    return SoundComponent::closeAtExit(std::move(sound), exitCode);
}
