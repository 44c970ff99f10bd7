#pragma once

#include "logic/Game.h"

#include <QObject>
#include <QtGlobal>

#include <random>

class MainWindow;
class MixWatch;
class QWidget;
class QWindow;
class SoundComponent;

namespace bench {
/// Types a key on window as the window system delivers it: queued, handled when the event loop
/// next turns. Held down, it comes `repeats` more times as auto-repeat before it is let go.
void QueueKey(QWindow *window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int repeats = 0);
} // namespace bench

// The game as the benchmark knows it without looking inside: the doors drawn from the seed it gave
// the window, and where its own choices have led. A correct door moves one room on, a wrong one
// sends the walk back to the first room, and the last room's correct door ends the walk and starts
// a new game (the next 20 doors of the same draw).
class DoorWalk
{
public:
    explicit DoorWalk(quint64 seed);

    /// A new game: the next doors, no walk.
    void NewGame();
    /// The walk through the chosen number of rooms begins in the first room.
    void Start(int rooms);
    /// The door that opens (correct) or one that does not, in the current room.
    int Door(bool correct) const;
    /// Follows a choice; returns true when it ended the walk.
    bool Choose(bool correct);
    /// -1 while no walk is in progress, else the rooms passed.
    int Room() const { return room_; }
    int Rooms() const { return rooms_; }

private:
    std::mt19937_64 random_;
    Game::Doors doors_{};
    int rooms_ = 0;
    int room_ = -1;
};

// Plays the game the way a child does, one key at a time, as the window system delivers keys, and
// times each door key from its arrival at the window to the first mixing pass after it that mixes
// a sound: its announcement, whose first samples are not silent.
class GameDriver : public QObject
{
    Q_OBJECT

public:
    /// Drives window, made with seed and playing through component, whose output mix listens to.
    GameDriver(MainWindow &window, SoundComponent &component, MixWatch &mix, quint64 seed);
    ~GameDriver() override;

    /// What one door choice cost.
    struct Choice {
        int room = 0;            // rooms passed before the choice (0 is the first room)
        bool correct = false;    // whether the chosen door was the one that opens
        qint64 keyToSoundNs = 0; // key arrival to the first mixed samples of its announcement
        qint64 cpuNs = 0;        // processor time of the window's thread until all its sounds ended
    };

    /// Starts the window and returns once it is shown and its greeting and first prompt have ended.
    void Start();
    /// Chooses the room count on the list and starts the walk (the game must be in that state).
    void StartWalk(int rooms);
    /// Chooses a door in the current room and returns once every sound of the choice has ended.
    Choice ChooseDoor(bool correct);
    /// Chooses the correct doors up to the last room and checks that the game ends the walk then,
    /// and not before: proof that it took every key as the one door choice the walk counted.
    void FinishWalk();
    /// Types a key (held: with that many auto-repeats) on the window, as the window system would.
    void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int repeats = 0);
    /// Returns once no sound is playing and the game has heard of every end: whatever the game
    /// held for a waited sound has then run.
    void Settle();
    /// The game's state as the benchmark has followed it.
    DoorWalk &Walk() { return walk_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *Control(const char *name) const;
    void CheckWalking(bool walking) const;

    MainWindow &window_;
    SoundComponent &component_;
    MixWatch &mix_;
    DoorWalk walk_;
    bool timing_ = false;
    qint64 keyNs_ = 0;
};
