#include "help/FakeProgram.h"
#include "MessageAnswerer.h"

#include "help/HelpConfig.h"
#include "help/frmAbout.h"
#include "info/AppInfo.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

const QString Unavailable = QStringLiteral("System Information Is Unavailable At This Time");

template <typename T>
T* Control(const frmAbout& dialog, const char* name)
{
    return dialog.findChild<T*>(QString::fromLatin1(name));
}

int Pixels(const QWidget& widget, int twips)
{
    return static_cast<int>(std::lround(twips * widget.screen()->logicalDotsPerInch() / 1440.0));
}

} // namespace

class AboutDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsTitleVersionAddressAndNotice();
    void everyControlHasAnAccessibleName();
    void isAFixedDialogSizedInTwips();
    void tabMovesBetweenTheTwoButtons();
    void escapeAndEnterCloseTheDialog();
    void startsTheFirstKnownViewerByItsExactPath();
    void saysWhenNoViewerIsInstalled();
    void saysWhenTheViewerCannotStart();

private:
    // Puts a fake viewer called name into binDir that records its start into started().
    void InstallViewer(const QString& binDir, const QString& name);
    QString started() const { return root_->filePath(QStringLiteral("started")); }
    void ShowActive(frmAbout& dialog);

    std::unique_ptr<QTemporaryDir> root_;
    QByteArray savedPath_;
    QString savedCurrent_;
};

void AboutDialogTest::init()
{
    root_ = std::make_unique<QTemporaryDir>();
    QVERIFY(root_->isValid());
    savedPath_ = qgetenv("PATH");
    savedCurrent_ = QDir::currentPath();
    // Only the test's own folder is searched, so viewers on this machine are never found.
    const QString empty = root_->filePath(QStringLiteral("empty"));
    QVERIFY(QDir().mkpath(empty));
    qputenv("PATH", QFile::encodeName(empty));
    QVERIFY(QDir::setCurrent(root_->path()));
}

void AboutDialogTest::cleanup()
{
    QDir::setCurrent(savedCurrent_);
    qputenv("PATH", savedPath_);
    root_.reset();
}

void AboutDialogTest::InstallViewer(const QString& binDir, const QString& name)
{
#ifdef Q_OS_WIN
    QSKIP("the fake viewers are shell scripts; help_windows_under_wine checks the Windows launcher");
#endif
    QVERIFY(QDir().mkpath(binDir));
    QVERIFY(WriteRecordingScript(QDir(binDir).filePath(name), started()));
}

void AboutDialogTest::ShowActive(frmAbout& dialog)
{
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

void AboutDialogTest::showsTitleVersionAddressAndNotice()
{
    frmAbout dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Om Velkarn"));
    QCOMPARE(Control<QLabel>(dialog, "lblTitle")->text(), QStringLiteral("Velkarn"));

    const QString version = QStringLiteral("%1.%2.%3").arg(AppInfo::Major).arg(AppInfo::Minor).arg(AppInfo::Revision);
    QCOMPARE(Control<QLabel>(dialog, "lblVersion")->text(), QStringLiteral("Versjon : ") + version);
    QCOMPARE(version, QStringLiteral("1.0.0"));

    const QStringList address = Control<QLabel>(dialog, "lblAddress")->text().split(u'\n');
    QCOMPARE(address, (QStringList{QString::fromUtf8(HelpConfig::MakerName),
                                   QString::fromUtf8(HelpConfig::MakerStreet),
                                   QString::fromUtf8(HelpConfig::MakerTown),
                                   QStringLiteral("Telefon : ") + QString::fromUtf8(HelpConfig::MakerPhone)}));
    QCOMPARE(Control<QLabel>(dialog, "lblMessage")->text(), QString::fromUtf8(HelpConfig::Notice));
    QCOMPARE(Control<QPushButton>(dialog, "cmdOK")->text(), QStringLiteral("&Ok"));
    QCOMPARE(Control<QPushButton>(dialog, "cmdSysInfo")->text(), QStringLiteral("&Systeminfo..."));

    // The distributor's texts are shown literally, never read as markup.
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        QCOMPARE(label->textFormat(), Qt::PlainText);
}

void AboutDialogTest::everyControlHasAnAccessibleName()
{
    frmAbout dialog;
    ShowActive(dialog);
    const QList<QWidget*> controls = dialog.findChildren<QWidget*>();
    QCOMPARE(controls.size(), 6);
    for (QWidget* control : controls) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        QVERIFY(accessible);
        const QString name = accessible->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), qPrintable(control->objectName()));
        QVERIFY2(!name.contains(u'&'), qPrintable(name));
    }
}

