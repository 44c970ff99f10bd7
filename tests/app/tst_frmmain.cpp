#include "FakeSoundComponent.h"
#include "MessageAnswerer.h"
#include "WaveFile.h"
#include "app/frmMain.h"

#include <QAccessible>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>
#include <qpa/qwindowsysteminterface.h>

// Types a key as the window system delivers it, routed by Qt to the focused control, and lets the
// program handle it. Held down, it comes `repeats` more times as auto-repeat before it is let go.
static void TypeKey(QWidget &window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    const QString &text = {}, int repeats = 0)
{
    for (int press = 0; press <= repeats + 1; ++press) {
        QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window.windowHandle(), press <= repeats ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers,
            text, press > 0 && press <= repeats);
    }
    QCoreApplication::processEvents();
}

class frmMainTest : public QObject
{
    Q_OBJECT

private:
    static constexpr quint64 Seed = 42;
    QTemporaryDir settings;
    const QFont desktop = QApplication::font();
    std::unique_ptr<FakeSoundComponent> sound;
    std::unique_ptr<frmMain> window;

    QPushButton *Door(int door) const { return window->findChild<QPushButton *>(QStringLiteral("cmd%1").arg(door)); }
    // The controls that can be seen, by name.
    QString Shown() const
    {
        QStringList shown;
        for (const QWidget *control : window->centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            shown << (control->isVisible() ? control->objectName() : QString());
        return shown.join(u' ').simplified();
    }
    QListWidget *List() const { return window->findChild<QListWidget *>(QStringLiteral("lbLevel")); }
    QAction *Action(const QString &text) const
    {
        const auto actions = window->findChildren<QAction *>();
        return *std::find_if(actions.begin(), actions.end(), [&text](QAction *action) { return action->text() == text; });
    }
    // The correct doors of the first game, drawn as the window draws them.
    static Game::Doors FirstDoors() { std::mt19937_64 random(Seed); return Game::DrawDoors(random); }
    void Start()
    {
        window->Start();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        sound->PlayOut();
    }
    // Starts a walk through `rooms` rooms, with its first sounds heard.
    void StartWalk(int rooms)
    {
        Start();
        List()->setFocus();
        List()->setCurrentRow(rooms - 3);
        TypeKey(*window, Qt::Key_Return);
        sound->PlayOut();
        QCOMPARE(Shown(), QStringLiteral("cmd1 cmd2 cmd3"));
        QCOMPARE(window->focusWidget(), nullptr); // keys go to the window, not to the hidden list
    }

private slots:
    void initTestCase()
    {
        QVERIFY(settings.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    }
    void init()
    {
        sound = std::make_unique<FakeSoundComponent>();
        window = std::make_unique<frmMain>(*sound, Seed);
    }
    void cleanup()
    {
        QApplication::setFont(desktop);
        window.reset();
        sound.reset();
        QFile::remove(settings.filePath(QStringLiteral("org.example.Velkarn.ini")));
    }

    void startUpGreetsThenAsksForTheRoomCount_data()
    {
        QTest::addColumn<bool>("device");
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<QString>("message");
        QTest::newRow("sound") << true << "" << QStringList{"welcome.wav C", "rooms_select.wav C"} << "";
        QTest::newRow("no welcome") << true << "welcome.wav" << QStringList{"rooms_select.wav C"}
                                    << "Kan ikke åpne lydfilen: %1welcome.wav";
        QTest::newRow("no audio device") << false << "" << QStringList{}
                                         << "Fant ingen lydenhet. Velkarn går videre uten lyd.";
    }
    void startUpGreetsThenAsksForTheRoomCount()
    {
        QFETCH(bool, device);
        QFETCH(QString, missing);
        QFETCH(QStringList, heard);
        QFETCH(QString, message);
        sound->open = device;
        sound->missing = {missing};
        window->Start();
        if (!message.isEmpty()) // nothing more is heard or shown until the message is answered
            QCOMPARE(sound->PlayOut().join(' ') + Shown(), QStringLiteral("cmd1 cmd2 cmd3"));
        MessageAnswerer answerer;
        QTRY_VERIFY(!answerer.texts.isEmpty() || message.isEmpty());
        QCOMPARE(sound->PlayOut(), heard);
        QCOMPARE(Shown(), QStringLiteral("lblQuestion lbLevel"));
        TypeKey(*window, Qt::Key_F1); // the game goes on, with no more messages
        sound->PlayOut();
        const QString dir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/wave/");
        QCOMPARE(answerer.texts, message.isEmpty() ? QStringList() : QStringList{"Velkarn: " + QString(message).replace("%1", dir)});
        QTRY_VERIFY(window->findChildren<QMessageBox *>().isEmpty()); // answered, and gone
    }

    void commandsFromEverySourceWaitTheirTurn()
    {
        StartWalk(5);
        const Game::Doors doors = FirstDoors();
        const auto announced = [&](int room) { return QStringLiteral("nr%1.wav %2").arg(doors[room]).arg(QString("LCR")[doors[room] - 1]); };
        const auto opened = [&](int room) { return QStringLiteral("door_open.wav ") + QString("LCR")[doors[room] - 1]; };
        Action("&Hvordan brukes spillet")->trigger(); // handled at once, and not waited for
        Action("Hvor er &jeg?")->trigger(); // handled at once: each part of its answer is waited for
        // Meanwhile: a screen reader presses a button, a key, a click, a menu command.
        QAccessible::queryAccessibleInterface(Door(doors[0]))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(!Door(doors[0])->isDown());
        TypeKey(*window, Qt::Key_0 + doors[1]);
        QTest::mouseClick(Door(doors[2]), Qt::LeftButton);
        Action("&Nytt spill")->trigger();
        QCOMPARE(sound->PlayOut(), (QStringList{"help.wav C + you_are_in_room.wav C", "nr1.wav C", "of.wav C", "nr5.wav C", announced(0),
                                                opened(0) + " + " + announced(1), opened(1) + " + " + announced(2),
                                                opened(2) + " + rooms_select.wav C"}));
    }

    void aHeldKeyCountsOnce_data()
    {
        const int door = FirstDoors()[0];
        const QString chosen = QStringLiteral("nr%1.wav %2, door_open.wav %2").arg(door).arg(QString("LCR")[door - 1]);
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("heard");
        QTest::newRow("door key") << Qt::Key_0 + door << chosen;
        QTest::newRow("F2") << int(Qt::Key_F2) << "rooms_select.wav C";
        QTest::newRow("Enter on a door") << int(Qt::Key_Return) << chosen;
        QTest::newRow("Space on a door") << int(Qt::Key_Space) << chosen;
    }
    void aHeldKeyCountsOnce()
    {
        QFETCH(int, key);
        QFETCH(QString, heard);
        StartWalk(3);
        Door(FirstDoors()[0])->setFocus();
        TypeKey(*window, key, Qt::NoModifier, key == Qt::Key_Space ? " " : "", 30);
        QCOMPARE(sound->PlayOut().join(", "), heard);
    }

    void theAboutDialogHoldsTheGameUntilItIsClosed()
    {
        StartWalk(3);
        Action("&Om Velkarn")->trigger();
        QTRY_VERIFY(QApplication::activeModalWidget());
        Door(1)->click();
        QCOMPARE(sound->PlayOut(), QStringList());
        QApplication::activeModalWidget()->close();
        QCOMPARE(sound->PlayOut().value(0), QStringLiteral("nr1.wav L"));
    }

    void closingNeverWaits_data()
    {
        QTest::addColumn<bool>("message");
        QTest::newRow("Avslutt during the welcome") << false;
        QTest::newRow("the close box while a message is read") << true;
    }
    void closingNeverWaits()
    {
        QFETCH(bool, message);
        sound->missing = {message ? "welcome.wav" : ""};
        window->Start(); // the welcome plays until it is ended, or its message until it is answered
        if (message)
            QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(window->windowHandle());
        else
            Action("&Avslutt")->trigger();
        QVERIFY(!window->isVisible() && sound->log.last() == "stop");
        QCOMPARE(sound->PlayOut(), message ? QStringList() : QStringList{"welcome.wav C"}); // and nothing after it
    }

    void theListIsReachedWithTabAndSpeaksOnlyWhenTheFocusReallyMovesThere()
    {
        sound->missing = {"nr3.wav"};
        MessageAnswerer answerer;
        Start();
        TypeKey(*window, Qt::Key_Tab);
        QTRY_COMPARE(answerer.texts.size(), 1);
        // The window gets its focus back once the message is answered, or a menu closes.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        for (Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::MenuBarFocusReason}) {
            QFocusEvent focus(QEvent::FocusIn, reason);
            QCoreApplication::sendEvent(List(), &focus);
        }
        QCoreApplication::processEvents();
        QCOMPARE(answerer.texts.size(), 1);
        // Keys for the list wait while the prompt and the count are heard again, then move it in order.
        sound->missing.clear();
        TypeKey(*window, Qt::Key_F3);
        sound->Step(); // its last part, with nothing queued behind it
        TypeKey(*window, Qt::Key_Down, Qt::NoModifier, {}, 2); // held: a list's arrows repeat
        TypeKey(*window, Qt::Key_1, Qt::NoModifier, "1");      // no door here: the list's own search
        TypeKey(*window, Qt::Key_Return);
        TypeKey(*window, Qt::Key_0 + FirstDoors()[0]);         // the walk's own prompt is not waited for
        QCOMPARE(List()->currentRow(), 0);
        const QString door = QStringLiteral("nr%1.wav ").arg(FirstDoors()[0]) + QString("LCR")[FirstDoors()[0] - 1];
        QCOMPARE(sound->PlayOut().mid(0, 2), (QStringList{"rooms_select.wav C + nr3.wav C", "nr4.wav C + nr5.wav C + nr6.wav C + nr10.wav C + door123.wav C + " + door}));
        QCOMPARE(Shown(), QStringLiteral("cmd1 cmd2 cmd3"));
    }

    void everyKeyReachesItsCommand_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("heard");
        QTest::newRow("F1") << int(Qt::Key_F1) << 0 << "help.wav C";
        QTest::newRow("F3") << int(Qt::Key_F3) << 0 << "rooms_select.wav C";
        QTest::newRow("F4") << int(Qt::Key_F4) << 0 << "nr1.wav L";
        QTest::newRow("+") << int(Qt::Key_Plus) << 0 << "volume.wav C";
        QTest::newRow("Ctrl+M") << int(Qt::Key_M) << int(Qt::ControlModifier) << "nr1.wav C";
        QTest::newRow("Esc") << int(Qt::Key_Escape) << 0 << "stop";
        QTest::newRow("Ctrl") << int(Qt::Key_Control) << int(Qt::ControlModifier) << "stop";
    }
    void everyKeyReachesItsCommand()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, heard);
        Start();
        List()->setFocus(); // the list must not take them for itself
        sound->PlayOut();
        TypeKey(*window, key, Qt::KeyboardModifiers(modifiers), QKeySequence(key).toString());
        const bool stopped = sound->log.last() == "stop";
        QCOMPARE(stopped ? QStringLiteral("stop") : sound->PlayOut().value(0).section(" + ", 0, 0), heard);
    }

    void soundSettingsAreKeptForTheNextRun_data()
    {
        QTest::addColumn<QByteArray>("file"); // written over the settings before the next run
        QTest::addColumn<QString>("volume");
        QTest::addColumn<bool>("bothEars");
        QTest::newRow("kept") << QByteArray() << "volume -600" << true;
        QTest::newRow("corrupt") << QByteArray("\xff\xfe[sound\0volume=\x80\x81\n=", 20) << "volume 0" << false;
        QTest::newRow("out of range") << QByteArray("[sound]\nvolume=99\nbothEars=maybe\n") << "volume 0" << false;
    }
    void soundSettingsAreKeptForTheNextRun()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, volume);
        QFETCH(bool, bothEars);
        Start();
        TypeKey(*window, Qt::Key_Minus);
        TypeKey(*window, Qt::Key_Minus);
        TypeKey(*window, Qt::Key_M, Qt::ControlModifier);
        window.reset();
        if (!file.isEmpty())
            QVERIFY(WriteBytes(settings.filePath(QStringLiteral("org.example.Velkarn.ini")), file));
        init();
        QCOMPARE(sound->log.filter("volume").value(0), volume);
        QCOMPARE(Action("Lyd i &begge ører")->isChecked(), bothEars);
    }

    void menusAndControlsReadInNorwegian()
    {
        QStringList menus;
        for (const QAction *menu : window->menuBar()->actions()) {
            for (const QAction *item : menu->menu()->actions())
                menus << menu->text() + " > " + item->text();
        }
        QCOMPARE(menus, (QStringList{"&Spill > &Nytt spill", "&Spill > Hvor er &jeg?", "&Spill > ", "&Spill > &Avslutt",
                                     "&Lyd > &Høyere", "&Lyd > &Lavere", "&Lyd > Lyd i &begge ører",
                                     "&Hjelp > &Hvordan brukes spillet", "&Hjelp > Hør &lydene", "&Hjelp > &Send E-post",
                                     "&Hjelp > ", "&Hjelp > &Om Velkarn"}));
        QCOMPARE(window->windowTitle(), QStringLiteral("Velkarn"));
        QVERIFY(window->findChild<QLabel *>(QStringLiteral("lblQuestion"))->alignment() & Qt::AlignRight);
        QCOMPARE(List()->count(), 18);
        QCOMPARE(List()->item(17)->text(), QStringLiteral("20"));
        QCOMPARE(QAccessible::queryAccessibleInterface(List())->text(QAccessible::Name), QStringLiteral("Velg antall rom"));
        for (int door = 1; door <= 3; ++door)
            QCOMPARE(QAccessible::queryAccessibleInterface(Door(door))->text(QAccessible::Description), QStringLiteral("Dør %1").arg(door));
    }

    void everyTextStaysWholeAtAnyFontSize_data()
    {
        QTest::addColumn<int>("points");
        QTest::newRow("desktop font") << 0;
        QTest::newRow("large") << 20;
    }
    void everyTextStaysWholeAtAnyFontSize()
    {
        QFETCH(int, points);
        QFont font = desktop;
        font.setPointSize(points > 0 ? points : desktop.pointSize());
        QApplication::setFont(font);
        init();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto *prompt = window->findChild<QLabel *>(QStringLiteral("lblQuestion"));
        QCOMPARE(prompt->font().pointSize(), font.pointSize()); // never shrunk to fit
        QVERIFY(prompt->width() >= prompt->sizeHint().width() && prompt->height() >= prompt->sizeHint().height());
        QVERIFY(List()->width() >= List()->sizeHintForColumn(0) && List()->height() >= List()->sizeHintForRow(0));
        for (int door = 1; door <= 3; ++door) {
            const QSize text = Door(door)->fontMetrics().size(0, Door(door)->text());
            QVERIFY(text.width() < Door(door)->width() && text.height() <= Door(door)->height());
        }
        QVERIFY(Door(1)->geometry().right() < Door(2)->x() && Door(2)->geometry().right() < Door(3)->x()
                && prompt->geometry().right() < List()->x() && prompt->y() == List()->y());
        const QRect client = window->centralWidget()->rect();
        for (QWidget *control : window->centralWidget()->findChildren<QWidget *>())
            QVERIFY2(client.contains(control->geometry()), qPrintable(control->objectName()));
        QVERIFY(window->menuBar()->width() >= window->menuBar()->sizeHint().width());
    }

};

QTEST_MAIN(frmMainTest)
#include "tst_frmmain.moc"
