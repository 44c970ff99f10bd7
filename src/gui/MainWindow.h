// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Commands.h"
#include "a11y/ScreenReader.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>

#include <array>
#include <map>

class CommandQueue;
class Game;
class QActionGroup;
class QDialog;
class QGridLayout;
class QLabel;
class QPushButton;
class RoomCountList;

// The main window: a prompt, the room-count list and three door buttons under the menus of the
// command table. It shows what the game asks for and forwards clicks and menu commands to it; its
// keys are routed by the KeyRouter.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    /// The game and its queue are the caller's and outlive the window.
    MainWindow(Game &game, CommandQueue &queue, QWidget *parent = nullptr);
    ~MainWindow() override;

    /// Shows a message; the game waits until it is answered, but the window can always be closed.
    void showMessage(const QString &text, QMessageBox::Icon icon = QMessageBox::NoIcon);
    /// Marks the language in use (a code such as "en") in the language menu.
    void showLanguage(const QString &language);
    /// Marks the screen-reader mode in the Sound menu.
    void showScreenReaderMode(ScreenReader::Mode mode);
    /// Opens a dialog of the window's; the game waits until it is closed.
    void showDialog(QDialog *dialog);

public slots:
    /// Closes the window at once, whatever is playing.
    void quit();
    /// Opens the user's mail program on a message to the maker, in its turn.
    void sendMail();
    /// Opens the About dialog in its turn; the game waits until it is closed.
    void showAbout();
    /// Asks, in its turn, for the teacher's recording window.
    void recordVoice();
    /// Shows the one-ear mode in the Sound menu.
    void showSoundSettings(int volume, bool bothEars);
    /// With a screen reader (on), the window leaves to it what it says anyway, the list's numbers,
    /// and keeps the focus off the controls it hides, where the screen reader would read them.
    void playAlongWithScreenReader(bool on);

signals:
    /// The player chose a language in the menu.
    void languageChosen(const QString &language);
    /// The teacher chose how to play with a screen reader in the menu.
    void screenReaderModeChosen(ScreenReader::Mode mode);
    /// The teacher asked to record the voice, and the game is waiting.
    void recordingWanted();
    /// The window is closing: nothing may wait any more.
    void closing();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void createMenus();
    void createScreenReaderMenu(QMenu *parent);
    bool isDoor(const QWidget *widget) const;
    void quietFocus();
    void layOutControls();
    void fitToText();
    void retranslate();
    void showChoosing();
    void showWalking();
    void keepFocusInPlay();
    void leaveMenuBar();
    void holdUntilClosed(QDialog *dialog);

    Game &game_;
    CommandQueue &queue_;
    QGridLayout *grid_ = nullptr;
    QLabel *prompt_ = nullptr;
    RoomCountList *roomCountList_ = nullptr;
    std::array<QPushButton *, 3> doorButtons_{};
    std::map<Menu, QMenu *> menus_;
    QActionGroup *languageGroup_ = nullptr;
    QMenu *screenReaderMenu_ = nullptr;
    QActionGroup *screenReaderGroup_ = nullptr;
    bool playingAlong_ = false;
    QPointer<QWidget> focusBeforeMenus_; // where the child was playing when the menu bar took the keys
};
