// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/Translations.h"
#include "sound/SoundPlayer.h"
#include "sound/sdl/SdlSoundComponent.h"
#include "support/WaveFile.h"

#include <SDL_mixer.h>

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

// The sound player over the real component, on SDL's dummy driver (real time, no sound card) or its
// disk driver, which writes the mixed output (16-bit stereo) to a file: what would really be heard.
class SoundTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString Path(const QString &name) const { return dir.filePath(name); }

    // Starts a handle and returns once its end has been reported (false if it never is).
    static bool PlaysToItsEnd(SdlSoundComponent &sound, qint32 handle)
    {
        QSignalSpy ended(&sound, &SoundComponent::playbackEnded);
        sound.startWave(handle);
        const bool started = sound.isPlaying(handle);
        while (sound.isPlaying(handle)) {
            if (!ended.wait(5000))
                return false;
        }
        return started;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        // The player's recordings: a short tone for "one", a long one for the welcome (still kept
        // decoded: freeing it halts nothing).
        QVERIFY(WriteBytes(Path("nr1.wav"), WaveBytes(200)));
        QVERIFY(WriteBytes(Path("welcome.wav"), WaveBytes(3000)));
    }
    // A working device gives the component nothing to warn about.
    void init()
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        QTest::failOnWarning(QRegularExpression(".*"));
    }

    void aSoundThatOpensCutsTheLastOneAFailedOpenKeepsItAndIsReported()
    {
        SdlSoundComponent sound;
        QStringList reports;
        SoundPlayer player(sound, [&reports](const QString &text) { reports << text; });
        player.setCatalogue(SoundCatalogue(dir.path() + '/'));
        QVERIFY(player.play(Sound::Welcome, Side::Centre));
        QVERIFY(!player.play(Sound::Help, Side::Centre)); // it has no recording
        QCOMPARE(reports, QStringList{"Kan ikke åpne lydfilen: " + Path("help.wav")});
        QVERIFY(player.isPlaying() && Mix_Playing(-1) == 1);
        QVERIFY(player.play(Sound::Welcome, Side::Centre));
        QCOMPARE(Mix_Playing(-1), 1);
        // The component itself plays several at once: it fills the mixer's 8 channels, then adds more.
        qint32 more[8];
        for (qint32 &handle : more) {
            QCOMPARE(Mix_AllocateChannels(-1), 8);
            sound.startWave(handle = sound.openWave(Path("welcome.wav")));
        }
        QVERIFY(Mix_Playing(-1) == 9 && Mix_AllocateChannels(-1) == 16);
        sound.closeWave(more[0]);
        sound.startWave(more[0]); // a released handle plays no more
        QVERIFY(player.isPlaying() && !sound.isPlaying(more[0]) && sound.isPlaying(more[7]));
        QCOMPARE(Mix_Playing(-1), 8);
        player.stopAll();
        QCOMPARE(Mix_Playing(-1), 0);
    }

    void brokenRecordingsAreRefusedOthersPlay_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("kind"); // how the file is made when it is not just bytes
        QTest::addColumn<bool>("plays");
        const QByteArray tone = WaveBytes(100);
        QByteArray wrongFourcc = tone;
        wrongFourcc.replace(8, 4, "WAVX");
        QByteArray claims2Gb = tone;
        qToLittleEndian(quint32(0x7fffffff), claims2Gb.data() + 40);
        QTest::newRow("16-bit mono") << tone << "" << true;
        QTest::newRow("8-bit, 8 kHz") << WaveBytes(100, {1, 1, 8000, 8}) << "" << true;
        QTest::newRow("32-bit float") << WaveBytes(100, {3, 2, 44100, 32}) << "" << true;
        QTest::newRow("6 channels, 192 kHz") << WaveBytes(100, {1, 6, 192000, 16}) << "" << true;
        QTest::newRow("cut in half") << tone.left(tone.size() / 2) << "" << true;
        QTest::newRow("data claiming 2 GB") << claims2Gb << "" << true;
        QTest::newRow("empty") << QByteArray() << "" << false;
        QTest::newRow("header only") << WaveBytes(0) << "" << false;
        QTest::newRow("cut after 100 bytes") << tone.left(100) << "" << false;
        QTest::newRow("wrong fourcc") << wrongFourcc << "" << false;
        QTest::newRow("MP3 named .wav") << QByteArray("ID3\x04\0\0\0\0\0\0\xff\xfb\x90\x64", 14).repeated(50) << ""
                                        << false;
        QTest::newRow("a folder") << QByteArray() << "folder" << false;
        QTest::newRow("a link to itself") << QByteArray() << "loop" << false;
        QTest::newRow("a named pipe") << QByteArray() << "pipe" << false;
        QTest::newRow("unreadable") << tone << "unreadable" << false;
    }
    void brokenRecordingsAreRefusedOthersPlay()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, kind);
        QFETCH(bool, plays);
        const QString path = Path(QString::fromLatin1(QTest::currentDataTag()) + ".wav");
        if (kind == "pipe" && QProcess::execute("mkfifo", {path}) != 0)
            QSKIP("no mkfifo here");
        QVERIFY(kind == "pipe"
                || (kind == "folder"     ? QDir().mkpath(path)
                        : kind == "loop" ? QFile::link(path, path)
                                         : WriteBytes(path, bytes)));
        if (kind == "unreadable" && QFile::setPermissions(path, QFileDevice::WriteOwner)
            && QFile(path).open(QIODevice::ReadOnly))
            QSKIP("running as root, who can read any file");
        SdlSoundComponent sound;
        // Refused or not, the file is left closed (under wine, /proc shows wine's own descriptors).
        const QString descriptors = QSysInfo::kernelType() == "linux" ? "/proc/self/fd" : "/nonexistent";
        const auto openFiles = [&] { return QDir(descriptors).entryList(QDir::AllEntries | QDir::System).size(); };
        const qsizetype before = openFiles();
        const qint32 handle = sound.openWave(path);
        QCOMPARE(handle > 0, plays);
        QCOMPARE(openFiles(), before);
        QVERIFY(!plays || PlaysToItsEnd(sound, handle));
    }

    void aChangedFileIsOpenedAfreshNotFromMemory()
    {
        SdlSoundComponent sound;
        const QString path = Path("changing.wav");
        QVERIFY(WriteBytes(path, WaveBytes(100)) && sound.openWave(path) > 0);
        // Broken alike, but once only its time tells, once only its size.
        const QDateTime then = QFileInfo(path).lastModified();
        for (const auto &[bytes, time] :
             {std::pair(QByteArray(QFileInfo(path).size(), 'x'), then.addSecs(1)), {"broken", then}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) && file.flush()
                    && file.setFileTime(time, QFileDevice::FileModificationTime));
            file.close();
            QCOMPARE(sound.openWave(path), -1);
        }
    }

    void aStalledSoundIsGivenUpAndSilencedASecondAfterItsLength()
    {
        // Two seconds and more: the length at which a plain timer may fire early.
        QVERIFY(WriteBytes(Path("two.wav"), WaveBytes(2000)));
        SdlSoundComponent sound;
        const qint32 handle = sound.openWave(Path("two.wav"));
        sound.startWave(handle);
        Mix_Pause(-1); // the device stalls: the sound never reaches its end
        QSignalSpy ended(&sound, &SoundComponent::playbackEnded);
        QVERIFY(ended.wait(10000));
        QVERIFY(!sound.isPlaying(handle));
        Mix_Resume(-1); // the channel given up on stays silent
        QCOMPARE(Mix_Playing(-1), 0);
    }

