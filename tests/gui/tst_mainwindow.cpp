// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeSoundComponent.h"
#include "MessageAnswerer.h"
#include "gui/Velkarn.h"
#include "help/HelpConfig.h"
#include "i18n/CutForMessage.h"
#include "support/TypeKey.h"
#include "support/WaveFile.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSettings>
#include <QtTest>
#include <qpa/qwindowsysteminterface.h>

class MainWindowTest : public QObject
{
    Q_OBJECT

private:
    static constexpr quint64 Seed = 42;
    QTemporaryDir settings;
    const QFont desktop = QApplication::font();
    std::unique_ptr<FakeSoundComponent> sound;
    std::unique_ptr<Velkarn> velkarn;
    MainWindow *window = nullptr;
    QList<QUrl> opened;

    QPushButton *Door(int door) const { return window->findChild<QPushButton *>(QStringLiteral("door%1").arg(door)); }
    // The controls that can be seen, by name.
    QString Shown() const
    {
        QStringList shown;
        for (const QWidget *control : window->centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            shown << (control->isVisible() ? control->objectName() : QString());
        return shown.join(u' ').simplified();
    }
    // The menus and their items (and submenus') but the languages', the prompt, the list's and door 3's screen-reader
    // texts.
    QStringList Texts() const
    {
        QStringList texts;
        for (const QAction *menu : window->menuBar()->actions()) {
            if (menu->menu()->objectName() != "languageMenu")
                texts << menu->text();
            for (const QAction *item : menu->menu()->actions()) {
                texts << (item->isSeparator() || menu->menu()->objectName() == "languageMenu" ? QString()
                                                                                              : item->text());
                for (const QAction *subItem : item->menu() ? item->menu()->actions() : QList<QAction *>())
                    texts << subItem->text();
            }
        }
        texts.removeAll(QString());
        return texts << window->findChild<QLabel *>(QStringLiteral("prompt"))->text()
                     << QAccessible::queryAccessibleInterface(List())->text(QAccessible::Name)
                     << QAccessible::queryAccessibleInterface(Door(3))->text(QAccessible::Description);
    }
    QString SettingsFile() const { return settings.filePath(QStringLiteral("velkarn.ini")); }
    QString OwnFolder() const { return settings.filePath(QStringLiteral("own")); }
    static QString SoundFolder() { return QCoreApplication::applicationDirPath() + "/wave"; }
    QListWidget *List() const { return window->findChild<QListWidget *>(QStringLiteral("roomCountList")); }
    QAction *Action(const char *name) const { return window->findChild<QAction *>(QString::fromLatin1(name)); }
    // The correct doors of the first game, drawn as the window draws them.
    static Game::Doors FirstDoors()
    {
        std::mt19937_64 random(Seed);
        return Game::drawDoors(random);
    }
    void start()
    {
        velkarn->start();
        QVERIFY(QTest::qWaitForWindowActive(window));
        sound->playOut();
    }
    // Starts a walk through `rooms` rooms, with its first sounds heard.
    void StartWalk(int rooms)
    {
        start();
        List()->setFocus();
        List()->setCurrentRow(rooms - 3);
        TypeKey(*window, Qt::Key_Return);
        sound->playOut();
        QCOMPARE(Shown(), QStringLiteral("door1 door2 door3"));
        QCOMPARE(QApplication::focusWidget(), window); // keys go to the window, not to the hidden list
    }

    // Uses the menus as a child would, step by step: "alt" (pressed alone), "alt+l" (a letter with Alt held), a
    // letter, "down", "return", "esc"; or the mouse: "click 1" on the second menu's title, "click louderAction" on an
    // item of the open menu, "click away" outside it.
    // Returns what was heard meanwhile.
    QString UseMenus(const QString &steps)
    {
        QStringList heard;
        const auto letter = [](QChar c) { return Qt::Key_A + (c.unicode() - 'a'); };
        const std::map<QString, int> keys
            = {{"alt", Qt::Key_Alt}, {"down", Qt::Key_Down}, {"return", Qt::Key_Return}, {"esc", Qt::Key_Escape}};
        for (const QString &step : steps.split(", ")) {
            auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QMenuBar *bar = window->menuBar();
            // Keys go to the window system's window: the open dialog, else the main window (and its open menu).
            QWidget &target = QApplication::activeModalWidget() ? *QApplication::activeModalWidget() : *window;
            if (step == "click away") // the open menu takes every click, and closes on one outside it
                QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(-20, -20));
            else if (step.startsWith("click ") && step[6].isDigit())
                QTest::mouseClick(bar, Qt::LeftButton, {},
                                  bar->actionGeometry(bar->actions()[step[6].digitValue()]).center());
            else if (step.startsWith("click "))
                QTest::mouseClick(popup, Qt::LeftButton, {},
                                  popup->actionGeometry(Action(qPrintable(step.mid(6)))).center());
            else if (step.startsWith("alt+"))
                TypeKey(target, letter(step[4]), Qt::AltModifier, step.mid(4));
            else if (keys.contains(step))
                TypeKey(target, keys.at(step)); // Alt alone, too, is pressed with no modifier yet
            else
                TypeKey(target, letter(step[0]), Qt::NoModifier, step);
            heard << sound->playOut(); // an About dialog opens in its turn
        }
        return heard.join(' ');
    }

public slots:
    void openUrl(const QUrl &url) { opened << url; } // the desktop's URL handler, while the test stands in

private slots:
    void initTestCase()
    {
        // The recordings' folder beside the program; the fake component needs only that it is there.
        for (const QString &folder : {SoundFolder(), SoundFolder() + "/en"})
            QVERIFY(QDir().mkpath(folder) && WriteBytes(folder + "/welcome.wav", WaveBytes(10)));
        QVERIFY(settings.isValid());
    }
    void init()
    {
#ifdef Q_OS_WIN
        // Windows gives its own display language, not the test's: Norwegian is chosen as a child would.
        if (!QFile::exists(SettingsFile()))
            QSettings(SettingsFile(), QSettings::IniFormat).setValue("language/chosen", "nb");
#endif
        velkarn.reset();
        sound = std::make_unique<FakeSoundComponent>();
        velkarn = std::make_unique<Velkarn>(*sound, Velkarn::Places{SoundFolder(), SettingsFile(), OwnFolder()}, Seed);
        window = &velkarn->window();
    }
    void cleanup()
    {
        QApplication::setFont(desktop);
        velkarn.reset();
        sound.reset();
        QFile::remove(SettingsFile());
    }

