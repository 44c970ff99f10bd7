// SPDX-License-Identifier: GPL-3.0-or-later
#include "Commands.h"

#include "MainWindow.h"
#include "logic/Game.h"

#include <QAction>

namespace {
using Kind = Command::Kind;

constexpr std::pair<void (Game::*)(int), int> door(int number)
{
    return {&Game::chooseDoor, number};
}

// Visits a Call with one overload per kind of slot.
template<class... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};
} // namespace

std::span<const Command> Commands::all()
{
    static const Command table[] = {
        {.name = "newGameAction",
         .keys = {Qt::Key_F2},
         .menu = Menu::Game,
         .text = QT_TR_NOOP("&Nytt spill"),
         .call = &Game::newGame,
         .lengthy = true},
        {.name = "whereAmIAction",
         .keys = {Qt::Key_F3},
         .menu = Menu::Game,
         .text = QT_TR_NOOP("Hvor er &jeg?"),
         .call = &Game::sayWhereIAm,
         .kind = Kind::Request,
         .lengthy = true},
        {.name = "quitAction",
         .menu = Menu::Game,
         .separated = true,
         .text = QT_TR_NOOP("&Avslutt"),
         .call = &MainWindow::quit},
        // "=" too, for keyboards where "+" needs Shift; the keypad's + and - count as well.
        {.name = "louderAction",
         .keys = {Qt::Key_Plus, Qt::Key_Equal},
         .menu = Menu::Sound,
         .text = QT_TR_NOOP("&Høyere"),
         .call = &Game::louder},
        {.name = "softerAction",
         .keys = {Qt::Key_Minus},
         .menu = Menu::Sound,
         .text = QT_TR_NOOP("&Lavere"),
         .call = &Game::softer},
        {.name = "bothEarsAction",
         .keys = {Qt::CTRL | Qt::Key_M},
         .menu = Menu::Sound,
         .text = QT_TR_NOOP("Lyd i &begge ører"),
         .call = &Game::setBothEars},
        // For the teacher, with no key a child could press by chance.
        {.name = "recordVoiceAction",
         .menu = Menu::Sound,
         .separated = true,
         .text = QT_TR_NOOP("&Innspilling..."),
         .call = &MainWindow::recordVoice},
        {.name = "helpAction",
         .keys = {Qt::Key_F1},
         .menu = Menu::Help,
         .text = QT_TR_NOOP("&Hvordan brukes spillet"),
         .call = &Game::playHelp,
         .kind = Kind::Request,
         .lengthy = true},
        {.name = "soundLessonAction",
         .keys = {Qt::Key_F4},
         .menu = Menu::Help,
         .text = QT_TR_NOOP("Hør &lydene"),
         .call = &Game::playSoundLesson,
         .kind = Kind::Request,
         .lengthy = true},
        {.name = "mailAction", .menu = Menu::Help, .text = QT_TR_NOOP("&Send E-post"), .call = &MainWindow::sendMail},
        {.name = "aboutAction",
         .menu = Menu::Help,
         .separated = true,
         .text = QT_TR_NOOP("&Om %1"), // the program's title
         .call = &MainWindow::showAbout},
        // Only the digits of the main keyboard choose doors; the keypad's are ignored.
        {.name = "door1Key", .keys = {Qt::Key_1}, .call = door(1)},
        {.name = "door2Key", .keys = {Qt::Key_2}, .call = door(2)},
        {.name = "door3Key", .keys = {Qt::Key_3}, .call = door(3)},
        // Ctrl alone silences too: screen-reader users press it to stop speech.
        {.name = "silenceKey",
         .keys = {Qt::Key_Escape, Qt::Key_Control},
         .call = &Game::silence,
         .kind = Kind::Silence},
    };
    return table;
}

QString Commands::title(Menu menu)
{
    switch (menu) {
    case Menu::Game:
        return tr("&Spill");
    case Menu::Sound:
        return tr("&Lyd");
    case Menu::Language:
        return QStringLiteral("S&pråk / Language"); // a title that every child can read
    case Menu::Help:
        return tr("&Hjelp");
    case Menu::None:
        break;
    }
    return {};
}

void Commands::connect(QAction *action, const Command &command, Game &game, MainWindow &window)
{
    std::visit(Overloaded{
                   [&](void (Game::*slot)()) { QObject::connect(action, &QAction::triggered, &game, slot); },
                   [&](std::pair<void (Game::*)(int), int> slot) {
                       QObject::connect(action, &QAction::triggered, &game,
                                        [&game, slot] { (game.*slot.first)(slot.second); });
                   },
                   [&](void (Game::*slot)(bool)) {
                       action->setCheckable(true);
                       QObject::connect(action, &QAction::triggered, &game, slot);
                   },
                   [&](void (MainWindow::*slot)()) { QObject::connect(action, &QAction::triggered, &window, slot); },
               },
               command.call);
}
