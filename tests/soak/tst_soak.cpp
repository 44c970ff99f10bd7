// SPDX-License-Identifier: GPL-3.0-or-later
// The soak: random but seeded commands of every kind a player has, through the real window and SDL
// component, with every recording a short tone. No message appears (the game shows one only when
// something went wrong), the window always shows one state of the game, nothing it holds grows,
// and it still plays and closes at the end.

#include "gui/Velkarn.h"
#include "sound/sdl/SdlSoundComponent.h"
#include "support/ToneRecordings.h"
#include "support/TypeKey.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <SDL_mixer.h>

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes(); // the sanitizers' runtime
#else
#include <malloc.h>
#endif

#include <atomic>
#include <limits>
#include <random>

using namespace Qt::StringLiterals;

namespace {
// Enough commands to meet every state many times, and few enough for two busy cores under the
// sanitizers in about a minute. VELKARN_SOAK_COMMANDS asks for more.
constexpr int DefaultCommands = 5'000;
// The mixer's passes are then short: sounds end quickly, and commands rather than waiting fill the time.
constexpr int BufferFrames = 64;
constexpr int ToneMs = 10;
constexpr int SettleTimeoutMs = 20'000;

// Every key the game answers, and a few it ignores. Door keys and Enter come more often, so that
// walks begin and go on between the new games that F2 and the menu start.
const std::pair<int, Qt::KeyboardModifiers> Keys[] = {
    {Qt::Key_1, {}},
    {Qt::Key_2, {}},
    {Qt::Key_3, {}},
    {Qt::Key_1, {}},
    {Qt::Key_2, {}},
    {Qt::Key_3, {}},
    {Qt::Key_1, {}},
    {Qt::Key_2, {}},
    {Qt::Key_3, {}},
    {Qt::Key_Return, {}},
    {Qt::Key_Return, {}},
    {Qt::Key_Return, {}},
    {Qt::Key_Tab, {}},
    {Qt::Key_Tab, {}},
    {Qt::Key_Backtab, Qt::ShiftModifier},
    {Qt::Key_Space, {}},
    {Qt::Key_Up, {}},
    {Qt::Key_Down, {}},
    {Qt::Key_Home, {}},
    {Qt::Key_End, {}},
    {Qt::Key_Escape, {}},
    {Qt::Key_Control, {}},
    {Qt::Key_F1, {}},
    {Qt::Key_F2, {}},
    {Qt::Key_F3, {}},
    {Qt::Key_F4, {}},
    {Qt::Key_Plus, {}},
    {Qt::Key_Minus, {}},
    {Qt::Key_M, Qt::ControlModifier},
    {Qt::Key_1, Qt::KeypadModifier},
    {Qt::Key_A, {}},
    {Qt::Key_Enter, Qt::KeypadModifier},
};

/// Bytes the program holds on its heap now (the sanitizers' count where they keep freed memory aside).
qint64 heapBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    return qint64(mallinfo2().uordblks);
#endif
}

qint64 openHandles()
{
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
        .size();
}

void click(QWidget &window, const QWidget &control)
{
    // Where the control is, or would be: a hidden one leaves the click to what lies beneath.
    const QPointF local = control.mapTo(&window, control.rect().center());
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window.windowHandle(), local, window.mapToGlobal(local),
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton, type);
    }
}
} // namespace

// Counts the mixer's passes from its post-mix callback and the most channels seen playing at once.
// A pass that has ended has posted the end of every sound it finished.
class MixPasses : public QObject
{
    Q_OBJECT

public:
    MixPasses() { Mix_SetPostMix(&MixPasses::onMix, this); }
    ~MixPasses() override { Mix_SetPostMix(nullptr, nullptr); }

    int mostPlaying() const { return mostPlaying_; }
    /// Runs the event loop until two passes have ended after this call; false when they did not in time.
    bool waitForPasses()
    {
        QSignalSpy passed(this, &MixPasses::passed);
        wakeAt_ = passes_ + 2;
        return passed.wait(SettleTimeoutMs);
    }

signals:
    void passed();

private:
    static void SDLCALL onMix(void *self, Uint8 *, int)
    {
        auto *mix = static_cast<MixPasses *>(self);
        mix->mostPlaying_ = std::max(mix->mostPlaying_.load(), Mix_Playing(-1)); // only this thread writes it
        quint64 wakeAt = mix->wakeAt_;
        if (++mix->passes_ >= wakeAt && mix->wakeAt_.compare_exchange_strong(wakeAt, Never))
            QMetaObject::invokeMethod(mix, &MixPasses::passed, Qt::QueuedConnection);
    }

