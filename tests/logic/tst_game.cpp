// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeSoundComponent.h"
#include "logic/CommandQueue.h"
#include "logic/Game.h"
#include "sound/SoundPlayer.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
const char *const Sides[] = {"", "L", "C", "R"};

// Door d's announcement, heard at its place.
QString announced(int door)
{
    return QStringLiteral("nr%1.wav %2").arg(door).arg(Sides[door]);
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
        Game game{queue, player, 42};
        QSignalSpy choosing{&game, &Game::choosingRoomCount};
        QSignalSpy walking{&game, &Game::walking};
        QSignalSpy settings{&game, &Game::soundSettingsChanged};
    };
    std::unique_ptr<Fixture> f;

    int door(int room) const { return f->game.doors()[static_cast<size_t>(room)]; }
    // Starts a walk through `rooms` rooms and plays out its first sounds.
    void walk(int rooms)
    {
        f->game.newGame();
        f->game.startWalk(rooms);
        f->sound.playOut();
    }

private slots:
    void init()
    {
        f = std::make_unique<Fixture>();
        f->player.setCatalogue(SoundCatalogue(QStringLiteral("wave/")));
    }

    void aWalkOfThreeRoomsEndsInSuccessAndANewGame()
    {
        f->game.start();
        f->game.startWalk(3);
        QCOMPARE(f->sound.playOut(), (QStringList{"welcome.wav C", "rooms_select.wav C", "door123.wav C"}));
        QCOMPARE(f->choosing.count(), 1);
        QCOMPARE(f->walking.count(), 1);
        const Game::Doors sequence = f->game.doors();
        for (int room = 0; room < 3; ++room) {
            const int d = sequence[static_cast<size_t>(room)];
            f->game.chooseDoor(d);
            // At the last door the opening is heard whole, then the success.
            const QStringList last{"success.wav C", "rooms_select.wav C"};
            QCOMPARE(f->sound.playOut(), f->sound.doorOpens(d) + (room < 2 ? QStringList() : last));
        }
        QCOMPARE(f->game.room(), -1);
        QCOMPARE(f->choosing.count(), 2);
        QVERIFY(f->game.doors() != sequence); // a fresh draw (a repeat is 3^-20)
    }

    void aWrongDoorSendsTheWalkBackToTheFirstRoomWithTheSameDoors()
    {
        walk(5);
        const Game::Doors sequence = f->game.doors();
        f->game.chooseDoor(door(0));
        f->game.chooseDoor(door(1));
        f->sound.playOut();
        QCOMPARE(f->game.room(), 2);
        const int wrong = door(2) % 3 + 1;
        f->game.chooseDoor(wrong);
        f->game.chooseDoor(door(0)); // waits until the error has been heard, then is the first room's door
        const QStringList closed{announced(wrong), QStringLiteral("door_closed.wav ") + Sides[wrong], "error.wav C"};
        QCOMPARE(f->sound.playOut(), closed + f->sound.doorOpens(door(0)));
        QCOMPARE(f->game.room(), 1);
        QCOMPARE(f->game.doors(), sequence);
        for (int room = 1; room < 5; ++room)
            f->game.chooseDoor(door(room));
        f->sound.playOut();
        QCOMPARE(f->game.room(), -1); // passed all five
    }

    void theWalkKeepsTheRoomCountItWasStartedWith()
    {
        walk(20);
        f->game.speakRoomCount(3); // the hidden list, reached by a screen reader: neither said nor used
        f->game.startWalk(4);
        for (int room = 0; room < 2; ++room)
            f->game.chooseDoor(door(room));
        f->game.sayWhereIAm();
        const QStringList heard = f->sound.playOut();
        QCOMPARE(heard.mid(4), (QStringList{"you_are_in_room.wav C", "nr3.wav C", "of.wav C", "nr20.wav C"}));
        QCOMPARE(f->game.rooms(), 20);
        QCOMPARE(f->walking.count(), 1);
    }

    void theRoomCountIsSaidWhileChoosingAndOnlyRealRoomsAndDoorsCount()
    {
        f->game.speakRoomCount(7); // before the first game the list says nothing
        f->game.newGame();
        f->game.speakRoomCount(8);
        f->game.sayWhereIAm();
        QCOMPARE(f->sound.playOut(),
                 (QStringList{"rooms_select.wav C", "nr8.wav C", "rooms_select.wav C", "nr8.wav C"}));
        f->game.chooseDoor(1); // while choosing: no door to open
        f->game.startWalk(21); // no such walk
        f->game.startWalk(2);
        QCOMPARE(f->sound.playOut(), QStringList());
        QCOMPARE(f->game.room(), -1);
        f->game.startWalk(3);
        f->game.chooseDoor(0); // no such doors
        f->game.chooseDoor(4);
        QCOMPARE(f->sound.playOut(), QStringList{"door123.wav C"});
        QCOMPARE(f->game.room(), 0);
    }

    void volumeAndOneEarModeAreSetHeardAndKept()
    {
        f->game.softer();
        f->game.softer();
        f->game.setBothEars(true);
        for (int step = 0; step < 12; ++step)
            f->game.louder();
        f->game.setBothEars(false);
        const QStringList tick(12, QStringLiteral("start volume.wav C"));
        QCOMPARE(f->sound.log.filter("start"),
                 QStringList({"start volume.wav C", "start volume.wav C", "start nr1.wav C"}) + tick
                     + QStringList{"start nr1.wav L"});
        QCOMPARE(f->sound.log.filter("volume -"), (QStringList{"volume -300", "volume -600", "volume -300"}));
        QCOMPARE(f->settings.at(2), (QVariantList{8, true}));
        QCOMPARE(f->settings.last(), (QVariantList{10, false})); // never louder than full
    }
};

QTEST_GUILESS_MAIN(GameTest)
#include "tst_game.moc"
