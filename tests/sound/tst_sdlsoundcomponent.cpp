#include "WaveFile.h"
#include "sound/SdlSoundComponent.h"
#include "sound/SoundPlayer.h"

#include <SDL_mixer.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

// The real component on SDL's dummy driver, which plays in real time without a sound card.
class SdlSoundComponentTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString Path(const QString &name) const { return dir.filePath(name); }

    // Starts a handle and returns once the component has reported its end (false if it never does).
    static bool PlaysToItsEnd(SdlSoundComponent &sound, qint32 handle)
    {
        QSignalSpy ended(&sound, &SoundComponent::PlaybackEnded);
        sound.StartWave(handle, 0, -1);
        if (!sound.IsPlaying(handle))
            return false;
        while (sound.IsPlaying(handle)) {
            if (!ended.wait(5000))
                return false;
        }
        return true;
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void brokenRecordingsAreRefusedOthersPlay_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty with a "kind": made below
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("plays");
        const QByteArray tone = WaveBytes(100);
        QByteArray wrongFourcc = tone;
        wrongFourcc.replace(8, 4, "WAVX");
        QByteArray claims2Gb = tone;
        qToLittleEndian(quint32(0x7fffffff), claims2Gb.data() + 40);
        QTest::newRow("16-bit mono") << tone << "" << true;
        QTest::newRow("8-bit") << WaveBytes(100, {1, 1, 22050, 8}) << "" << true;
        QTest::newRow("24-bit") << WaveBytes(100, {1, 2, 48000, 24}) << "" << true;
        QTest::newRow("32-bit float") << WaveBytes(100, {3, 2, 44100, 32}) << "" << true;
        QTest::newRow("6 channels") << WaveBytes(100, {1, 6, 44100, 16}) << "" << true;
        QTest::newRow("192 kHz") << WaveBytes(100, {1, 2, 192000, 16}) << "" << true;
        QTest::newRow("8 kHz") << WaveBytes(100, {1, 1, 8000, 16}) << "" << true;
        QTest::newRow("cut in half") << tone.left(tone.size() / 2) << "" << true;
        QTest::newRow("data claiming 2 GB") << claims2Gb << "" << true;
        QTest::newRow("empty") << QByteArray() << "" << false;
        QTest::newRow("header only") << WaveBytes(0) << "" << false;
        QTest::newRow("cut after 100 bytes") << tone.left(100) << "" << false;
        QTest::newRow("a few bytes") << QByteArray("RIFF\0\0", 6) << "" << false;
        QTest::newRow("wrong fourcc") << wrongFourcc << "" << false;
        QTest::newRow("MP3 named .wav") << QByteArray("ID3\x04\0\0\0\0\0\0\xff\xfb\x90\x64", 14).repeated(50) << "" << false;
        QTest::newRow("Ogg named .wav") << QByteArray("OggS\0\x02\0\0\0\0\0\0\0\0", 14).repeated(50) << "" << false;
        QTest::newRow("a folder") << QByteArray() << "folder" << false;
        QTest::newRow("a link to itself") << QByteArray() << "loop" << false;
        QTest::newRow("unreadable") << tone << "unreadable" << false;
    }
    void brokenRecordingsAreRefusedOthersPlay()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, kind);
        QFETCH(bool, plays);
        const QString path = Path(QString::fromLatin1(QTest::currentDataTag()) + ".wav");
        if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "loop")
            QVERIFY(QFile::link(path, path));
        else
            QVERIFY(WriteBytes(path, bytes));
        if (kind == "unreadable") {
            QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
            if (QFile(path).open(QIODevice::ReadOnly))
                QSKIP("running as root, who can read any file");
        }
        SdlSoundComponent sound;
        QVERIFY2(sound.IsOpen(), qPrintable(sound.OpenError()));
        const qint32 handle = sound.OpenWave(path);
        QCOMPARE(handle > 0, plays);
        if (plays)
            QVERIFY(PlaysToItsEnd(sound, handle));
    }

    void refusedFilesLeaveNothingOpen()
    {
#ifndef Q_OS_LINUX
        QSKIP("counts the descriptors in /proc/self/fd");
#endif
        QVERIFY(WriteBytes(Path("stray.wav"), "not wave"));
        SdlSoundComponent sound;
        const auto descriptors = [] { return QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size(); };
        const qsizetype before = descriptors();
        for (int i = 0; i < 100; ++i)
            QCOMPARE(sound.OpenWave(Path("stray.wav")), -1);
        QCOMPARE(descriptors(), before);
    }

    void closingOrStoppingSilencesTheMixer()
    {
        QVERIFY(WriteTone(Path("long.wav"), 5000));
        SdlSoundComponent sound;
        const qint32 first = sound.OpenWave(Path("long.wav"));
        const qint32 second = sound.OpenWave(Path("long.wav"));
        QVERIFY(first > 0 && second > 0 && first != second);
        sound.StartWave(first, 0, -1);
        sound.StartWave(second, 0, -1);
        QCOMPARE(Mix_Playing(-1), 2);
        sound.CloseWave(first);
        QVERIFY(!sound.IsPlaying(first) && sound.IsPlaying(second));
        QCOMPARE(Mix_Playing(-1), 1);
        sound.StopAll();
        QVERIFY(!sound.IsPlaying(second));
        QCOMPARE(Mix_Playing(-1), 0);
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

    void aStalledSoundIsGivenUpAndSilencedASecondAfterItsLength()
    {
        // Two seconds and more: the length at which a plain timer may fire early.
        QVERIFY(WriteTone(Path("two.wav"), 2000));
        SdlSoundComponent sound;
        const qint32 handle = sound.OpenWave(Path("two.wav"));
        sound.StartWave(handle, 0, -1);
        Mix_Pause(-1); // the device stalls: the sound never reaches its end
        QSignalSpy ended(&sound, &SoundComponent::PlaybackEnded);
        QVERIFY(ended.wait(10000));
        QVERIFY(!sound.IsPlaying(handle));
        Mix_Resume(-1); // the channel it gave up on stays silent
        QCOMPARE(Mix_Playing(-1), 0);
    }

#ifdef Q_OS_UNIX
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
#endif

    void withoutADeviceNothingOpens()
    {
        qputenv("SDL_AUDIODRIVER", "nonexistent");
        SdlSoundComponent sound;
        qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(!sound.IsOpen());
        QVERIFY(!sound.OpenError().isEmpty());
        QVERIFY(WriteTone(Path("short.wav"), 100));
        QCOMPARE(sound.OpenWave(Path("short.wav")), -1);
    }
};

QTEST_GUILESS_MAIN(SdlSoundComponentTest)
#include "tst_sdlsoundcomponent.moc"
