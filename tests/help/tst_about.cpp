// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageAnswerer.h"
#include "help/FakeProgram.h"

#include "help/AboutDialog.h"
#include "help/HelpConfig.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

const QString Odd = QStringLiteral("odd $(touch injected) 'q\" `touch injected`"); // a shell would run these

class AboutDialogTest : public QObject
{
    Q_OBJECT

private:
    const QFont desktop_ = QApplication::font();
    std::unique_ptr<QTemporaryDir> root_;
    std::unique_ptr<MessageAnswerer> boxes_;
    std::unique_ptr<AboutDialog> dialog_;

private slots:
    void init()
    {
        // Only the test's folders are searched, never this machine's viewers; a shell misreading a path
        // would create its files in the current folder, the test's own too.
        root_ = std::make_unique<QTemporaryDir>();
        QVERIFY(root_->isValid() && QDir::setCurrent(root_->path()));
        qputenv("PATH", QFile::encodeName(root_->filePath(Odd) + ':' + root_->filePath("later")));
        boxes_ = std::make_unique<MessageAnswerer>();
        QApplication::setFont(desktop_);
        dialog_ = std::make_unique<AboutDialog>();
        dialog_->show();
    }

    void everyTextIsWholeAndInReadingOrder_data()
    {
        QTest::addColumn<int>("points");
        QTest::newRow("desktop font") << 0;
        QTest::newRow("large font") << 24;
    }

    // Its texts; a fixed size; every control inside the dialog and clear of the others, every label plain text from
    // its top left and big enough for it, whatever the font; the title bold and larger; the texts read
    // from top to bottom, the buttons beside the notice, below the separator.
    void everyTextIsWholeAndInReadingOrder()
    {
        QFETCH(int, points);
        QFont font = desktop_;
        font.setPointSize(points > 0 ? points : desktop_.pointSize());
        QApplication::setFont(font);
        dialog_ = std::make_unique<AboutDialog>();
        dialog_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
        QCOMPARE(dialog_->minimumSize(), dialog_->maximumSize());
        QVERIFY(points > 0 || dialog_->width() < 5 * dialog_->logicalDpiX()); // the notice wraps: about 4 inches wide
        const auto place = [this](const char *name) {
            const auto *control = dialog_->findChild<QWidget *>(name);
            return QRect(control->mapTo(dialog_.get(), QPoint(0, 0)), control->size());
        };
        const auto setting = [](const char *text) { return QString::fromUtf8(text); };
        const QString address = QStringLiteral("%1\n%2\n%3\nTelefon : %4")
                                    .arg(setting(HelpConfig::MakerName), setting(HelpConfig::MakerStreet),
                                         setting(HelpConfig::MakerTown), setting(HelpConfig::MakerPhone));
        const char *const names[] = {"titleLabel",  "versionLabel", "addressLabel",    "separator",
                                     "noticeLabel", "okButton",     "systemInfoButton"};
        const QStringList texts
            = {"Velkarn", "Versjon : 1.0.0", address, "", setting(HelpConfig::Notice), "&Ok", "&Systeminfo..."};
        QCOMPARE(dialog_->windowTitle(), QStringLiteral("Om Velkarn"));
        for (const char *const &name : names) {
            const auto *control = dialog_->findChild<QWidget *>(name);
            QCOMPARE(control->property("text").toString(), texts[&name - names]);
            const auto *label = qobject_cast<const QLabel *>(control);
            QVERIFY2(dialog_->rect().contains(place(name)), name);
            QVERIFY(!label
                    || (label->textFormat() == Qt::PlainText && label->alignment() == (Qt::AlignLeft | Qt::AlignTop)));
            const QSize need = label && label->wordWrap() ? QSize(0, label->heightForWidth(label->width()))
                                                          : control->minimumSizeHint();
            QVERIFY2(need.width() <= control->width() && need.height() <= control->height(), name);
            for (const char *other : names)
                QVERIFY2(other == name || !place(other).intersects(place(name)), name);
        }
        for (int i = 0; i + 1 < 5; ++i) // title, version, address, separator, notice: one below the other
            QVERIFY2(place(names[i]).bottom() < place(names[i + 1]).top(), names[i]);
        // The buttons stand one above the other, in the platform's order.
        const QRect ok = place("okButton"), systemInfo = place("systemInfoButton");
        QVERIFY(place("noticeLabel").right() < std::min(ok.left(), systemInfo.left()));
        QVERIFY(ok.bottom() < systemInfo.top() || systemInfo.bottom() < ok.top());
        QVERIFY(place("separator").bottom() < place("okButton").top());
        // The title block indented by some seven characters, the address by some three more.
        const int character = dialog_->fontMetrics().averageCharWidth();
        QVERIFY(place("titleLabel").left() - place("noticeLabel").left() >= 6 * character
                && place("addressLabel").left() - place("titleLabel").left() >= 2 * character);
        QVERIFY(std::max(ok.right(), systemInfo.right()) <= place("separator").right());
        const QFont title = dialog_->findChild<QLabel *>("titleLabel")->font();
        QVERIFY(title.bold() && title.pointSizeF() > dialog_->font().pointSizeF());
    }

