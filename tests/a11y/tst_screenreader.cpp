// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeA11yBus.h"
#include "a11y/ScreenReader.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Mode = ScreenReader::Mode;

// Each test talks to a D-Bus session of its own, with nothing on it but the fake launcher.
class TestScreenReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void modeNames_data();
    void modeNames();
    void followsTheDesktop_data();
    void followsTheDesktop();
    void aChoiceOverridesTheDesktop_data();
    void aChoiceOverridesTheDesktop();
    void onlyTheScreenReadersInterfaceCounts();
    void aLauncherStartedLaterIsHeard();

private:
    QTemporaryDir dir_;
    QProcess bus_;
};

void TestScreenReader::initTestCase()
{
    // A bus that activates no service, so that the desktop's own launcher never answers instead.
    QFile config(dir_.filePath(QStringLiteral("session.conf")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                                "<auth>EXTERNAL</auth><policy context=\"default\">"
                                "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                                "<allow own=\"*\"/></policy></busconfig>")
                     .arg(dir_.path())
                     .toUtf8());
    config.close();
    bus_.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--nofork"), QStringLiteral("--print-address"), QStringLiteral("--config-file"),
                config.fileName()});
    if (!bus_.waitForStarted())
        QSKIP("dbus-daemon is not installed");
    QVERIFY(bus_.waitForReadyRead());
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus_.readLine().trimmed());
    QVERIFY(QDBusConnection::sessionBus().isConnected());
}

void TestScreenReader::cleanupTestCase()
{
    bus_.terminate();
    bus_.waitForFinished();
}

void TestScreenReader::modeNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("known");
    QTest::addColumn<Mode>("mode");
    QTest::newRow("auto") << "auto" << true << Mode::Automatic;
    QTest::newRow("on") << "on" << true << Mode::On;
    QTest::newRow("off") << "off" << true << Mode::Off;
    QTest::newRow("capitals") << "ON" << false << Mode::Automatic;
    QTest::newRow("empty") << "" << false << Mode::Automatic;
    QTest::newRow("other word") << "yes" << false << Mode::Automatic;
}

void TestScreenReader::modeNames()
{
    QFETCH(QString, name);
    QFETCH(bool, known);
    QFETCH(Mode, mode);
    const std::optional<Mode> parsed = ScreenReader::modeFromName(name);
    QCOMPARE(parsed.has_value(), known);
    if (known) {
        QCOMPARE(*parsed, mode);
        QCOMPARE(ScreenReader::modeName(mode), name); // written as it is read
    }
}

void TestScreenReader::followsTheDesktop_data()
{
    QTest::addColumn<bool>("atStart");
    QTest::newRow("off at the start, then on") << false;
    QTest::newRow("on at the start, then off") << true;
}

void TestScreenReader::followsTheDesktop()
{
    QFETCH(bool, atStart);
    FakeA11yBus desktop(atStart);
    QVERIFY(desktop.isRegistered());
    ScreenReader reader;
    QCOMPARE(reader.mode(), Mode::Automatic);
    QSignalSpy changes(&reader, &ScreenReader::activeChanged);
    if (atStart)
        QTRY_VERIFY(reader.isActive());
    // Switched while the game runs, once told as a new value, once only as no longer known.
    desktop.setScreenReaderEnabled(!atStart);
    QTRY_COMPARE(reader.isActive(), !atStart);
    desktop.invalidateScreenReaderEnabled(atStart);
    QTRY_COMPARE(reader.isActive(), atStart);
    QList<QVariant> told;
    for (const QList<QVariant> &change : changes)
        told << change.at(0);
    const QList<QVariant> expected = atStart ? QList<QVariant>{true, false, true} : QList<QVariant>{true, false};
    QCOMPARE(told, expected);
}

void TestScreenReader::aChoiceOverridesTheDesktop_data()
{
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<bool>("desktop");
    QTest::addColumn<bool>("active");
    QTest::newRow("on, none running") << Mode::On << false << true;
    QTest::newRow("on, one running") << Mode::On << true << true;
    QTest::newRow("off, one running") << Mode::Off << true << false;
    QTest::newRow("off, none running") << Mode::Off << false << false;
}

void TestScreenReader::aChoiceOverridesTheDesktop()
{
    QFETCH(Mode, mode);
    QFETCH(bool, desktop);
    QFETCH(bool, active);
    FakeA11yBus launcher(desktop);
    ScreenReader reader;
    ScreenReader witness; // left automatic: it hears the desktop when the reader would
    QTRY_COMPARE(reader.isActive(), desktop);
    QTRY_COMPARE(witness.isActive(), desktop);
    reader.setMode(mode);
    QCOMPARE(reader.mode(), mode);
    QCOMPARE(reader.isActive(), active);
    // The desktop's screen reader goes and comes back: the choice stays.
    QSignalSpy changes(&reader, &ScreenReader::activeChanged);
    QSignalSpy heard(&witness, &ScreenReader::activeChanged);
    launcher.setScreenReaderEnabled(!desktop);
    launcher.setScreenReaderEnabled(desktop);
    QTRY_COMPARE(heard.size(), 2);
    QCOMPARE(changes.size(), 0);
    QCOMPARE(reader.isActive(), active);
    // Back to automatic: the desktop's state again.
    reader.setMode(Mode::Automatic);
    QCOMPARE(reader.isActive(), desktop);
    QCOMPARE(changes.size(), active == desktop ? 0 : 1);
}

void TestScreenReader::onlyTheScreenReadersInterfaceCounts()
{
    FakeA11yBus desktop(false);
    ScreenReader reader;
    QSignalSpy changes(&reader, &ScreenReader::activeChanged);
    desktop.sayOnOtherInterface(true);
    desktop.setScreenReaderEnabled(false); // no change, and none from the other interface either
    desktop.setScreenReaderEnabled(true);
    QTRY_VERIFY(reader.isActive());
    QCOMPARE(changes.size(), 1);
}

void TestScreenReader::aLauncherStartedLaterIsHeard()
{
    // No launcher on the bus: no screen reader, and no fault.
    ScreenReader reader;
    QSignalSpy changes(&reader, &ScreenReader::activeChanged);
    QVERIFY(!reader.isActive());
    FakeA11yBus desktop(false);
    desktop.setScreenReaderEnabled(true);
    QTRY_VERIFY(reader.isActive());
    QCOMPARE(changes.size(), 1);
}

QTEST_GUILESS_MAIN(TestScreenReader)
#include "tst_screenreader.moc"
