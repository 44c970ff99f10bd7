// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/Sound.h"

#include <QObject>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class SoundPlayer;

// Handles the game's commands one at a time, in the order they arrive, whatever their source: a
// key, a click, a screen reader's action, a menu. A command runs at once when nothing else is in
// hand and may queue steps of its own, which run before anything that arrived later. A sound that
// is waited for, or a message being read, holds everything after it until it is over; nothing
// blocks meanwhile, so the window keeps painting and can always be closed. A command never cuts
// a sound that began after it was given: when its turn comes it waits for that sound first (what the
// child asked to hear is the exception: it may be long, and is cut as if the key came while it played).
// Only a few keys typed ahead wait; further ones are dropped, and the child hears one tick for it.
class CommandQueue : public QObject
{
    Q_OBJECT

public:
    using Action = std::function<void()>;
    /// The game's own commands, or what the child asked to hear (help, "where am I", the sound
    /// lesson), which Esc ends.
    enum class Kind { Game, Request };
    /// How many keys typed ahead wait at most: enough for the next few doors, and little to sit
    /// through after a child bangs the keyboard (a door is heard in under two seconds).
    static constexpr int MostTypedAhead = 4;

    explicit CommandQueue(SoundPlayer &player, QObject *parent = nullptr);

    /// Queues a command, or a step of the command being handled (which then comes next).
    void post(Action action, Kind kind = Kind::Game);
    /// Queues a sound at its side; with Wait::Yes, what follows waits until it has been heard.
    void play(Sound sound, Side side, Wait wait);
    /// Queues a key typed while something is in hand, unless MostTypedAhead keys wait already, or it
    /// is lengthy (its answer takes seconds) and a lengthy one waits: then the key is dropped, and
    /// the first dropped since no key waited is told by a tick. Once MostTypedAhead are exceeded, no
    /// lengthy key waits until every key waiting was handled.
    void postTypedAhead(Action action, Kind kind, bool lengthy);
    /// Holds everything queued until release(), for instance while the user reads a message.
    void hold();
    /// Ends one hold().
    void release();
    /// Ends what the child asked to hear: stops its sound and drops what is still queued of it.
    /// False when nothing of the kind was in hand or waiting.
    bool cancelRequests();
    /// Forgets every command and step not yet handled: the game is ending.
    void clear();
    /// True while a command, a waited sound or a hold is in hand, or commands are waiting.
    bool isBusy() const;

private:
    struct Entry {
        Action action;
        Kind kind = Kind::Game;
        std::optional<quint64> givenAt; // sounds started when it was given; none for a step
        bool typed = false;             // a key typed ahead
        bool lengthy = false;           // … whose answer takes seconds
    };

    Action playing(Sound sound, Side side, Wait wait);
    void run();
    void onSoundEnded();
    bool isHolding() const { return waiting_ || holds_ > 0; }

    SoundPlayer &player_;
    std::deque<Entry> queue_;
    std::vector<Action> steps_; // queued by the command that is running
    bool running_ = false;
    Kind runningKind_ = Kind::Game;
    Kind soundKind_ = Kind::Game; // who started the current sound
    bool waiting_ = false;        // for the current sound to end
    int holds_ = 0;
    bool dropping_ = false; // keys were dropped since no key typed ahead waited
    bool banged_ = false;   // … because more than MostTypedAhead came
};
