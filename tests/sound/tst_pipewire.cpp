// SPDX-License-Identifier: GPL-3.0-or-later
// What only the PipeWire component does, through a private PipeWire server: it is chosen where such a
// server answers, the desktop lists it as the game, it rests while silent and wakes for the next
// sound, and a server that goes away is said once while the game goes on silently.
#include "info/AppInfo.h"
#include "sound/ChooseSoundComponent.h"
#include "sound/SoundPlayer.h"
#include "sound/pipewire/PipeWireSoundComponent.h"
#include "sound/pipewire/VoiceMixer.h"
#include "support/MonitorRecorder.h"
#include "support/PrivateSoundServer.h"
#include "support/WaveFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <optional>

class PipeWireTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString Path(const QString &name) const { return dir.filePath(name); }

    // The server's own description of the game's stream: its properties and state ("idle", "running").
    static QJsonObject GameNode()
    {
        QProcess dump;
        dump.start(QStringLiteral("pw-dump"), {});
        dump.waitForFinished(30000);
        const QJsonArray objects = QJsonDocument::fromJson(dump.readAllStandardOutput()).array();
        for (const QJsonValue &object : objects) {
            const QJsonObject info = object[QStringLiteral("info")].toObject();
            if (object[QStringLiteral("type")] == QStringLiteral("PipeWire:Interface:Node")
                && info[QStringLiteral("props")][QStringLiteral("node.name")] == QStringLiteral("velkarn"))
                return info;
        }
        return {};
    }
    static bool Running() { return GameNode()[QStringLiteral("state")] == QStringLiteral("running"); }
    // Waits (up to a minute) until the game's stream runs, or rests ("idle", later "suspended").
    static bool Becomes(bool running)
    {
        const QDeadlineTimer limit(60000);
        while (Running() != running && !limit.hasExpired())
            QTest::qWait(100);
        return Running() == running;
    }
    static double Energy(const std::vector<float> &samples)
    {
        double sum = 0;
        for (float sample : samples)
            sum += double(sample) * sample;
        return sum;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QVERIFY(WriteBytes(Path("short.wav"), WaveBytes(100)) && WriteBytes(Path("long.wav"), WaveBytes(3000)));
    }
    void init() { QTest::failOnWarning(QRegularExpression(".*")); }

    void theComponentIsChosenByWhatAnswers_data()
    {
        QTest::addColumn<QString>("server"); // "", "none" (nothing answers), "no output"
        QTest::addColumn<QByteArray>("wanted");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("open");
        QTest::newRow("a server with an output") << "" << QByteArray() << "PipeWireSoundComponent" << true;
        QTest::newRow("SDL asked for") << "" << QByteArray("sdl") << "SdlSoundComponent" << true;
        QTest::newRow("something else asked for") << "" << QByteArray("alsa") << "PipeWireSoundComponent" << true;
        QTest::newRow("no server") << "none" << QByteArray() << "SdlSoundComponent" << true;
        QTest::newRow("no server, PipeWire asked for")
            << "none" << QByteArray("pipewire") << "PipeWireSoundComponent" << false;
        QTest::newRow("a server for video only") << "no output" << QByteArray() << "SdlSoundComponent" << true;
    }
    void theComponentIsChosenByWhatAnswers()
    {
        QFETCH(QString, server);
        QFETCH(QByteArray, wanted);
        QFETCH(QString, chosen);
        QFETCH(bool, open);
        std::optional<PrivateSoundServer> videoOnly;
        if (server == "no output") {
            videoOnly.emplace(QStringLiteral("-"));
            QVERIFY2(videoOnly->failure().isEmpty(), qPrintable(videoOnly->failure()));
        }
        const QTemporaryDir nothing; // a runtime folder where no server listens
        const QByteArray runtime = qgetenv("PIPEWIRE_RUNTIME_DIR");
        if (server == "none")
            qputenv("PIPEWIRE_RUNTIME_DIR", QFile::encodeName(nothing.path()));
        if (wanted == "alsa")
            QTest::ignoreMessage(QtWarningMsg, "VELKARN_SOUND=alsa is neither pipewire nor sdl: ignored");
        qputenv("VELKARN_SOUND", wanted);
        const std::unique_ptr<SoundComponent> sound = chooseSoundComponent();
        qunsetenv("VELKARN_SOUND");
        qputenv("PIPEWIRE_RUNTIME_DIR", runtime);
        QCOMPARE(sound->metaObject()->className(), chosen);
        QCOMPARE(sound->isOpen(), open);
        QCOMPARE(sound->openWave(Path("short.wav")) > 0, open);
        if (!open)
            QVERIFY(!static_cast<PipeWireSoundComponent &>(*sound).openError().isEmpty());
    }

    void theDesktopListsTheStreamAsTheGame()
    {
        const PipeWireSoundComponent sound;
        QVERIFY(sound.isOpen());
        const QJsonObject props = GameNode()[QStringLiteral("props")].toObject();
        QCOMPARE(props["application.name"].toString(), QString::fromUtf8(AppInfo::Title));
        QCOMPARE(props["application.icon-name"].toString(), QString::fromUtf8(AppInfo::Id));
        QCOMPARE(props["media.role"].toString(), "Game");
        QCOMPARE(props["media.class"].toString(), "Stream/Output/Audio");
        QCOMPARE(props["node.latency"].toString(), "128/48000");
        // Offered at the recordings' own rate, so that a server at another rate converts them.
        const QJsonObject format = GameNode()[QStringLiteral("params")][QStringLiteral("EnumFormat")][0].toObject();
        QCOMPARE(QStringLiteral("%1 Hz, %2 channels").arg(format["rate"].toInt()).arg(format["channels"].toInt()),
                 "48000 Hz, 2 channels");
    }

    void itRestsWhileSilentAndWakesForTheNextSound()
    {
        MonitorRecorder recorder(qgetenv("VELKARN_SINK"));
        QVERIFY(recorder.waitUntilLinked());
        PipeWireSoundComponent sound;
        QVERIFY(!GameNode().isEmpty() && !Running()); // nothing played yet
        const qint32 handle = sound.openWave(Path("long.wav"));
        sound.startWave(handle);
        QVERIFY(Becomes(true));
        QSignalSpy ended(&sound, &SoundComponent::playbackEnded);
        sound.stopAll();
        QVERIFY(ended.wait() && !sound.isPlaying(handle));
        QVERIFY(Energy(recorder.takeSound()) > 0);
        QVERIFY(Becomes(false));
        // Woken by the next sound, which is heard.
        const qint32 next = sound.openWave(Path("short.wav"));
        sound.startWave(next);
        QVERIFY(sound.isPlaying(next));
        QVERIFY(Energy(recorder.takeSound()) > 0);
        QVERIFY(!sound.isPlaying(next));
        QVERIFY(Becomes(false));
    }

    // The mixer, alone: each sound played to its end is counted once, and idle voices never.
    void theMixerCountsEachEndedSoundOnce()
    {
        VoiceMixer mixer;
        const auto sound
            = [](quint32 frames) { return std::make_shared<const Pcm>(Pcm{std::vector<qint16>(frames * 2)}); };
        QCOMPARE(mixer.collectEnded(), 0);
        mixer.start(sound(10), 1, 1);
        mixer.start(sound(20), 1, 1);
        std::vector<float> out(2 * 10);
        QStringList counted; // after each pass of 10 frames: the count, then the count again
        for (int pass = 0; pass < 3; ++pass) {
            mixer.mix(out.data(), 10);
            counted << QStringLiteral("%1 %2").arg(mixer.collectEnded()).arg(mixer.collectEnded());
        }
        QCOMPARE(counted, QStringList({"1 0", "1 0", "0 0"}));
    }

    void aServerThatGoesAwayIsSaidOnceAndTheGameGoesOnSilently_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("killed") << int(SIGKILL);
        QTest::newRow("ended") << int(SIGTERM);
    }
    void aServerThatGoesAwayIsSaidOnceAndTheGameGoesOnSilently()
    {
        QFETCH(int, signal);
        PrivateSoundServer own; // this test's own, to end
        QVERIFY2(own.failure().isEmpty(), qPrintable(own.failure()));
        QStringList reports;
        auto sound = std::make_unique<PipeWireSoundComponent>();
        SoundPlayer player(*sound, [&reports](const QString &text) { reports << text; });
        player.setCatalogue(SoundCatalogue(dir.path() + '/'));
        QVERIFY(WriteBytes(Path("welcome.wav"), WaveBytes(3000)));
        QVERIFY(player.play(Sound::Welcome, Side::Centre));
        QSignalSpy lost(sound.get(), &SoundComponent::deviceLost);
        QSignalSpy ended(&player, &SoundPlayer::soundEnded);
        QVERIFY(own.signal(QStringLiteral("pipewire"), signal));
        QVERIFY(lost.wait(60000));
        QVERIFY(ended.count() > 0 && !player.isPlaying() && !sound->isOpen());
        QCOMPARE(reports, QStringList{"Lydenheten forsvant. Velkarn går videre uten lyd."});
        // Silent from now on, and not said again.
        QVERIFY(!player.play(Sound::Welcome, Side::Left));
        QCOMPARE(sound->openWave(Path("short.wav")), -1);
        sound->stopAll();
        sound->setVolume(-300);
        QCOMPARE(reports.size(), 1);
        QCOMPARE(lost.count(), 1);
        sound.reset(); // and it closes: a hang would be the test's time limit
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    PrivateSoundServer server;
    if (!server.failure().isEmpty()) {
        std::printf("skipped: PipeWire cannot start here (%s)\n", qPrintable(server.failure()));
        return 77;
    }
    PipeWireTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pipewire.moc"
