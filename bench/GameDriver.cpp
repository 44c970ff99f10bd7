// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameDriver.h"

#include "Measure.h"
#include "MixWatch.h"
#include "gui/Velkarn.h"
#include "sound/SoundComponent.h"
#include "support/TypeKey.h"

#include <QApplication>
#include <QEventLoop>
#include <QListWidget>
#include <QTimer>
#include <QWindow>

#include <SDL_mixer.h>

#include <stdexcept>

namespace {
// Longest the game may take to end its sounds before the benchmark gives up on it.
constexpr int SettleTimeoutMs = 20'000;
} // namespace

GameDriver::GameDriver(Velkarn &game, SoundComponent &component, MixWatch &mix, quint64 seed)
    : game_(game)
    , window_(game.window())
    , component_(component)
    , mix_(mix)
    , random_(seed)
    , doors_(Game::drawDoors(random_)) // the first game's, drawn as the window's game draws them
{
    qApp->installEventFilter(this);
}

GameDriver::~GameDriver()
{
    qApp->removeEventFilter(this);
}

void GameDriver::start()
{
    game_.start();
    for (int waited = 0; window_.windowHandle() == nullptr || !window_.windowHandle()->isExposed(); ++waited) {
        if (waited == SettleTimeoutMs)
            throw std::runtime_error("the game's window was never shown");
        bench::stayIdle(1);
    }
    settle();
    checkWalking(false);
}

void GameDriver::startWalk(int rooms)
{
    auto *list = qobject_cast<QListWidget *>(control("roomCountList"));
    if (list == nullptr || !list->isVisible() || isWalking())
        throw std::runtime_error("the game is not asking for the room count");
    // Tab reaches the list, as a child would move there; the list speaks on the way.
    for (int tab = 0; tab < 6 && QApplication::focusWidget() != list; ++tab) {
        pressKey(Qt::Key_Tab);
        settle();
    }
    if (QApplication::focusWidget() != list)
        throw std::runtime_error("Tab never reached the room-count list");
    list->setCurrentRow(rooms - Game::FewestRooms); // spoken, as every change of the list is
    settle();
    pressKey(Qt::Key_Return);
    settle();
    rooms_ = rooms;
    room_ = 0;
    checkWalking(true);
}

qint64 GameDriver::chooseDoor()
{
    if (!isWalking())
        throw std::runtime_error("no walk in progress");
    keyNs_ = 0;
    timing_ = true;
    pressKey(Qt::Key_0 + doors_[static_cast<size_t>(room_)]);
    settle();
    timing_ = false;
    if (keyNs_ == 0 || mix_.heardNs() < keyNs_)
        throw std::runtime_error("the door's announcement was never mixed");
    // The window shows the doors until the last room's door has opened, then asks for a new game's rooms.
    checkWalking(++room_ < rooms_);
    if (room_ == rooms_) {
        doors_ = Game::drawDoors(random_);
        room_ = -1;
    }
    return mix_.heardNs() - keyNs_;
}

void GameDriver::pressKey(int key, Qt::KeyboardModifiers modifiers, const QString &text, int repeats)
{
    TypeKey(window_, key, modifiers, text, repeats);
}

void GameDriver::settle()
{
    QEventLoop loop;
    connect(&component_, &SoundComponent::playbackEnded, &loop, &QEventLoop::quit);
    bool late = false;
    // A timer of this call, not QTimer::singleShot: that one would stay registered, waiting to
    // fire, long after the game had settled, and thousands of them would be counted as the game's
    // memory and processor time.
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, [&loop, &late] {
        late = true;
        loop.quit();
    });
    limit.start(SettleTimeoutMs);
    for (;;) {
        // Delivers what is pending: keys, and the game's notices of sounds that have ended.
        QCoreApplication::processEvents();
        if (late)
            throw std::runtime_error("the game's sounds never ended");
        if (Mix_Playing(-1) > 0) {
            // Sleeps until a sound ends; the game has handled the end by the time this loop hears of it.
            loop.exec();
            continue;
        }
        // Silent now: the mixing pass that ended the last sound may still be posting its notice.
        if (!mix_.waitForPass())
            throw std::runtime_error("the mixer stopped mixing");
        QCoreApplication::processEvents();
        if (Mix_Playing(-1) == 0)
            return;
    }
}

bool GameDriver::eventFilter(QObject *watched, QEvent *event)
{
    // The key reaches the window before Qt passes it on to the focused control and the game.
    if (timing_ && keyNs_ == 0 && event->type() == QEvent::KeyPress && qobject_cast<QWindow *>(watched) != nullptr) {
        keyNs_ = bench::monotonicNs();
        mix_.listenForSound();
    }
    return QObject::eventFilter(watched, event);
}

QWidget *GameDriver::control(const char *name) const
{
    return window_.findChild<QWidget *>(QString::fromLatin1(name));
}

void GameDriver::checkWalking(bool walking) const
{
    const QWidget *door = control("door1");
    const QWidget *list = control("roomCountList");
    if (door == nullptr || list == nullptr || door->isVisible() != walking || list->isVisible() == walking) {
        throw std::runtime_error(walking ? "the game ended the walk before its last room"
                                         : "the game is still walking after the last room's door");
    }
}