    void systeminfo_data()
    {
        QTest::addColumn<QStringList>("viewers"); // made in the test's folders; "!": one that cannot start
        QTest::addColumn<QString>("started");     // none: the unavailable message instead
        QTest::newRow("list order beats PATH order")
            << QStringList{Odd + "/kinfocenter", "later/hardinfo"} << "later/hardinfo";
        QTest::newRow("shell characters mean nothing") << QStringList{Odd + "/kinfocenter"} << Odd + "/kinfocenter";
        QTest::newRow("none") << QStringList() << QString();
        QTest::newRow("one that cannot start") << QStringList{"later/hardinfo!"} << QString();
    }

    // Systeminfo starts the first known viewer found in PATH by its exact path, with no shell between;
    // with none, or one that cannot start, it says so (OK only, titled Velkarn). OK then closes the dialog.
    void systeminfo()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows finds its viewer in the registry, not in PATH: help_windows_under_wine tests that");
#endif
        QFETCH(QStringList, viewers);
        QFETCH(QString, started);
        const QString record = root_->filePath("record");
        for (QString viewer : viewers) {
            const QByteArray script = viewer.endsWith(u'!') ? "#!/nonexistent/interpreter\n" : recordingScript(record);
            viewer = root_->filePath(viewer.remove(u'!'));
            QVERIFY(QDir().mkpath(QFileInfo(viewer).path()) && writeProgram(viewer, script));
        }
        QTest::mouseClick(dialog_->findChild<QPushButton *>("systemInfoButton"), Qt::LeftButton);
        if (!started.isEmpty())
            QTRY_COMPARE_WITH_TIMEOUT(readRecord(record), QStringList(root_->filePath(started)), 10000);
        const QStringList message(started.isEmpty() ? 1 : 0,
                                  QStringLiteral("Velkarn: System Information Is Unavailable At This Time"));
        QCOMPARE(boxes_->texts, message);
        QVERIFY(dialog_->isVisible() && !QFile::exists("injected"));
        QTest::keyClick(dialog_->findChild<QPushButton *>("okButton"), Qt::Key_Return);
        QVERIFY(!dialog_->isVisible() && dialog_->result() == QDialog::Accepted);
    }

    // Without a registry every value is missing: false, with an empty text. An empty path starts nothing.
    void readsNoRegistry()
    {
        const help::SysInfoPlatform platform = help::makeSysInfoPlatform();
        std::string value = "left over";
        QVERIFY(!platform.registry->readValue(help::RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft", "PATH", value)
                && value.empty());
        QVERIFY(!platform.launcher->start(""));
    }
};

QTEST_MAIN(AboutDialogTest)
#include "tst_about.moc"
