// SPDX-License-Identifier: GPL-3.0-or-later
#include "Game.h"

#include "CommandQueue.h"
#include "sound/SoundPlayer.h"

namespace {
// Door 1 is heard on the left, door 2 in the centre, door 3 on the right.
Side sideOf(int door)
{
    return door == 1 ? Side::Left : door == 2 ? Side::Centre : Side::Right;
}
} // namespace

Game::Doors Game::drawDoors(std::mt19937_64 &random)
{
    std::uniform_int_distribution<int> door(1, 3);
    Doors doors{};
    for (int &d : doors)
        d = door(random);
    return doors;
}

Game::Game(CommandQueue &queue, SoundPlayer &player, quint64 seed, QObject *parent)
    : QObject(parent)
    , queue_(queue)
    , player_(player)
    , random_(seed)
{
}

void Game::play(Sound sound, Side side, Wait wait)
{
    queue_.play(sound, side, wait);
}

void Game::start()
{
    play(Sound::Welcome, Side::Centre, Wait::Yes);
    newGame();
}

void Game::newGame()
{
    queue_.post([this] {
        room_ = -1;
        doors_ = drawDoors(random_);
        choosing_ = true;
        emit choosingRoomCount();
        play(Sound::ChooseRoomCount, Side::Centre, Wait::Yes);
    });
}

void Game::startWalk(int rooms)
{
    queue_.post([this, rooms] {
        // Only while choosing: a screen reader may still reach the hidden list during a walk.
        if (!choosing_ || rooms < FewestRooms || rooms > MostRooms)
            return;
        choosing_ = false;
        rooms_ = rooms;
        room_ = 0;
        emit walking();
        play(Sound::ChooseDoor);
    });
}

void Game::chooseDoor(int door)
{
    queue_.post([this, door] {
        // No walk in progress: the buttons are hidden then, yet a screen reader may still press one.
        if (room_ < 0 || door < 1 || door > 3)
            return;
        play(numberSound(door), sideOf(door), Wait::Yes);
        queue_.post([this, door] { judge(door); });
    });
}

void Game::judge(int door)
{
    if (doors_[static_cast<size_t>(room_)] != door) {
        room_ = 0; // back to the first room; the sequence stays
        play(Sound::DoorClosed, sideOf(door), Wait::Yes);
        play(Sound::Error, Side::Centre, Wait::Yes);
        return;
    }
    ++room_;
    const bool last = room_ == rooms_;
    // At the last door the opening is heard whole before the success.
    play(Sound::DoorOpen, sideOf(door), last ? Wait::Yes : Wait::No);
    if (last) {
        play(Sound::Success, Side::Centre, Wait::Yes);
        newGame();
    }
}

void Game::speakRoomCount(int rooms)
{
    queue_.post([this, rooms] {
        chosenRooms_ = rooms;
        if (choosing_ && rooms >= FewestRooms && rooms <= MostRooms)
            play(numberSound(rooms));
    });
}

void Game::silence()
{
    queue_.post([this] { player_.stopAll(); });
}

void Game::playHelp()
{
    queue_.post([this] { play(Sound::Help); }, CommandQueue::Kind::Request);
}

void Game::sayPrompt()
{
    queue_.post(
        [this] {
            if (choosing_)
                play(Sound::ChooseRoomCount);
            else if (room_ >= 0)
                play(Sound::ChooseDoor);
        },
        CommandQueue::Kind::Request);
}

void Game::sayWhereIAm()
{
    queue_.post(
        [this] {
            if (room_ >= 0) {
                play(Sound::YouAreInRoom, Side::Centre, Wait::Yes);
                play(numberSound(room_ + 1), Side::Centre, Wait::Yes);
                play(Sound::Of, Side::Centre, Wait::Yes);
                play(numberSound(rooms_), Side::Centre, Wait::Yes);
            } else {
                play(Sound::ChooseRoomCount, Side::Centre, Wait::Yes);
                play(numberSound(chosenRooms_), Side::Centre, Wait::Yes);
            }
        },
        CommandQueue::Kind::Request);
}

void Game::playSoundLesson()
{
    queue_.post(
        [this] {
            for (int door = 1; door <= 3; ++door)
                play(numberSound(door), sideOf(door), Wait::Yes);
            for (Sound effect : {Sound::DoorOpen, Sound::DoorClosed, Sound::Error, Sound::Success})
                play(effect, Side::Centre, Wait::Yes);
        },
        CommandQueue::Kind::Request);
}

void Game::louder()
{
    changeVolume(+1);
}

void Game::softer()
{
    changeVolume(-1);
}

void Game::changeVolume(int step)
{
    queue_.post([this, step] {
        player_.setVolume(player_.volume() + step);
        play(Sound::VolumeTick);
        emit soundSettingsChanged(player_.volume(), player_.bothEars());
    });
}

void Game::setBothEars(bool on)
{
    queue_.post([this, on] {
        player_.setBothEars(on);
        // Door 1, which is heard on the left unless both ears hear everything.
        play(numberSound(1), sideOf(1));
        emit soundSettingsChanged(player_.volume(), player_.bothEars());
    });
}
