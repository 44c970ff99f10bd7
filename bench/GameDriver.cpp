#include "GameDriver.h"

#include "Measure.h"
#include "app/frmMain.h"
#include "sound/SdlSoundComponent.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>

#include <stdexcept>

GameDriver::GameDriver(frmMain &window, SdlSoundComponent &component)
    : window_(window)
    , component_(component)
{
    // Audio thread: keep the first mixing pass after each key, nothing more.
    component_.SetMixListener([this](qint32) {
        qint64 none = 0;
        if (keyNs_.load() != 0)
            mixNs_.compare_exchange_strong(none, bench::MonotonicNs());
    });
}

GameDriver::~GameDriver()
{
    Settle();
    component_.SetMixListener({});
}

void GameDriver::StartWalk(int rooms)
{
    auto *list = window_.findChild<QListWidget *>();
    if (list == nullptr || !list->isVisible() || window_.Rules().Room() != -1)
        throw std::runtime_error("the game is not asking for the room count");
    list->setCurrentRow(rooms - 3); // spoken, as every change of the list is
    Settle();
    Send(list, Qt::Key_Return);
    Settle();
    if (window_.Rules().Room() != 0)
        throw std::runtime_error("Enter on the room-count list did not start the walk");
}

GameDriver::Choice GameDriver::ChooseDoor(bool correct)
{
    const Game &rules = window_.Rules();
    Choice choice;
    choice.room = rules.Room();
    choice.correct = correct;
    if (choice.room < 0)
        throw std::runtime_error("no walk in progress");
    const qint16 right = rules.CorrectDoor()[static_cast<size_t>(choice.room)];
    const int door = correct ? right : right % 3 + 1;

    // The key goes where the platform would send it: the focused control, else the window.
    QWidget *focus = QApplication::focusWidget();
    QObject *target = focus != nullptr && window_.isAncestorOf(focus) ? focus : &window_;
    const qint64 cpuStart = bench::ThreadCpuNs();
    Send(target, Qt::Key_0 + door);
    Settle();
    choice.cpuNs = bench::ThreadCpuNs() - cpuStart;

    const int expected = correct ? choice.room + 1 : 0;
    if (rules.Room() != expected && !(correct && rules.Room() == -1))
        throw std::runtime_error("the door key was not taken as exactly one door choice");
    if (keyNs_ == 0 || mixNs_ == 0)
        throw std::runtime_error("the door's announcement was never mixed");
    choice.keyToSoundNs = mixNs_ - keyNs_;
    return choice;
}

void GameDriver::Settle()
{
    const qint32 sound = window_.Player().CurrentSound();
    QEventLoop loop;
    connect(&component_, &SoundComponent::PlaybackEnded, &loop, &QEventLoop::quit);
    while (component_.IsPlaying(sound))
        loop.exec();
}

void GameDriver::Send(QObject *target, int key)
{
    keyNs_ = 0;
    mixNs_ = 0;
    // Installed last, this filter sees the key just before the window's own key handling does.
    target->installEventFilter(this);
    const QString text = key >= Qt::Key_0 && key <= Qt::Key_9 ? QString(QChar(key)) : QString();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    target->removeEventFilter(this);
}

bool GameDriver::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && keyNs_.load() == 0)
        keyNs_ = bench::MonotonicNs();
    return QObject::eventFilter(watched, event);
}
