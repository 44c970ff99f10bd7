#include "help/FakeProgram.h"
#include "MessageAnswerer.h"

#include "help/HelpConfig.h"
#include "help/frmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

const QString Odd = QStringLiteral("odd $(touch injected) 'q\" `touch injected`"); // a shell would run these

class AboutDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void showsItsTexts();
    void isLaidOutAsDrawn_data();
    void isLaidOutAsDrawn();
    void systeminfo_data();
    void systeminfo();
    void readsNoRegistry();

private:
    const QFont desktop_ = QApplication::font();
    std::unique_ptr<QTemporaryDir> root_;
    std::unique_ptr<MessageAnswerer> boxes_;
    std::unique_ptr<frmAbout> dialog_;
};

void AboutDialogTest::init()
{
    // Only the test's folders are searched, never this machine's viewers; a shell misreading a path
    // would create its files in the current folder, the test's own too.
    root_ = std::make_unique<QTemporaryDir>();
    QVERIFY(root_->isValid() && QDir::setCurrent(root_->path()));
    qputenv("PATH", QFile::encodeName(root_->filePath(Odd) + ':' + root_->filePath("later")));
    boxes_ = std::make_unique<MessageAnswerer>();
    QApplication::setFont(desktop_);
    dialog_ = std::make_unique<frmAbout>();
    dialog_->show();
}

// The caption and each control's text.
void AboutDialogTest::showsItsTexts()
{
    const auto setting = [](const char* text) { return QString::fromUtf8(text); };
    const QString address = QStringLiteral("%1\n%2\n%3\nTelefon : %4")
                                .arg(setting(HelpConfig::MakerName), setting(HelpConfig::MakerStreet),
                                     setting(HelpConfig::MakerTown), setting(HelpConfig::MakerPhone));
    const std::pair<const char*, QString> texts[] = {
        {"frmAbout", "Om Velkarn"}, {"lblTitle", "Velkarn"}, {"lblVersion", "Versjon : 1.0.0"}, {"lblAddress", address},
        {"lblMessage", setting(HelpConfig::Notice)}, {"cmdOK", "&Ok"}, {"cmdSysInfo", "&Systeminfo..."}};
    for (const auto& [name, text] : texts) {
        QWidget* control = dialog_->objectName() == name ? dialog_.get() : dialog_->findChild<QWidget*>(name);
        QVERIFY2(control, name);
        QCOMPARE(control->isWindow() ? control->windowTitle() : control->property("text").toString(), text);
    }
}

void AboutDialogTest::isLaidOutAsDrawn_data()
{
    QTest::addColumn<int>("points");
    QTest::newRow("desktop font") << 0;
    QTest::newRow("large font") << 24;
}

// A fixed size, near the drawn one at the desktop's font; every control inside the dialog and clear of the
// others, every label plain text from its top left and wide enough for it, whatever the font; the title bold
// and larger; the etched separator.
void AboutDialogTest::isLaidOutAsDrawn()
{
    QFETCH(int, points);
    QFont font = desktop_;
    font.setPointSize(points > 0 ? points : desktop_.pointSize());
    QApplication::setFont(font);
    dialog_ = std::make_unique<frmAbout>();
    QCOMPARE(dialog_->minimumSize(), dialog_->maximumSize());
    QVERIFY(points > 0 || dialog_->width() < 1.2 * 5730 / 1440 * dialog_->logicalDpiX()); // drawn 5,730 twips wide
    const QList<QWidget*> controls = dialog_->findChildren<QWidget*>();
    for (const QWidget* control : controls) {
        const auto* label = qobject_cast<const QLabel*>(control);
        QVERIFY(dialog_->rect().contains(control->geometry()));
        QVERIFY(!label || (label->textFormat() == Qt::PlainText && label->alignment() == (Qt::AlignLeft | Qt::AlignTop)));
        const QSize need = label && label->wordWrap() ? QSize(0, label->heightForWidth(label->width())) : control->sizeHint();
        QVERIFY2(need.width() <= control->width() && need.height() <= control->height(), qPrintable(control->objectName()));
        for (const QWidget* other : controls)
            QVERIFY(other == control || !other->geometry().intersects(control->geometry()));
    }
    const QFont title = dialog_->findChild<QLabel*>("lblTitle")->font();
    QVERIFY(title.bold() && title.pointSizeF() > dialog_->font().pointSizeF());

    const QImage image = dialog_->grab().toImage();
    QList<QRgb> column; // the middle one, from the top
    for (int y = 0; y < image.height(); ++y)
        column << image.pixel(image.width() / 2, y);
    const qsizetype white = column.indexOf(dialog_->palette().color(QPalette::Light).rgb());
    QVERIFY(white > 0);
    QCOMPARE(column[white - 1], dialog_->palette().color(QPalette::Mid).rgb());
}

void AboutDialogTest::systeminfo_data()
{
    QTest::addColumn<QStringList>("viewers"); // made in the test's folders; "!": one that cannot start
    QTest::addColumn<QString>("started");     // none: the unavailable message instead
    QTest::newRow("list order beats PATH order") << QStringList{Odd + "/kinfocenter", "later/hardinfo"} << "later/hardinfo";
    QTest::newRow("shell characters mean nothing") << QStringList{Odd + "/kinfocenter"} << Odd + "/kinfocenter";
    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("one that cannot start") << QStringList{"later/hardinfo!"} << QString();
}

// Systeminfo starts the first known viewer found in PATH by its exact path, with no shell between;
// with none, or one that cannot start, it says so (OK only, titled Velkarn). OK then closes the dialog.
void AboutDialogTest::systeminfo()
{
#ifdef Q_OS_WIN
    QSKIP("Windows finds its viewer in the registry, not in PATH: help_windows_under_wine tests that");
#endif
    QFETCH(QStringList, viewers);
    QFETCH(QString, started);
    const QString record = root_->filePath("record");
    for (QString viewer : viewers) {
        const QByteArray script = viewer.endsWith(u'!') ? "#!/nonexistent/interpreter\n" : RecordingScript(record);
        viewer = root_->filePath(viewer.remove(u'!'));
        QVERIFY(QDir().mkpath(QFileInfo(viewer).path()) && WriteProgram(viewer, script));
    }
    QTest::mouseClick(dialog_->findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
    if (!started.isEmpty())
        QTRY_COMPARE_WITH_TIMEOUT(ReadRecord(record), QStringList(root_->filePath(started)), 10000);
    const QStringList message(started.isEmpty() ? 1 : 0, QStringLiteral("Velkarn: System Information Is Unavailable At This Time"));
    QCOMPARE(boxes_->texts, message);
    QVERIFY(dialog_->isVisible() && !QFile::exists("injected"));
    QTest::keyClick(dialog_->findChild<QPushButton*>("cmdOK"), Qt::Key_Return);
    QVERIFY(!dialog_->isVisible() && dialog_->result() == QDialog::Accepted);
}

// Without a registry every value is missing: false, with an empty text. An empty path starts nothing.
void AboutDialogTest::readsNoRegistry()
{
    const help::SysInfoPlatform platform = help::MakeSysInfoPlatform();
    QString value = QStringLiteral("left over");
    QVERIFY(!dialog_->GetKeyValue(help::RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft", "PATH", value) && value.isEmpty());
    QVERIFY(!platform.launcher->Start(""));
}

QTEST_MAIN(AboutDialogTest)
#include "tst_about.moc"
