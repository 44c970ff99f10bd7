// SPDX-License-Identifier: GPL-3.0-or-later
// The game as the benchmark starts it in a process of its own: the real window and component,
// with the recordings in "wave" beside this program (the benchmark copies it next to the test
// recordings it needs), reporting what it measured on itself as "name=value" lines: its start-up,
// idle and waited processor use, memory over door choices, key-to-sound times, or a soak.

#include "GameDriver.h"
#include "Measure.h"
#include "MixWatch.h"
#include "gui/Velkarn.h"
#include "sound/sdl/SdlSoundComponent.h"
#include "support/TypeKey.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <SDL_mixer.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {
struct Keystroke {
    int key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

// Every key the game answers, and a few it ignores. Door keys and Enter come more often, so that
// walks begin and go on between the new games that F2 and the menu start.
const Keystroke Keys[] = {
    {Qt::Key_1},
    {Qt::Key_2},
    {Qt::Key_3},
    {Qt::Key_1},
    {Qt::Key_2},
    {Qt::Key_3},
    {Qt::Key_1},
    {Qt::Key_2},
    {Qt::Key_3},
    {Qt::Key_Return},
    {Qt::Key_Return},
    {Qt::Key_Return},
    {Qt::Key_Tab},
    {Qt::Key_Tab},
    {Qt::Key_Backtab, Qt::ShiftModifier},
    {Qt::Key_Space},
    {Qt::Key_Up},
    {Qt::Key_Down},
    {Qt::Key_Home},
    {Qt::Key_End},
    {Qt::Key_Escape},
    {Qt::Key_Control},
    {Qt::Key_F1},
    {Qt::Key_F2},
    {Qt::Key_F3},
    {Qt::Key_F4},
    {Qt::Key_Plus},
    {Qt::Key_Minus},
    {Qt::Key_M, Qt::ControlModifier},
    {Qt::Key_1, Qt::KeypadModifier},
    {Qt::Key_A},
    {Qt::Key_Enter, Qt::KeypadModifier},
};

qint64 openHandles()
{
    return QDir(u"/proc/self/fd"_s).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size();
}

// Counts the walks begun: the doors are shown when one begins.
class WalkCounter : public QObject
{
public:
    int walks = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        walks += event->type() == QEvent::Show ? 1 : 0;
        return QObject::eventFilter(watched, event);
    }
};

void click(QWidget &window, const QWidget &control)
{
    // Where the control is, or would be: a hidden one leaves the click to what lies beneath.
    const QPointF local = control.mapTo(&window, control.rect().center());
    const QPointF global = window.mapToGlobal(local);
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window.windowHandle(), local, global, type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
            Qt::LeftButton, type);
    }
}

