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

    void HideAll() override {}
    void ShowRoomCount() override {}
    void ShowDoors() override {}
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
    struct Fixture {
        FakeSoundComponent sound;
        SoundPlayer player{sound, [](const QString &text) { QFAIL(qPrintable(text)); }};
        CommandQueue queue{player};
        FakeView view;
        Game game{queue, player, view, 42};
    };
    std::unique_ptr<Fixture> f;

    qint16 Door(int room) const { return f->game.CorrectDoor()[static_cast<size_t>(room)]; }
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { f->game.Form_KeyDown(key, modifiers); }
    void PressDoor(qint16 door) { Press(Qt::Key_0 + door); }
    // Starts a walk through `rooms` rooms and plays out its first sounds.
    void Walk(int rooms)
    {
        f->game.NewGame();
        f->view.index = rooms - 3;
        f->game.lbLevel_KeyDown(Qt::Key_Return);
        f->sound.PlayOut();
    }

private slots:
    void init() { f = std::make_unique<Fixture>(); }

    void aWalkOfThreeRoomsEndsInSuccessAndANewGame()
    {
        f->game.NewGame();
        f->game.lbLevel_KeyDown(Qt::Key_Enter); // the keypad's Enter starts the walk too
        QCOMPARE(f->sound.PlayOut(), (QStringList{"rooms_select.wav C", "door123.wav C"}));
        const Game::Doors sequence = f->game.CorrectDoor();
        for (int room = 0; room < 3; ++room) {
            const qint16 door = sequence[static_cast<size_t>(room)];
            const QString opened = QStringLiteral("door_open.wav ") + Side[door];
            PressDoor(door);
            // At the last door the opening is heard whole, then the success.
            const QStringList expected = room < 2 ? QStringList{Announced(door), opened}
                                                  : QStringList{Announced(door), opened, "success.wav C",
                                                                "rooms_select.wav C"};
            QCOMPARE(f->sound.PlayOut(), expected);
        }
        QCOMPARE(f->game.Room(), -1);
        QVERIFY(f->game.CorrectDoor() != sequence); // a fresh draw (a repeat is 3^-20)
    }

    void aWrongDoorSendsTheWalkBackToTheFirstRoomWithTheSameDoors()
    {
        Walk(5);
        const Game::Doors sequence = f->game.CorrectDoor();
        PressDoor(Door(0));
        PressDoor(Door(1));
        f->sound.PlayOut();
        QCOMPARE(f->game.Room(), 2);
        const auto wrong = static_cast<qint16>(Door(2) % 3 + 1);
        PressDoor(wrong);
        PressDoor(Door(0)); // waits until the error has been heard, then is the first room's door
        QCOMPARE(f->sound.PlayOut(), (QStringList{Announced(wrong), QStringLiteral("door_closed.wav ") + Side[wrong],
                                                "error.wav C", Announced(Door(0)),
                                                QStringLiteral("door_open.wav ") + Side[Door(0)]}));
        QCOMPARE(f->game.Room(), 1);
        QCOMPARE(f->game.CorrectDoor(), sequence);
        for (int room = 1; room < 5; ++room)
            PressDoor(Door(room));
        f->sound.PlayOut();
        QCOMPARE(f->game.Room(), -1); // passed all five
    }

    void theRoomCountIsReadAtEachCorrectDoorAndNoDoorIsLeftPastTheLastRoom()
    {
        Walk(20);
        PressDoor(Door(0));
        PressDoor(Door(1));
        f->sound.PlayOut();
        f->view.index = -1; // two rooms now, already passed: the walk goes on to the twentieth
        for (int room = 2; room < Game::MaxRooms; ++room)
            PressDoor(Door(room));
        PressDoor(1);
        f->sound.PlayOut();
        QCOMPARE(int(f->game.Room()), Game::MaxRooms);
    }

    void onlyTheMainKeyboardsDigitsOneToThreeChooseDoors_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("heard"); // the first sound
        QTest::newRow("1") << int(Qt::Key_1) << 0 << "nr1.wav L";
        QTest::newRow("3") << int(Qt::Key_3) << 0 << "nr3.wav R";
        QTest::newRow("shift and ctrl do not matter") << int(Qt::Key_2) << int(Qt::ShiftModifier | Qt::ControlModifier) << "nr2.wav C";
        QTest::newRow("4") << int(Qt::Key_4) << 0 << "";
        QTest::newRow("keypad 1") << int(Qt::Key_1) << int(Qt::KeypadModifier) << "";
    }
    void onlyTheMainKeyboardsDigitsOneToThreeChooseDoors()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, heard);
        Walk(3);
        Press(key, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(f->sound.PlayOut().value(0), heard);
    }

    void theSoundLessonPlaysEverySoundAndTheWalkGoesOn()
    {
        Walk(5);
        PressDoor(Door(0));
        f->sound.PlayOut();
        f->game.mnuHelpSounds_Click();
        QCOMPARE(f->sound.PlayOut(), (QStringList{"nr1.wav L", "nr2.wav C", "nr3.wav R", "door_open.wav C",
                                                "door_closed.wav C", "error.wav C", "success.wav C"}));
        QCOMPARE(f->game.Room(), 1);
        PressDoor(Door(1));
        f->sound.PlayOut();
        QCOMPARE(f->game.Room(), 2);
    }
};

QTEST_GUILESS_MAIN(GameTest)
#include "tst_game.moc"