void AboutDialogTest::isAFixedDialogSizedInTwips()
{
    frmAbout dialog;
    ShowActive(dialog);
    QCOMPARE(dialog.size(), QSize(Pixels(dialog, 5730), Pixels(dialog, 3555)));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(!(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // The controls stay inside the client area.
    for (const QWidget* control : dialog.findChildren<QWidget*>())
        QVERIFY2(dialog.rect().contains(control->geometry()), qPrintable(control->objectName()));
}

void AboutDialogTest::tabMovesBetweenTheTwoButtons()
{
    frmAbout dialog;
    ShowActive(dialog);
    auto* ok = Control<QPushButton>(dialog, "cmdOK");
    auto* sysInfo = Control<QPushButton>(dialog, "cmdSysInfo");
    QCOMPARE(QApplication::focusWidget(), ok);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), sysInfo);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), ok);
}

void AboutDialogTest::escapeAndEnterCloseTheDialog()
{
    {
        frmAbout dialog;
        ShowActive(dialog);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }
    {
        frmAbout dialog;
        ShowActive(dialog);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    {
        frmAbout dialog;
        ShowActive(dialog);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        // Escape still closes while the other button has the focus.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }
}

void AboutDialogTest::startsTheFirstKnownViewerByItsExactPath()
{
    // A folder name that a shell would split and execute.
    const QString awkward = root_->filePath(QStringLiteral("my viewers $(touch injected) 'q\" `touch injected`"));
    const QString later = root_->filePath(QStringLiteral("later"));
    InstallViewer(awkward, QStringLiteral("kinfocenter"));
    InstallViewer(later, QStringLiteral("hardinfo"));
    // hardinfo is preferred to kinfocenter even though its folder comes later in PATH.
    qputenv("PATH", QFile::encodeName(awkward + u':' + later));

    MessageAnswerer boxes;
    frmAbout dialog;
    ShowActive(dialog);
    QTest::mouseClick(Control<QPushButton>(dialog, "cmdSysInfo"), Qt::LeftButton);

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(started()), 10000);
    QCOMPARE(ReadRecord(started()), QStringList{QDir(later).filePath(QStringLiteral("hardinfo"))});
    QVERIFY(!QFile::exists(root_->filePath(QStringLiteral("injected"))));
    QCOMPARE(boxes.texts.size(), 0);
    QVERIFY(dialog.isVisible());

    // With the preferred viewer gone, the next one is started from the awkward folder as it is.
    QVERIFY(QFile::remove(QDir(later).filePath(QStringLiteral("hardinfo"))));
    QVERIFY(QFile::remove(started()));
    dialog.StartSysInfo();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(started()), 10000);
    QCOMPARE(ReadRecord(started()), QStringList{QDir(awkward).filePath(QStringLiteral("kinfocenter"))});
    QVERIFY(!QFile::exists(root_->filePath(QStringLiteral("injected"))));
    QCOMPARE(boxes.texts.size(), 0);
}

void AboutDialogTest::saysWhenNoViewerIsInstalled()
{
#ifdef Q_OS_WIN
    QSKIP("Windows finds its viewer in the registry; help_windows_under_wine checks that");
#endif
    MessageAnswerer boxes;
    frmAbout dialog;
    ShowActive(dialog);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(boxes.texts.size(), 1);
    QCOMPARE(boxes.texts.value(0), Unavailable);
    QCOMPARE(boxes.titles.value(0), QStringLiteral("Velkarn"));
    QCOMPARE(boxes.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(dialog.isVisible());

    // A click reaches the same message, and the dialog stays open again.
    QTest::mouseClick(Control<QPushButton>(dialog, "cmdSysInfo"), Qt::LeftButton);
    QCOMPARE(boxes.texts.size(), 2);
    QVERIFY(dialog.isVisible());
}

void AboutDialogTest::saysWhenTheViewerCannotStart()
{
#ifdef Q_OS_WIN
    QSKIP("Windows finds its viewer in the registry; help_windows_under_wine checks that");
#endif
    const QString bin = root_->filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    QFile broken(QDir(bin).filePath(QStringLiteral("hardinfo")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("#!/nonexistent/interpreter\n");
    broken.close();
    QVERIFY(broken.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    qputenv("PATH", QFile::encodeName(bin));

    MessageAnswerer boxes;
    frmAbout dialog;
    ShowActive(dialog);
    dialog.StartSysInfo();
    QCOMPARE(boxes.texts.size(), 1);
    QCOMPARE(boxes.texts.value(0), Unavailable);
    QVERIFY(dialog.isVisible());
}

QTEST_MAIN(AboutDialogTest)
#include "tst_about.moc"