#ifdef Q_OS_UNIX
    void theSystemsRequestToEndStillEndsTheProgram()
    {
        // As in the program: nobody handles SIGINT or SIGTERM (the test runner's crash handlers go).
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        const SdlSoundComponent sound;
        QVERIFY(sound.isOpen());
        QVERIFY(std::signal(SIGINT, SIG_DFL) == SIG_DFL && std::signal(SIGTERM, SIG_DFL) == SIG_DFL);
    }
#endif

    void withoutADeviceNothingOpens()
    {
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(Path("no such folder/out.raw")));
        for (const char *driver : {"nonexistent", "disk"}) { // no driver; a driver that cannot open its output
            qputenv("SDL_AUDIODRIVER", driver);
            SdlSoundComponent sound;
            QVERIFY2(!sound.isOpen() && !sound.openError().isEmpty(), driver);
            QCOMPARE(sound.openWave(Path("nr1.wav")), -1);
        }
    }

    void everyLanguageHasEveryRecordingTheCatalogueNames()
    {
        QVERIFY(Translations::available().value(0) == "nb"
                && Translations::available().contains("en")); // and any added
        QStringList missing;
        for (const QString &language : Translations::available()) {
            // The source language's speech in wave/ itself, every other language's in wave/CODE/.
            const QString wave = QStringLiteral(BUILT_WAVE);
            const SoundCatalogue catalogue(wave,
                                           language == Translations::sourceLanguage() ? wave : wave + language + '/');
            for (Sound sound : SoundCatalogue::all()) {
                if (!QFileInfo(catalogue.path(sound)).isFile())
                    missing << catalogue.path(sound);
            }
        }
        QCOMPARE(missing, QStringList());
    }

    void eachSoundIsHeardWhereAndAsLoudAsItShouldBe_data()
    {
        QTest::addColumn<int>("pan");
        QTest::addColumn<int>("volume");
        QTest::addColumn<bool>("bothEars");
        QTest::addColumn<double>("leftShare"); // of all that is heard
        QTest::addColumn<double>("db");        // beside door 1 at full volume
        QTest::addColumn<double>("within");    // dB
        QTest::newRow("door 1: left ear only") << -1 << 10 << false << 1.0 << 0.0 << 0.01;
        QTest::newRow("door 3: right ear only") << 1 << 10 << false << 0.0 << 0.0 << 0.05;
        QTest::newRow("door 1 in both ears") << -1 << 10 << true << 0.5 << 0.0 << 0.13;
        QTest::newRow("level 7: 9 dB softer") << 0 << 7 << false << 0.5 << -9.0 << 0.5;
        QTest::newRow("level 1: 27 dB softer") << 0 << 1 << false << 0.5 << -27.0 << 0.5;
    }
    void eachSoundIsHeardWhereAndAsLoudAsItShouldBe()
    {
        QFETCH(int, pan);
        QFETCH(int, volume);
        QFETCH(bool, bothEars);
        QFETCH(double, leftShare);
        QFETCH(double, db);
        QFETCH(double, within);
        static const Energy reference = Heard(-1, 10, false);
        const Energy heard = Heard(static_cast<qint16>(pan), volume, bothEars);
        QVERIFY(reference.Total() > 0 && heard.Total() > 0);
        QVERIFY2(qAbs(heard.frames - 9600) < 300, qPrintable(QString::number(heard.frames))); // 200 ms, once
        QVERIFY2(qAbs(heard.left / heard.Total() - leftShare) < 0.01,
                 qPrintable(QString::number(heard.left / heard.Total())));
        const double measured = 10 * std::log10(heard.Total() / reference.Total());
        QVERIFY2(qAbs(measured - db) <= within, qPrintable(QString::number(measured)));
    }

