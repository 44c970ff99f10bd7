// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/SettingsStore.h"
#include "support/WaveFile.h"

#include <QtTest>

// The settings file as the game finds it at start, and what a change then does to it.
class SettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void onlyARegularFileIsReadAndReplaced_data()
    {
        QTest::addColumn<QString>("kind"); // what stands in the file's place, maybe through a link
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("volume"); // as read at start
        const QByteArray kept("[sound]\nvolume=-600\nbothEars=true\n");
        QTest::newRow("none") << "none" << QByteArray() << 10;
        QTest::newRow("kept") << "file" << kept << -600;
        QTest::newRow("kept, linked") << "link to file" << kept << -600;
        QTest::newRow("garbage") << "file" << QByteArray("\xff\xfe[sound\0volume=\x80\n=", 18) << 10;
        QTest::newRow("huge") << "file" << kept + QByteArray(64 * 1024, ';') << 10;
        QTest::newRow("fifo") << "fifo" << QByteArray() << 10;
        QTest::newRow("fifo, linked") << "link to fifo" << QByteArray() << 10;
        QTest::newRow("folder") << "folder" << QByteArray() << 10;
    }
    void onlyARegularFileIsReadAndReplaced()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, text);
        QFETCH(int, volume);
        const QTemporaryDir config;
        const QString file = config.filePath(QStringLiteral("velkarn.ini"));
        const QString target = kind.startsWith("link") ? config.filePath(QStringLiteral("elsewhere")) : file;
        QVERIFY(!kind.endsWith("file") || WriteBytes(target, text));
        QVERIFY(!kind.endsWith("fifo") || QProcess::execute("mkfifo", {target}) == 0);
        QVERIFY(kind != "folder" || QDir().mkdir(target));
        QVERIFY(target == file || QFile::link(target, file));

        auto store = std::make_unique<SettingsStore>(file);
        QCOMPARE(store->settings().volume, volume);
        store->keep({-300, false, {}, {}});
        store->keep({-900, true, QStringLiteral("en"), QStringLiteral("on")}); // a burst: the last is kept
        store.reset();

        const bool written = kind == "none" || kind.endsWith("file");
        QCOMPARE(QFileInfo(file).isSymLink(), target != file);
        QCOMPARE(QFileInfo(target).isFile(), written); // a FIFO or a folder is still there
        QCOMPARE(SettingsStore(file).settings().volume, written ? -900 : 10);
        QCOMPARE(SettingsStore(file).settings().language, written ? "en" : "");
        QCOMPARE(SettingsStore(file).settings().screenReader, written ? "on" : "");
        QVERIFY(!written || QFileInfo(target).size() < 200); // fresh, not the huge one
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
