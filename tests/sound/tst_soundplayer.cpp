#include "FakeSoundComponent.h"
#include "sound/SoundPath.h"
#include "sound/SoundPlayer.h"

#include <QtTest>

class SoundPlayerTest : public QObject
{
    Q_OBJECT

private:
    FakeSoundComponent *sound = nullptr;
    SoundPlayer *player = nullptr;
    QStringList reports;

private slots:
    void init()
    {
        sound = new FakeSoundComponent;
        reports.clear();
        player = new SoundPlayer(*sound, [this](const QString &text) { reports << text; });
    }
    void cleanup()
    {
        delete player;
        delete sound;
    }

    void soundDirIsTheWaveFolderBesideTheProgram_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("expected");
        QTest::newRow("linux") << "/usr/games" << "/" << "/usr/games/wave/";
        QTest::newRow("linux root") << "/" << "/" << "/wave/";
        QTest::newRow("windows") << "C:\\Spill\\Velkarn" << "\\" << "C:\\Spill\\Velkarn\\wave\\";
        QTest::newRow("drive root") << "C:\\" << "\\" << "C:\\wave\\";
        QTest::newRow("trailing separator") << "/opt/velkarn/" << "/" << "/opt/velkarn/wave/";
    }
    void soundDirIsTheWaveFolderBesideTheProgram()
    {
        QFETCH(QString, folder);
        QFETCH(QString, separator);
        QFETCH(QString, expected);
        QCOMPARE(SoundDirFor(folder, separator.at(0)), expected);
    }

    void aSuccessfulOpenReleasesThePreviousSoundAFailedOneKeepsIt()
    {
        QCOMPARE(player->CurrentSound(), 0);
        QVERIFY(player->LoadSound("/w/a.wav"));
        const qint32 first = player->CurrentSound();
        QVERIFY(first > 0);
        sound->missing = {"b.wav"};
        QVERIFY(!player->LoadSound("/w/b.wav"));
        QCOMPARE(player->CurrentSound(), first);
        QVERIFY(player->LoadSound("/w/c.wav"));
        QVERIFY(player->CurrentSound() != first);
        // The new sound is opened before the old one is released.
        QCOMPARE(sound->log, (QStringList{"open a.wav", "fail b.wav", "open c.wav", "close a.wav"}));
    }

    void twoQuickSoundsReleaseTheFirstBeforeTheSecondStarts()
    {
        player->PlayWave("/w/one.wav", false, 0);
        player->PlayWave("/w/two.wav", false, 0);
        QCOMPARE(sound->log, (QStringList{"open one.wav", "start one.wav C", "open two.wav",
                                          "close one.wav", "start two.wav C"}));
    }

    void anUnopenableFileIsReportedOnceWithItsFullPath()
    {
        sound->missing = {"gone.wav"};
        player->PlayWave("/w/gone.wav", true, 0);
        QCOMPARE(reports, (QStringList{"Kan ikke åpne lydfilen: /w/gone.wav"}));
        QCOMPARE(sound->Heard(), QStringList());
    }

    void anEmptyNameIsSilentlyNothing()
    {
        QVERIFY(!player->LoadSound(QString()));
        player->PlayWave(QString(), true, 0);
        QVERIFY(sound->log.isEmpty());
        QVERIFY(reports.isEmpty());
    }

    void anyNegativePanIsLeftAnyPositiveRight()
    {
        player->PlayWave("/w/a.wav", false, -7);
        player->PlayWave("/w/b.wav", false, 0);
        player->PlayWave("/w/c.wav", false, 5);
        player->PlayWave("/w/d.wav", false, -1);
        QCOMPARE(sound->Heard(), (QStringList{"start a.wav L", "start b.wav C", "start c.wav R",
                                              "start d.wav L"}));
    }

    void aWaitedSoundReturnsOnlyAfterItHasEnded()
    {
        sound->holdSounds = true;
        bool returned = false;
        // End the sound from the event loop the player sleeps in.
        QTimer::singleShot(0, sound, [&] {
            QVERIFY(sound->AnyPlaying());
            QVERIFY(!returned);
            sound->EndAll();
        });
        player->PlayWave("/w/long.wav", true, 0);
        returned = true;
        QVERIFY(!sound->AnyPlaying());
        QCOMPARE(sound->Heard(), (QStringList{"start long.wav C", "wait long.wav"}));
    }

    void stoppingEverythingEndsAWait()
    {
        sound->holdSounds = true;
        QTimer::singleShot(0, sound, [&] { player->StopAll(); });
        player->PlayWave("/w/long.wav", true, 0);
        QVERIFY(!sound->AnyPlaying());
        QVERIFY(sound->log.contains("stop"));
    }

    void withoutAnAudioDeviceNothingIsOpenedOrReported()
    {
        sound->open = false;
        sound->missing = {"a.wav"};
        player->PlayWave("/w/a.wav", true, 0);
        player->PlayWave("/w/b.wav", true, 1);
        QVERIFY(sound->log.isEmpty());
        QVERIFY(reports.isEmpty());
    }
};

QTEST_GUILESS_MAIN(SoundPlayerTest)
#include "tst_soundplayer.moc"
