// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/Sound.h"

#include <QObject>

#include <array>
#include <random>

class CommandQueue;
class SoundPlayer;

// The door game: the random sequence of correct doors, the room counter, and what every command
// of the player does to them. All feedback is sound. Every command goes through the command queue,
// so commands are handled one at a time, in the order they came.
class Game : public QObject
{
    Q_OBJECT

public:
    static constexpr int FewestRooms = 3;
    static constexpr int MostRooms = 20;
    static_assert(MostRooms <= HighestNumber, "the list says every room count, and a walk its last room");
    using Doors = std::array<int, MostRooms>;

    /// Draws the correct door of every room from random, each of 1, 2 and 3 equally likely.
    static Doors drawDoors(std::mt19937_64 &random);

    /// The door draw is seeded with seed.
    Game(CommandQueue &queue, SoundPlayer &player, quint64 seed, QObject *parent = nullptr);

    /// The rooms passed in this walk, or -1 while the number of rooms is being chosen.
    int room() const { return room_; }
    /// How many rooms this walk has.
    int rooms() const { return rooms_; }
    /// The correct door (1, 2 or 3) of each room of this game.
    const Doors &doors() const { return doors_; }

public slots:
    /// Greets the player, then starts the first game.
    void start();
    /// Starts a new game: a fresh sequence and the room-count prompt.
    void newGame();
    /// Starts the walk through the given number of rooms.
    void startWalk(int rooms);
    /// Opens a door (1, 2 or 3) of the room the player stands in.
    void chooseDoor(int door);
    /// Says which room the player stands in and of how many, or what is being chosen.
    void sayWhereIAm();
    /// Says what the player is asked for now (the room count or a door); nothing before the first game.
    void sayPrompt();
    /// Plays the spoken help.
    void playHelp();
    /// Plays every sound of the game once: the three doors where they stand, then the effects.
    void playSoundLesson();
    void louder();
    void softer();
    /// Every sound centred (on) or placed at its door (off).
    void setBothEars(bool on);
    /// The player has moved to a number of rooms in the list: it is said while choosing.
    void speakRoomCount(int rooms);
    /// Silences what is playing.
    void silence();

signals:
    /// The player is to choose the number of rooms.
    void choosingRoomCount();
    /// The walk has begun: the doors are to be chosen.
    void walking();
    /// The volume or one-ear mode has changed.
    void soundSettingsChanged(int volume, bool bothEars);

private:
    void judge(int door);
    void changeVolume(int step);
    void play(Sound sound, Side side = Side::Centre, Wait wait = Wait::No);

    CommandQueue &queue_;
    SoundPlayer &player_;
    std::mt19937_64 random_;
    Doors doors_{};
    int room_ = -1;
    int rooms_ = FewestRooms;
    int chosenRooms_ = FewestRooms;
    bool choosing_ = false;
};
