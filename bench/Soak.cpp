#include "Soak.h"

#include "GameDriver.h"
#include "Measure.h"
#include "MixWatch.h"
#include "gui/MainWindow.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>

namespace {
struct Keystroke {
    int key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

// Every key the game answers, and a few it ignores. Door keys and Enter come more often, so that
// walks begin and go on between the new games that F2 and the menu start.
const Keystroke Keys[] = {
    {Qt::Key_1}, {Qt::Key_2}, {Qt::Key_3}, {Qt::Key_1}, {Qt::Key_2}, {Qt::Key_3}, {Qt::Key_1}, {Qt::Key_2},
    {Qt::Key_3}, {Qt::Key_Return}, {Qt::Key_Return}, {Qt::Key_Return}, {Qt::Key_Tab}, {Qt::Key_Tab},
    {Qt::Key_Backtab, Qt::ShiftModifier}, {Qt::Key_Space}, {Qt::Key_Up}, {Qt::Key_Down}, {Qt::Key_Home},
    {Qt::Key_End}, {Qt::Key_Escape}, {Qt::Key_Control}, {Qt::Key_F1}, {Qt::Key_F2}, {Qt::Key_F3},
    {Qt::Key_F4}, {Qt::Key_Plus}, {Qt::Key_Minus}, {Qt::Key_M, Qt::ControlModifier},
    {Qt::Key_1, Qt::KeypadModifier}, {Qt::Key_A}, {Qt::Key_Enter, Qt::KeypadModifier},
};

// Menu commands that leave the game: closing the window, and starting the user's mail program.
bool LeavesTheGame(const QAction &action)
{
    return action.text() == QStringLiteral("&Avslutt") || action.text() == QStringLiteral("&Send E-post");
}
} // namespace

Soak::Soak(MainWindow &window, GameDriver &driver, MixWatch &mix, quint64 seed)
    : window_(window)
    , driver_(driver)
    , mix_(mix)
    , random_(static_cast<std::mt19937::result_type>(seed))
{
    for (const char *name : {"door1", "door2", "door3"})
        doors_.push_back(window_.findChild<QWidget *>(QString::fromLatin1(name)));
    list_ = window_.findChild<QWidget *>(QStringLiteral("roomCountList"));
    doors_[0]->installEventFilter(this); // the doors are shown when a walk begins
    for (const QAction *menu : window_.menuBar()->actions()) {
        for (QAction *action : menu->menu()->actions()) {
            if (!action->isSeparator() && !LeavesTheGame(*action))
                menuCommands_.push_back(action);
        }
    }
}

void Soak::Run(int commands)
{
    // The allocator settles within the first few hundred commands; growth is counted after that.
    const int warmUp = std::max(std::min(commands / 2, 1'000), 1);
    std::uniform_int_distribution<int> kind(0, 99);
    std::uniform_int_distribution<int> drainAfter(1, 50);
    std::bernoulli_distribution closeDialogNow(0.3);
    const qint64 startNs = bench::MonotonicNs();
    const qint64 handlesAtStart = bench::OpenHandles();
    qint64 warmKb = 0;
    qint64 peakKb = 0;
    int nextDrain = drainAfter(random_);
    for (int sent = 1; sent <= commands; ++sent) {
        // The About dialog holds the game until it is closed; a user closes it sooner or later.
        if (closeDialogNow(random_))
            AnswerDialogs();
        const int roll = kind(random_);
        duringWalks_ += doors_[0]->isVisible() ? 1 : 0;
        Send(roll < 45 ? Key : roll < 55 ? HeldKey : roll < 75 ? Click : roll < 85 ? AccessibilityPress : MenuCommand);
        QCoreApplication::processEvents();
        Sample();
        if (sent == nextDrain || sent == warmUp || sent == commands) {
            Drain();
            nextDrain = sent + drainAfter(random_);
            const qint64 kb = bench::ResidentKb();
            if (sent == warmUp)
                warmKb = kb;
            if (sent >= warmUp)
                peakKb = std::max(peakKb, kb);
        }
    }
    const qint64 endKb = bench::ResidentKb();
    const qint64 endHandles = bench::OpenHandles();
    const double seconds = static_cast<double>(bench::MonotonicNs() - startNs) / 1e9;
    // Closing drops whatever is still queued; the process then ends as the game does.
    window_.close();
    QCoreApplication::processEvents();

    bench::Report("soak_commands", qint64(commands));
    bench::Report("soak_keys", qint64(sent_[Key]));
    bench::Report("soak_held_keys", qint64(sent_[HeldKey]));
    bench::Report("soak_clicks", qint64(sent_[Click]));
    bench::Report("soak_accessibility_presses", qint64(sent_[AccessibilityPress]));
    bench::Report("soak_menu_commands", qint64(sent_[MenuCommand]));
    bench::Report("soak_dialogs_closed", qint64(dialogsClosed_));
    bench::Report("soak_messages", qint64(messages_));
    bench::Report("soak_walks", qint64(walks_));
    bench::Report("soak_during_walks", qint64(duringWalks_));
    bench::Report("soak_drains", qint64(drains_));
    bench::Report("soak_warmup_commands", qint64(warmUp));
    bench::Report("soak_rss_warm_kb", warmKb);
    bench::Report("soak_rss_peak_kb", peakKb);
    bench::Report("soak_rss_end_kb", endKb);
    bench::Report("soak_handles_start", handlesAtStart);
    bench::Report("soak_handles_peak", peakHandles_);
    bench::Report("soak_handles_end", endHandles);
    bench::Report("soak_channels_peak", qint64(peakChannels_));
    bench::Report("soak_playing_peak", qint64(std::max(peakPlaying_, mix_.PeakPlaying())));
    bench::Report("soak_seconds", seconds);
    bench::Report("soak_window_closed", qint64(window_.isVisible() ? 0 : 1));
}

void Soak::Send(Kind kind)
{
    ++sent_[kind];
    switch (kind) {
    case Key:
        PressRandomKey(0);
        break;
    case HeldKey:
        PressRandomKey(std::uniform_int_distribution<int>(1, 8)(random_));
        break;
    case Click: {
        const int target = std::uniform_int_distribution<int>(0, 3)(random_);
        ClickOn(target < 3 ? *doors_[static_cast<size_t>(target)] : *list_);
        break;
    }
    case AccessibilityPress: {
        QWidget *door = doors_[std::uniform_int_distribution<size_t>(0, 2)(random_)];
        QAccessibleInterface *button = QAccessible::queryAccessibleInterface(door);
        if (button != nullptr && button->actionInterface() != nullptr)
            button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        break;
    }
    case MenuCommand:
        menuCommands_[std::uniform_int_distribution<size_t>(0, menuCommands_.size() - 1)(random_)]->trigger();
        break;
    case Kinds:
        break;
    }
}

void Soak::PressRandomKey(int repeats)
{
    const Keystroke &stroke = Keys[std::uniform_int_distribution<size_t>(0, std::size(Keys) - 1)(random_)];
    driver_.PressKey(stroke.key, stroke.modifiers, repeats);
}

void Soak::ClickOn(QWidget &control)
{
    // Where the control is, or would be: a hidden one leaves the click to what lies beneath.
    const QPointF local = control.mapTo(&window_, control.rect().center());
    const QPointF global = window_.mapToGlobal(local);
    QWindow *handle = window_.windowHandle();
    QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
        handle, local, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
        handle, local, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
}

bool Soak::AnswerDialogs()
{
    bool answered = false;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        if (dialog == nullptr || !dialog->isVisible())
            continue;
        if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            // The game only shows a message when something went wrong: each one is a fault.
            ++messages_;
            std::fprintf(stderr, "message: %s\n", qPrintable(box->text()));
            box->button(QMessageBox::Ok)->click();
        } else {
            ++dialogsClosed_;
            bench::QueueKey(dialog->windowHandle(), Qt::Key_Escape);
        }
        QCoreApplication::processEvents();
        answered = true;
    }
    return answered;
}

void Soak::Drain()
{
    ++drains_;
    do
        driver_.Settle();
    while (AnswerDialogs());
}

void Soak::Sample()
{
    peakHandles_ = std::max(peakHandles_, bench::OpenHandles());
    peakChannels_ = std::max(peakChannels_, Mix_AllocateChannels(-1));
    peakPlaying_ = std::max(peakPlaying_, Mix_Playing(-1));
}

bool Soak::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show)
        ++walks_;
    return QObject::eventFilter(watched, event);
}
