// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/CutForMessage.h"
#include "i18n/Translations.h"
#include "sound/ChooseSoundComponent.h"
#include "sound/SoundPlayer.h"
#include "sound/sdl/SdlSoundComponent.h"
#include "support/WaveFile.h"
#ifdef VELKARN_PIPEWIRE
#include "support/MonitorRecorder.h"
#include "support/PrivateSoundServer.h"
#endif

#include <SDL_mixer.h>

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <optional>
#ifdef Q_OS_UNIX
#include <csignal>
#endif

// The sound player over the real component the game chooses, the same expectations for each; run
// once for each (VELKARN_SOUND). SDL's plays on SDL's dummy driver (real time, no sound card) or its
// disk driver, which writes the mixed output (16-bit stereo) to a file: what would really be heard.
// PipeWire's plays through a private PipeWire server, whose null sink's monitor is recorded.
class SoundTest : public QObject
{
    Q_OBJECT

public:
#ifdef VELKARN_PIPEWIRE
    explicit SoundTest(const PrivateSoundServer *server = nullptr)
        : server_(server)
    {
    }
#endif

private:
    QTemporaryDir dir;
    QString Path(const QString &name) const
    {
        return dir.filePath(name);
    }
#ifdef VELKARN_PIPEWIRE
    const PrivateSoundServer *server_ = nullptr;
    std::optional<MonitorRecorder> recorder_;
    bool OnPipeWire() const
    {
        return server_ != nullptr;
    }
#else
    bool OnPipeWire() const
    {
        return false;
    }
#endif

    // Starts a handle and returns once its end has been reported (false if it never is).
    static bool PlaysToItsEnd(SoundComponent &sound, qint32 handle)
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
#ifdef VELKARN_PIPEWIRE
        if (OnPipeWire()) {
            recorder_.emplace(qgetenv("VELKARN_SINK"));
            QVERIFY(recorder_->waitUntilLinked());
        }
#endif
    }
    // A working device gives the component nothing to warn about.
    void init()
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        QTest::failOnWarning(QRegularExpression(".*"));
    }

    void aSoundThatOpensCutsTheLastOneAFailedOpenKeepsItAndIsReported()
    {
        const auto sound = chooseSoundComponent();
        const bool sdl = !OnPipeWire(); // SDL's mixer is seen from outside: what its channels play
        QStringList reports;
        SoundPlayer player(*sound, [&reports](const QString &text) { reports << text; });
        player.setCatalogue(SoundCatalogue(dir.path() + '/'));
        QVERIFY(player.play(Sound::Welcome, Side::Centre));
        QVERIFY(!player.play(Sound::Help, Side::Centre)); // it has no recording
        QCOMPARE(reports,
                 QStringList{"Kan ikke åpne lydfilen: " + cutForMessage(QDir::toNativeSeparators(Path("help.wav")))});
        QVERIFY(player.isPlaying() && (!sdl || Mix_Playing(-1) == 1));
        QVERIFY(player.play(Sound::Welcome, Side::Centre));
        QVERIFY(!sdl || Mix_Playing(-1) == 1);
        // The component itself plays several at once (SDL's fills the mixer's 8 channels, then adds more).
        qint32 more[8];
        for (qint32 &handle : more) {
            QVERIFY(!sdl || Mix_AllocateChannels(-1) == 8);
            QVERIFY(!sound->isPlaying(handle = sound->openWave(Path("welcome.wav")))); // opened, not started
            sound->startWave(handle);
        }
        QVERIFY(std::all_of(std::begin(more), std::end(more), [&](qint32 h) { return sound->isPlaying(h); }));
        QVERIFY(!sdl || (Mix_Playing(-1) == 9 && Mix_AllocateChannels(-1) == 16));
        sound->closeWave(more[0]);
        sound->startWave(more[0]); // a released handle plays no more
        QVERIFY(player.isPlaying() && !sound->isPlaying(more[0]) && sound->isPlaying(more[7]));
        QVERIFY(!sdl || Mix_Playing(-1) == 8);
        player.stopAll();
        QVERIFY(std::none_of(std::begin(more), std::end(more), [&](qint32 h) { return sound->isPlaying(h); }));
        QVERIFY(!player.isPlaying() && (!sdl || Mix_Playing(-1) == 0));
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
        const auto sound = chooseSoundComponent();
        // Refused or not, the file is left closed (under wine, /proc shows wine's own descriptors).
        const QString descriptors = QSysInfo::kernelType() == "linux" ? "/proc/self/fd" : "/nonexistent";
        const auto openFiles = [&] { return QDir(descriptors).entryList(QDir::AllEntries | QDir::System).size(); };
        const qsizetype before = openFiles();
        const qint32 handle = sound->openWave(path);
        QCOMPARE(handle > 0, plays);
        QCOMPARE(openFiles(), before);
        QVERIFY(!plays || PlaysToItsEnd(*sound, handle));
    }

    void aChangedFileIsOpenedAfreshNotFromMemory()
    {
        const auto sound = chooseSoundComponent();
        const QString path = Path("changing.wav");
        QVERIFY(WriteBytes(path, WaveBytes(100)) && sound->openWave(path) > 0);
        // Broken alike, but once only its time tells, once only its size.
        const QDateTime then = QFileInfo(path).lastModified();
        for (const auto &[bytes, time] :
             {std::pair(QByteArray(QFileInfo(path).size(), 'x'), then.addSecs(1)), {"broken", then}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) && file.flush()
                    && file.setFileTime(time, QFileDevice::FileModificationTime));
            file.close();
            QCOMPARE(sound->openWave(path), -1);
        }
    }

    void aStalledSoundIsGivenUpAndSilencedASecondAfterItsLength()
    {
        // Two seconds and more: the length at which a plain timer may fire early.
        QVERIFY(WriteBytes(Path("two.wav"), WaveBytes(2000)));
        const auto sound = chooseSoundComponent();
        const qint32 handle = sound->openWave(Path("two.wav"));
        sound->startWave(handle);
        Stall(true); // the sound never reaches its end
        QSignalSpy ended(sound.get(), &SoundComponent::playbackEnded);
        const bool givenUp = ended.wait(10000) && !sound->isPlaying(handle);
        Stall(false);
        QVERIFY(givenUp);
        QVERIFY(OnPipeWire() || Mix_Playing(-1) == 0); // SDL's channel given up on stays silent
    }

