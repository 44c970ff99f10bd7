// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageAnswerer.h"
#include "support/TypeKey.h"

#include "help/AboutDialog.h"
#include "help/HelpConfig.h"
#include "help/SystemInfo.h"
#include "info/AppInfo.h"

#include <QLabel>
#include <QLibrary>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// A folder name that a shell, or a Windows command line, would read as more than a name.
#ifdef Q_OS_WIN
const QString Odd = QStringLiteral("odd & (x) %PATH% ^ 'q");
#else
const QString Odd = QStringLiteral("odd $(touch injected) 'q\" `touch injected`");
#endif
const QString Unavailable = QStringLiteral("Velkarn: System Information Is Unavailable At This Time");

class AboutDialogTest : public QObject
{
    Q_OBJECT

private:
    const QFont desktop_ = QApplication::font();
    const QString fakeViewer_
        = QStandardPaths::findExecutable(QStringLiteral("fake_viewer"), {QCoreApplication::applicationDirPath()});
    std::unique_ptr<QTemporaryDir> root_;
    std::unique_ptr<MessageAnswerer> boxes_;
    std::unique_ptr<AboutDialog> dialog_;

    // Where Windows records its viewer: under wine, the registry of the prefix made for this run, emptied
    // first; elsewhere a file in its stead. None on Windows itself, whose registry no test may change.
    std::unique_ptr<QSettings> recordedViewers() const
    {
#ifdef Q_OS_WIN
        if (!QLibrary::resolve(QStringLiteral("ntdll"), "wine_get_version"))
            return nullptr;
        auto microsoft = std::make_unique<QSettings>(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft"),
                                                     QSettings::Registry64Format);
        microsoft->remove(QStringLiteral("Shared Tools/MSINFO"));
        microsoft->remove(QStringLiteral("Shared Tools Location"));
        return microsoft;
#else
        return std::make_unique<QSettings>(root_->filePath(QStringLiteral("registry.ini")), QSettings::IniFormat);
#endif
    }

    // How the fake viewer was started, as it wrote it down: its arguments, one a line.
    static QStringList viewerStartedAs()
    {
        QFile record(QStringLiteral("viewer-started.txt"));
        return record.open(QIODevice::ReadOnly | QIODevice::Text)
            ? QString::fromLocal8Bit(record.readAll()).split(u'\n', Qt::SkipEmptyParts)
            : QStringList();
    }