    void startUpGreetsThenAsksForTheRoomCount_data()
    {
        QTest::addColumn<bool>("device");
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<QString>("message");
        const QString noFolder = "Fant ingen lyder i mappen %1. Velkarn går videre uten lyd.";
        QTest::newRow("sound") << true << "" << QStringList{"welcome.wav C", "rooms_select.wav C"} << "";
        QTest::newRow("no sound folder") << true << "folder" << QStringList{} << noFolder;
        QTest::newRow("an empty sound folder") << true << "recordings" << QStringList{} << noFolder;
        QTest::newRow("no welcome") << true << "welcome.wav" << QStringList{"rooms_select.wav C"}
                                    << "Kan ikke åpne lydfilen: %1";
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
        const QString away = SoundFolder() + ".away";
        QVERIFY(!missing.startsWith("f") || QDir().rename(SoundFolder(), away));
        QVERIFY(!missing.startsWith("r") || (QDir().rename(SoundFolder(), away) && QDir().mkdir(SoundFolder())));
        const auto restore = qScopeGuard([&] { QDir().rmdir(SoundFolder()), QDir().rename(away, SoundFolder()); });
        velkarn->start();
        if (!message.isEmpty()) // nothing more is heard or shown until the message is answered
            QCOMPARE(sound->playOut().join(' ') + Shown(), QStringLiteral("door1 door2 door3"));
        MessageAnswerer answerer;
        QTRY_VERIFY(!answerer.texts.isEmpty() || message.isEmpty());
        QCOMPARE(sound->playOut(), heard);
        QCOMPARE(Shown(), QStringLiteral("prompt roomCountList"));
        TypeKey(*window, Qt::Key_F1); // the game goes on, with no more messages
        sound->playOut();
        const QString dir = QDir::toNativeSeparators(SoundFolder() + "/");                   // as the platform shows it
        const QString shown = cutForMessage(missing.endsWith(".wav") ? dir + missing : dir); // the folder, or the file
        QCOMPARE(answerer.texts,
                 message.isEmpty() ? QStringList() : QStringList{"Velkarn: " + QString(message).replace("%1", shown)});
        QTRY_VERIFY(window->findChildren<QMessageBox *>().isEmpty()); // answered, and gone
    }

    void aDeviceLostDuringTheGameIsSaidOnceAndTheGameGoesOnSilently()
    {
        StartWalk(5);
        sound->open = false; // the sound server has gone: the component opens nothing any more
        emit sound->deviceLost();
        MessageAnswerer answerer;
        QTRY_VERIFY(!answerer.texts.isEmpty());
        TypeKey(*window, Qt::Key_0 + FirstDoors()[0]);
        TypeKey(*window, Qt::Key_F1);
        QCOMPARE(sound->playOut(), QStringList());
        QCOMPARE(Shown(), QStringLiteral("door1 door2 door3"));
        QCOMPARE(answerer.texts, QStringList{"Velkarn: Lydenheten forsvant. Velkarn går videre uten lyd."});
    }