    static constexpr quint64 Never = std::numeric_limits<quint64>::max();
    std::atomic<quint64> passes_{0};
    std::atomic<quint64> wakeAt_{Never};
    std::atomic<int> mostPlaying_{0};
};

class tst_Soak : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void randomCommandsLeaveTheGameWhole();

private:
    bool settle();
    bool answerDialogs();
    bool showsOneState() const;

    QTemporaryDir home_;
    std::unique_ptr<SdlSoundComponent> component_;
    std::unique_ptr<MixPasses> mix_;
    std::unique_ptr<Velkarn> game_;
    MainWindow *window_ = nullptr;
    int dialogsClosed_ = 0;
    QStringList messages_;
};

void tst_Soak::initTestCase()
{
    // The offscreen platform says at every window it shows that it passes no size hints on: the soak
    // shows thousands, which would crowd out every other message.
    static const QtMessageHandler previous
        = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
              if (!text.contains(u"propagateSizeHints"))
                  previous(type, context, text);
          });
    // The game keeps its volume, one-ear mode and language; the soak changes them all, never the user's.
    qputenv("HOME", QFile::encodeName(home_.path()));
    QStandardPaths::setTestModeEnabled(true);
    // The game finds its recordings beside its program: this test's own folder.
    QVERIFY(WriteToneRecordings(QStringLiteral(BUILT_WAVE), QCoreApplication::applicationDirPath() + "/wave", ToneMs));
    component_ = std::make_unique<SdlSoundComponent>(BufferFrames);
    QVERIFY2(component_->isOpen(), qPrintable(component_->openError()));
    mix_ = std::make_unique<MixPasses>();
}

// Lets the game finish what it holds: no sound plays, and the end of each has been handled.
bool tst_Soak::settle()
{
    for (;;) {
        QSignalSpy ended(component_.get(), &SoundComponent::playbackEnded);
        QCoreApplication::processEvents();
        if (Mix_Playing(-1) > 0) {
            if (!ended.wait(SettleTimeoutMs))
                return false;
            continue;
        }
        if (!mix_->waitForPasses())
            return false;
        QCoreApplication::processEvents();
        if (Mix_Playing(-1) == 0)
            return true;
    }
}

// Closes an open About dialog with Esc, as a player would. A message fails the test: the game shows
// one only when something went wrong. False when no dialog was open.
bool tst_Soak::answerDialogs()
{
    bool answered = false;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        if (dialog == nullptr || !dialog->isVisible())
            continue;
        if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            messages_ << box->text();
            box->button(QMessageBox::Ok)->click();
        } else {
            TypeKey(*dialog, Qt::Key_Escape);
            ++dialogsClosed_;
        }
        answered = true;
    }
    return answered;
}

bool tst_Soak::showsOneState() const
{
    const bool walking = window_->findChild<QWidget *>(QStringLiteral("door1"))->isVisible();
    const bool choosing = window_->findChild<QWidget *>(QStringLiteral("roomCountList"))->isVisible();
    return walking != choosing;
}

