// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeSoundComponent.h"
#include "i18n/Translations.h"
#include "record/RecordingDialog.h"
#include "record/RecordingSession.h"
#include "record/TakeCleaner.h"
#include "sound/SoundPlayer.h"
#include "sound/sdl/SdlSoundComponent.h"
#include "support/WaveFile.h"

#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <numbers>

// The teacher's own voice: takes cleaned, recorded from SDL's disk driver (which reads raw samples
// from SDL_DISKAUDIOFILEIN), kept per language, played by the game, restored, carried in a folder.
class RecordTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString Path(const QString &name) const { return dir.filePath(name); }

    // silenceMs of silence, a 440 Hz tone of toneMs at amplitude (clipped at full scale), silence again.
    static std::vector<qint16> Take(int silenceMs, int toneMs, double amplitude)
    {
        const auto at = [](int ms) { return size_t(ms) * TakeCleaner::Rate / 1000; };
        std::vector<qint16> take(at(silenceMs) * 2 + at(toneMs));
        for (size_t i = 0; i < at(toneMs); ++i) {
            const double value
                = amplitude * 32767 * std::sin(2 * std::numbers::pi * 440 * double(i) / TakeCleaner::Rate);
            take[at(silenceMs) + i] = qint16(std::clamp(value, -32767.0, 32767.0));
        }
        return take;
    }
    // Where the disk driver records from: the take as raw samples.
    void Speak(const std::vector<qint16> &take, const QString &input)
    {
        QVERIFY(WriteBytes(input, QByteArray(reinterpret_cast<const char *>(take.data()), qsizetype(take.size() * 2))));
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILEIN", QFile::encodeName(input));
        // As fast as the file reads: the path reads as a delay of 0 ms. Not "0": on Windows SDL 2.26
        // gives every variable in one shared buffer, and the delay, read second, would overwrite the path.
        qputenv("SDL_DISKAUDIODELAY", QFile::encodeName(input));
    }
    void Speak(const std::vector<qint16> &take) { Speak(take, Path("in.raw")); }
    static qint64 Ms(qsizetype samples) { return samples * 1000 / TakeCleaner::Rate; }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        for (const char *name : {"wave/welcome.wav", "wave/volume.wav", "wave/rooms_select.wav"})
            QVERIFY(QDir().mkpath(Path("wave")) && WriteBytes(Path(name), WaveBytes(100)));
    }

    void clean_data()
    {
        QTest::addColumn<std::vector<qint16>>("take");
        QTest::addColumn<qint64>("longestMs");
        QTest::addColumn<qint64>("expectedMs"); // -1: refused
        QTest::newRow("silence only, at the threshold")
            << std::vector<qint16>(48000, qint16(TakeCleaner::SilenceLevel)) << TakeCleaner::LongestPhraseMs << -1LL;
        QTest::newRow("tone in silence") << Take(400, 1000, 0.25) << TakeCleaner::LongestPhraseMs << 1000LL;
        QTest::newRow("clipped") << Take(100, 500, 3.0) << TakeCleaner::LongestPhraseMs << 500LL;
        QTest::newRow("phrase cut at 10 s") << Take(100, 12000, 0.5) << TakeCleaner::LongestPhraseMs << 10000LL;
        QTest::newRow("help cut at 60 s") << Take(100, 61000, 0.5) << TakeCleaner::LongestHelpMs << 60000LL;
        QTest::newRow("help of 30 s whole") << Take(100, 30000, 0.5) << TakeCleaner::LongestHelpMs << 30000LL;
    }
    void clean()
    {
        QFETCH(std::vector<qint16>, take);
        QFETCH(qint64, longestMs);
        QFETCH(qint64, expectedMs);
        const auto cleaned = TakeCleaner::clean(take, longestMs);
        QCOMPARE(cleaned.has_value(), expectedMs >= 0);
        if (!cleaned)
            return;
        const std::vector<qint16> &c = *cleaned;
        QVERIFY(std::abs(Ms(qsizetype(c.size())) - expectedMs) <= 1);
        QCOMPARE(TakeCleaner::peak(c), TakeCleaner::PeakLevel);
        // Faded: silent at both ends, at most half way up 2.5 ms in; full within 10 ms.
        const size_t half = TakeCleaner::Rate / 400;
        QCOMPARE(c.front(), 0);
        QCOMPARE(c.back(), 0);
        for (const size_t i : {half, c.size() - 1 - half})
            QVERIFY(std::abs(c[i]) <= TakeCleaner::PeakLevel / 2 + 1);
        QCOMPARE(TakeCleaner::peak(std::span(c).subspan(half * 4, TakeCleaner::Rate / 100)), TakeCleaner::PeakLevel);
    }

    // A take on the disk driver, through the game's own SDL component: a tone kept and then heard
    // in the game (on the disk driver's output), silence refused.
    void takeOnDisk_data()
    {
        QTest::addColumn<Sound>("sound");
        QTest::addColumn<std::vector<qint16>>("take");
        QTest::addColumn<qint64>("keptMs"); // 0: refused
        QTest::newRow("tone in silence") << Sound::Welcome << Take(300, 500, 0.3) << 500LL;
        QTest::newRow("silence") << Sound::Welcome << Take(300, 0, 0) << 0LL;
        QTest::newRow("help past 10 s") << Sound::Help << Take(300, 11000, 0.3) << 11000LL;
    }
    void takeOnDisk()
    {
        QFETCH(Sound, sound);
        QFETCH(std::vector<qint16>, take);
        QFETCH(qint64, keptMs);
        const QString output = Path("out.raw");
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
        qunsetenv("SDL_DISKAUDIODELAY");
        const RecordingStore store(Path(QTest::currentDataTag()));
        {
            SdlSoundComponent device;
            QVERIFY(device.isOpen());
            SoundPlayer player(device, [](const QString &text) { QFAIL(qPrintable(text)); });
            player.setCatalogue(SoundCatalogue(Path("wave/"), {}, store.folder("nb")));
            Speak(take); // the output's own pace above, the microphone's as fast as it reads
            RecordingSession session(store, player, device, "nb");
            QSignalSpy stopped(&session, &RecordingSession::recordingStopped),
                problem(&session, &RecordingSession::problem);
            session.record(sound);
            QVERIFY(stopped.wait(20000));
            QCOMPARE(problem.size(), keptMs > 0 ? 0 : 1);
            session.keep();
            QCOMPARE(store.has("nb", sound), keptMs > 0);
            if (keptMs == 0)
                return;
            QVERIFY(RecordingStore::isPlayable(store.path("nb", sound)));
            QVERIFY(std::abs(QFileInfo(store.path("nb", sound)).size() / 96 - keptMs) <= 2);
            if (keptMs > 1000)
                return; // not played: it would take as long
            QSignalSpy ended(&device, &SoundComponent::playbackEnded);
            for (bool playing = player.play(sound, Side::Centre); playing && player.isPlaying();)
                playing = ended.wait(5000);
        }
        // Heard at -3 dBFS, centred (180/255 in each ear): the teacher's take, not the built-in
        // tone at half the loudest.
        QFile file(output);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const int heard
            = TakeCleaner::peak({reinterpret_cast<const qint16 *>(bytes.constData()), size_t(bytes.size() / 2)});
        QVERIFY2(std::abs(heard - TakeCleaner::PeakLevel * 180 / 255) < 300, qPrintable(QString::number(heard)));
    }

    void noMicrophone_data()
    {
        QTest::addColumn<QByteArray>("driver");
        QTest::addColumn<QString>("why"); // said in the message, for whoever helps the teacher
        QTest::newRow("no audio driver") << QByteArray("nonexistent") << "nonexistent";
        QTest::newRow("silence only") << QByteArray("dummy") << "dummy";
        QTest::newRow("no capture device") << QByteArray("disk") << "no such file.raw"; // its input is missing
    }
    void noMicrophone()
    {
        QFETCH(QByteArray, driver);
        QFETCH(QString, why);
        qputenv("SDL_AUDIODRIVER", driver);
        qputenv("SDL_DISKAUDIOFILEIN", QFile::encodeName(Path("no such file.raw")));
        qunsetenv("SDL_DISKAUDIODELAY"); // Speak()'s would stand for the path on Windows
        FakeSoundComponent sound;
        sound.open = false; // no beep to wait for
        SoundPlayer player(sound, [](const QString &) {});
        const RecordingStore store(Path("none"));
        RecordingSession session(store, player, sound, "nb");
        const RecordingDialog dialog(session);
        QSignalSpy started(&session, &RecordingSession::recordingStarted),
            problem(&session, &RecordingSession::problem);
        session.record(Sound::Welcome);
        session.stop();
        QCOMPARE(started.size(), 0);
        QCOMPARE(problem.size(), 1);
        QVERIFY2(problem[0][0].toString().contains(why), qPrintable(problem[0][0].toString()));
        const auto *box = dialog.findChild<QMessageBox *>("recordingProblem"); // shown, read by a screen reader
        QVERIFY(box && box->isVisible() && box->text() == problem[0][0].toString());
        QVERIFY(!session.isRecording() && !QFileInfo::exists(store.folder("nb")));
    }

    // A microphone that gives nothing for 2 s mid-take (unplugged, or its driver hangs) is said once,
    // and nothing is kept. The disk driver gives nothing until its delay has passed.
    void microphoneFallsSilent()
    {
        QVERIFY(QDir::setCurrent(dir.path()));
        // A relative path, which Speak() also gives as the delay: read as 6000 ms.
        Speak(std::vector<qint16>(48000, 0x4040), QStringLiteral("6000.raw"));
        FakeSoundComponent sound;
        sound.open = false; // no beep to wait for
        SoundPlayer player(sound, [](const QString &) {});
        const RecordingStore store(Path("silent"));
        RecordingSession session(store, player, sound, "nb");
        QSignalSpy started(&session, &RecordingSession::recordingStarted),
            problem(&session, &RecordingSession::problem);
        session.record(Sound::Welcome);
        QCOMPARE(started.size(), 1);
        QVERIFY(problem.wait(30000));
        QVERIFY(!session.isRecording());
        session.keep();
        QCOMPARE(problem.size(), 1);
        QVERIFY(!store.has("nb", Sound::Welcome));
    }

    // What the game plays for the welcome: the teacher's, the built-in one once it is restored,
    // and the built-in one, said once, when the teacher's cannot be opened.
    void ownRecordingPlays_data()
    {
        QTest::addColumn<bool>("restored");
        QTest::addColumn<bool>("broken");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("own") << false << false
                             << QStringList{"start nb/welcome.wav C", "stop", "start nb/welcome.wav C"};
        QTest::newRow("restored") << true << false << QStringList{"start welcome.wav C", "stop", "start welcome.wav C"};
        QTest::newRow("broken") << false << true << QStringList{"start welcome.wav C", "stop", "start welcome.wav C"};
    }
    void ownRecordingPlays()
    {
        QFETCH(bool, restored);
        QFETCH(bool, broken);
        QFETCH(QStringList, heard);
        const RecordingStore store(Path("own"));
        QVERIFY(store.save("nb", Sound::Welcome, Take(0, 200, 0.5)).isEmpty());
        FakeSoundComponent sound;
        if (broken)
            sound.missing << "nb/welcome.wav";
        QStringList said;
        SoundPlayer player(sound, [&said](const QString &text) { said << text; });
        player.setCatalogue(SoundCatalogue(Path("wave/"), {}, store.folder("nb")));
        RecordingSession session(store, player, sound, "nb");
        if (restored)
            session.restore(Sound::Welcome);
        QVERIFY(player.play(Sound::Welcome, Side::Centre));
        session.listen(Sound::Welcome); // no take waits: what the game plays
        QCOMPARE(sound.log, heard);
        QCOMPARE(said.size(), broken ? 1 : 0);
        QCOMPARE(store.has("nb", Sound::Welcome), !restored);
    }

    // Keyboard alone: the second phrase chosen, recorded, stopped by itself, kept, restored.
    void dialogByKeyboard()
    {
        Speak(Take(200, 300, 0.4));
        FakeSoundComponent sound;
        SoundPlayer player(sound, [](const QString &) {});
        player.setCatalogue(SoundCatalogue(Path("wave/")));
        const RecordingStore store(Path("keys"));
        RecordingSession session(store, player, sound, "nb");
        RecordingDialog dialog(session);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        const auto press = [&](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
        const auto focus = [] { return QApplication::focusWidget()->objectName(); };
        const auto enabled = [&](const char *name) { return dialog.findChild<QPushButton *>(name)->isEnabled(); };
        QVERIFY(!enabled("keepButton") && !enabled("restoreButton") && !enabled("stopButton"));
        const auto *list = dialog.findChild<QListWidget *>("phraseList");
        QCOMPARE(list->item(4)->text(), "3: tre (innebygd stemme)");          // a number, as the child hears it
        QCOMPARE(dialog.findChild<QProgressBar *>("levelMeter")->value(), 0); // empty, not undefined
        dialog.findChild<QListWidget *>("phraseList")->setFocus();
        press(Qt::Key_Down);
        press(Qt::Key_Tab);
        QCOMPARE(focus(), "recordButton");
        QSignalSpy ready(&session, &RecordingSession::takeReady), level(&session, &RecordingSession::levelChanged);
        press(Qt::Key_Space);
        QCOMPARE(sound.log.last(), "start volume.wav C"); // the beep, before the take
        QCOMPARE(focus(), "recordButton");
        sound.step();
        QCOMPARE(focus(), "stopButton");
        QVERIFY(ready.wait(20000));
        int loudest = 0; // the meter showed the voice: 0.4 of full scale
        for (const QList<QVariant> &shown : level)
            loudest = std::max(loudest, shown[0].toInt());
        QCOMPARE(loudest, 39);
        QCOMPARE(focus(), "listenButton");
        press(Qt::Key_Space);
        QVERIFY(sound.log.last().endsWith("/take.wav C")); // the take, not the built-in recording
        press(Qt::Key_Tab);
        QCOMPARE(focus(), "keepButton");
        press(Qt::Key_Space);
        QVERIFY(store.has("nb", Sound::ChooseRoomCount));
        QVERIFY(list->item(1)->text().endsWith("(egen innspilling)"));
        dialog.findChild<QPushButton *>("restoreButton")->setFocus();
        press(Qt::Key_Space);
        QVERIFY(!store.has("nb", Sound::ChooseRoomCount));
    }

    void accessibleNames()
    {
        FakeSoundComponent sound;
        SoundPlayer player(sound, [](const QString &) {});
        const RecordingStore store(Path("names"));
        RecordingSession session(store, player, sound, "nb");
        QStringList names[2];
        Translations translations;
        for (int language = 0; language < 2; ++language) {
            QVERIFY(translations.use(Translations::available().at(language)));
            RecordingDialog dialog(session);
            for (const QWidget *control : dialog.findChildren<QWidget *>()) {
                if (control->focusPolicy() == Qt::NoFocus && !qobject_cast<const QProgressBar *>(control))
                    continue;
                QVERIFY2(!control->objectName().isEmpty() && !control->accessibleName().isEmpty(),
                         control->metaObject()->className());
                names[language] << control->accessibleName();
            }
        }
        QCOMPARE(names[0].size(), 10); // the list, eight buttons, the level
        for (int i = 0; i < names[0].size(); ++i)
            QVERIFY2(names[0][i] != names[1][i], qPrintable(names[0][i]));
    }

    // Exported, then imported into another user's empty folder: the same files. A file that is
    // not a playable recording of a phrase is refused by its name; the others come in.
    void exportImport_data()
    {
        QTest::addColumn<QString>("bad");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("none") << QString() << QByteArray();
        QTest::newRow("text") << "of.wav" << QByteArray("not a sound\n");
        QTest::newRow("cut off") << "of.wav" << WaveBytes(100).left(44);
        QTest::newRow("no phrase") << "song.wav" << WaveBytes(100);
        QTest::newRow("an effect") << "volume.wav" << WaveBytes(100);
    }
    void exportImport()
    {
        QFETCH(QString, bad);
        QFETCH(QByteArray, bytes);
        const QTemporaryDir folder, other;
        const RecordingStore mine(Path("mine")), theirs(other.path());
        for (const Sound sound : {Sound::Help, Sound::Number20})
            QVERIFY(mine.save("en", sound, Take(10, 100, 0.5)).isEmpty());
        QVERIFY(mine.exportTo("en", folder.path()).isEmpty());
        if (!bad.isEmpty())
            QVERIFY(WriteBytes(folder.filePath(bad), bytes));
        FakeSoundComponent sound;
        SoundPlayer player(sound, [](const QString &) {});
        RecordingSession session(theirs, player, sound, "en");
        QSignalSpy problem(&session, &RecordingSession::problem),
            changed(&session, &RecordingSession::recordingsChanged);
        session.importFrom(folder.path());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(problem.size(), bad.isEmpty() ? 0 : 1); // naming the file refused, and that one alone
        QVERIFY(bad.isEmpty() || problem[0][0].toString().endsWith(": " + bad));
        QCOMPARE(QDir(theirs.folder("en")).entryList(QDir::Files), QDir(mine.folder("en")).entryList(QDir::Files));
        for (const Sound sound : {Sound::Help, Sound::Number20}) {
            QFile a(mine.path("en", sound)), b(theirs.path("en", sound));
            QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
            QCOMPARE(a.readAll(), b.readAll());
        }
    }
};

QTEST_MAIN(RecordTest)
#include "tst_record.moc"
