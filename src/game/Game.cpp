#include "Game.h"

#include "GameView.h"
#include "sound/SoundPlayer.h"

#include <QString>

namespace {
// Door d is heard at its place: door 1 on the left, door 2 in the centre, door 3 on the right.
qint16 DoorPan(qint16 door)
{
    return static_cast<qint16>(door - 2);
}
} // namespace

Game::Game(SoundPlayer &player, GameView &view)
    : player_(player)
    , view_(view)
{
}

void Game::Seed(quint64 seed)
{
    random_.seed(seed);
}

void Game::Play(const char *fileName, bool wait, qint16 pan)
{
    player_.PlayWave(player_.SoundDir() + QLatin1String(fileName), wait, pan);
}

void Game::NewGame()
{
    room_ = -1;
    std::uniform_int_distribution<int> door(1, 3);
    for (qint16 &d : correctDoor_)
        d = static_cast<qint16>(door(random_));
    view_.HideAll();
    view_.ShowRoomCount();
    speakLevels_ = true;
    Play("rooms_select.wav", true, 0);
}

void Game::StartRooms()
{
    view_.HideAll();
    room_ = 0;
    view_.ShowDoors();
    Play("door123.wav", false, 0);
}

void Game::ChooseDoor(qint16 door)
{
    static constexpr const char *Announcement[] = {"nr1.wav", "nr2.wav", "nr3.wav"};
    if (room_ < 0 || room_ >= MaxRooms || door < 1 || door > 3)
        return; // no walk in progress: the buttons are hidden then, so this is never a real choice
    const qint16 pan = DoorPan(door);
    Play(Announcement[door - 1], true, pan);

    if (correctDoor_[static_cast<size_t>(room_)] == door) {
        ++room_;
        Play("door_open.wav", false, pan);
        if (view_.LevelText().toDouble() == room_) {
            Play("success.wav", true, 0);
            NewGame();
        }
    } else {
        room_ = 0; // back to the first room; the sequence stays
        Play("door_closed.wav", true, pan);
        Play("error.wav", true, 0);
    }
}

void Game::SpeakLevel()
{
    if (!speakLevels_)
        return;
    const int rooms = view_.LevelIndex() + 3;
    player_.PlayWave(player_.SoundDir() + QStringLiteral("nr%1.wav").arg(rooms), false, 0);
}

void Game::cmd1_Click() { ChooseDoor(1); }
void Game::cmd2_Click() { ChooseDoor(2); }
void Game::cmd3_Click() { ChooseDoor(3); }

void Game::Form_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    // Only the digits of the main keyboard choose doors; the keypad's are ignored.
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (room_ >= 0 && !keypad && key >= Qt::Key_1 && key <= Qt::Key_3)
        ChooseDoor(static_cast<qint16>(key - Qt::Key_0));
    if (key == Qt::Key_Escape)
        player_.StopAll();
}

void Game::lbLevel_Click() { SpeakLevel(); }
void Game::lbLevel_GotFocus() { SpeakLevel(); }

void Game::lbLevel_KeyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        StartRooms();
}

void Game::mnuPlayNew_Click() { NewGame(); }

void Game::mnuHelpHowTo_Click()
{
    Play("help.wav", false, 0);
}
