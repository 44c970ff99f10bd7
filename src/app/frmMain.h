#pragma once

#include "HeldKeys.h"
#include "SoundSettings.h"
#include "game/CommandQueue.h"
#include "game/Game.h"
#include "game/GameView.h"
#include "sound/SoundPlayer.h"

#include <QMainWindow>
#include <QMessageBox>

#include <optional>

class QAction;
class QDialog;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class SoundComponent;

// The main window: a prompt, the room-count list and three door buttons under a menu bar.
// It owns the game, its command queue and its sound player, and forwards every key, click and
// command to the game.
class frmMain : public QMainWindow, private GameView
{
    Q_OBJECT

public:
    /// Builds and loads the window; the sound component is the caller's and must outlive it.
    /// The door draw is seeded from the clock unless a seed is given.
    explicit frmMain(SoundComponent &component, std::optional<quint64> seed = std::nullopt,
                     QWidget *parent = nullptr);
    ~frmMain() override;

    /// Shows the window, says once when there is no sound, greets the player, starts the first game.
    void Start();

protected:
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

    void Form_Load();
    void CreateControls();
    void CreateMenus();
    void SetCaptions();
    void ArrangeControls();
    void PlaceControl(QWidget *ctl, int left, int top, int height, int width);
    bool HandleKey(QObject *target, const QKeyEvent &key);
    QAction *ShortcutAction(const QKeyEvent &key) const;
    bool IsRequest(const QKeyEvent &key) const;
    void Replay(const Keystroke &keystroke);
    void ShowMessage(const QString &text, QMessageBox::Icon icon = QMessageBox::NoIcon);
    void HoldUntilClosed(QDialog *dialog);

    void mnuPlayExit_Click();
    void mnuHelpMail_Click();
    void mnuHelpAbout_Click();

    // GameView
    void HideAll() override;
    void ShowRoomCount() override;
    void ShowDoors() override;
    int LevelIndex() const override;
    QString LevelText() const override;
    void KeepSoundSettings(int volume, bool bothEars) override;

    SettingsStore settings_;
    SoundPlayer player_;
    CommandQueue queue_;
    Game game_;
    HeldKeys heldKeys_;
    int cellX_ = 0;
    int cellY_ = 0;

    QLabel *lblQuestion = nullptr;
    QListWidget *lbLevel = nullptr;
    QPushButton *cmd1 = nullptr;
    QPushButton *cmd2 = nullptr;
    QPushButton *cmd3 = nullptr;
    QMenu *mnuPlay = nullptr;
    QAction *mnuPlayNew = nullptr;
    QAction *mnuPlayWhere = nullptr;
    QAction *mnuPlayExit = nullptr;
    QMenu *mnuSound = nullptr;
    QAction *mnuSoundLouder = nullptr;
    QAction *mnuSoundSofter = nullptr;
    QAction *mnuSoundBothEars = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpHowTo = nullptr;
    QAction *mnuHelpSounds = nullptr;
    QAction *mnuHelpMail = nullptr;
    QAction *mnuHelpAbout = nullptr;
};
