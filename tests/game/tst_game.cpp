#include "FakeSoundComponent.h"
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
};

QString Other(qint16 door) { return QString::number(door % 3 + 1); }
} // namespace

class GameTest : public QObject
{
    Q_OBJECT

private:
    FakeSoundComponent *sound = nullptr;
    SoundPlayer *player = nullptr;
    FakeView *view = nullptr;
    Game *game = nullptr;

    // Starts a walk of `rooms` rooms with the log cleared.
    void Walk(int rooms)
    {
        game->NewGame();
        view->index = rooms - 3;
        game->lbLevel_KeyDown(Qt::Key_Return);
        sound->log.clear();
    }
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        game->Form_KeyDown(key, modifiers);
    }
    void PressDoor(qint16 door) { Press(Qt::Key_0 + door); }
    qint16 Door(int room) const { return game->CorrectDoor()[static_cast<size_t>(room)]; }

private slots:
    void init()
    {
        sound = new FakeSoundComponent;
        player = new SoundPlayer(*sound, [](const QString &text) { QFAIL(qPrintable(text)); });
        player->InitSoundPath(QStringLiteral("/games/velkarn"));
        view = new FakeView;
        game = new Game(*player, *view);
        game->Seed(42);
    }
    void cleanup()
    {
        delete game;
        delete view;
        delete player;
        delete sound;
    }

    void beforeTheFirstGameNothingIsSpokenOrChosen()
    {
        QCOMPARE(game->Room(), -1);
        game->lbLevel_Click();
        game->lbLevel_GotFocus();
        Press(Qt::Key_1);
        Press(Qt::Key_Escape); // Esc is for every state: it only silences
        QCOMPARE(sound->log, QStringList{"stop"});
        QVERIFY(!game->SpeakLevels());
    }

    void aWalkOfThreeRoomsEndsInSuccessAndANewGame()
    {
        Walk(3);
        const auto sequence = game->CorrectDoor();
        const QString side[] = {"L", "C", "R"};
        QStringList expected;
        for (int room = 0; room < 3; ++room) {
            const qint16 door = sequence[static_cast<size_t>(room)];
            const QString name = QStringLiteral("nr%1.wav").arg(door);
            expected << "start " + name + " " + side[door - 1] << "wait " + name
                     << "start door_open.wav " + side[door - 1];
            PressDoor(door);
            QCOMPARE(game->Room(), room == 2 ? -1 : room + 1);
        }
        expected << "start success.wav C" << "wait success.wav"
                 << "start rooms_select.wav C" << "wait rooms_select.wav";
        QCOMPARE(sound->Heard(), expected);
        QVERIFY(view->roomCountShown && !view->doorsShown);
        QCOMPARE(view->index, 0); // the list keeps its selection
        QCOMPARE(sound->paths.last(), QStringLiteral("/games/velkarn/wave/rooms_select.wav"));
        QVERIFY(game->CorrectDoor() != sequence); // a fresh sequence (20 doors: a repeat is 3^-20)
    }

    void aWrongDoorSendsTheWalkBackToTheFirstRoomWithTheSameDoors()
    {
        Walk(5);
        const auto sequence = game->CorrectDoor();
        PressDoor(Door(0));
        PressDoor(Door(1));
        QCOMPARE(game->Room(), 2);
        sound->log.clear();

        const qint16 wrong = Other(Door(2)).toShort();
        PressDoor(wrong);
        QCOMPARE(game->Room(), 0);
        const QString side = wrong == 1 ? "L" : wrong == 2 ? "C" : "R";
        const QString name = QStringLiteral("nr%1.wav").arg(wrong);
        QCOMPARE(sound->Heard(), (QStringList{"start " + name + " " + side, "wait " + name,
                                              "start door_closed.wav " + side, "wait door_closed.wav",
                                              "start error.wav C", "wait error.wav"}));
        QCOMPARE(game->CorrectDoor(), sequence);

        for (int room = 0; room < 4; ++room)
            PressDoor(Door(room));
        QCOMPARE(game->Room(), 4);
        PressDoor(Door(4));
        QCOMPARE(game->Room(), -1); // passed all five
    }

    void theRoomCountIsReadAtEachCorrectDoor()
    {
        Walk(20);
        PressDoor(Door(0));
        PressDoor(Door(1));
        view->index = 0; // a room count of 3 now: not reached yet
        PressDoor(Door(2));
        QCOMPARE(game->Room(), -1);
    }

    void doorKeysCountOnlyDuringAWalk()
    {
        game->NewGame();
        sound->log.clear();
        Press(Qt::Key_1);
        Press(Qt::Key_2);
        Press(Qt::Key_3);
        QVERIFY(sound->log.isEmpty());
        QCOMPARE(game->Room(), -1);

        game->lbLevel_KeyDown(Qt::Key_Down);
        QCOMPARE(game->Room(), -1);
        game->lbLevel_KeyDown(Qt::Key_Enter); // the keypad's Enter starts the walk too
        QVERIFY(view->doorsShown && !view->roomCountShown);
        sound->log.clear();
        Press(Qt::Key_4);
        Press(Qt::Key_0);
        Press(Qt::Key_1, Qt::KeypadModifier);
        Press(Qt::Key_2, Qt::KeypadModifier);
        QVERIFY(sound->log.isEmpty());
        Press(Qt::Key_2, Qt::ShiftModifier | Qt::ControlModifier); // modifiers do not matter
        QCOMPARE(sound->Heard().value(0), QStringLiteral("start nr2.wav C"));
    }

    void doorsAreDrawnUniformlyInEveryRoom()
    {
        // 3000 games: each room's door should be 1, 2 or 3 about a thousand times each.
        std::array<std::array<int, 3>, Game::MaxRooms> counts{};
        for (int i = 0; i < 3000; ++i) {
            game->NewGame();
            for (int room = 0; room < Game::MaxRooms; ++room) {
                const qint16 door = Door(room);
                QVERIFY(door >= 1 && door <= 3);
                ++counts[static_cast<size_t>(room)][static_cast<size_t>(door - 1)];
            }
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
