#include "help/FakeProgram.h"
#include "MessageAnswerer.h"

#include "help/FeedbackMail.h"
#include "help/MailtoClient.h"

#include <QTemporaryDir>
#include <QtTest>

class FeedbackMailTest : public QObject {
    Q_OBJECT

private slots:
    void opensTheMailProgramAndFailsQuietly();
};

// The exact mailto: URL, percent-encoded, reaches the desktop's handler (a fake xdg-open first in PATH);
// one that fails (exit 1) or is missing shows nothing and leaves the game's window as it was.
void FeedbackMailTest::opensTheMailProgramAndFailsQuietly()
{
    QTemporaryDir root; // Qt hands URLs to "launcher URL" split at blanks, so this folder has none
    const QString launcher = root.filePath(QStringLiteral("xdg-open")), record = root.filePath(QStringLiteral("record"));
    qputenv("PATH", QFile::encodeName(root.path()) + ':' + qgetenv("PATH"));
    QWidget game;
    game.show();
    const QWidgetList before = QApplication::topLevelWidgets();
    MessageAnswerer boxes;

    QVERIFY(root.isValid() && WriteProgram(launcher, RecordingScript(record)));
    SendFeedbackMail();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    QCOMPARE(ReadRecord(record), (QStringList{launcher, "mailto:velkarn@example.org?subject=Velkarn%20versjon%201.0"}));
    QCOMPARE(help::MailtoUrl({"ola+spill@example.org", "Hei & ha=det+bra #1 på dør?"}).toEncoded(),
             QByteArray("mailto:ola%2Bspill@example.org?subject=Hei%20%26%20ha%3Ddet%2Bbra%20%231%20p%C3%A5%20d%C3%B8r%3F"));

    // Qt finds xdg-open once and keeps it, so the same fake is made to fail, then removed.
    QVERIFY(QFile::remove(record) && WriteProgram(launcher, RecordingScript(record, 1)));
    SendFeedbackMail();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    QVERIFY(QFile::remove(launcher));
    SendFeedbackMail();
    QCoreApplication::processEvents();
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(QApplication::topLevelWidgets(), before);
    QVERIFY(game.isVisible());
}

int main(int argc, char** argv)
{
    // The offscreen platform cannot open URLs at all. The vnc platform is just as headless and opens
    // them the way X11 and Wayland do, through the desktop's handler: with no desktop named, xdg-open.
    qputenv("QT_QPA_PLATFORM", "vnc:size=640x480:port=0");
    for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
        qunsetenv(name);
    QApplication app(argc, argv);
    FeedbackMailTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_feedback_mail.moc"
