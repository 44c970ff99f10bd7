// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HeldKeys.h"
#include "SoundSettings.h"
#include "i18n/Translations.h"
#include "logic/CommandQueue.h"
#include "logic/Game.h"
#include "sound/SoundPlayer.h"

#include <QMainWindow>
#include <QMessageBox>

#include <array>
#include <optional>

class QAction;
class QActionGroup;
class QDialog;
class QGridLayout;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class SoundComponent;

// The main window: a prompt, the room-count list and three door buttons under a menu bar. It owns
// the game, its command queue and its sound player, turns every key, click and menu command into
// the game's commands, and shows what the game asks for.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    /// Builds the window; the sound component is the caller's and must outlive it. The door draw
    /// is seeded from the clock unless a seed is given.
    explicit MainWindow(SoundComponent &component, std::optional<quint64> seed = std::nullopt,
                        QWidget *parent = nullptr);
    ~MainWindow() override;

    /// Shows the window, says once when there is no sound, greets the player, starts the first game.
    void start();
    /// Writes and speaks the language (a code such as "en") from now on, and once started says
    /// the prompt in it; false, and nothing changes, for a language Velkarn does not speak.
    bool useLanguage(const QString &language);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct Keystroke {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
    };

    void createControls();
    void createMenus();
    void layOutControls();
    void fitToText();
    void retranslate();
    void checkRecordings();
    void showChoosing();
    void showWalking();
    bool handleKey(QObject *target, const QKeyEvent &key);
    QAction *shortcutAction(const QKeyEvent &key) const;
    bool isRequest(const QKeyEvent &key) const;
    void replay(const Keystroke &keystroke);
    void showMessage(const QString &text, QMessageBox::Icon icon = QMessageBox::NoIcon);
    void holdUntilClosed(QDialog *dialog);
    void showAbout();

    SettingsStore settings_;
    SoundPlayer player_;
    CommandQueue queue_;
    Game game_;
    HeldKeys heldKeys_;
    Translations translations_;
    bool started_ = false;

    QGridLayout *grid_ = nullptr;
    QLabel *prompt_ = nullptr;
    QListWidget *roomCountList_ = nullptr;
    std::array<QPushButton *, 3> doorButtons_{};
    QAction *newGameAction_ = nullptr;
    QAction *whereAmIAction_ = nullptr;
    QAction *quitAction_ = nullptr;
    QAction *louderAction_ = nullptr;
    QAction *softerAction_ = nullptr;
    QAction *bothEarsAction_ = nullptr;
    QAction *helpAction_ = nullptr;
    QAction *soundLessonAction_ = nullptr;
    QAction *mailAction_ = nullptr;
    QAction *aboutAction_ = nullptr;
    QMenu *gameMenu_ = nullptr;
    QMenu *soundMenu_ = nullptr;
    QMenu *helpMenu_ = nullptr;
    QActionGroup *languageGroup_ = nullptr;
};
