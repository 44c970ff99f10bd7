#pragma once

#include <QtGlobal>
#include <qnamespace.h>

#include <array>
#include <random>

class GameView;
class SoundPlayer;

// The door game: the random sequence of correct doors, the room counter, and what every key,
// click and menu command of the main window does to them. All feedback is sound.
class Game
{
public:
    static constexpr int MaxRooms = 20;

    Game(SoundPlayer &player, GameView &view);

    /// Seeds the door draw; the window does this once, from the clock.
    void Seed(quint64 seed);

    /// Starts a new game: a fresh sequence, the room-count prompt, returns after the prompt sound.
    void NewGame();

    void cmd1_Click();
    void cmd2_Click();
    void cmd3_Click();
    /// Keys as the window sees them before the focused control.
    void Form_KeyDown(int key, Qt::KeyboardModifiers modifiers);
    /// The room-count list's selection changed.
    void lbLevel_Click();
    /// The room-count list gained the focus.
    void lbLevel_GotFocus();
    /// A key on the room-count list; Enter starts the walk.
    void lbLevel_KeyDown(int key);
    void mnuPlayNew_Click();
    void mnuHelpHowTo_Click();

    /// -1 while no walk is in progress, else the number of rooms passed.
    qint16 Room() const { return room_; }
    /// The correct door (1, 2 or 3) of each room of this game.
    const std::array<qint16, MaxRooms> &CorrectDoor() const { return correctDoor_; }
    /// Whether the room-count list speaks its selection (true from the first new game on).
    bool SpeakLevels() const { return speakLevels_; }

private:
    void StartRooms();
    void ChooseDoor(qint16 door);
    void SpeakLevel();
    void Play(const char *fileName, bool wait, qint16 pan);

    SoundPlayer &player_;
    GameView &view_;
    std::mt19937_64 random_;
    std::array<qint16, MaxRooms> correctDoor_{};
    qint16 room_ = -1;
    bool speakLevels_ = false;
};