    void commandsFromEverySourceWaitTheirTurn()
    {
        StartWalk(5);
        const Game::Doors doors = FirstDoors();
        Action("helpAction")->trigger();     // handled at once, and not waited for
        Action("whereAmIAction")->trigger(); // handled at once: each part of its answer is waited for
        // Meanwhile: a screen reader presses a button, a key, a click, a menu command.
        QAccessible::queryAccessibleInterface(Door(doors[0]))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(!Door(doors[0])->isDown());
        TypeKey(*window, Qt::Key_0 + doors[1]);
        QTest::mouseClick(Door(doors[2]), Qt::LeftButton);
        Action("newGameAction")->trigger();
        const QStringList heard
            = QStringList{"help.wav C + you_are_in_room.wav C", "nr1.wav C", "of.wav C", "nr5.wav C"}
            + sound->doorOpens(doors[0]) + sound->doorOpens(doors[1]) + sound->doorOpens(doors[2]);
        QCOMPARE(sound->playOut(), heard + QStringList{"rooms_select.wav C"});
    }

    void aHeldKeyCountsOnce_data()
    {
        const int door = FirstDoors()[0];
        const QString chosen = FakeSoundComponent::doorOpens(door).join(", ");
        QTest::addColumn<int>("key");
        QTest::addColumn<Held>("held");
        QTest::addColumn<QString>("heard");
        QTest::newRow("door key") << Qt::Key_0 + door << Held::SameTime << chosen;
        QTest::newRow("door key, marked as repeat") << Qt::Key_0 + door << Held::Flagged << chosen;
        QTest::newRow("F2") << int(Qt::Key_F2) << Held::SameTime << "rooms_select.wav C";
        QTest::newRow("F4")
            << int(Qt::Key_F4) << Held::SameTime
            << "nr1.wav L, nr2.wav C, nr3.wav R, door_open.wav C, door_closed.wav C, error.wav C, success.wav C";
        QTest::newRow("Enter on a door") << int(Qt::Key_Return) << Held::Flagged << chosen;
        QTest::newRow("Space on a door") << int(Qt::Key_Space) << Held::SameTime << chosen;
    }
    void aHeldKeyCountsOnce()
    {
        QFETCH(int, key);
        QFETCH(Held, held);
        QFETCH(QString, heard);
        StartWalk(3);
        Door(FirstDoors()[0])->setFocus();
        TypeKey(*window, key, Qt::NoModifier, key == Qt::Key_Space ? " " : "", 30, held);
        QCOMPARE(sound->playOut().join(", "), heard);
    }

