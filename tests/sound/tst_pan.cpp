#include "WaveFile.h"
#include "sound/SdlSoundComponent.h"
#include "sound/SoundPlayer.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// What is really heard: SDL's disk driver writes the mixed output (16-bit stereo) to a file.
class PanTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    struct Energy {
        double left = 0;
        double right = 0;
        double Total() const { return left + right; }
    };

    // Plays the tone through the player as set, and sums the squares of each output channel.
    Energy Heard(qint16 pan, int volume, bool bothEars)
    {
        const QString output = dir.filePath(QStringLiteral("out.raw"));
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
        {
            SdlSoundComponent sound;
            SoundPlayer player(sound, [](const QString &text) { QFAIL(qPrintable(text)); });
            player.SetVolume(volume);
            player.SetBothEars(bothEars);
            QSignalSpy ended(&sound, &SoundComponent::PlaybackEnded);
            if (!player.Start(dir.filePath("tone.wav"), pan))
                return {};
            while (sound.IsPlaying(player.CurrentSound()) && ended.wait(5000)) {
            }
        }
        QFile file(output);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = file.readAll();
        Energy energy;
        const auto *samples = reinterpret_cast<const qint16 *>(bytes.constData());
        for (qsizetype i = 0; i + 1 < bytes.size() / 2; i += 2) {
            energy.left += double(samples[i]) * samples[i];
            energy.right += double(samples[i + 1]) * samples[i + 1];
        }
        return energy;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QVERIFY(WriteTone(dir.filePath("tone.wav"), 200));
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
        QTest::newRow("door 2: both, as loud") << 0 << 10 << false << 0.5 << 0.0 << 0.13;
        QTest::newRow("door 3: right ear only") << 1 << 10 << false << 0.0 << 0.0 << 0.05;
        QTest::newRow("door 1 in both ears") << -1 << 10 << true << 0.5 << 0.0 << 0.13;
        QTest::newRow("level 7: 9 dB softer") << 0 << 7 << false << 0.5 << -9.0 << 0.5;
        QTest::newRow("level 1: 27 dB softer") << 0 << 1 << false << 0.5 << -27.0 << 0.5;
        QTest::newRow("below level 1") << 0 << 0 << false << 0.5 << -27.0 << 0.5;
        QTest::newRow("above level 10") << 0 << 11 << false << 0.5 << 0.0 << 0.13;
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
        QVERIFY2(qAbs(heard.left / heard.Total() - leftShare) < 0.01, qPrintable(QString::number(heard.left / heard.Total())));
        const double measured = 10 * std::log10(heard.Total() / reference.Total());
        QVERIFY2(qAbs(measured - db) <= within, qPrintable(QString::number(measured)));
    }
};

QTEST_GUILESS_MAIN(PanTest)
#include "tst_pan.moc"
