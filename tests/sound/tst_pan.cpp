#include "WaveFile.h"
#include "sound/SdlSoundComponent.h"
#include "sound/SoundPlayer.h"

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

    // Plays a tone at pan through the player and sums the squares of each output channel.
    Energy Heard(qint16 pan)
    {
        const QString output = dir.filePath(QStringLiteral("out%1.raw").arg(pan + 1));
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
        {
            SdlSoundComponent sound;
            if (!sound.IsOpen())
                qWarning() << sound.OpenError();
            SoundPlayer player(sound, [](const QString &text) { qWarning() << text; });
            player.PlayWave(dir.filePath("tone.wav"), true, pan);
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
        QVERIFY(WriteTone(dir.filePath("tone.wav"), 300));
    }

    void doorsAreHeardWhereTheyStandAndEquallyLoud()
    {
        const Energy left = Heard(-1);
        const Energy centre = Heard(0);
        const Energy right = Heard(1);
        QVERIFY(left.left > 0 && right.right > 0 && centre.Total() > 0);

        QCOMPARE(left.right, 0.0);  // door 1: left ear only
        QCOMPARE(right.left, 0.0);  // door 3: right ear only
        QVERIFY(qAbs(centre.left - centre.right) < 0.01 * centre.Total());

        // The same loudness wherever the sound is placed.
        QVERIFY2(qAbs(centre.Total() / left.Total() - 1) < 0.03,
                 qPrintable(QString::number(centre.Total() / left.Total())));
        QVERIFY(qAbs(right.Total() / left.Total() - 1) < 0.01);
    }
};

QTEST_GUILESS_MAIN(PanTest)
#include "tst_pan.moc"
