// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Commands.h"
#include "HeldKeys.h"

#include <QObject>
#include <QPointer>

#include <vector>

class CommandQueue;
class Game;
class QAction;
class QKeyEvent;
class QWidget;

// Turns the keys typed on the main window and its controls into the game's commands, as the command
// table says. A key held down counts once, and only the list's arrows repeat. While something is in
// hand, a key waits its turn like every other command and is handled afterwards, in order, where the
// focus is then, as long as the queue has room for keys typed ahead; Esc and Ctrl end what the child
// asked to hear at once, and are never dropped.
class KeyRouter : public QObject
{
    Q_OBJECT

public:
    /// Routes the keys of window and of its controls that take the focus; the commands' actions are
    /// the window's children, by the names in the table.
    KeyRouter(QWidget &window, Game &game, CommandQueue &queue, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Keystroke {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
    };
    struct Route {
        const Command *command;
        QAction *action;
    };

    bool handleKey(QObject *target, const QKeyEvent &key);
    const Route *routeOf(const QKeyEvent &key) const;
    bool pressFocusedControl(QObject *target, const QKeyEvent &key);
    void replay(const Keystroke &keystroke);

    QWidget &window_;
    Game &game_;
    CommandQueue &queue_;
    std::vector<Route> routes_;
    HeldKeys heldKeys_;
};
