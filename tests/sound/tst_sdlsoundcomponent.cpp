#include "WaveFile.h"
#include "sound/SdlSoundComponent.h"
#include "sound/SoundPlayer.h"

#include <SDL_mixer.h>

#include <QSignalSpy>

#include <csignal>
#include <QTemporaryDir>
#include <QtTest>

// The real component on SDL's dummy driver, which plays in real time without a sound card.
class SdlSoundComponentTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString Path(const char *name) const { return dir.filePath(QLatin1String(name)); }

private slots:
    void initTestCase()
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(dir.isValid());
        QVERIFY(WriteTone(Path("short.wav"), 150));
        QVERIFY(WriteTone(Path("long.wav"), 5000));
        QVERIFY(WriteBytes(Path("empty.wav"), {}));
        QVERIFY(WriteBytes(Path("text.wav"), "RIFF but not really a wave file at all"));
        QVERIFY(QDir(dir.path()).mkdir("folder.wav"));
    }

    void filesThatCannotBeOpenedGiveMinusOne_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << "missing.wav";
        QTest::newRow("empty") << "empty.wav";
        QTest::newRow("not a wave") << "text.wav";
        QTest::newRow("a folder") << "folder.wav";
    }
    void filesThatCannotBeOpenedGiveMinusOne()
    {
        QFETCH(QString, name);
        SdlSoundComponent sound;
        QVERIFY2(sound.IsOpen(), qPrintable(sound.OpenError()));
        QCOMPARE(sound.OpenWave(dir.filePath(name)), -1);
    }

    void aSoundPlaysOnceAndReportsItsEnd()
    {
        SdlSoundComponent sound;
        const qint32 handle = sound.OpenWave(Path("short.wav"));
        QVERIFY(handle > 0);
        QVERIFY(!sound.IsPlaying(handle));
        QSignalSpy ended(&sound, &SoundComponent::PlaybackEnded);
        sound.StartWave(handle, 0, -1);
        QVERIFY(sound.IsPlaying(handle));
        QVERIFY(ended.wait(5000));
        QVERIFY(!sound.IsPlaying(handle));
    }

    void closingOrStoppingCutsASoundOff()
    {
        SdlSoundComponent sound;
        const qint32 first = sound.OpenWave(Path("long.wav"));
        const qint32 second = sound.OpenWave(Path("long.wav"));
        QVERIFY(first > 0 && second > 0 && first != second);
        sound.StartWave(first, 0, -1);
        sound.StartWave(second, 0, -1);
        QVERIFY(sound.IsPlaying(first) && sound.IsPlaying(second));
        sound.CloseWave(first);
        QVERIFY(!sound.IsPlaying(first));
        QVERIFY(sound.IsPlaying(second));
        sound.CloseWave(0); // ignored
        sound.StopAll();
        QVERIFY(!sound.IsPlaying(second));
    }

    void aChangedFileIsOpenedAfreshNotFromMemory()
    {
        SdlSoundComponent sound;
        const QString path = Path("changing.wav");
        QVERIFY(WriteTone(path, 100));
        QVERIFY(sound.OpenWave(path) > 0);
        QVERIFY(WriteBytes(path, "now broken"));
        QCOMPARE(sound.OpenWave(path), -1);
        QVERIFY(QFile::remove(path));
        QCOMPARE(sound.OpenWave(path), -1);
    }

    void aWaitedSoundEndsEvenWhenTheDeviceStalls()
    {
        SdlSoundComponent sound;
        SoundPlayer player(sound, [](const QString &text) { QFAIL(qPrintable(text)); });
        // Freeze every channel as soon as the sound starts: the mixer never reaches its end.
        bool rescued = false;
        QTimer::singleShot(0, this, [] { Mix_Pause(-1); });
        // Should the wait not end by itself, let the sound go on so the test fails instead of hanging.
        QTimer rescue;
        rescue.setSingleShot(true);
        connect(&rescue, &QTimer::timeout, this, [&rescued] { rescued = true; Mix_Resume(-1); });
        rescue.start(20000);
        player.PlayWave(Path("short.wav"), true, 0);
        QVERIFY(!rescued);
        QVERIFY(!sound.IsPlaying(player.CurrentSound()));
        Mix_Resume(-1);
    }

    void theSystemsRequestToEndStillEndsTheProgram()
    {
        // As in the program: nobody handles SIGINT or SIGTERM (the test runner's own handlers aside).
        struct sigaction ours {};
        struct sigaction saved[2] {};
        ours.sa_handler = SIG_DFL;
        QCOMPARE(sigaction(SIGINT, &ours, &saved[0]), 0);
        QCOMPARE(sigaction(SIGTERM, &ours, &saved[1]), 0);
        bool untouched = false;
        {
            SdlSoundComponent sound;
            struct sigaction now[2] {};
            sigaction(SIGINT, nullptr, &now[0]);
            sigaction(SIGTERM, nullptr, &now[1]);
            untouched = sound.IsOpen() && now[0].sa_handler == SIG_DFL && now[1].sa_handler == SIG_DFL;
        }
        sigaction(SIGINT, &saved[0], nullptr);
        sigaction(SIGTERM, &saved[1], nullptr);
        QVERIFY(untouched);
    }

    void withoutADeviceNothingOpens()
    {
        qputenv("SDL_AUDIODRIVER", "nonexistent");
        SdlSoundComponent sound;
        qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(!sound.IsOpen());
        QVERIFY(!sound.OpenError().isEmpty());
        QCOMPARE(sound.OpenWave(Path("short.wav")), -1);
        sound.StopAll();
        QVERIFY(!sound.IsPlaying(1));
    }
};

QTEST_GUILESS_MAIN(SdlSoundComponentTest)
#include "tst_sdlsoundcomponent.moc"
