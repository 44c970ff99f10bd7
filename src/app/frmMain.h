#pragma once

#include "game/Game.h"
#include "game/GameView.h"
#include "sound/SoundPlayer.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class SoundComponent;

// The main window: a prompt, the room-count list and three door buttons under a menu bar.
// It owns the game and its sound player, and forwards every key, click and command to the game.
class frmMain : public QMainWindow, private GameView
{
    Q_OBJECT

public:
    /// Builds and loads the window; the sound component is the caller's and must outlive it.
    explicit frmMain(SoundComponent &component, QWidget *parent = nullptr);
    ~frmMain() override;

    /// Starts a new game (the room-count prompt), returning after its prompt sound.
    void NewGame();
    /// The module-wide sound player.
    SoundPlayer &Player() { return player_; }
    /// The game's rules and state.
    const Game &Rules() const { return game_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void CreateControls();
    void CreateMenus();
    void SetCaptions();
    void ArrangeControls();
    void FitText(QLabel *label);
    void PlaceControl(QWidget *ctl, int left, int top, int height, int width, int tabIndex);
    void ShowMessage(const QString &text);

    void mnuPlayExit_Click();
    void mnuHelpMail_Click();
    void mnuHelpAbout_Click();

    // GameView
    void HideAll() override;
    void ShowRoomCount() override;
    void ShowDoors() override;
    int LevelIndex() const override;
    QString LevelText() const override;

    SoundPlayer player_;
    Game game_;

    QLabel *lblQuestion = nullptr;
    QListWidget *lbLevel = nullptr;
    QPushButton *cmd1 = nullptr;
    QPushButton *cmd2 = nullptr;
    QPushButton *cmd3 = nullptr;
    QMenu *mnuPlay = nullptr;
    QAction *mnuPlayNew = nullptr;
    QAction *mnuPlayExit = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpHowTo = nullptr;
    QAction *mnuHelpMail = nullptr;
    QAction *mnuHelpAbout = nullptr;
    std::vector<QWidget *> tabOrder_;
};
