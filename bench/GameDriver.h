// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logic/Game.h"

#include <QObject>

#include <random>

class MainWindow;
class Velkarn;
class MixWatch;
class SoundComponent;
class QWidget;

// Plays the game the way a child does, one key at a time as the window system delivers keys, and
// times each door key from its arrival at the window to the first mixing pass after it that mixes
// a sound: its announcement. It knows the doors by drawing them from the seed it gave the window,
// as the game does, and follows the game only through what the window shows: the room-count list
// while choosing, the doors during a walk.
class GameDriver : public QObject
{
public:
    /// Drives the game's window, made with seed and playing through component, whose output mix listens to.
    GameDriver(Velkarn &game, SoundComponent &component, MixWatch &mix, quint64 seed);
    ~GameDriver() override;

    /// Starts the window and returns once it is shown and its greeting and first prompt have ended.
    void start();
    /// Chooses the room count on the list and starts the walk (the game must be asking for it).
    void startWalk(int rooms);
    /// Chooses the door that opens in the current room and returns, once every sound of the
    /// choice has ended, the time from the key to its announcement. Throws unless the walk goes
    /// on to its last room and ends there: proof that the game took every key as one choice.
    qint64 chooseDoor();
    /// True from startWalk until the walk's last door.
    bool isWalking() const { return room_ >= 0; }
    /// When the last timed door key reached the window, on the monotonic clock.
    qint64 keyNs() const { return keyNs_; }
    /// Types a key (held: with that many repeats) on the window, as the window system would.
    void pressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = {}, int repeats = 0);
    /// Returns once no sound is playing and the game has heard of every end: whatever the game
    /// held for a waited sound has then run.
    void settle();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *control(const char *name) const;
    void checkWalking(bool walking) const;

    Velkarn &game_;
    MainWindow &window_;
    SoundComponent &component_;
    MixWatch &mix_;
    std::mt19937_64 random_;
    Game::Doors doors_;
    int rooms_ = 0;
    int room_ = -1;
    bool timing_ = false;
    qint64 keyNs_ = 0;
};
