// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeSoundComponent.h"
#include "MessageAnswerer.h"
#include "help/FakeProgram.h"

#include "gui/MainWindow.h"
#include "help/HelpConfig.h"

#include <QTemporaryDir>
#include <QtTest>

class FeedbackMailTest : public QObject
{
    Q_OBJECT

private slots:
    void opensTheMailProgramAndFailsQuietly();
};

// Hjelp → Send E-post hands the mailto: URL, percent-encoded, to the desktop's handler (a fake xdg-open
// first in PATH), which opens it or fails (exit 1): either way nothing is shown and the game goes on.
void FeedbackMailTest::opensTheMailProgramAndFailsQuietly()
{
    QTemporaryDir root; // Qt hands URLs to "launcher URL" split at blanks, so this folder has none
    const QString launcher = root.filePath(QStringLiteral("xdg-open")),
                  record = root.filePath(QStringLiteral("record"));
    const QStringList opened{
        launcher, "mailto:" + QString::fromUtf8(HelpConfig::SupportMail) + "?subject=Velkarn%20versjon%201.0"};
    qputenv("PATH", QFile::encodeName(root.path()) + ':' + qgetenv("PATH"));
    FakeSoundComponent sound;
    MainWindow game(sound);
    game.show();
    auto *mail = game.findChild<QAction *>("mailAction");
    const QWidgetList before = QApplication::topLevelWidgets();
    MessageAnswerer boxes;
    for (int exitCode : {0, 1}) { // Qt finds xdg-open once and keeps it, so the same fake is made to fail
        QVERIFY(root.isValid() && writeProgram(launcher, recordingScript(record, exitCode)));
        mail->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(readRecord(record), opened, 10000);
        QVERIFY(QFile::remove(record));
    }
    QCoreApplication::processEvents();
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(QApplication::topLevelWidgets(), before);
    QVERIFY(game.isVisible());
}

int main(int argc, char **argv)
{
    // The offscreen platform cannot open URLs at all. The vnc platform is just as headless and opens
    // them the way X11 and Wayland do, through the desktop's handler: with no desktop named, xdg-open.
    qputenv("QT_QPA_PLATFORM", "vnc:size=640x480:port=0");
    for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
        qunsetenv(name);
    QApplication app(argc, argv);
    FeedbackMailTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_feedback_mail.moc"
