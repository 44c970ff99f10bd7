#include "AppTestSupport.h"
#include "FakeSoundComponent.h"
#include "MessageAnswerer.h"
#include "app/Program.h"
#include "app/frmMain.h"
#include "sound/SdlSoundComponent.h"

#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

class frmMainTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeSoundComponent> sound;
    std::unique_ptr<frmMain> window;

    template <typename T> T *Control(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    QPushButton *Door(int door) const
    {
        return Control<QPushButton>(qPrintable(QStringLiteral("cmd%1").arg(door)));
    }
    QListWidget *List() const { return Control<QListWidget>("lbLevel"); }
    QAction *Action(const QString &text) const
    {
        const auto actions = window->findChildren<QAction *>();
        for (QAction *action : actions) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }
    qint16 CorrectDoor(int room) const
    {
        return window->Rules().CorrectDoor()[static_cast<size_t>(room)];
    }
    // Starts the program's first game and a walk of three rooms, with the log cleared.
    void StartWalk()
    {
        Begin(*window, *sound);
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        List()->setFocus();
        TypeKey(*window, Qt::Key_Return);
        QCOMPARE(window->Rules().Room(), 0);
        sound->log.clear();
    }

private slots:
    void init()
    {
        sound = std::make_unique<FakeSoundComponent>();
        window = std::make_unique<frmMain>(*sound);
    }
    void cleanup()
    {
        window.reset();
        sound.reset();
    }

    void theWindowCarriesItsNorwegianTextsAndShortcuts()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Velkarn"));
        QStringList menus;
        for (QAction *menu : window->menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, (QStringList{"&Spill", "&Hjelp"}));
        QVERIFY(Action("&Nytt spill") && Action("&Avslutt") && Action("&Hvordan brukes spillet")
                && Action("&Send E-post") && Action("&Om Velkarn"));
        QCOMPARE(Action("&Nytt spill")->shortcut(), QKeySequence(Qt::Key_F2));
        QCOMPARE(Action("&Hvordan brukes spillet")->shortcut(), QKeySequence(Qt::Key_F1));

        QCOMPARE(Control<QLabel>("lblQuestion")->text(), QStringLiteral("Velg antall rom:"));
        QVERIFY(Control<QLabel>("lblQuestion")->alignment() & Qt::AlignRight);
        QCOMPARE(List()->count(), 18);
        QCOMPARE(List()->item(0)->text(), QStringLiteral("3"));
        QCOMPARE(List()->item(17)->text(), QStringLiteral("20"));
        QCOMPARE(List()->currentRow(), 0);
        QCOMPARE(List()->accessibleName(), QStringLiteral("Velg antall rom"));
        for (int door = 1; door <= 3; ++door) {
            QCOMPARE(Door(door)->text(), QString::number(door));
            QVERIFY(!Door(door)->accessibleName().isEmpty());
        }
        // Until the first game the list's set-up selection is silent.
        QVERIFY(sound->log.isEmpty());
    }

    void startUpGreetsThenAsksForTheRoomCount()
    {
        window->show();
        QVERIFY(Door(1)->isVisible() && !List()->isVisible());
        Begin(*window, *sound);
        QCOMPARE(sound->Heard(), (QStringList{"start welcome.wav C", "wait welcome.wav",
                                              "start rooms_select.wav C", "wait rooms_select.wav"}));
        QVERIFY(List()->isVisible() && Control<QLabel>("lblQuestion")->isVisible());
        QVERIFY(!Door(1)->isVisible() && !Door(2)->isVisible() && !Door(3)->isVisible());
        QCOMPARE(window->Rules().Room(), -1);
    }

    void theListIsReachedWithTabAndSpeaksAsItMoves()
    {
        Begin(*window, *sound);
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        sound->log.clear();
        TypeKey(*window, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), List());
        TypeKey(*window, Qt::Key_Down);
        TypeKey(*window, Qt::Key_Down);
        // Digits are not door choices here: the list's own search takes them.
        TypeKey(*window, Qt::Key_1, Qt::NoModifier, "1");
        QCOMPARE(List()->currentItem()->text(), QStringLiteral("10"));
        QCOMPARE(sound->Heard(), (QStringList{"start nr3.wav C", "start nr4.wav C", "start nr5.wav C",
                                              "start nr10.wav C"}));
        QCOMPARE(window->Rules().Room(), -1);
        TypeKey(*window, Qt::Key_Return);
        QCOMPARE(window->Rules().Room(), 0);
        QVERIFY(Door(1)->isVisible() && !List()->isVisible());
        QCOMPARE(sound->Heard().last(), QStringLiteral("start door123.wav C"));
    }

    void doorKeysWorkWithTheFocusOnAButtonOrOnNothing()
    {
        StartWalk();
        QCOMPARE(window->focusWidget(), nullptr); // the hidden list gave the focus up
        const qint16 first = CorrectDoor(0);
        TypeKey(*window, Qt::Key_0 + first);
        QCOMPARE(window->Rules().Room(), 1);

        Door(3)->setFocus();
        TypeKey(*window, Qt::Key_0 + CorrectDoor(1));
        QCOMPARE(window->Rules().Room(), 2);
        const QString name = QStringLiteral("start nr%1.wav").arg(first);
        QCOMPARE(sound->Heard().filter(QRegularExpression("^start nr")).size(), 2);
        QVERIFY(sound->Heard().first().startsWith(name));

        // The keypad's digits are no door keys.
        TypeKey(*window, Qt::Key_1, Qt::KeypadModifier);
        QCOMPARE(window->Rules().Room(), 2);
    }

    void aFocusedButtonChoosesOnSpaceOrEnterAndTabMovesOn()
    {
        StartWalk();
        Door(1)->setFocus();
        TypeKey(*window, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Door(2));
        TypeKey(*window, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Door(3));
        Door(CorrectDoor(0))->setFocus();
        TypeKey(*window, Qt::Key_Space, Qt::NoModifier, " ");
        QCOMPARE(window->Rules().Room(), 1);
        Door(CorrectDoor(1))->setFocus();
        TypeKey(*window, Qt::Key_Return);
        QCOMPARE(window->Rules().Room(), 2);
        Door(CorrectDoor(2) % 3 + 1)->click(); // a wrong door by mouse
        QCOMPARE(window->Rules().Room(), 0);
    }

    void keysTypedDuringAWaitedSoundAreHandledAfterItInOrder()
    {
        StartWalk();
        sound->holdSounds = true;
        const qint16 first = CorrectDoor(0);
        const qint16 second = CorrectDoor(1);
        QueueKey(*window, Qt::Key_0 + first);
        QueueKey(*window, Qt::Key_0 + second);
        QueueKey(*window, Qt::Key_F1);
        // While the first announcement is waited for, the other keys must wait too.
        int checks = 0;
        QTimer ender;
        connect(&ender, &QTimer::timeout, this, [&] {
            if (!sound->AnyPlaying())
                return;
            ++checks;
            if (sound->log.last().startsWith("wait nr")) {
                QCOMPARE(sound->log.filter(QRegularExpression("^start nr")).size(),
                         sound->log.filter(QRegularExpression("^wait nr")).size());
            }
            sound->EndAll();
        });
        ender.start(0);
        QTRY_COMPARE(window->Rules().Room(), 2);
        QTRY_VERIFY(sound->log.filter("help.wav").size() >= 1);
        ender.stop();
        const QStringList heard = sound->Heard();
        const QString side[] = {"L", "C", "R"};
        const QString firstStart = QStringLiteral("start nr%1.wav ").arg(first) + side[first - 1];
        const QString secondStart = QStringLiteral("start nr%1.wav ").arg(second) + side[second - 1];
        QVERIFY(checks > 0);
        QCOMPARE(heard.value(0), firstStart);
        QCOMPARE(heard.value(1), QStringLiteral("wait nr%1.wav").arg(first));
        QCOMPARE(heard.value(3), secondStart);
        QCOMPARE(heard.value(4), QStringLiteral("wait nr%1.wav").arg(second));
        QCOMPARE(heard.last(), QStringLiteral("start help.wav C"));
    }

    void newGameAndEscapeWorkAtAnyTime()
    {
        StartWalk();
        TypeKey(*window, Qt::Key_0 + CorrectDoor(0));
        TypeKey(*window, Qt::Key_Escape);
        QVERIFY(sound->log.contains("stop"));
        const auto sequence = window->Rules().CorrectDoor();
        TypeKey(*window, Qt::Key_F2);
        QCOMPARE(window->Rules().Room(), -1);
        QVERIFY(window->Rules().CorrectDoor() != sequence); // a fresh draw (a repeat is 3^-20)
        QVERIFY(List()->isVisible() && !Door(1)->isVisible());
        QCOMPARE(sound->Heard().mid(sound->Heard().size() - 2),
                 (QStringList{"start rooms_select.wav C", "wait rooms_select.wav"}));
        TypeKey(*window, Qt::Key_Escape);
        QCOMPARE(sound->log.filter("stop").size(), 2);
    }

    void aMissingGreetingIsReportedAndTheGameStillBegins()
    {
        sound->missing = {"welcome.wav"};
        MessageAnswerer answerer;
        Begin(*window, *sound);
        QCOMPARE(answerer.texts, QStringList{"Kan ikke åpne lydfilen: " + window->Player().SoundDir() + "welcome.wav"});
        QCOMPARE(answerer.titles, QStringList{"Velkarn"});
        QCOMPARE(sound->Heard(), (QStringList{"start rooms_select.wav C", "wait rooms_select.wav"}));
        QVERIFY(List()->isVisible());
    }

    void aMachineWithoutAnAudioDeviceStartsWithOneMessage()
    {
        qputenv("SDL_AUDIODRIVER", "nonexistent");
        SdlSoundComponent none;
        qputenv("SDL_AUDIODRIVER", "dummy");
        frmMain silent(none);
        MessageAnswerer answerer;
        Begin(silent, none);
        QCOMPARE(silent.Rules().Room(), -1);
        QVERIFY(silent.findChild<QListWidget *>("lbLevel")->isVisible());
        // The game goes on silently: no message for each sound that cannot be heard.
        silent.findChild<QListWidget *>("lbLevel")->setFocus();
        TypeKey(silent, Qt::Key_Return);
        TypeKey(silent, Qt::Key_0 + silent.Rules().CorrectDoor()[0]);
        QCOMPARE(silent.Rules().Room(), 1);
        QCOMPARE(answerer.texts, QStringList{"Fant ingen lydenhet. Velkarn går videre uten lyd."});
        QCOMPARE(answerer.titles, QStringList{"Velkarn"});
    }

    void aboutOpensTheModalDialogAndExitClosesTheWindow()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QString seen;
        QTimer::singleShot(0, this, [&seen] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (dialog == nullptr)
                return;
            seen = dialog->windowTitle();
            dialog->close();
        });
        Action("&Om Velkarn")->trigger();
        QCOMPARE(seen, QStringLiteral("Om Velkarn"));
        Action("&Avslutt")->trigger();
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(frmMainTest)
#include "tst_frmmain.moc"
