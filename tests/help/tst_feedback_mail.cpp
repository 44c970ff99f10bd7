#include "help/FakeProgram.h"
#include "MessageAnswerer.h"

#include "help/FeedbackMail.h"
#include "help/HelpConfig.h"
#include "help/MailtoClient.h"
#include "info/AppInfo.h"

#include <QMainWindow>
#include <QTemporaryDir>
#include <QtTest>

class FeedbackMailTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void urlEncodesRecipientAndSubject();
    void opensTheMailProgramWithAddressAndSubject();
    void failingMailProgramChangesNothing();

private:
    QString Launcher() const { return bin_.filePath(QStringLiteral("xdg-open")); }
    QString Record() const { return root_.filePath(QStringLiteral("xdg-open-called")); }

    QTemporaryDir root_;
    QDir bin_;
    QByteArray savedPath_;
};

void FeedbackMailTest::initTestCase()
{
    QVERIFY(root_.isValid());
    // Qt hands URLs to "launcher URL" split at blanks, so this folder has none.
    bin_ = QDir(root_.filePath(QStringLiteral("bin")));
    QVERIFY(QDir().mkpath(bin_.path()));
    savedPath_ = qgetenv("PATH");
    // Qt finds xdg-open once and keeps it, so the same fake is rewritten for each case.
    qputenv("PATH", QFile::encodeName(bin_.path()) + ':' + savedPath_);
}

void FeedbackMailTest::cleanupTestCase()
{
    qputenv("PATH", savedPath_);
}

void FeedbackMailTest::init()
{
    QFile::remove(Record());
}

void FeedbackMailTest::urlEncodesRecipientAndSubject()
{
    QCOMPARE(help::MailtoUrl({"velkarn@example.org", "Velkarn versjon 1.0"}).toEncoded(),
             QByteArray("mailto:velkarn@example.org?subject=Velkarn%20versjon%201.0"));
    // Characters that would end or split the query, and non-ASCII text, are all encoded.
    QCOMPARE(help::MailtoUrl({"ola+spill@example.org", "Hei & ha=det+bra #1 på dør?"}).toEncoded(),
             QByteArray("mailto:ola%2Bspill@example.org?subject=Hei%20%26%20ha%3Ddet%2Bbra%20%231%20p%C3%A5%20d%C3%B8r%3F"));
}

void FeedbackMailTest::opensTheMailProgramWithAddressAndSubject()
{
    QVERIFY(WriteRecordingScript(Launcher(), Record()));
    SendFeedbackMail();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(Record()), 10000);

    const QString expected = QStringLiteral("mailto:%1?subject=Velkarn%20versjon%20%2.%3")
                                 .arg(QString::fromUtf8(HelpConfig::SupportMail))
                                 .arg(AppInfo::Major)
                                 .arg(AppInfo::Minor);
    QCOMPARE(expected, QStringLiteral("mailto:velkarn@example.org?subject=Velkarn%20versjon%201.0"));
    QCOMPARE(ReadRecord(Record()), (QStringList{Launcher(), expected}));
}

void FeedbackMailTest::failingMailProgramChangesNothing()
{
    QVERIFY(WriteRecordingScript(Launcher(), Record(), 1));
    QMainWindow game;
    game.setWindowTitle(QStringLiteral("Velkarn"));
    game.show();
    QVERIFY(QTest::qWaitForWindowExposed(&game));
    const QWidgetList before = QApplication::topLevelWidgets();
    MessageAnswerer boxes;

    SendFeedbackMail();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(Record()), 10000);
    QCoreApplication::processEvents();

    QCOMPARE(boxes.texts.size(), 0);
    QCOMPARE(QApplication::topLevelWidgets(), before);
    QVERIFY(game.isVisible());
    QCOMPARE(game.windowTitle(), QStringLiteral("Velkarn"));

    // Without any mail program at all the call is just as quiet.
    QVERIFY(QFile::remove(Launcher()));
    SendFeedbackMail();
    QCoreApplication::processEvents();
    QCOMPARE(boxes.texts.size(), 0);
    QVERIFY(game.isVisible());
}

int main(int argc, char** argv)
{
    // The offscreen platform cannot open URLs at all. The vnc platform is just as
    // headless and opens them the way the X11 and Wayland ones do, through the
    // desktop's handler: with no desktop named, that is xdg-open.
    qputenv("QT_QPA_PLATFORM", "vnc:size=640x480:port=0");
    for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
        qunsetenv(name);
    QApplication app(argc, argv);
    FeedbackMailTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_feedback_mail.moc"
