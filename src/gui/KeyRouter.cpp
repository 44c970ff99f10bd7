// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyRouter.h"

#include "RoomCountList.h"
#include "logic/CommandQueue.h"
#include "logic/Game.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace {
bool isModifier(int key)
{
    return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt || key == Qt::Key_Meta
        || key == Qt::Key_AltGr;
}

// The keypad's symbols (+, -) count as the main keyboard's, and so does a symbol typed with Shift
// ("+" on some keyboards, "=" on others); the keypad's digits do not. A key of its own, in no menu,
// counts whatever modifiers are held; a menu's shortcut is exact.
bool matches(const Command &command, const QKeyEvent &key)
{
    const bool symbol = !key.text().isEmpty() && !key.text().front().isLetterOrNumber();
    if (key.modifiers().testFlag(Qt::KeypadModifier) && !symbol)
        return false;
    Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (command.menu == Menu::None || isModifier(key.key()))
        modifiers = Qt::NoModifier;
    const auto keyCode = Qt::Key(key.key());
    return command.keys.contains(QKeyCombination(modifiers, keyCode))
        || (symbol && command.keys.contains(QKeyCombination(modifiers & ~Qt::ShiftModifier, keyCode)));
}
} // namespace

KeyRouter::KeyRouter(QWidget &window, Game &game, CommandQueue &queue, QObject *parent)
    : QObject(parent)
    , window_(window)
    , game_(game)
    , queue_(queue)
{
    for (const Command &command : Commands::all())
        routes_.push_back({&command, window.findChild<QAction *>(QString::fromLatin1(command.name))});
    window.installEventFilter(this);
    for (QWidget *control : window.findChildren<QWidget *>()) {
        if (control->focusPolicy() != Qt::NoFocus)
            control->installEventFilter(this);
    }
}

bool KeyRouter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        // Keys reach the window itself when no control that takes the focus has it (the focus may
        // rest on the window's pane). Keys that a control ignored arrive there too, but those were
        // already seen through its own filter.
        const QWidget *focus = QApplication::focusWidget();
        const bool own
            = watched != &window_ || focus == nullptr || focus == &window_ || focus->focusPolicy() == Qt::NoFocus;
        if (own && handleKey(watched, *static_cast<QKeyEvent *>(event)))
            return true;
    } else if (event->type() == QEvent::KeyRelease) {
        heldKeys_.released(*static_cast<QKeyEvent *>(event));
    }
    return QObject::eventFilter(watched, event);
}

bool KeyRouter::handleKey(QObject *target, const QKeyEvent &key)
{
    // A held key counts once; only the list's arrows repeat, as lists do.
    if (key.key() != Qt::Key_Up && key.key() != Qt::Key_Down && heldKeys_.isRepeat(key))
        return true;
    const Route *route = routeOf(key);
    const Command::Kind kind = route != nullptr ? route->command->kind : Command::Kind::Game;
    if (key.spontaneous()) {
        // Esc and Ctrl end what the child asked to hear at once, whatever waits behind it.
        if (kind == Command::Kind::Silence && queue_.cancelRequests())
            return true;
        // While something is in hand a key from the keyboard waits its turn, like every other
        // command. Its replay comes from the queue itself, not from the window system, and is handled.
        // Only a few keys wait; Esc and Ctrl always do, since they end what the child asked to hear.
        if (queue_.isBusy()) {
            auto replayed
                = [this, keystroke = Keystroke{key.key(), key.modifiers(), key.text()}] { replay(keystroke); };
            if (kind == Command::Kind::Silence)
                queue_.post(std::move(replayed));
            else
                queue_.postTypedAhead(std::move(replayed),
                                      kind == Command::Kind::Request ? CommandQueue::Kind::Request
                                                                     : CommandQueue::Kind::Game,
                                      route != nullptr && route->command->lengthy);
            return true;
        }
    }
    if (route != nullptr) {
        route->action->trigger();
        // A key of its own is the focused control's too: the list searches its numbers for a digit.
        if (route->command->menu != Menu::None)
            return true;
    }
    return pressFocusedControl(target, key);
}

const KeyRouter::Route *KeyRouter::routeOf(const QKeyEvent &key) const
{
    for (const Route &route : routes_) {
        if (matches(*route.command, key))
            return &route;
    }
    return nullptr;
}

bool KeyRouter::pressFocusedControl(QObject *target, const QKeyEvent &key)
{
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (auto *list = qobject_cast<RoomCountList *>(target); list != nullptr && enter) {
        game_.startWalk(list->rooms());
        return false; // the list may do with Enter what lists do
    }
    // A focused door button chooses its door on Enter as on Space, at the press; the button itself
    // does not see the key, so that it cannot click again when the key is let go.
    auto *door = qobject_cast<QPushButton *>(target);
    const bool pressed = door != nullptr && (enter || key.key() == Qt::Key_Space);
    if (pressed)
        door->click();
    return pressed;
}

void KeyRouter::replay(const Keystroke &keystroke)
{
    // Delivered where the window system would deliver it now: the focused control, else the window.
    QWidget *focus = QApplication::focusWidget();
    QWidget *target = focus != nullptr && window_.isAncestorOf(focus) ? focus : &window_;
    QKeyEvent event(QEvent::KeyPress, keystroke.key, keystroke.modifiers, keystroke.text);
    QCoreApplication::sendEvent(target, &event);
}