#ifdef Q_OS_UNIX
    void theSystemsRequestToEndStillEndsTheProgram()
    {
        // As in the program: nobody handles SIGINT or SIGTERM (the test runner's crash handlers go).
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        const auto sound = chooseSoundComponent();
        QVERIFY(sound->isOpen());
        QVERIFY(std::signal(SIGINT, SIG_DFL) == SIG_DFL && std::signal(SIGTERM, SIG_DFL) == SIG_DFL);
    }
#endif

    void withoutADeviceNothingOpens()
    {
        if (OnPipeWire())
            QSKIP("SDL's drivers; tst_pipewire has PipeWire's component without a server");
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
        if (OnPipeWire())
            QSKIP("the recordings, checked in SDL's run");
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
        // The first play after a stalled server may begin with the end of what the sink held then.
        static const Energy reference = (Heard(-1, 10, false), Heard(-1, 10, false));
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

    // Stops (stalled) or resumes whatever plays the mixed sound: SDL's mixer, or the PipeWire server.
    void Stall(bool stalled)
    {
#ifdef VELKARN_PIPEWIRE
        if (OnPipeWire()) {
            QVERIFY(server_->signal(QStringLiteral("pipewire"), stalled ? SIGSTOP : SIGCONT));
            return;
        }
#endif
        stalled ? Mix_Pause(-1) : Mix_Resume(-1);
    }

    // Plays the tone through the player as set, and sums the squares of each channel of what was
    // heard: on SDL's disk driver, or at PipeWire's sink.
    Energy Heard(qint16 pan, int volume, bool bothEars)
    {
        const QString output = Path("out.raw");
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
        std::vector<float> heard;
        {
            const auto sound = chooseSoundComponent();
            SoundPlayer player(*sound, [](const QString &text) { qWarning() << text; });
            player.setCatalogue(SoundCatalogue(dir.path() + '/'));
            player.setVolume(volume);
            player.setBothEars(bothEars);
            QSignalSpy ended(sound.get(), &SoundComponent::playbackEnded);
            const Side side = pan < 0 ? Side::Left : pan > 0 ? Side::Right : Side::Centre;
#ifdef VELKARN_PIPEWIRE
            if (OnPipeWire())
                recorder_->take();
#endif
            for (bool started = player.play(Sound::Number1, side); started && player.isPlaying();)
                started = ended.wait(5000);
#ifdef VELKARN_PIPEWIRE
            if (OnPipeWire())
                heard = recorder_->takeSound(); // before the stream goes
#endif
        }
        if (!OnPipeWire()) {
            QFile file(output);
            const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            const auto *samples = reinterpret_cast<const qint16 *>(bytes.constData());
            for (qsizetype i = 0; i < bytes.size() / 2; ++i)
                heard.push_back(samples[i] / 32768.0f);
        }
        Energy energy;
        for (size_t i = 0; i + 1 < heard.size(); i += 2) {
            energy.left += double(heard[i]) * heard[i];
            energy.right += double(heard[i + 1]) * heard[i + 1];
            energy.frames += heard[i] != 0 || heard[i + 1] != 0;
        }
        return energy;
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // SDL's component unless PipeWire's is asked for; never the developer's own sound server.
    if (qgetenv("VELKARN_SOUND") != "pipewire") {
        qputenv("VELKARN_SOUND", "sdl");
        SoundTest test;
        QTEST_SET_MAIN_SOURCE_PATH
        return QTest::qExec(&test, argc, argv);
    }
#ifdef VELKARN_PIPEWIRE
    const PrivateSoundServer server;
    if (!server.failure().isEmpty()) {
        std::printf("skipped: PipeWire cannot start here (%s)\n", qPrintable(server.failure()));
        return 77;
    }
    SoundTest test(&server);
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
#else
    std::printf("skipped: built without PipeWire\n");
    return 77;
#endif
}

#include "tst_sound.moc"
