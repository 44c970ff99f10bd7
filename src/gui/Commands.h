// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QKeyCombination>
#include <QList>

#include <span>
#include <utility>
#include <variant>

class Game;
class MainWindow;
class QAction;

/// Where a command is offered: in one of the menus, in their order, or by its keys alone.
enum class Menu { None, Game, Sound, Language, Help };

// One command of the player: its keys, its menu item and what it calls.
struct Command {
    /// How it takes its turn: a game command waits for what is in hand; a request (what the child
    /// asked to hear) waits too, but Esc and Ctrl end it; a silencing key ends requests at once and
    /// is never dropped.
    enum class Kind { Game, Request, Silence };
    /// What it calls: a slot of the game, one taking a door, one taking the check mark of its menu
    /// item, or a slot of the window.
    using Call = std::variant<void (Game::*)(), std::pair<void (Game::*)(int), int>, void (Game::*)(bool),
                              void (MainWindow::*)()>;

    const char *name;                 // its QAction's object name
    QList<QKeyCombination> keys = {}; // the first is shown in its menu
    Menu menu = Menu::None;
    bool separated = false;     // a line above it in its menu
    const char *text = nullptr; // its menu text, translated by Commands::tr()
    Call call = {};
    Kind kind = Kind::Game;
    bool lengthy = false; // its answer takes seconds: typed ahead, one such key waits at most
};

// The table of every command. A new key is one row here and, for something new, one slot on Game.
class Commands
{
    Q_DECLARE_TR_FUNCTIONS(Commands)

public:
    /// Every command, in menu order.
    static std::span<const Command> all();
    /// A menu's title.
    static QString title(Menu menu);
    /// Makes action call what command calls (checkable where the call takes its check mark).
    static void connect(QAction *action, const Command &command, Game &game, MainWindow &window);
};