private:
    struct Energy {
        double left = 0;
        double right = 0;
        qint64 frames = 0; // that sound at all
        double Total() const { return left + right; }
    };

    // Plays the tone through the player as set, on the disk driver; sums the squares of each channel.
    Energy Heard(qint16 pan, int volume, bool bothEars)
    {
        const QString output = Path("out.raw");
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
        {
            SdlSoundComponent sound;
            SoundPlayer player(sound, [](const QString &text) { qWarning() << text; });
            player.setCatalogue(SoundCatalogue(dir.path() + '/'));
            player.setVolume(volume);
            player.setBothEars(bothEars);
            QSignalSpy ended(&sound, &SoundComponent::playbackEnded);
            const Side side = pan < 0 ? Side::Left : pan > 0 ? Side::Right : Side::Centre;
            for (bool started = player.play(Sound::Number1, side); started && player.isPlaying();)
                started = ended.wait(5000);
        }
        QFile file(output);
        Energy energy;
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        const auto *samples = reinterpret_cast<const qint16 *>(bytes.constData());
        for (qsizetype i = 0; i + 1 < bytes.size() / 2; i += 2) {
            energy.left += double(samples[i]) * samples[i];
            energy.right += double(samples[i + 1]) * samples[i + 1];
            energy.frames += samples[i] != 0 || samples[i + 1] != 0;
        }
        return energy;
    }
};

QTEST_GUILESS_MAIN(SoundTest)
#include "tst_sound.moc"