void tst_Soak::randomCommandsLeaveTheGameWhole()
{
    const int commands = qEnvironmentVariableIntValue("VELKARN_SOAK_COMMANDS") > 0
        ? qEnvironmentVariableIntValue("VELKARN_SOAK_COMMANDS")
        : DefaultCommands;
    const quint64 seed
        = qEnvironmentVariableIsSet("VELKARN_SOAK_SEED") ? qEnvironmentVariableIntValue("VELKARN_SOAK_SEED") : 1;
    qInfo("%d commands, seed %llu (VELKARN_SOAK_COMMANDS, VELKARN_SOAK_SEED)", commands, seed);
    game_ = std::make_unique<Velkarn>(*component_, Velkarn::Places{.settings = home_.filePath("settings.ini")}, seed);
    window_ = &game_->window();
    game_->start();
    QVERIFY(settle());

    std::vector<QWidget *> targets; // the doors and the list, where a mouse clicks
    for (const char *name : {"door1", "door2", "door3", "roomCountList"})
        targets.push_back(window_->findChild<QWidget *>(QString::fromLatin1(name)));
    // Every menu command but those that leave the game: closing it, starting the user's mail program.
    std::vector<QAction *> menuCommands;
    for (const QAction *menu : window_->menuBar()->actions()) {
        for (QAction *action : menu->menu()->actions()) {
            const QString name = action->objectName();
            if (!action->isSeparator() && name != u"quitAction" && name != u"mailAction")
                menuCommands.push_back(action);
        }
    }
    QVERIFY(menuCommands.size() >= 9);

    std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
    const auto pick = [&random](auto first, auto last) { return std::uniform_int_distribution(first, last)(random); };
    const int warmUp = std::min(commands / 2, 1'000); // the allocator and Qt's caches settle meanwhile
    const int channels = Mix_AllocateChannels(-1);
    // The most the game holds once settled, over the first and the second half of the commands
    // after the warm-up: a leak shows as a second half above the first.
    struct Held {
        qint64 heap = 0, handles = 0;
    } halves[2];
    int walks = 0;
    for (int count = 1, nextSettle = pick(1, 50); count <= commands; ++count) {
        // The About dialog holds the game until it is closed; a player closes it sooner or later.
        if (pick(0, 9) < 3)
            answerDialogs();
        const bool walking = targets[0]->isVisible();
        const int roll = pick(0, 99);
        if (roll < 55) { // a key, one in five held down with auto-repeat
            const auto &[key, modifiers] = Keys[pick(size_t(0), std::size(Keys) - 1)];
            const bool printable = key < 0x7f && !(modifiers & Qt::ControlModifier);
            TypeKey(*window_, key, modifiers, printable ? QString(QChar(key)).toLower() : QString(),
                    roll < 10 ? pick(1, 8) : 0);
        } else if (roll < 75) {
            click(*window_, *targets[pick(size_t(0), targets.size() - 1)]);
        } else if (roll < 85) { // a screen reader presses a door button
            QAccessibleInterface *button = QAccessible::queryAccessibleInterface(targets[pick(size_t(0), size_t(2))]);
            QVERIFY(button != nullptr && button->actionInterface() != nullptr);
            button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        } else {
            menuCommands[pick(size_t(0), menuCommands.size() - 1)]->trigger();
        }
        QCoreApplication::processEvents();
        walks += !walking && targets[0]->isVisible() ? 1 : 0;
        if (count == nextSettle || count == warmUp || count == commands) {
            do
                QVERIFY2(settle(), qPrintable(QStringLiteral("the game's sounds never ended, command %1").arg(count)));
            while (answerDialogs());
            QVERIFY2(messages_.isEmpty(), qPrintable(u"a message: "_s + messages_.join(u'\n')));
            QVERIFY2(showsOneState(), qPrintable(QStringLiteral("neither doors nor the list, command %1").arg(count)));
            nextSettle = count + pick(1, 50);
            if (count >= warmUp) {
                Held &half = halves[count > (warmUp + commands) / 2 ? 1 : 0];
                half.heap = std::max(half.heap, heapBytes());
                half.handles = std::max(half.handles, openHandles());
            }
        }
    }
    qInfo("%d walks begun, %d dialogs closed; at most %lld and %lld bytes on the heap, %lld and %lld open "
          "handles in the first and second half after the first %d commands; at most %d sounds at once",
          walks, dialogsClosed_, halves[0].heap, halves[1].heap, halves[0].handles, halves[1].handles, warmUp,
          mix_->mostPlaying());
    // The commands reached every state: walks began, and the About dialog was opened and closed.
    QVERIFY(walks > 0);
    QVERIFY(dialogsClosed_ > 0);
    // A thread of the settings' writer may hold a handle or two for a while, and the heap its caches.
    QVERIFY2(halves[1].heap <= halves[0].heap + 256 * 1024, "the heap grows");
    QVERIFY2(halves[1].handles <= halves[0].handles + 2, "open handles grow");
    QCOMPARE(Mix_AllocateChannels(-1), channels);
    // One sound at a time, and the volume tick over it.
    QVERIFY(mix_->mostPlaying() <= 2);

    // It still plays: a new game asks for the rooms, and Enter on the list starts the walk.
    TypeKey(*window_, Qt::Key_F2);
    QVERIFY(settle());
    QVERIFY(targets[3]->isVisible());
    targets[3]->setFocus(Qt::TabFocusReason);
    QVERIFY(settle());
    TypeKey(*window_, Qt::Key_Return);
    QVERIFY(settle());
    QVERIFY(targets[0]->isVisible());
    // And it closes, whatever it holds.
    TypeKey(*window_, Qt::Key_1);
    QVERIFY(window_->close());
    QVERIFY(!window_->isVisible());
}

QTEST_MAIN(tst_Soak)
#include "tst_soak.moc"
