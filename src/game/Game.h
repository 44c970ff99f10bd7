#pragma once

#include <QString>
#include <QtGlobal>
#include <qnamespace.h>

#include <array>
#include <random>

class CommandQueue;
class GameView;
class SoundPlayer;

// The door game: the random sequence of correct doors, the room counter, and what every key,
// click and menu command of the main window does to them. All feedback is sound. Every handler
// goes through the command queue, so commands are handled one at a time, in the order they came.
class Game
{
public:
    static constexpr int MaxRooms = 20;
    using Doors = std::array<qint16, MaxRooms>;

    /// Draws the correct door of every room from random, each of 1, 2 and 3 equally likely.
    static Doors DrawDoors(std::mt19937_64 &random);

    /// The door draw is seeded with seed (the window takes it from the clock).
    Game(CommandQueue &queue, SoundPlayer &player, GameView &view, quint64 seed);

    /// Greets the player, then starts the first game.
    void Welcome();
    /// Starts a new game: a fresh sequence and the room-count prompt.
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
    /// Says which room the child stands in and of how many, or what is being chosen.
    void mnuPlayWhere_Click();
    /// Plays every sound of the game once: the three doors where they stand, then the effects.
    void mnuHelpSounds_Click();
    void mnuSoundLouder_Click();
    void mnuSoundSofter_Click();
    /// Every sound centred (on) or placed at its door (off).
    void mnuSoundBothEars_Click(bool on);

    /// -1 while no walk is in progress, else the number of rooms passed.
    qint16 Room() const { return room_; }
    /// The correct door (1, 2 or 3) of each room of this game.
    const Doors &CorrectDoor() const { return correctDoor_; }

private:
    void StartRooms();
    void ChooseDoor(qint16 door);
    void Judge(qint16 door);
    void SpeakLevel();
    void ChangeVolume(int step);
    void Play(const QString &fileName, bool wait, qint16 pan);

    CommandQueue &queue_;
    SoundPlayer &player_;
    GameView &view_;
    std::mt19937_64 random_;
    Doors correctDoor_{};
    qint16 room_ = -1;
    bool speakLevels_ = false;
};
