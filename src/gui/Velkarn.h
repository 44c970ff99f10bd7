// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "KeyRouter.h"
#include "MainWindow.h"
#include "SettingsStore.h"
#include "a11y/ScreenReader.h"
#include "i18n/Translations.h"
#include "logic/CommandQueue.h"
#include "logic/Game.h"
#include "record/RecordingStore.h"
#include "sound/SoundCatalogue.h"
#include "sound/SoundPlayer.h"

#include <optional>

class SoundComponent;

// The program's parts, built and joined in one place: the kept settings, the translations, the
// sound player on the caller's sound component, the command queue, the game, the window that shows
// it and the router of the window's keys.
class Velkarn
{
    Q_DECLARE_TR_FUNCTIONS(Velkarn)

public:
    /// Where the program finds its files.
    struct Places {
        QString recordings = SoundCatalogue::folderBeside(); // the wave folder beside the program
        QString settings = SettingsStore::userFile();        // the user's own settings file
        QString ownRecordings = RecordingStore::userRoot();  // the teacher's own, a folder per language
    };

    /// The sound component is the caller's and outlives this. The door draw is seeded from the
    /// clock unless a seed is given.
    Velkarn(SoundComponent &sound, const Places &places, std::optional<quint64> seed = std::nullopt);
    ~Velkarn();
    Velkarn(const Velkarn &) = delete;
    Velkarn &operator=(const Velkarn &) = delete;

    /// The main window.
    MainWindow &window() { return window_; }

    /// Shows the window, says once when there is no sound, greets the player and starts the first
    /// game. A language given for this run (a code such as "en") is used instead of the kept one,
    /// and so is a screen-reader mode ("auto", "on" or "off"); one Velkarn does not know is said in
    /// a message.
    void start(const QString &language = {}, const QString &screenReader = {});
    /// Plays along with a screen reader as the mode says from now on.
    void useScreenReaderMode(ScreenReader::Mode mode);
    /// Writes and speaks the language from now on, and once started says the prompt in it; false,
    /// and nothing changes, for a language Velkarn does not speak.
    bool useLanguage(const QString &language);

private:
    void checkRecordings();
    void openRecording();

    SoundComponent &sound_;
    const QString recordings_;
    RecordingStore ownRecordings_;
    QString language_;
    SettingsStore settings_;
    Translations translations_;
    ScreenReader screenReader_;
    SoundPlayer player_;
    CommandQueue queue_;
    Game game_;
    MainWindow window_;
    KeyRouter router_;
    bool started_ = false;
};
