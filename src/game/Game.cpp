#include "Game.h"

#include "CommandQueue.h"
#include "GameView.h"
#include "sound/SoundPlayer.h"

namespace {
// Door d is heard at its place: door 1 on the left, door 2 in the centre, door 3 on the right.
qint16 DoorPan(qint16 door)
{
    return static_cast<qint16>(door - 2);
}

// The recording that says the number n (1 to 20).
QString Number(int n)
{
    return QStringLiteral("nr%1.wav").arg(n);
}
} // namespace

Game::Doors Game::DrawDoors(std::mt19937_64 &random)
{
    std::uniform_int_distribution<int> door(1, 3);
    Doors doors{};
    for (qint16 &d : doors)
        d = static_cast<qint16>(door(random));
    return doors;
}

Game::Game(CommandQueue &queue, SoundPlayer &player, GameView &view, quint64 seed)
    : queue_(queue)
    , player_(player)
    , view_(view)
    , random_(seed)
{
}

void Game::Play(const QString &fileName, bool wait, qint16 pan)
{
    queue_.PlayWave(player_.SoundDir() + fileName, wait, pan);
}

void Game::Welcome()
{
    Play(QStringLiteral("welcome.wav"), true, 0);
    NewGame();
}

void Game::NewGame()
{
    queue_.Post([this] {
        room_ = -1;
        correctDoor_ = DrawDoors(random_);
        view_.HideAll();
        view_.ShowRoomCount();
        speakLevels_ = true;
        Play(QStringLiteral("rooms_select.wav"), true, 0);
    });
}

void Game::StartRooms()
{
    queue_.Post([this] {
        view_.HideAll();
        room_ = 0;
        view_.ShowDoors();
        Play(QStringLiteral("door123.wav"), false, 0);
    });
}

void Game::ChooseDoor(qint16 door)
{
    queue_.Post([this, door] {
        // No walk in progress: the buttons are hidden then, yet a screen reader may still press one.
        // Past the last room only if the count was changed beneath a walk: then no door is left.
        if (room_ < 0 || room_ >= MaxRooms)
            return;
        Play(Number(door), true, DoorPan(door));
        queue_.Post([this, door] { Judge(door); });
    });
}

void Game::Judge(qint16 door)
{
    const qint16 pan = DoorPan(door);
    if (correctDoor_[static_cast<size_t>(room_)] == door) {
        ++room_;
        const bool last = view_.LevelText().toDouble() == room_;
        // At the last door the opening is heard whole before the success.
        Play(QStringLiteral("door_open.wav"), last, pan);
        if (last) {
            Play(QStringLiteral("success.wav"), true, 0);
            NewGame();
        }
    } else {
        room_ = 0; // back to the first room; the sequence stays
        Play(QStringLiteral("door_closed.wav"), true, pan);
        Play(QStringLiteral("error.wav"), true, 0);
    }
}

void Game::SpeakLevel()
{
    queue_.Post([this] {
        if (speakLevels_)
            Play(Number(view_.LevelIndex() + 3), false, 0);
    });
}

void Game::cmd1_Click() { ChooseDoor(1); }
void Game::cmd2_Click() { ChooseDoor(2); }
void Game::cmd3_Click() { ChooseDoor(3); }

void Game::Form_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    // Only the digits of the main keyboard choose doors; the keypad's are ignored.
    if (!modifiers.testFlag(Qt::KeypadModifier) && key >= Qt::Key_1 && key <= Qt::Key_3)
        ChooseDoor(static_cast<qint16>(key - Qt::Key_0));
    // Ctrl alone silences too: screen-reader users press it to stop speech.
    if (key == Qt::Key_Escape || key == Qt::Key_Control)
        queue_.Post([this] { player_.StopAll(); });
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
    queue_.Post([this] { Play(QStringLiteral("help.wav"), false, 0); }, CommandQueue::Kind::Request);
}

void Game::mnuPlayWhere_Click()
{
    queue_.Post([this] {
        const int rooms = view_.LevelIndex() + 3;
        if (room_ >= 0) {
            Play(QStringLiteral("you_are_in_room.wav"), true, 0);
            Play(Number(room_ + 1), true, 0);
            Play(QStringLiteral("of.wav"), true, 0);
        } else {
            Play(QStringLiteral("rooms_select.wav"), true, 0);
        }
        Play(Number(rooms), true, 0);
    }, CommandQueue::Kind::Request);
}

void Game::mnuHelpSounds_Click()
{
    queue_.Post([this] {
        for (qint16 door = 1; door <= 3; ++door)
            Play(Number(door), true, DoorPan(door));
        for (const char *effect : {"door_open.wav", "door_closed.wav", "error.wav", "success.wav"})
            Play(QString::fromLatin1(effect), true, 0);
    }, CommandQueue::Kind::Request);
}

void Game::mnuSoundLouder_Click() { ChangeVolume(+1); }
void Game::mnuSoundSofter_Click() { ChangeVolume(-1); }

void Game::ChangeVolume(int step)
{
    queue_.Post([this, step] {
        player_.SetVolume(player_.Volume() + step);
        Play(QStringLiteral("volume.wav"), false, 0);
        view_.KeepSoundSettings(player_.Volume(), player_.BothEars());
    });
}

void Game::mnuSoundBothEars_Click(bool on)
{
    queue_.Post([this, on] {
        player_.SetBothEars(on);
        // Door 1, which is heard on the left unless both ears hear everything.
        Play(Number(1), false, DoorPan(1));
        view_.KeepSoundSettings(player_.Volume(), player_.BothEars());
    });
}
