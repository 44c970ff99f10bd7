// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeSoundComponent.h"
#include "logic/CommandQueue.h"
#include "sound/SoundPlayer.h"

#include <QtTest>

// The order in which the queue handles commands, from scripts of what happens: each command writes
// its name down when it runs.
//   g<x>  a command                  w<x>  a command whose sound is waited for
//   n<x>  a command whose sound is not waited for
//   t<x>  a command with a waited sound and then a step of its own, which writes x'
//   d<x>  a door: its number, waited for, then the door opening, not waited for
//   r<x>  a request whose sound is waited for     u<x>  a request with a step, like t<x>
//   q<x>  a request whose sound is not waited for (the spoken help)
//   k<x>  a key typed ahead, whose sound is waited for      l<x>  a lengthy one, like F4
//   end   the sound playing ends        hold, release, clear   the queue's own
//   cancel  Esc: writes + when it ended something, - when not         |  writes |
// and ^ when the tick of dropped keys is heard.
class CommandQueueTest : public QObject
{
    Q_OBJECT

private:
    struct Fixture {
        FakeSoundComponent sound;
        SoundPlayer player{sound, [](const QString &text) { QFAIL(qPrintable(text)); }};
        CommandQueue queue{player};
        QString log;

        void perform(const QString &token)
        {
            const std::map<QString, std::function<void()>> queueOwn = {
                {"end", [this] { sound.step(); }},
                {"hold", [this] { queue.hold(); }},
                {"release", [this] { queue.release(); }},
                {"clear", [this] { queue.clear(); }},
                {"cancel", [this] { log += queue.cancelRequests() ? '+' : '-'; }},
                {"|", [this] { log += '|'; }},
            };
            const QChar kind = token[0];
            const auto ticks = sound.log.count("start volume.wav C");
            if (const auto own = queueOwn.find(token); own != queueOwn.end())
                own->second();
            else if (kind == 'k' || kind == 'l')
                queue.postTypedAhead([this, name = token.mid(1)] { run('w', name); }, CommandQueue::Kind::Game,
                                     kind == 'l');
            else
                queue.post([this, kind, name = token.mid(1)] { run(kind, name); },
                           QString("ruq").contains(kind) ? CommandQueue::Kind::Request : CommandQueue::Kind::Game);
            QCoreApplication::processEvents(); // the ends of sounds cut off, reported a moment later
            log += QString(sound.log.count("start volume.wav C") - ticks, '^');
        }
        void run(QChar kind, const QString &name)
        {
            log += name;
            if (kind == 'd') {
                queue.play(Sound::Number1, Side::Centre, Wait::Yes);
                queue.play(Sound::DoorOpen, Side::Centre, Wait::No);
            } else if (kind != 'g') {
                queue.play(Sound::Welcome, Side::Centre, kind == 'n' || kind == 'q' ? Wait::No : Wait::Yes);
            }
            if (kind == 't' || kind == 'u')
                queue.post([this, name] { log += name + '\''; });
        }
    };

private slots:
    void commandsRunOneAtATimeInOrder_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("ran");
        QTest::newRow("at once when nothing is in hand") << "ga gb"
                                                         << "ab";
        QTest::newRow("a waited sound holds what follows") << "wa gb gc | end"
                                                           << "a|bc";
        QTest::newRow("a sound not waited for holds nothing") << "na gb"
                                                              << "ab";
        QTest::newRow("steps come before what waited already") << "ta gb | end"
                                                               << "a|a'b";
        QTest::newRow("each hold until its release") << "hold ga hold gb release | release"
                                                     << "|ab";
        QTest::newRow("a release without a hold") << "release hold ga"
                                                  << "";
        QTest::newRow("clear forgets what waits") << "wa gb clear end gc"
                                                  << "ac";
        QTest::newRow("a sound begun after the command was given") << "da gb | end | end"
                                                                   << "a||b";
        QTest::newRow("a sound begun before it is cut") << "da end gb"
                                                        << "ab";
        QTest::newRow("Esc drops the requests waiting") << "wa rb gc cancel | end"
                                                        << "a+|c";
        QTest::newRow("Esc stops a request's sound") << "ra gb | cancel"
                                                     << "a|b+";
        QTest::newRow("Esc drops a request's own steps") << "ua gb | cancel"
                                                         << "a|b+";
        QTest::newRow("Esc leaves the game's commands") << "wa gb cancel | end"
                                                        << "a-|b";
        QTest::newRow("a request's sound is cut by what waited") << "wa qb gc | end"
                                                                 << "a|bc";
        const QString fiveEnds = "end end end end end";
        QTest::newRow("a key typed ahead of nothing") << "k1"
                                                      << "1";
        QTest::newRow("keys typed ahead up to the bound") << "wa k1 k2 k3 k4 | " + fiveEnds << "a|1234";
        QTest::newRow("keys beyond it dropped, one tick") << "wa k1 k2 k3 k4 k5 k6 | " + fiveEnds << "a|^1234";
        QTest::newRow("room again for a key once one is handled")
            << "wa k1 k2 k3 k4 k5 end k6 end end k7 " + fiveEnds << "a^12347";
        QTest::newRow("a tick again once every key waiting was handled")
            << "wa k1 k2 k3 k4 k5 end " + fiveEnds + " wb k1 k2 k3 k4 k5 end"
            << "a^1234b^";
        QTest::newRow("the tick after the command in hand") << "ta k1 k2 k3 k4 k5 | end"
                                                            << "a|a'^";
        QTest::newRow("one lengthy key waits at most") << "wa l1 k2 l3 k4 l5 | " + fiveEnds << "a|^124";
        QTest::newRow("a storm leaves no lengthy key waiting") << "wa l1 k2 k3 k4 k5 end l6 | " + fiveEnds << "a^|234";
        QTest::newRow("other commands never dropped") << "wa k1 k2 k3 k4 gb k5 | " + fiveEnds + " end"
                                                      << "a|^1234b";
        QTest::newRow("a storm of 500 keys") << "wa " + QStringList(500, "kx").join(' ') + " | " + fiveEnds + " end"
                                             << "a|^xxxx";
    }
    void commandsRunOneAtATimeInOrder()
    {
        QFETCH(QString, script);
        QFETCH(QString, ran);
        Fixture f;
        f.player.setCatalogue(SoundCatalogue(QStringLiteral("wave/")));
        for (const QString &token : script.split(' '))
            f.perform(token);
        QCOMPARE(f.log, ran);
    }
};

QTEST_GUILESS_MAIN(CommandQueueTest)
#include "tst_commandqueue.moc"