// Closes an open About dialog with Esc, as a user would, and answers a message (each one a fault:
// the game only shows one when something went wrong). False when none was open.
bool answerDialogs(int &dialogsClosed, int &messages)
{
    bool answered = false;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        if (dialog == nullptr || !dialog->isVisible())
            continue;
        if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            ++messages;
            std::fprintf(stderr, "message: %s\n", qPrintable(box->text()));
            box->button(QMessageBox::Ok)->click();
        } else {
            ++dialogsClosed;
            TypeKey(*dialog, Qt::Key_Escape);
        }
        QCoreApplication::processEvents();
        answered = true;
    }
    return answered;
}
// Sends random commands of every kind a player has through the real window: keys and held keys as
// the window system delivers them, mouse clicks, a screen reader's button presses and menu
// commands. Commands pile up while announcements play; every few commands the game is let finish
// what it holds, and memory, open handles and mixer channels are noted. Then closes the window.
void soak(MainWindow &window, GameDriver &driver, MixWatch &mix, quint64 seed, int commands)
{
    std::vector<QWidget *> doors;
    for (const char *name : {"door1", "door2", "door3"})
        doors.push_back(window.findChild<QWidget *>(QString::fromLatin1(name)));
    QWidget *list = window.findChild<QWidget *>(u"roomCountList"_s);
    // Every menu command but those that leave the game: closing it, starting the user's mail program.
    std::vector<QAction *> menuCommands;
    for (const QAction *menu : window.menuBar()->actions()) {
        for (QAction *action : menu->menu()->actions()) {
            if (!action->isSeparator() && action->text() != u"&Avslutt"_s && action->text() != u"&Send E-post"_s)
                menuCommands.push_back(action);
        }
    }
    WalkCounter walks;
    doors[0]->installEventFilter(&walks);

    std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
    const auto pick = [&random](auto first, auto last) { return std::uniform_int_distribution(first, last)(random); };
    enum Kind { Key, HeldKey, Click, AccessibilityPress, MenuCommand, Kinds };
    int sent[Kinds] = {};
    int dialogsClosed = 0, messages = 0, duringWalks = 0, peakChannels = 0, peakPlaying = 0;
    qint64 warmKb = 0, peakKb = 0, peakHandles = 0;
    // The allocator settles within the first few hundred commands; growth is counted after that.
    const int warmUp = std::max(std::min(commands / 2, 1'000), 1);
    const qint64 startNs = bench::monotonicNs();
    const qint64 handlesAtStart = openHandles();
    int nextDrain = pick(1, 50);
    for (int count = 1; count <= commands; ++count) {
        // The About dialog holds the game until it is closed; a user closes it sooner or later.
        if (std::bernoulli_distribution(0.3)(random))
            answerDialogs(dialogsClosed, messages);
        const int roll = pick(0, 99);
        const Kind kind = roll < 45 ? Key
            : roll < 55             ? HeldKey
            : roll < 75             ? Click
            : roll < 85             ? AccessibilityPress
                                    : MenuCommand;
        duringWalks += doors[0]->isVisible() ? 1 : 0;
        ++sent[kind];
        if (kind == Key || kind == HeldKey) {
            const Keystroke &stroke = Keys[pick(size_t(0), std::size(Keys) - 1)];
            // The text it types, as a keyboard's window system reports it: what a list searches for.
            const bool printable = stroke.key < 0x7f && !(stroke.modifiers & Qt::ControlModifier);
            const QString text = printable ? QString(QChar(stroke.key)).toLower() : QString();
            driver.pressKey(stroke.key, stroke.modifiers, text, kind == HeldKey ? pick(1, 8) : 0);
        } else if (kind == Click) {
            const int target = pick(0, 3);
            click(window, target < 3 ? *doors[size_t(target)] : *list);
        } else if (kind == AccessibilityPress) {
            QAccessibleInterface *button = QAccessible::queryAccessibleInterface(doors[pick(size_t(0), size_t(2))]);
            if (button != nullptr && button->actionInterface() != nullptr)
                button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        } else {
            menuCommands[pick(size_t(0), menuCommands.size() - 1)]->trigger();
        }
        QCoreApplication::processEvents();
        peakHandles = std::max(peakHandles, openHandles());
        peakChannels = std::max(peakChannels, Mix_AllocateChannels(-1));
        peakPlaying = std::max(peakPlaying, Mix_Playing(-1));
        if (count == nextDrain || count == warmUp || count == commands) {
            // The game is let finish what it holds, and what it opened is closed.
            do
                driver.settle();
            while (answerDialogs(dialogsClosed, messages));
            nextDrain = count + pick(1, 50);
            const qint64 kb = bench::residentKb();
            warmKb = count == warmUp ? kb : warmKb;
            peakKb = count >= warmUp ? std::max(peakKb, kb) : peakKb;
        }
    }
    const qint64 endKb = bench::residentKb();
    const qint64 endHandles = openHandles();
    const double seconds = double(bench::monotonicNs() - startNs) / 1e9;
    // Closing drops whatever is still queued; the process then ends as the game does.
    window.close();
    QCoreApplication::processEvents();

    const std::pair<const char *, double> figures[]
        = {{"keys sent", sent[Key]},
           {"held keys sent", sent[HeldKey]},
           {"mouse clicks sent", sent[Click]},
           {"screen-reader presses sent", sent[AccessibilityPress]},
           {"menu commands sent", sent[MenuCommand]},
           {"walks begun", walks.walks},
           {"commands sent during a walk", duringWalks},
           {"About dialogs closed", dialogsClosed},
           {"messages, each a fault", messages},
           {"open handles at the start", double(handlesAtStart)},
           {"open handles at most", double(peakHandles)},
           {"open handles at the end", double(endHandles)},
           {"mixer channels allocated at most", peakChannels},
           {"mixer channels playing at once at most", std::max(peakPlaying, mix.peakPlaying())},
           {"time, s", seconds},
           {"time a command, ms", 1000 * seconds / commands},
           {"warm-up commands", warmUp},
           {"resident after the warm-up, MiB", double(warmKb) / 1024},
           {"resident at most after it, MiB", double(peakKb) / 1024},
           {"resident at the end, MiB", double(endKb) / 1024}};
    for (const auto &[name, value] : figures)
        bench::report(name, value);
}

// Walks of 20 rooms through their doors, a new one after each. When timed, a child presses at any
// moment, not just after a mixing pass: each door key waits a random time up to the longest mixer
// period first, so that the keys fall evenly across the period. Else memory is noted after the
// first 100 choices (half of them, for fewer) and after all of them.
void chooseDoors(GameDriver &driver, int choices, bool timed, int frames, int gapMs = 0)
{
    std::mt19937 random(static_cast<std::mt19937::result_type>(frames));
    for (int i = 1; i <= choices; ++i) {
        if (!driver.isWalking())
            driver.startWalk(20);
        if (timed)
            bench::stayIdle(gapMs + std::uniform_int_distribution(0, 93)(random));
        const qint64 keyToSoundNs = driver.chooseDoor();
        if (timed) {
            bench::report("key_to_sound_ns", double(keyToSoundNs));
            bench::report("key_ns", double(driver.keyNs())); // for a recorder outside the game
        } else if (i == std::min(100, choices / 2))
            bench::report("rss_early_kb", double(bench::residentKb()));
    }
    if (!timed)
        bench::report("rss_choices_kb", double(bench::residentKb()));
}

int play(const QHash<QString, int> &options)
{
    const int frames = options.value(u"frames"_s, SdlSoundComponent::DefaultBufferFrames);
    const quint64 seed = options.value(u"seed"_s, 1);
    SdlSoundComponent component(frames);
    if (!component.isOpen()) {
        std::fprintf(stderr, "no audio device: %s\n", qPrintable(component.openError()));
        return 1;
    }
    MixWatch mix;
    // The game keeps its volume and one-ear mode; the benchmark's commands must not change the user's.
    const QTemporaryDir settings;
    Velkarn game(component, {.settings = settings.filePath(u"velkarn.ini"_s)}, seed);
    MainWindow &window = game.window();
    if (options.value(u"start-only"_s) != 0) {
        // The first sound mixed is the welcome; once it is heard, a start-only run is done.
        mix.listenForSound();
        QObject::connect(&mix, &MixWatch::heard, qApp, &QCoreApplication::quit);
        game.start();
        QApplication::exec();
        bench::report("first_mix_ns", double(mix.heardNs()));
        return 0;
    }

    GameDriver driver(game, component, mix, seed);
    driver.start();
    bench::report("rss_start_kb", double(bench::residentKb()));
    if (const int idleMs = options.value(u"idle-ms"_s); idleMs > 0)
        bench::report("idle_cpu_pct", bench::corePercent([idleMs] { bench::stayIdle(idleMs); }));
    if (options.value(u"waited"_s) != 0) {
        // A new game from the room-count prompt: the game waits until its prompt has been heard.
        // The driver does not follow this game's doors; nothing is chosen after it.
        bench::report("waited_cpu_pct", bench::corePercent([&driver] {
                          driver.pressKey(Qt::Key_F2);
                          driver.settle();
                      }));
        return 0;
    }
    if (const int choices = options.value(u"choices"_s); choices > 0)
        chooseDoors(driver, choices, false, frames);
    if (const int presses = options.value(u"presses"_s); presses > 0) {
        chooseDoors(driver, presses, true, frames, options.value(u"gap-ms"_s));
        bench::stayIdle(300); // the last answer mixed may still be on its way through a sound server
    }
    if (const int commands = options.value(u"soak"_s); commands > 0)
        soak(window, driver, mix, seed, commands);
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    bench::useHeadlessDefaults();
    QApplication app(argc, argv);
    const QHash<QString, int> options
        = bench::parseOptions(app,
                              {u"frames"_s, u"seed"_s, u"start-only"_s, u"idle-ms"_s, u"waited"_s, u"choices"_s,
                               u"presses"_s, u"gap-ms"_s, u"soak"_s});
    bench::ExposeWatch expose;
    try {
        const int status = play(options);
        bench::report("first_expose_ns", double(expose.firstExposeNs()));
        return status;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
