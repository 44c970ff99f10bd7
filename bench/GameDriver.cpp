#include "GameDriver.h"

#include "Measure.h"
#include "MixWatch.h"
#include "gui/MainWindow.h"
#include "sound/SoundComponent.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QListWidget>
#include <QTimer>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <SDL_mixer.h>

#include <stdexcept>

namespace {
// Longest the game may take to end its sounds before the benchmark gives up on it.
constexpr int SettleTimeoutMs = 20'000;

// The text a key types, as a keyboard's window system reports it.
QString KeyText(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ControlModifier)
        return {};
    switch (key) {
    case Qt::Key_Return: return QStringLiteral("\r");
    case Qt::Key_Enter: return QStringLiteral("\r");
    case Qt::Key_Tab: return QStringLiteral("\t");
    case Qt::Key_Escape: return QStringLiteral("\x1b");
    default: return key >= 0x20 && key <= 0x7e ? QString(QChar(key)).toLower() : QString();
    }
}
} // namespace

void bench::QueueKey(QWindow *window, int key, Qt::KeyboardModifiers modifiers, int repeats)
{
    const QString text = KeyText(key, modifiers);
    for (int press = 0; press <= repeats; ++press) {
        QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window, QEvent::KeyPress, key, modifiers, text, press > 0);
    }
    QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
        window, QEvent::KeyRelease, key, modifiers, text);
}

DoorWalk::DoorWalk(quint64 seed)
    : random_(seed)
{
    NewGame();
}

void DoorWalk::NewGame()
{
    doors_ = Game::drawDoors(random_);
    room_ = -1;
}

void DoorWalk::Start(int rooms)
{
    rooms_ = rooms;
    room_ = 0;
}

int DoorWalk::Door(bool correct) const
{
    const int right = doors_[static_cast<size_t>(room_)];
    return correct ? right : right % 3 + 1;
}

bool DoorWalk::Choose(bool correct)
{
    room_ = correct ? room_ + 1 : 0;
    if (room_ < rooms_)
        return false;
    NewGame();
    return true;
}

GameDriver::GameDriver(MainWindow &window, SoundComponent &component, MixWatch &mix, quint64 seed)
    : window_(window)
    , component_(component)
    , mix_(mix)
    , walk_(seed)
{
    qApp->installEventFilter(this);
}

GameDriver::~GameDriver()
{
    qApp->removeEventFilter(this);
}

void GameDriver::Start()
{
    window_.start();
    QEventLoop loop;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [this, &loop] {
        if (window_.windowHandle() != nullptr && window_.windowHandle()->isExposed())
            loop.quit();
    });
    poll.start(1);
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, [&loop] { loop.exit(1); });
    limit.start(SettleTimeoutMs);
    if (loop.exec() != 0)
        throw std::runtime_error("the game's window was never shown");
    Settle();
    CheckWalking(false);
}

void GameDriver::StartWalk(int rooms)
{
    auto *list = qobject_cast<QListWidget *>(Control("roomCountList"));
    if (list == nullptr || !list->isVisible() || walk_.Room() != -1)
        throw std::runtime_error("the game is not asking for the room count");
    // Tab reaches the list, as a child would move there; the list speaks on the way.
    for (int tab = 0; tab < 6 && QApplication::focusWidget() != list; ++tab) {
        PressKey(Qt::Key_Tab);
        Settle();
    }
    if (QApplication::focusWidget() != list)
        throw std::runtime_error("Tab never reached the room-count list");
    list->setCurrentRow(rooms - 3); // spoken, as every change of the list is
    Settle();
    PressKey(Qt::Key_Return);
    Settle();
    walk_.Start(rooms);
    CheckWalking(true);
}

GameDriver::Choice GameDriver::ChooseDoor(bool correct)
{
    Choice choice;
    choice.room = walk_.Room();
    choice.correct = correct;
    if (choice.room < 0)
        throw std::runtime_error("no walk in progress");
    const int door = walk_.Door(correct);

    keyNs_ = 0;
    timing_ = true;
    const qint64 cpuStart = bench::ThreadCpuNs();
    PressKey(Qt::Key_0 + door);
    Settle();
    choice.cpuNs = bench::ThreadCpuNs() - cpuStart;
    timing_ = false;
    if (keyNs_ == 0 || mix_.HeardNs() < keyNs_)
        throw std::runtime_error("the door's announcement was never mixed");
    choice.keyToSoundNs = mix_.HeardNs() - keyNs_;

    CheckWalking(!walk_.Choose(correct));
    return choice;
}

void GameDriver::FinishWalk()
{
    while (walk_.Room() >= 0)
        ChooseDoor(true);
}

void GameDriver::PressKey(int key, Qt::KeyboardModifiers modifiers, int repeats)
{
    bench::QueueKey(window_.windowHandle(), key, modifiers, repeats);
}

void GameDriver::Settle()
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
        if (!mix_.WaitForPass())
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
        keyNs_ = bench::MonotonicNs();
        mix_.ListenForSound();
    }
    return QObject::eventFilter(watched, event);
}

QWidget *GameDriver::Control(const char *name) const
{
    return window_.findChild<QWidget *>(QString::fromLatin1(name));
}

void GameDriver::CheckWalking(bool walking) const
{
    const QWidget *door = Control("door1");
    const QWidget *list = Control("roomCountList");
    if (door == nullptr || list == nullptr || door->isVisible() != walking || list->isVisible() == walking) {
        throw std::runtime_error(walking ? "the game ended the walk before the benchmark's doors said it would"
                                         : "the game is still walking where the benchmark's doors end the walk");
    }
}