    // Puts the fake viewer at path, or with broken a file that is no program, in a folder of its own.
    bool makeViewer(const QString &path, bool broken) const
    {
        QFile file(path);
        return QDir().mkpath(QFileInfo(path).path())
            && (broken ? file.open(QIODevice::WriteOnly) && file.write("not a program\n") > 0
                        && file.setPermissions(file.permissions() | QFile::ExeOwner)
                       : QFile::copy(fakeViewer_, path));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!fakeViewer_.isEmpty(), "fake_viewer is built beside the test");
    }

    void init()
    {
        // Only the test's folders are searched, never this machine's viewers; a shell misreading a path
        // would create its files in the current folder, the test's own too.
        root_ = std::make_unique<QTemporaryDir>();
        QVERIFY(root_->isValid() && QDir::setCurrent(root_->path()));
        qputenv("PATH", QFile::encodeName(root_->filePath(Odd) + QDir::listSeparator() + root_->filePath("later")));
        boxes_ = std::make_unique<MessageAnswerer>();
        QApplication::setFont(desktop_);
        dialog_ = std::make_unique<AboutDialog>();
        dialog_->show();
    }

    void cleanup()
    {
        QDir::setCurrent(QDir::tempPath()); // Windows removes no folder that is a program's current one
        root_.reset();
    }

    void everyTextIsWholeAndInReadingOrder_data()
    {
        QTest::addColumn<int>("points");
        QTest::newRow("desktop font") << 0;
        QTest::newRow("large font") << 24;
    }

    // The game's title, version and the maker's details as built in; a fixed size; every control inside the
    // dialog and clear of the others, every label plain text from its top left and big enough for it, whatever
    // the font; the title bold and larger, the title block indented from the notice and the address further
    // in; the texts read from top to bottom, the buttons beside the notice, below the separator that runs
    // across the dialog.
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
        const auto text = [this](const char *name) { return dialog_->findChild<QLabel *>(name)->text(); };
        const QString title = QString::fromUtf8(AppInfo::Title);
        QVERIFY(dialog_->windowTitle().contains(title));
        QCOMPARE(text("titleLabel"), title);
        QVERIFY(
            text("versionLabel")
                .endsWith(QStringLiteral(" %1.%2.%3").arg(AppInfo::Major).arg(AppInfo::Minor).arg(AppInfo::Revision)));
        const QStringList address = text("addressLabel").split(u'\n');
        QCOMPARE(address.mid(0, 3),
                 QStringList({HelpConfig::MakerName, HelpConfig::MakerStreet, HelpConfig::MakerTown}));
        QVERIFY(address.size() == 4 && address[3].endsWith(HelpConfig::MakerPhone));
        QCOMPARE(text("noticeLabel"), QString::fromUtf8(HelpConfig::Notice));

        const char *const names[] = {"titleLabel",  "versionLabel", "addressLabel",    "separator",
                                     "noticeLabel", "okButton",     "systemInfoButton"};
        for (const char *name : names) {
            const auto *control = dialog_->findChild<QWidget *>(name);
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
        // Indented, not merely spaced: by a few characters at least.
        const int character = dialog_->fontMetrics().averageCharWidth();
        QVERIFY(place("titleLabel").left() - place("noticeLabel").left() > 2 * character
                && place("titleLabel").left() == place("versionLabel").left()
                && place("addressLabel").left() - place("titleLabel").left() > 2 * character);
        // The buttons stand one above the other, in the platform's order.
        const QRect ok = place("okButton"), systemInfo = place("systemInfoButton");
        QVERIFY(place("noticeLabel").right() < std::min(ok.left(), systemInfo.left()));
        QVERIFY(ok.bottom() < systemInfo.top() || systemInfo.bottom() < ok.top());
        QVERIFY(place("separator").bottom() < std::min(ok.top(), systemInfo.top()));
        QVERIFY(place("separator").left() <= place("noticeLabel").left()
                && place("separator").right() >= std::max(ok.right(), systemInfo.right())); // across the dialog
        QSet<QRgb> shades; // an etched line: two shades on the dialog's background
        const QImage separator = dialog_->findChild<QWidget *>("separator")->grab().toImage();
        for (int y = 0; y < separator.height(); ++y)
            for (int x = 0; x < separator.width(); ++x)
                shades << separator.pixel(x, y);
        QVERIFY(shades.size() >= 3);
        const QFont titleFont = dialog_->findChild<QLabel *>("titleLabel")->font();
        QVERIFY(titleFont.bold() && titleFont.pointSizeF() > dialog_->font().pointSizeF());
    }

    void systemInfo_data()
    {
        QTest::addColumn<QStringList>("viewers"); // made in the test's folder; "!": one that cannot start
        QTest::addColumn<QString>("started");     // none: the unavailable message instead
#ifdef Q_OS_WIN
        const QString viewer = Odd + "/viewer.exe";
#else
        const QString viewer = Odd + "/kinfocenter";
        QTest::newRow("list order beats PATH order") << QStringList{viewer, "later/hardinfo"} << "later/hardinfo";
#endif
        QTest::newRow("blanks and shell characters mean nothing") << QStringList{viewer} << viewer;
        QTest::newRow("none") << QStringList() << QString();
        QTest::newRow("one that cannot start") << QStringList{viewer + "!"} << QString();
    }

    // Systeminfo starts the viewer found by its exact path, with no shell between and no arguments: on Windows
    // the one the registry records, elsewhere the first known one in PATH. With none, or one that cannot
    // start, it says so (OK only, titled Velkarn). The dialog stays open either way.
    void systemInfo()
    {
        QFETCH(QStringList, viewers);
        QFETCH(QString, started);
        const std::unique_ptr<QSettings> recorded = recordedViewers();
        if (!recorded)
            QSKIP("Would change this machine's registry: runs under wine only");
        for (QString viewer : viewers) {
            const bool broken = viewer.endsWith(u'!');
            viewer = root_->filePath(viewer.remove(u'!'));
            QVERIFY(makeViewer(viewer, broken));
#ifdef Q_OS_WIN
            recorded->setValue(QStringLiteral("Shared Tools/MSINFO/PATH"), QDir::toNativeSeparators(viewer));
#endif
        }
        QTest::mouseClick(dialog_->findChild<QPushButton *>("systemInfoButton"), Qt::LeftButton);
        if (!started.isEmpty())
            QTRY_COMPARE_WITH_TIMEOUT(viewerStartedAs(),
                                      QStringList(QDir::toNativeSeparators(root_->filePath(started))), 30000);
        QCOMPARE(boxes_->texts, QStringList(started.isEmpty() ? 1 : 0, Unavailable));
        QVERIFY(dialog_->isVisible() && !QFile::exists("injected"));
    }

    void registeredViewer_data()
    {
        // ~ stands for the test's folder.
        QTest::addColumn<QVariant>("path");   // recorded as PATH of Shared Tools\MSINFO, or not at all
        QTest::addColumn<QVariant>("folder"); // recorded as MSINFO of Shared Tools Location, or not at all
        QTest::addColumn<QString>("made");    // a file made there, or a folder if it ends in '/'
        QTest::addColumn<QString>("found");
        const QString viewer = QStringLiteral("C:\\Programmer\\Måler med mellomrom\\viewer.exe");
        const QString folder = QStringLiteral("~/Felles verktøy"), exe = folder + "/MSINFO32.EXE", none = "";
        QTest::newRow("nothing recorded") << QVariant() << QVariant() << exe << none;
        QTest::newRow("the first place as it stands, unchecked")
            << QVariant(viewer) << QVariant(folder) << exe << viewer;
        QTest::newRow("the first place even when empty") << QVariant(none) << QVariant(folder) << exe << none;
        QTest::newRow("MSINFO32.EXE in the second place's folder") << QVariant() << QVariant(folder) << exe << exe;
        QTest::newRow("the folder with a trailing separator") << QVariant() << QVariant(folder + "/") << exe << exe;
        QTest::newRow("no MSINFO32.EXE in it") << QVariant() << QVariant(folder) << none << none;
        QTest::newRow("a folder called MSINFO32.EXE") << QVariant() << QVariant(folder) << exe + "/" << none;
        QTest::newRow("a relative folder: not the current one's")
            << QVariant() << QVariant(none) << "~/MSINFO32.EXE" << none;
    }

    // Where Windows records its viewer: the first place's path as it stands, else MSINFO32.EXE in the second
    // place's folder when that file is there; read from the registry under wine, elsewhere from a file.
    void registeredViewer()
    {
        QFETCH(QVariant, path);
        QFETCH(QVariant, folder);
        QFETCH(QString, made);
        QFETCH(QString, found);
        const auto here = [this](QString text) { return QDir::toNativeSeparators(text.replace(u'~', root_->path())); };
        const std::unique_ptr<QSettings> recorded = recordedViewers();
        if (!recorded)
            QSKIP("Would change this machine's registry: runs under wine only");
        if (path.isValid())
            recorded->setValue(QStringLiteral("Shared Tools/MSINFO/PATH"), path);
        if (folder.isValid())
            recorded->setValue(QStringLiteral("Shared Tools Location/MSINFO"), here(folder.toString()));
        QVERIFY(made.isEmpty() || (made.endsWith(u'/') ? QDir().mkpath(here(made)) : makeViewer(here(made), false)));
        QCOMPARE(QDir::fromNativeSeparators(SystemInfo::registeredViewer(*recorded)),
                 QDir::fromNativeSeparators(here(found)));
    }

    void keys_data()
    {
        QTest::addColumn<QString>("focus"); // none: as the dialog opened
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<int>("closed"); // how, or -1: still open, having said there is no viewer
        QTest::newRow("Enter") << "" << QKeySequence(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::newRow("Esc") << "systemInfoButton" << QKeySequence(Qt::Key_Escape) << int(QDialog::Rejected);
        QTest::newRow("Enter on Systeminfo") << "systemInfoButton" << QKeySequence(Qt::Key_Return) << -1;
        QTest::newRow("Alt+S") << "" << QKeySequence(Qt::ALT | Qt::Key_S) << -1;
        QTest::newRow("Alt+O") << "systemInfoButton" << QKeySequence(Qt::ALT | Qt::Key_O) << int(QDialog::Accepted);
    }

    // Enter closes the dialog unless Systeminfo has the focus, Esc closes it, and each button has its
    // access key. No viewer is found here, so Systeminfo only says so.
    void keys()
    {
        QFETCH(QString, focus);
        QFETCH(QKeySequence, key);
        QFETCH(int, closed);
        if (!recordedViewers())
            QSKIP("Would start this machine's viewer: runs under wine only");
        QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
        if (!focus.isEmpty())
            dialog_->findChild<QWidget *>(focus)->setFocus();
        TypeKey(*dialog_, key[0].key(), key[0].keyboardModifiers());
        // An access key clicks its button a moment later, so that the click can be seen.
        QTRY_VERIFY(dialog_->isVisible() ? !boxes_->texts.isEmpty() : dialog_->result() == closed);
        QCOMPARE(dialog_->isVisible(), closed < 0);
        QCOMPARE(boxes_->texts, QStringList(closed < 0 ? 1 : 0, Unavailable));
    }
};

QTEST_MAIN(AboutDialogTest)
#include "tst_about.moc"
