#include "FakeSoundComponent.h"
#include "sound/SoundPath.h"
#include "sound/SoundPlayer.h"

#include <QtTest>

class SoundPlayerTest : public QObject
{
    Q_OBJECT

private slots:
    void soundDirIsTheWaveFolderBesideTheProgram_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("expected");
        QTest::newRow("linux") << "/usr/games" << "/" << "/usr/games/wave/";
        QTest::newRow("linux root") << "/" << "/" << "/wave/";
        QTest::newRow("windows") << "C:\\Spill\\Velkarn" << "\\" << "C:\\Spill\\Velkarn\\wave\\";
        QTest::newRow("drive root") << "C:\\" << "\\" << "C:\\wave\\";
    }
    void soundDirIsTheWaveFolderBesideTheProgram()
    {
        QFETCH(QString, folder);
        QFETCH(QString, separator);
        QFETCH(QString, expected);
        QCOMPARE(SoundDirFor(folder, separator.at(0)), expected);
    }

    void aSoundThatOpensReplacesTheLastOneThatFailsIsReported()
    {
        FakeSoundComponent sound;
        QStringList reports;
        SoundPlayer player(sound, [&reports](const QString &text) { reports << text; });
        sound.missing = {"b.wav"};
        QVERIFY(player.Start("/w/a.wav", -7));
        const qint32 first = player.CurrentSound();
        QVERIFY(!player.Start("/w/b.wav", 0));
        QCOMPARE(player.CurrentSound(), first);
        QVERIFY(player.Start("/w/c.wav", 5));
        QVERIFY(player.CurrentSound() != first);
        // The new sound is opened before the old one is released; any side is full left or right.
        QCOMPARE(sound.log, (QStringList{"open a.wav", "start a.wav L", "fail b.wav", "open c.wav", "close a.wav",
                                         "start c.wav R"}));
        QCOMPARE(reports, QStringList{"Kan ikke åpne lydfilen: /w/b.wav"});
    }
};

QTEST_GUILESS_MAIN(SoundPlayerTest)
#include "tst_soundplayer.moc"