    // A door's digit counts with any modifier, but not from the keypad; + and - count from either, and
    // however they are typed; a menu's shortcut counts only as it is written.
    void theKeysCountAsTheChildTypesThem_data()
    {
        const int door = FirstDoors()[0];
        const QString chosen = FakeSoundComponent::doorOpens(door).join(", ");
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("heard");
        const auto digit = QString::number(door);
        QTest::newRow("door key") << Qt::Key_0 + door << Qt::KeyboardModifiers() << digit << chosen;
        QTest::newRow("door key with Alt")
            << Qt::Key_0 + door << Qt::KeyboardModifiers(Qt::AltModifier) << digit << chosen;
        QTest::newRow("keypad digit") << Qt::Key_0 + door << Qt::KeyboardModifiers(Qt::KeypadModifier) << digit << "";
        QTest::newRow("keypad minus") << int(Qt::Key_Minus) << Qt::KeyboardModifiers(Qt::KeypadModifier) << "-"
                                      << "volume.wav C";
        QTest::newRow("plus with Shift") << int(Qt::Key_Plus) << Qt::KeyboardModifiers(Qt::ShiftModifier) << "+"
                                         << "volume.wav C";
        QTest::newRow("F2 with Shift") << int(Qt::Key_F2) << Qt::KeyboardModifiers(Qt::ShiftModifier) << ""
                                       << "";
        QTest::newRow("a letter") << int(Qt::Key_A) << Qt::KeyboardModifiers() << "a"
                                  << "";
    }
    void theKeysCountAsTheChildTypesThem()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, text);
        QFETCH(QString, heard);
        StartWalk(3);
        TypeKey(*window, key, modifiers, text);
        QCOMPARE(sound->playOut().join(", "), heard);
    }

    void escAndCtrlEndWhatTheChildAskedToHearAtOnce_data()
    {
        QTest::addColumn<int>("request");
        QTest::addColumn<int>("silence");
        QTest::addColumn<bool>("doorFirst"); // a door key typed during the request, before Esc
        QTest::addColumn<QString>("first");  // what the request starts with
        QTest::newRow("help") << int(Qt::Key_F1) << int(Qt::Key_Escape) << false << "help.wav C";
        QTest::newRow("where am I") << int(Qt::Key_F3) << int(Qt::Key_Escape) << false << "you_are_in_room.wav C";
        QTest::newRow("sound lesson, Ctrl") << int(Qt::Key_F4) << int(Qt::Key_Control) << false << "nr1.wav L";
        QTest::newRow("a door waits, then follows") << int(Qt::Key_F4) << int(Qt::Key_Escape) << true << "nr1.wav L";
    }
    void escAndCtrlEndWhatTheChildAskedToHearAtOnce()
    {
        QFETCH(int, request);
        QFETCH(int, silence);
        QFETCH(bool, doorFirst);
        QFETCH(QString, first);
        StartWalk(3);
        const int door = FirstDoors()[0];
        TypeKey(*window, request);
        if (doorFirst)
            TypeKey(*window, Qt::Key_0 + door);
        TypeKey(*window, silence, silence == Qt::Key_Control ? Qt::ControlModifier : Qt::NoModifier);
        QCOMPARE(sound->log.value(sound->log.indexOf("start " + first) + 1), QStringLiteral("stop"));
        if (!doorFirst)
            TypeKey(*window, Qt::Key_0 + door);
        const QString side = QString("LCR")[door - 1];
        // The rest of the request is dropped; the door is chosen as usual.
        QCOMPARE(sound->playOut(),
                 (QStringList{first + QStringLiteral(" + nr%1.wav %2").arg(door).arg(side), "door_open.wav " + side}));
    }

    // Avslutt during the welcome, and the close box while a message is read.
    void closingNeverWaits()
    {
        for (const bool message : {false, true}) {
            init();
            sound->missing = {message ? "welcome.wav" : ""};
            velkarn->start(); // the welcome plays until it is ended, or its message until it is answered
            if (message)
                QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
                    window->windowHandle());
            else
                Action("quitAction")->trigger();
            QVERIFY(!window->isVisible() && sound->log.last() == "stop");
            QCOMPARE(sound->playOut(), message ? QStringList() : QStringList{"welcome.wav C"}); // and nothing after it
        }
    }

    void theListIsReachedWithTabAndSpeaksOnlyWhenTheFocusReallyMovesThere()
    {
        sound->missing = {"nr3.wav"};
        MessageAnswerer answerer;
        start();
        TypeKey(*window, Qt::Key_Tab);
        QTRY_COMPARE(answerer.texts.size(), 1);
        // The window gets its focus back once the message is answered, or a menu closes.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        for (Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::MenuBarFocusReason}) {
            QFocusEvent focus(QEvent::FocusIn, reason);
            QCoreApplication::sendEvent(List(), &focus);
        }
        QCoreApplication::processEvents();
        QCOMPARE(answerer.texts.size(), 1);
        // Keys for the list wait while the prompt and the count are heard again, then move it in order.
        sound->missing.clear();
        TypeKey(*window, Qt::Key_F3);
        sound->step();                                         // its last part, with nothing queued behind it
        TypeKey(*window, Qt::Key_Down, Qt::NoModifier, {}, 1); // held: a list's arrows repeat
        TypeKey(*window, Qt::Key_1, Qt::NoModifier, "1");      // no door here: the list's own search
        TypeKey(*window, Qt::Key_Return);
        QCOMPARE(List()->currentRow(), 0);
        // Each waits for what the one before it started, so every number is heard whole.
        QCOMPARE(
            sound->playOut(),
            (QStringList{"rooms_select.wav C + nr3.wav C", "nr4.wav C", "nr5.wav C", "nr10.wav C", "door123.wav C"}));
        QCOMPARE(Shown(), QStringLiteral("door1 door2 door3"));
    }

    // With a screen reader the list's numbers are its to say, the game's own announcements stay the
    // game's, and the focus never rests where the screen reader would read a control over them.
    void aScreenReaderSaysTheNumbersAndMeetsNoHiddenControl_data()
    {
        QTest::addColumn<QString>("mode"); // chosen in the menu, or given for this run (after "run ")
        QTest::addColumn<bool>("along");
        QTest::newRow("on") << "On" << true;
        QTest::newRow("on for this run") << "run on" << true;
        QTest::newRow("off") << "Off" << false;
        QTest::newRow("automatic, none running") << "Auto" << false;
    }
    void aScreenReaderSaysTheNumbersAndMeetsNoHiddenControl()
    {
        QFETCH(QString, mode);
        QFETCH(bool, along);
        if (!mode.startsWith("run "))
            Action(qPrintable("screenReader" + mode + "Action"))->trigger();
        velkarn->start({}, mode.startsWith("run ") ? mode.mid(4) : QString());
        QVERIFY(QTest::qWaitForWindowActive(window));
        sound->playOut();
        QCOMPARE(Action("screenReaderOnAction")->isChecked(), mode.endsWith("on") || mode == "On");
        QWidget *const pane = window->centralWidget();
        QCOMPARE(window->focusWidget() == pane, along); // not door 1, which it would read over the welcome
        TypeKey(*window, Qt::Key_Tab);
        QCOMPARE(window->focusWidget(), List());
        TypeKey(*window, Qt::Key_Down);
        TypeKey(*window, Qt::Key_Down);
        const QString description = QAccessible::queryAccessibleInterface(List())->text(QAccessible::Description);
        QCOMPARE(description, along ? "5" : "");
        const QStringList numbers{"start nr3.wav C", "start nr4.wav C", "start nr5.wav C"};
        QCOMPARE(sound->log.filter("nr"), along ? QStringList() : numbers);
        sound->playOut();
        TypeKey(*window, Qt::Key_Return);
        QCOMPARE(sound->playOut().value(0), QStringLiteral("door123.wav C")); // the game's own, as always
        QCOMPARE(Shown(), QStringLiteral("door1 door2 door3"));
        QVERIFY(window->focusWidget() == nullptr || window->focusWidget()->isVisible());
        // The doors' keys reach the game from wherever the focus rests.
        TypeKey(*window, Qt::Key_0 + FirstDoors()[0]);
        QCOMPARE(sound->playOut().value(0),
                 QStringLiteral("nr%1.wav ").arg(FirstDoors()[0]) + QString("LCR")[FirstDoors()[0] - 1]);
        Door(2)->setFocus();
        TypeKey(*window, Qt::Key_F2);
        sound->playOut();
        QCOMPARE(Shown(), QStringLiteral("prompt roomCountList"));
        QCOMPARE(window->focusWidget() == pane, along);
        QVERIFY(window->focusWidget() == nullptr || window->focusWidget()->isVisible() || !along);
        // Kept for the next run, unless it was for this run only.
        init();
        QCOMPARE(Action("screenReaderOnAction")->isChecked(), mode == "On");
    }

    // A launcher's language or mode that Velkarn does not know is said, cut to a readable length, and the kept one
    // stays.
    void anUnknownLanguageOrScreenReaderModeIsSaid_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("message");
        const QString language = "Velkarn: Velkarn kan ikke språket «%1». Det kan: nb, en.";
        const QString mode = "Velkarn: Velkarn kjenner ikke skjermleservalget «%1». Det kan være: auto, on, off.";
        const QString huge = QString(65'500, 'a') + QString(65'500, 'b');
        const QString cut = QString(20, 'a') + "…" + QString(20, 'b');
        QTest::newRow("language") << "fr"
                                  << "" << language.arg("fr");
        QTest::newRow("huge language") << huge << "" << language.arg(cut);
        QTest::newRow("mode") << ""
                              << "sometimes" << mode.arg("sometimes");
        QTest::newRow("huge mode") << "" << huge << mode.arg(cut);
    }
    void anUnknownLanguageOrScreenReaderModeIsSaid()
    {
        QFETCH(QString, language);
        QFETCH(QString, mode);
        QFETCH(QString, message);
        Action("screenReaderOffAction")->trigger();
        MessageAnswerer answerer;
        velkarn->start(language, mode);
        QTRY_COMPARE(answerer.texts, QStringList{message});
        QVERIFY(Action("screenReaderOffAction")->isChecked() && Action("nbLanguageAction")->isChecked());
    }

    // Typed with the list focused, which must not take the keys for itself.
    void soundSettingsAreKeptForTheNextRun()
    {
        start();
        List()->setFocus();
        Action("enLanguageAction")->trigger();
        for (int key : {Qt::Key_Minus, Qt::Key_Minus, Qt::Key_Minus, Qt::Key_Plus})
            TypeKey(*window, key, Qt::NoModifier, QKeySequence(key).toString());
        TypeKey(*window, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(sound->log.filter("volume.wav C").size(), 4); // each step is heard
        QCOMPARE(sound->log.last(), QStringLiteral("start en/nr1.wav C"));
        TypeKey(*window, Qt::Key_Escape);
        QCOMPARE(sound->log.last(), QStringLiteral("stop"));
        init();
        QCOMPARE(sound->log.filter("volume").value(0), QStringLiteral("volume -600"));
        QVERIFY(Action("bothEarsAction")->isChecked() && Action("enLanguageAction")->isChecked());
    }

    // Every text a child or a screen reader meets is translated once English is chosen (the language menu, each
    // language in itself, stays as it is).
    void menusAndControlsReadInTheirLanguage()
    {
        QVERIFY(Action("nbLanguageAction")->isChecked()); // no desktop language: Norwegian
        const QStringList norwegian = Texts();
        StartWalk(3); // the About dialog holds the game until it is closed
        Action("aboutAction")->trigger();
        QTRY_VERIFY(QApplication::activeModalWidget());
        QCOMPARE(QApplication::activeModalWidget()->windowTitle(), "Om Velkarn");
        Door(1)->click();
        QCOMPARE(sound->playOut(), QStringList());
        QApplication::activeModalWidget()->close();
        QCOMPARE(sound->playOut().value(0), QStringLiteral("nr1.wav L"));
        Action("enLanguageAction")->trigger();
        QCoreApplication::processEvents(); // the texts are read again
        const QStringList english = Texts();
        for (qsizetype i = 0; i < norwegian.size(); ++i)
            QVERIFY2(!english[i].isEmpty() && english[i] != norwegian[i], qPrintable(english[i]));
        QCOMPARE(english.last(), QStringLiteral("Door 3"));
    }

    // Lyd → Innspilling, from the keyboard (no key of its own a child could hit): the game waits while it is open, and
    // then plays a recording kept meanwhile at once.
    void theTeachersRecordingIsPlayedAtOnce()
    {
        start();
        QVERIFY(Action("recordVoiceAction")->shortcuts().isEmpty());
        UseMenus("alt+l, i");
        QCOMPARE(QApplication::activeModalWidget()->objectName(), "recordingDialog");
        Action("newGameAction")->trigger();
        QCOMPARE(sound->playOut(), QStringList());
        const auto forget = qScopeGuard([&] { QDir(OwnFolder()).removeRecursively(); });
        QVERIFY(QDir().mkpath(OwnFolder() + "/nb") && WriteBytes(OwnFolder() + "/nb/rooms_select.wav", WaveBytes(10)));
        QApplication::activeModalWidget()->close();
        QCOMPARE(sound->playOut(), QStringList{"nb/rooms_select.wav C"});
    }

    // The new language is heard at once, and the walk goes on from the room it had reached.
    void switchingLanguageMidWalkSpeaksTheNewSetAndKeepsTheWalk()
    {
        StartWalk(3);
        const Game::Doors doors = FirstDoors();
        Action("enLanguageAction")->trigger(); // in the first room
        QVERIFY(!velkarn->useLanguage("xx"));  // one Velkarn does not speak changes nothing
        QCOMPARE(sound->playOut(), QStringList{"en/door123.wav C"});
        for (int room = 0; room < 2; ++room) {
            TypeKey(*window, Qt::Key_0 + doors[room]);
            QCOMPARE(sound->playOut(), sound->doorOpens(doors[room], "en/"));
        }
        TypeKey(*window, Qt::Key_F3);
        QCOMPARE(sound->playOut(),
                 (QStringList{"en/you_are_in_room.wav C", "en/nr3.wav C", "en/of.wav C", "en/nr3.wav C"}));
        QCOMPARE(Action("newGameAction")->text(), QStringLiteral("&New game"));
    }

#ifndef Q_OS_WIN // which offers the mail to its MAPI mail program first: help_windows_under_wine tests that
    // Hjelp → Send E-post hands the desktop the mailto: URL, percent-encoded. Where the desktop cannot
    // open it, nothing is shown and the game goes on.
    void feedbackMailOpensTheMailProgramOrFailsQuietly()
    {
        start();
        const QWidgetList before = QApplication::topLevelWidgets();
        MessageAnswerer answerer;
        QDesktopServices::setUrlHandler("mailto", this, "openUrl");
        Action("mailAction")->trigger();
        QDesktopServices::unsetUrlHandler("mailto");
        Action("mailAction")->trigger(); // the offscreen desktop opens no URL
        TypeKey(*window, Qt::Key_F2);
        QCOMPARE(sound->playOut(), QStringList{"rooms_select.wav C"});
        const QByteArray mail = "mailto:" + QByteArray(HelpConfig::SupportMail) + "?subject=Velkarn%20versjon%201.0";
        QCOMPARE(opened, QList<QUrl>{QUrl::fromEncoded(mail)});
        QVERIFY(answerer.texts.isEmpty() && QApplication::topLevelWidgets() == before);
    }
#endif

    // A language whose recordings are missing is said to be so when it is chosen.
    void choosingALanguageWithoutRecordingsSaysSo()
    {
        start();
        const QString folder = SoundFolder() + "/en";
        QVERIFY(QDir().rename(folder, folder + ".away"));
        const auto restore = qScopeGuard([&] { QDir().rename(folder + ".away", folder); });
        MessageAnswerer answerer;
        Action("enLanguageAction")->trigger();
        QTRY_COMPARE(answerer.texts.size(), 1);
        QVERIFY(answerer.texts[0].contains(cutForMessage(QDir::toNativeSeparators(folder + "/"))));
    }

    // After a menu, a dialog or a message, chosen or cancelled, by the keyboard or the mouse, the game's keys work at
    // once: the next door key (while walking) or arrow in the list (while choosing), then F4 and Esc.
    void theKeysWorkAtOnceAfterAMenu_data()
    {
        QTest::addColumn<bool>("walking");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("heard");  // what the menu did
        QTest::addColumn<QString>("folder"); // of the language heard afterwards
        const QString louder = "volume.wav C", english = "en/door123.wav C", none, norwegian;
        QTest::newRow("walking: Alt, Lyd, Høyere") << true << "alt, l, h" << louder << norwegian;
        QTest::newRow("walking: Alt+L, Høyere") << true << "alt+l, h" << louder << norwegian;
        QTest::newRow("walking: Alt+L, cancelled") << true << "alt+l, esc" << none << norwegian;
        QTest::newRow("walking: Alt+P, English") << true << "alt+p, down, return" << english << "en/";
        QTest::newRow("walking in English: Alt+S, Louder")
            << true << "alt+p, down, return, alt+s, l" << english + " " + louder << "en/";
        QTest::newRow("walking: the mouse, Høyere") << true << "click 1, click louderAction" << louder << norwegian;
        QTest::newRow("walking: the mouse, cancelled") << true << "click 1, click away" << none << norwegian;
        QTest::newRow("walking: the About dialog, closed") << true << "alt+h, o, esc" << none << norwegian;
        QTest::newRow("choosing: Alt+L, Høyere") << false << "alt+l, h" << louder << norwegian;
        QTest::newRow("choosing: Alt+L, cancelled") << false << "alt+l, esc" << none << norwegian;
        QTest::newRow("choosing: Alt+P, English") << false << "alt+p, down, return"
                                                  << "en/rooms_select.wav C"
                                                  << "en/";
        QTest::newRow("choosing: the mouse, Høyere") << false << "click 1, click louderAction" << louder << norwegian;
    }
    void theKeysWorkAtOnceAfterAMenu()
    {
        QFETCH(bool, walking);
        QFETCH(QString, menu);
        QFETCH(QString, heard);
        QFETCH(QString, folder);
        if (walking) {
            StartWalk(3);
        } else {
            start();
            TypeKey(*window, Qt::Key_Tab);
            sound->playOut();
        }
        QCOMPARE(UseMenus(menu), heard);
        const int door = FirstDoors()[0];
        TypeKey(*window, walking ? Qt::Key_0 + door : int(Qt::Key_Down));
        const QString answer = walking ? sound->doorOpens(door, folder)[0] : folder + "nr4.wav C";
        QCOMPARE(sound->log.last(), "start " + answer);
        sound->playOut();
        TypeKey(*window, Qt::Key_F4);
        QCOMPARE(sound->log.last(), "start " + folder + "nr1.wav L");
        TypeKey(*window, Qt::Key_Escape);
        QCOMPARE(sound->log.last(), QStringLiteral("stop"));
    }

    // A request typed while a door is heard waits its turn, and Esc drops it there.
    void escDropsARequestStillWaiting()
    {
        StartWalk(3);
        const int door = FirstDoors()[0];
        for (int key : {Qt::Key_0 + door, int(Qt::Key_F1), int(Qt::Key_Escape)})
            TypeKey(*window, key);
        QCOMPARE(sound->playOut(), sound->doorOpens(door));
    }

    // A child bangs the doors 500 times while something is heard: the first few are kept and handled in order, one
    // tick says that the rest were dropped, and Esc and Ctrl still end what the child asked to hear, or wait their
    // turn.
    void aBangedKeyboardLeavesAFewDoorsAndOneTick_data()
    {
        QTest::addColumn<bool>("lesson"); // banged during the sound lesson, else during the first door
        QTest::addColumn<int>("silence"); // typed after the doors, or none
        QTest::newRow("sound lesson") << true << 0;
        QTest::newRow("sound lesson, Esc") << true << int(Qt::Key_Escape);
        QTest::newRow("sound lesson, Ctrl") << true << int(Qt::Key_Control);
        QTest::newRow("a door, then Esc waits its turn") << false << int(Qt::Key_Escape);
    }
    void aBangedKeyboardLeavesAFewDoorsAndOneTick()
    {
        QFETCH(bool, lesson);
        QFETCH(int, silence);
        StartWalk(20);
        const Game::Doors doors = FirstDoors();
        const int first = lesson ? 0 : 1; // the room of the first door banged
        TypeKey(*window, lesson ? int(Qt::Key_F4) : Qt::Key_0 + doors[0]);
        for (int key = 0; key < 500; ++key)
            TypeKey(*window, Qt::Key_0 + doors[(first + key) % Game::MostRooms]);
        if (silence != 0)
            TypeKey(*window, silence, silence == Qt::Key_Control ? Qt::ControlModifier : Qt::NoModifier);
        QStringList heard = lesson ? QStringList{"nr1.wav L",         "nr2.wav C",   "nr3.wav R",     "door_open.wav C",
                                                 "door_closed.wav C", "error.wav C", "success.wav C", "volume.wav C"}
                                   : sound->doorOpens(doors[0]) << "volume.wav C";
        if (lesson && silence != 0)
            heard = QStringList{"nr1.wav L + volume.wav C"}; // the rest of the lesson dropped
        for (int room = first; room < first + CommandQueue::MostTypedAhead; ++room)
            heard << sound->doorOpens(doors[room]);
        QCOMPARE(sound->playOut(), heard);
        QCOMPARE(sound->log.last() == "stop", !lesson);
    }

    // A key whose answer takes seconds, banged while a door is heard, is answered once.
    void aLengthyAnswerBangedIsGivenOnce_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("answer");
        QTest::newRow("F1") << int(Qt::Key_F1) << "help.wav C";
        QTest::newRow("F2") << int(Qt::Key_F2) << "rooms_select.wav C";
        QTest::newRow("F3") << int(Qt::Key_F3) << "you_are_in_room.wav C, nr2.wav C, of.wav C, nr20.wav C";
        QTest::newRow("F4") << int(Qt::Key_F4)
                            << "nr1.wav L, nr2.wav C, nr3.wav R, door_open.wav C, door_closed.wav C, error.wav C, "
                               "success.wav C";
    }
    void aLengthyAnswerBangedIsGivenOnce()
    {
        QFETCH(int, key);
        QFETCH(QString, answer);
        StartWalk(20);
        const int door = FirstDoors()[0];
        TypeKey(*window, Qt::Key_0 + door);
        for (int count = 0; count < 500; ++count)
            TypeKey(*window, key);
        QCOMPARE(sound->playOut().join(", "), sound->doorOpens(door).join(", ") + ", volume.wav C, " + answer);
    }

    // A large font is the hard case for a layout: every text still stays whole.
    void everyTextStaysWholeAtAnyFontSize()
    {
        QFont font = desktop;
        font.setPointSize(20);
        QApplication::setFont(font);
        init();
        start(); // choosing the number of rooms
        auto *prompt = window->findChild<QLabel *>(QStringLiteral("prompt"));
        QCOMPARE(prompt->font().pointSize(), font.pointSize()); // never shrunk to fit
        QVERIFY(prompt->width() >= prompt->sizeHint().width() && prompt->height() >= prompt->sizeHint().height());
        QVERIFY(List()->width() >= List()->sizeHintForColumn(0) && List()->height() >= List()->sizeHintForRow(0));
        QVERIFY(!List()->verticalScrollBar()->isVisible()); // one number at a time, nothing over it
        QVERIFY(prompt->geometry().right() < List()->x() && prompt->y() == List()->y()); // read in this order
        const QRect client = window->centralWidget()->rect();
        QVERIFY(client.contains(prompt->geometry()) && client.contains(List()->geometry()));
        QVERIFY(client.height() > 5 * prompt->height()); // five lines and a little
        List()->setFocus();
        TypeKey(*window, Qt::Key_Return); // walking: the doors, from left to right
        sound->playOut();
        for (int door = 1; door <= 3; ++door) {
            const QSize text = Door(door)->fontMetrics().size(0, Door(door)->text());
            QVERIFY(text.width() < Door(door)->width() && text.height() <= Door(door)->height());
            QVERIFY(client.contains(Door(door)->geometry()));
        }
        QVERIFY(Door(1)->geometry().right() < Door(2)->x() && Door(2)->geometry().right() < Door(3)->x());
        // In cells of one width: three before door 1, four from each door to the next.
        QVERIFY(Door(1)->x() >= Door(1)->width() && Door(2)->x() - Door(1)->x() == Door(3)->x() - Door(2)->x());
        QVERIFY(window->menuBar()->width() >= window->menuBar()->sizeHint().width());
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
