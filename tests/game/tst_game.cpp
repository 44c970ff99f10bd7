#include "FakeSoundComponent.h"
#include "game/CommandQueue.h"
#include "game/Game.h"
#include "game/GameView.h"
#include "sound/SoundPlayer.h"

#include <QtTest>

namespace {
class FakeView final : public GameView
{
public:
    int index = 0;
    bool roomCountShown = false;
    bool doorsShown = true; // the buttons are visible when the window first appears

    void HideAll() override { roomCountShown = doorsShown = false; }
    void ShowRoomCount() override { roomCountShown = true; }
    void ShowDoors() override { doorsShown = true; }
    int LevelIndex() const override { return index; }
    QString LevelText() const override { return QString::number(index + 3); }
    void KeepSoundSettings(int, bool) override {}
};

const char *const Side[] = {"", "L", "C", "R"};

// Door d's announcement, heard at its place.
QString Announced(qint16 door)
{
    return QStringLiteral("nr%1.wav %2").arg(door).arg(Side[door]);
}
} // namespace

class GameTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeSoundComponent> sound;
    std::unique_ptr<SoundPlayer> player;
    std::unique_ptr<CommandQueue> queue;
    std::unique_ptr<FakeView> view;
    std::unique_ptr<Game> game;

    qint16 Door(int room) const { return game->CorrectDoor()[static_cast<size_t>(room)]; }
    static qint16 Other(qint16 door) { return static_cast<qint16>(door % 3 + 1); }
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { game->Form_KeyDown(key, modifiers); }
    void PressDoor(qint16 door) { Press(Qt::Key_0 + door); }
    // Starts a walk through `rooms` rooms and plays out its first sounds.
    void Walk(int rooms)
    {
        game->NewGame();
        view->index = rooms - 3;
        game->lbLevel_KeyDown(Qt::Key_Return);
        sound->PlayOut();
        QCOMPARE(game->Room(), 0);
    }

