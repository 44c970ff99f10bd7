#include "help/FakeProgram.h"
#include "MessageAnswerer.h"

#include "help/HelpConfig.h"
#include "help/frmAbout.h"
#include "info/AppInfo.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class AboutDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void showsItsTextsPlainAndNamed();
    void tabEscapeAndEnter();
    void systeminfoStartsTheFirstKnownViewerOrSaysThereIsNone();

private:
    QString File(const QString& name) const { return root_.filePath(name); }
    QPushButton* Button(const char* name) const { return dialog_->findChild<QPushButton*>(QLatin1String(name)); }
    void Press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    bool ShowActive()
    {
        dialog_->show();
        dialog_->activateWindow();
        return QTest::qWaitForWindowActive(dialog_.get());
    }

    QTemporaryDir root_;
    std::unique_ptr<MessageAnswerer> boxes_;
    std::unique_ptr<frmAbout> dialog_;
};

void AboutDialogTest::init()
{
    // Only the test's folder is searched, so viewers on this machine are never found; a shell misreading
    // a path would create its files in the current folder, the test's own too.
    QVERIFY(root_.isValid() && QDir::setCurrent(root_.path()));
    qputenv("PATH", QFile::encodeName(root_.path()));
    boxes_ = std::make_unique<MessageAnswerer>();
    dialog_ = std::make_unique<frmAbout>();
    QVERIFY(ShowActive());
}

// Caption and texts (version from the project, address and notice from the distributor's settings),
// every label plain text, every control named for a screen reader, and a fixed size.
void AboutDialogTest::showsItsTextsPlainAndNamed()
{
    const auto text = [&](const char* name) { return dialog_->findChild<QLabel*>(QLatin1String(name))->text(); };
    QCOMPARE(dialog_->windowTitle(), QStringLiteral("Om Velkarn"));
    QCOMPARE(text("lblTitle"), QStringLiteral("Velkarn"));
    const QString version = QStringLiteral("%1.%2.%3").arg(AppInfo::Major).arg(AppInfo::Minor).arg(AppInfo::Revision);
    QCOMPARE(version, QStringLiteral("1.0.0"));
    QCOMPARE(text("lblVersion"), "Versjon : " + version);
    QCOMPARE(text("lblAddress").split(u'\n'), (QStringList{QString::fromUtf8(HelpConfig::MakerName),
             QString::fromUtf8(HelpConfig::MakerStreet), QString::fromUtf8(HelpConfig::MakerTown),
             "Telefon : " + QString::fromUtf8(HelpConfig::MakerPhone)}));
    QCOMPARE(text("lblMessage"), QString::fromUtf8(HelpConfig::Notice));
    QCOMPARE(Button("cmdOK")->text(), QStringLiteral("&Ok"));
    QCOMPARE(Button("cmdSysInfo")->text(), QStringLiteral("&Systeminfo..."));

    const QList<QWidget*> controls = dialog_->findChildren<QWidget*>();
    QCOMPARE(controls.size(), 6);
    for (QWidget* control : controls) {
        const QString name = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty() && !name.contains(u'&'), qPrintable(control->objectName()));
        if (const auto* label = qobject_cast<QLabel*>(control))
            QCOMPARE(label->textFormat(), Qt::PlainText);
    }
    QCOMPARE(dialog_->minimumSize(), dialog_->maximumSize());
    QVERIFY(!(dialog_->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
}

// Tab goes OK → Systeminfo → OK; Enter on OK accepts and closes; Esc closes from Systeminfo too.
void AboutDialogTest::tabEscapeAndEnter()
{
    QCOMPARE(QApplication::focusWidget(), Button("cmdOK"));
    Press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Button("cmdSysInfo"));
    Press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Button("cmdOK"));
    Press(Qt::Key_Return);
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));

    QVERIFY(ShowActive());
    Button("cmdSysInfo")->setFocus();
    Press(Qt::Key_Escape);
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(dialog_->result(), int(QDialog::Rejected));
}

// Systeminfo starts the first known viewer in PATH (list order beats PATH order) by its exact path with
// no shell between; with none, or one that cannot start, it says so (OK only, titled Velkarn). It stays open.
void AboutDialogTest::systeminfoStartsTheFirstKnownViewerOrSaysThereIsNone()
{
#ifdef Q_OS_WIN
    QSKIP("the fake viewers are shell scripts; help_windows_under_wine checks the Windows side");
#endif
    const QString awkward = File("my viewers $(touch injected) 'q\" `touch injected`"); // a shell would split and run it
    const QString later = File("later"), started = File("started");
    for (const QString& viewer : {awkward + "/kinfocenter", later + "/hardinfo"})
        QVERIFY(QDir().mkpath(QFileInfo(viewer).path()) && WriteProgram(viewer, RecordingScript(started)));
    qputenv("PATH", QFile::encodeName(awkward + u':' + later));

    Press(Qt::Key_Tab);
    Press(Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(started), 10000);
    QCOMPARE(ReadRecord(started), QStringList{later + "/hardinfo"});
    // With that one gone, the next is started from the awkward folder as it is.
    QVERIFY(QFile::remove(later + "/hardinfo") && QFile::remove(started));
    QTest::mouseClick(Button("cmdSysInfo"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(started), 10000);
    QCOMPARE(ReadRecord(started), QStringList{awkward + "/kinfocenter"});
    QVERIFY(!QFile::exists(File("injected")));
    QCOMPARE(boxes_->texts, QStringList());

    QVERIFY(QFile::remove(awkward + "/kinfocenter"));
    dialog_->StartSysInfo();
    QVERIFY(WriteProgram(later + "/hardinfo", "#!/nonexistent/interpreter\n"));
    dialog_->StartSysInfo();
    QCOMPARE(boxes_->texts, QStringList(2, QStringLiteral("System Information Is Unavailable At This Time")));
    QCOMPARE(boxes_->titles, QStringList(2, QStringLiteral("Velkarn")));
    QCOMPARE(boxes_->buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(dialog_->isVisible());
}

QTEST_MAIN(AboutDialogTest)
#include "tst_about.moc"
