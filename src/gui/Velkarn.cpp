// SPDX-License-Identifier: GPL-3.0-or-later
#include "Velkarn.h"

#include "i18n/CutForMessage.h"
#include "record/RecordingDialog.h"
#include "record/RecordingSession.h"

#include <QDir>

#include <chrono>

namespace {
quint64 clockSeed()
{
    return static_cast<quint64>(std::chrono::system_clock::now().time_since_epoch().count());
}

QString asFolder(QString path)
{
    if (!path.endsWith(u'/') && !path.endsWith(QDir::separator()))
        path += QDir::separator();
    return path;
}
} // namespace

Velkarn::Velkarn(SoundComponent &sound, const Places &places, std::optional<quint64> seed)
    : sound_(sound)
    , recordings_(asFolder(places.recordings))
    , ownRecordings_(places.ownRecordings)
    , settings_(places.settings)
    , player_(sound, [this](const QString &text) { window_.showMessage(text); })
    , queue_(player_)
    , game_(queue_, player_, seed.value_or(clockSeed()))
    , window_(game_, queue_)
    , router_(window_, game_, queue_)
{
    const Settings kept = settings_.settings();
    // None kept, or one Velkarn does not speak (a corrupt file): the desktop's language.
    if (!useLanguage(kept.language))
        useLanguage(Translations::fromDesktop());
    player_.setVolume(kept.volume);
    player_.setBothEars(kept.bothEars);
    window_.showSoundSettings(player_.volume(), player_.bothEars());

    // A kept mode that is not one of Velkarn's (a corrupt file): automatic.
    useScreenReaderMode(ScreenReader::modeFromName(kept.screenReader).value_or(ScreenReader::Mode::Automatic));
    window_.playAlongWithScreenReader(screenReader_.isActive());
    QObject::connect(&screenReader_, &ScreenReader::activeChanged, &window_, &MainWindow::playAlongWithScreenReader);

    QObject::connect(&game_, &Game::soundSettingsChanged, &window_, [this](int volume, bool bothEars) {
        Settings changed = settings_.settings();
        changed.volume = volume;
        changed.bothEars = bothEars;
        settings_.keep(changed);
    });
    QObject::connect(&window_, &MainWindow::languageChosen, &window_, [this](const QString &language) {
        useLanguage(language);
        Settings changed = settings_.settings();
        changed.language = language;
        settings_.keep(changed);
    });
    QObject::connect(&window_, &MainWindow::screenReaderModeChosen, &window_, [this](ScreenReader::Mode mode) {
        useScreenReaderMode(mode);
        Settings changed = settings_.settings();
        changed.screenReader = ScreenReader::modeName(mode);
        settings_.keep(changed);
    });
    QObject::connect(&window_, &MainWindow::recordingWanted, &window_, [this] { openRecording(); });
    // Closing never waits: what is still queued is dropped and every sound stops.
    QObject::connect(&window_, &MainWindow::closing, &window_, [this] {
        queue_.clear();
        player_.stopAll();
    });
}

Velkarn::~Velkarn() = default;

void Velkarn::start(const QString &language, const QString &screenReader)
{
    const std::optional<ScreenReader::Mode> mode = ScreenReader::modeFromName(screenReader);
    if (mode)
        useScreenReaderMode(*mode);
    window_.show();
    if (!language.isEmpty() && !useLanguage(language)) {
        window_.showMessage(tr("Velkarn kan ikke språket «%1». Det kan: %2.")
                                .arg(cutForMessage(language), Translations::available().join(QStringLiteral(", "))),
                            QMessageBox::Warning);
    }
    if (!screenReader.isEmpty() && !mode) {
        window_.showMessage(tr("Velkarn kjenner ikke skjermleservalget «%1». Det kan være: auto, on, off.")
                                .arg(cutForMessage(screenReader)),
                            QMessageBox::Warning);
    }
    // One message for all sound: not one for every recording that the game then cannot play.
    if (!player_.hasDevice())
        window_.showMessage(tr("Fant ingen lydenhet. Velkarn går videre uten lyd."), QMessageBox::Warning);
    else
        checkRecordings();
    started_ = true;
    game_.start();
}

void Velkarn::useScreenReaderMode(ScreenReader::Mode mode)
{
    screenReader_.setMode(mode);
    window_.showScreenReaderMode(mode);
}

bool Velkarn::useLanguage(const QString &language)
{
    if (!translations_.use(language))
        return false;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange); // every text at once
    // The source language speaks from the recordings' folder itself, every other from its subfolder.
    const bool source = language == Translations::sourceLanguage();
    language_ = language;
    player_.setCatalogue(SoundCatalogue(recordings_, source ? recordings_ : recordings_ + language + QDir::separator(),
                                        ownRecordings_.folder(language)));
    window_.showLanguage(language);
    // The child hears the change at once, in the new language.
    if (started_) {
        if (player_.hasDevice())
            checkRecordings();
        game_.sayPrompt();
    }
    return true;
}

void Velkarn::checkRecordings()
{
    // A language without recordings plays nothing, said once; one that has them plays again.
    const bool missing = !player_.catalogue().hasRecordings();
    player_.setSilent(missing);
    if (missing) {
        window_.showMessage(tr("Fant ingen lyder i mappen %1. Velkarn går videre uten lyd.")
                                .arg(cutForMessage(player_.catalogue().folder())),
                            QMessageBox::Warning);
    }
}

void Velkarn::openRecording()
{
    // The session outlives its window's last signal; it ends any take as it goes.
    auto *session = new RecordingSession(ownRecordings_, player_, sound_, language_, &window_);
    auto *dialog = new RecordingDialog(*session, &window_);
    QObject::connect(dialog, &QObject::destroyed, session, &QObject::deleteLater);
    window_.showDialog(dialog);
}