private slots:
    void init()
    {
        sound = std::make_unique<FakeSoundComponent>();
        player = std::make_unique<SoundPlayer>(*sound, [](const QString &text) { QFAIL(qPrintable(text)); });
        player->InitSoundPath(QStringLiteral("/games/velkarn"));
        queue = std::make_unique<CommandQueue>(*player);
        view = std::make_unique<FakeView>();
        game = std::make_unique<Game>(*queue, *player, *view, 42);
    }
    void cleanup()
    {
        game.reset();
        view.reset();
        queue.reset();
        player.reset();
        sound.reset();
    }

    void aWalkOfThreeRoomsEndsInSuccessAndANewGame()
    {
        game->NewGame();
        game->lbLevel_KeyDown(Qt::Key_Enter); // the keypad's Enter starts the walk too
        QCOMPARE(sound->PlayOut(), (QStringList{"rooms_select.wav C", "door123.wav C"}));
        QVERIFY(view->doorsShown && !view->roomCountShown);
        const Game::Doors sequence = game->CorrectDoor();
        for (int room = 0; room < 3; ++room) {
            const qint16 door = sequence[static_cast<size_t>(room)];
            const QString opened = QStringLiteral("door_open.wav ") + Side[door];
            PressDoor(door);
            const QStringList expected = room < 2 ? QStringList{Announced(door), opened}
                                                  : QStringList{Announced(door), opened + " + success.wav C",
                                                                "rooms_select.wav C"};
            QCOMPARE(sound->PlayOut(), expected);
        }
        QCOMPARE(game->Room(), -1);
        QVERIFY(view->roomCountShown && !view->doorsShown);
        QVERIFY(game->CorrectDoor() != sequence); // a fresh draw (a repeat is 3^-20)
    }

    void aWrongDoorSendsTheWalkBackToTheFirstRoomWithTheSameDoors()
    {
        Walk(5);
        const Game::Doors sequence = game->CorrectDoor();
        PressDoor(Door(0));
        PressDoor(Door(1));
        sound->PlayOut();
        QCOMPARE(game->Room(), 2);
        const qint16 wrong = Other(Door(2));
        PressDoor(wrong);
        QCOMPARE(sound->PlayOut(), (QStringList{Announced(wrong), QStringLiteral("door_closed.wav ") + Side[wrong],
                                                "error.wav C"}));
        QCOMPARE(game->Room(), 0);
        QCOMPARE(game->CorrectDoor(), sequence);
        for (int room = 0; room < 5; ++room)
            PressDoor(Door(room));
        sound->PlayOut();
        QCOMPARE(game->Room(), -1); // passed all five
    }

    void theRoomCountIsReadAtEachCorrectDoor_data()
    {
        QTest::addColumn<int>("rooms"); // chosen anew after two rooms are passed
        QTest::addColumn<int>("room");  // where the walk stands after every door has been tried
        QTest::newRow("three rooms: the third door ends the walk") << 3 << -1;
        QTest::newRow("two rooms: already passed, no door is left after the last") << 2 << 20;
    }
    void theRoomCountIsReadAtEachCorrectDoor()
    {
        QFETCH(int, rooms);
        QFETCH(int, room);
        Walk(20);
        PressDoor(Door(0));
        PressDoor(Door(1));
        sound->PlayOut();
        view->index = rooms - 3;
        for (int r = 2; r < Game::MaxRooms; ++r)
            PressDoor(Door(r));
        PressDoor(1);
        sound->PlayOut();
        QCOMPARE(int(game->Room()), room);
    }

    void keysChooseDoorsOnlyDuringAWalk_data()
    {
        QTest::addColumn<bool>("walking");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("heard"); // the first sound
        QTest::newRow("1") << true << int(Qt::Key_1) << 0 << "nr1.wav L";
        QTest::newRow("3") << true << int(Qt::Key_3) << 0 << "nr3.wav R";
        QTest::newRow("shift and ctrl do not matter") << true << int(Qt::Key_2) << int(Qt::ShiftModifier | Qt::ControlModifier) << "nr2.wav C";
        QTest::newRow("4") << true << int(Qt::Key_4) << 0 << "";
        QTest::newRow("0") << true << int(Qt::Key_0) << 0 << "";
        QTest::newRow("keypad 1") << true << int(Qt::Key_1) << int(Qt::KeypadModifier) << "";
        QTest::newRow("1 while choosing") << false << int(Qt::Key_1) << 0 << "";
    }
    void keysChooseDoorsOnlyDuringAWalk()
    {
        QFETCH(bool, walking);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, heard);
        if (walking)
            Walk(3);
        else
            game->NewGame();
        sound->PlayOut();
        Press(key, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(sound->PlayOut().value(0), heard);
    }

    void whereAmITellsTheRoomAndTheCount_data()
    {
        QTest::addColumn<int>("passed"); // rooms passed before F3; -1: still choosing
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("choosing") << -1 << QStringList{"rooms_select.wav C", "nr8.wav C"};
        QTest::newRow("first room") << 0 << QStringList{"you_are_in_room.wav C", "nr1.wav C", "of.wav C", "nr8.wav C"};
        QTest::newRow("third room") << 2 << QStringList{"you_are_in_room.wav C", "nr3.wav C", "of.wav C", "nr8.wav C"};
    }
    void whereAmITellsTheRoomAndTheCount()
    {
        QFETCH(int, passed);
        QFETCH(QStringList, heard);
        game->NewGame();
        view->index = 5;
        if (passed >= 0)
            game->lbLevel_KeyDown(Qt::Key_Return);
        for (int room = 0; room < passed; ++room)
            PressDoor(Door(room));
        sound->PlayOut();
        game->mnuPlayWhere_Click();
        QCOMPARE(sound->PlayOut(), heard);
        QCOMPARE(int(game->Room()), passed);
    }

    void theSoundLessonPlaysEverySoundAndTheWalkGoesOn()
    {
        Walk(5);
        PressDoor(Door(0));
        sound->PlayOut();
        game->mnuHelpSounds_Click();
        QCOMPARE(sound->PlayOut(), (QStringList{"nr1.wav L", "nr2.wav C", "nr3.wav R", "door_open.wav C",
                                                "door_closed.wav C", "error.wav C", "success.wav C"}));
        QCOMPARE(game->Room(), 1);
        PressDoor(Door(1));
        sound->PlayOut();
        QCOMPARE(game->Room(), 2);
    }

    void doorsAreDrawnUniformlyInEveryRoom()
    {
        // 3000 games: each room's door should be 1, 2 or 3 about a thousand times each.
        std::mt19937_64 random(7);
        std::array<std::array<int, 3>, Game::MaxRooms> counts{};
        for (int i = 0; i < 3000; ++i) {
            const Game::Doors doors = Game::DrawDoors(random);
            for (size_t room = 0; room < doors.size(); ++room)
                ++counts[room].at(static_cast<size_t>(doors[room] - 1));
        }
        // Chi-square with 2 degrees of freedom; 13.8 is the 0.1 % critical value.
        for (const auto &room : counts) {
            double chi2 = 0;
            for (int count : room)
                chi2 += (count - 1000.0) * (count - 1000.0) / 1000.0;
            QVERIFY2(chi2 < 13.8, qPrintable(QString::number(chi2)));
        }
    }
};

QTEST_GUILESS_MAIN(GameTest)
#include "tst_game.moc"
