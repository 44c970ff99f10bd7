// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindow.h"

#include "RoomCountList.h"
#include "help/AboutDialog.h"
#include "help/FeedbackMail.h"
#include "i18n/Translations.h"
#include "info/AppInfo.h"
#include "logic/CommandQueue.h"
#include "logic/Game.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

#include <algorithm>

namespace {
// The window is drawn on a grid of cells, each as wide as an average character and as tall as a
// line (a twelfth and a sixth of an inch), grown where the desktop's font needs more.
constexpr int GridColumns = 39;
constexpr int GridRows = 5;
constexpr double BottomMarginRows = 0.44;
constexpr int PromptColumns = 10;
} // namespace

MainWindow::MainWindow(Game &game, CommandQueue &queue, QWidget *parent)
    : QMainWindow(parent)
    , game_(game)
    , queue_(queue)
{
    setWindowTitle(QString::fromUtf8(AppInfo::Title));
    createControls();
    createMenus();
    retranslate();
    layOutControls();
    connect(&game_, &Game::choosingRoomCount, this, &MainWindow::showChoosing);
    connect(&game_, &Game::walking, this, &MainWindow::showWalking);
    connect(&game_, &Game::soundSettingsChanged, this, &MainWindow::showSoundSettings);
    // Whatever took the focus (a menu, a dialog, a message, a control that hid), once it has let
    // go the keys reach the game again.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        if (old != nullptr && old->window() == this && qobject_cast<QMenuBar *>(now) != nullptr)
            focusBeforeMenus_ = old;
    });
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::keepFocusInPlay, Qt::QueuedConnection);
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls()
{
    auto *client = new QWidget(this);
    setCentralWidget(client);
    // Created in reading and tab order: the prompt, the list, doors 1 to 3.
    prompt_ = new QLabel(client);
    prompt_->setObjectName(QStringLiteral("prompt"));
    prompt_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    roomCountList_ = new RoomCountList(Game::FewestRooms, Game::MostRooms, client);
    roomCountList_->setObjectName(QStringLiteral("roomCountList"));
    connect(roomCountList_, &RoomCountList::roomsReached, &game_, &Game::speakRoomCount);
    for (int door = 1; door <= 3; ++door) {
        auto *button = new QPushButton(QString::number(door), client);
        button->setObjectName(QStringLiteral("door%1").arg(door));
        connect(button, &QPushButton::clicked, &game_, [this, door] { game_.chooseDoor(door); });
        doorButtons_[static_cast<size_t>(door - 1)] = button;
    }
    prompt_->hide();
    roomCountList_->hide();
}

void MainWindow::createMenus()
{
    for (Menu menu : {Menu::Game, Menu::Sound, Menu::Language, Menu::Help}) {
        menus_[menu] = menuBar()->addMenu(QString()); // every text is set by retranslate()
        connect(menus_[menu], &QMenu::aboutToHide, this, &MainWindow::leaveMenuBar, Qt::QueuedConnection);
    }
    for (const Command &command : Commands::all()) {
        auto *action = new QAction(this);
        action->setObjectName(QString::fromLatin1(command.name));
        Commands::connect(action, command, game_, *this);
        if (command.menu == Menu::None)
            continue; // its keys alone: the router triggers it
        QMenu *menu = menus_[command.menu];
        if (command.separated)
            menu->addSeparator();
        menu->addAction(action);
        // A held key counts once. The router handles the shortcuts' keys with every other key and
        // in the same order, so that it can tell a held key from a new press; the menus still show
        // them, and they work in an open menu.
        action->setShortcuts(QList<QKeySequence>(command.keys.begin(), command.keys.end()));
        action->setAutoRepeat(false);
        action->setShortcutContext(Qt::WidgetShortcut);
    }
    // Each language by its own name.
    QMenu *languages = menus_[Menu::Language];
    languages->setObjectName(QStringLiteral("languageMenu"));
    languageGroup_ = new QActionGroup(this);
    for (const QString &language : Translations::available()) {
        QAction *action = languages->addAction(Translations::ownName(language), this,
                                               [this, language] { emit languageChosen(language); });
        action->setObjectName(language + QStringLiteral("LanguageAction"));
        action->setData(language);
        action->setCheckable(true);
        languageGroup_->addAction(action);
    }
    createScreenReaderMenu(menus_[Menu::Sound]);
}

void MainWindow::createScreenReaderMenu(QMenu *parent)
{
    // Kept with the other settings of what the child hears; texts set by retranslate().
    parent->addSeparator();
    screenReaderMenu_ = parent->addMenu(QString());
    screenReaderMenu_->setObjectName(QStringLiteral("screenReaderMenu"));
    screenReaderGroup_ = new QActionGroup(this);
    for (const ScreenReader::Mode mode :
         {ScreenReader::Mode::Automatic, ScreenReader::Mode::On, ScreenReader::Mode::Off}) {
        QAction *action
            = screenReaderMenu_->addAction(QString(), this, [this, mode] { emit screenReaderModeChosen(mode); });
        QString name = ScreenReader::modeName(mode);
        name[0] = name[0].toUpper();
        action->setObjectName(QStringLiteral("screenReader%1Action").arg(name)); // screenReaderOnAction, …
        action->setData(ScreenReader::modeName(mode));
        action->setCheckable(true);
        screenReaderGroup_->addAction(action);
    }
}

void MainWindow::retranslate()
{
    prompt_->setText(tr("Velg antall rom:"));
    roomCountList_->setAccessibleName(tr("Velg antall rom"));
    // What a screen reader announces beyond each door button's own text.
    for (int door = 1; door <= 3; ++door)
        doorButtons_[static_cast<size_t>(door - 1)]->setAccessibleDescription(tr("Dør %1").arg(door));
    for (const auto &[menu, qmenu] : menus_)
        qmenu->setTitle(Commands::title(menu));
    screenReaderMenu_->setTitle(tr("&Skjermleser"));
    const QStringList modes{tr("&Automatisk"), tr("&På"), tr("A&v")}; // in the menu's order
    for (int mode = 0; mode < modes.size(); ++mode)
        screenReaderGroup_->actions().at(mode)->setText(modes.at(mode));
    for (const Command &command : Commands::all()) {
        if (command.text != nullptr) {
            findChild<QAction *>(QString::fromLatin1(command.name))
                ->setText(Commands::tr(command.text).replace(QStringLiteral("%1"), windowTitle()));
        }
    }
    if (grid_ != nullptr)
        fitToText();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void MainWindow::showLanguage(const QString &language)
{
    for (QAction *action : languageGroup_->actions())
        action->setChecked(action->data().toString() == language);
}

void MainWindow::showScreenReaderMode(ScreenReader::Mode mode)
{
    for (QAction *action : screenReaderGroup_->actions())
        action->setChecked(action->data().toString() == ScreenReader::modeName(mode));
}

void MainWindow::playAlongWithScreenReader(bool on)
{
    playingAlong_ = on;
    roomCountList_->setToldByScreenReader(on);
    // Not on door 1, where the window puts the focus first: the screen reader would read it over
    // the welcome.
    if (QWidget *focus = focusWidget(); focus == nullptr || isDoor(focus))
        quietFocus();
}

bool MainWindow::isDoor(const QWidget *widget) const
{
    return std::find(doorButtons_.cbegin(), doorButtons_.cend(), widget) != doorButtons_.cend();
}

void MainWindow::quietFocus()
{
    // The window's nameless pane, which a screen reader passes over in silence: not the next
    // control, which it would read over what the game says. Keys still reach the window from there.
    if (playingAlong_)
        centralWidget()->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showSoundSettings(int /*volume*/, bool bothEars)
{
    findChild<QAction *>(QStringLiteral("bothEarsAction"))->setChecked(bothEars);
}

void MainWindow::layOutControls()
{
    grid_ = new QGridLayout(centralWidget());
    grid_->setSpacing(0);
    // Row 2 holds the prompt and the list while choosing, the doors (two rows tall) while walking.
    // The list and the doors take exactly their cells, whatever size their style would prefer.
    roomCountList_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    for (QPushButton *door : doorButtons_)
        door->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    grid_->addWidget(prompt_, 2, 2, 1, PromptColumns);
    grid_->addWidget(roomCountList_, 2, 12, 1, 5);
    for (int door = 0; door < 3; ++door)
        grid_->addWidget(doorButtons_[static_cast<size_t>(door)], 2, 3 + 4 * door, 2, 2);
    fitToText();
    resize(minimumSizeHint());
}

void MainWindow::fitToText()
{
    // A cell is a twelfth of an inch wide and a sixth tall, wider where the prompt needs more than
    // its ten cells and taller where a line of the desktop's font needs more. Text never shrinks.
    const int cellWidth
        = std::max(logicalDpiX() / 12, (prompt_->sizeHint().width() + PromptColumns - 1) / PromptColumns);
    const int cellHeight
        = std::max({logicalDpiY() / 6, prompt_->sizeHint().height(), roomCountList_->sizeHintForRow(0)});
    grid_->setContentsMargins(0, 0, 0, static_cast<int>(BottomMarginRows * cellHeight));
    for (int column = 0; column < GridColumns; ++column)
        grid_->setColumnMinimumWidth(column, cellWidth);
    for (int row = 0; row < GridRows; ++row)
        grid_->setRowMinimumHeight(row, cellHeight);
    setMinimumWidth(std::max(GridColumns * cellWidth, menuBar()->sizeHint().width()));
    // A longer text in another language widens the window; it never shrinks under the player.
    resize(size().expandedTo(minimumSizeHint()));
}

void MainWindow::showChoosing()
{
    if (isDoor(focusWidget()))
        quietFocus();
    for (QPushButton *door : doorButtons_)
        door->hide();
    prompt_->show();
    roomCountList_->show();
}

void MainWindow::showWalking()
{
    if (focusWidget() == roomCountList_)
        quietFocus();
    prompt_->hide();
    roomCountList_->hide();
    for (QPushButton *door : doorButtons_)
        door->show();
    // Keys then go to the window itself rather than to the hidden list.
    if (QWidget *focus = focusWidget(); focus && !focus->isVisible())
        focus->clearFocus();
}

void MainWindow::leaveMenuBar()
{
    // Esc closes a menu but leaves its title lit on the menu bar, which would take the next keys: a
    // closed menu, chosen or cancelled, gives them back to where the child was playing.
    if (QApplication::activePopupWidget() == nullptr && menuBar()->hasFocus()) {
        const bool back = focusBeforeMenus_ && focusBeforeMenus_->isVisible() && focusBeforeMenus_->isEnabled();
        back ? focusBeforeMenus_->setFocus(Qt::MenuBarFocusReason) : setFocus(Qt::MenuBarFocusReason);
    }
    keepFocusInPlay();
}

void MainWindow::keepFocusInPlay()
{
    // While a menu, a dialog or a message is open, it has the keys.
    if (!isActiveWindow() || QApplication::activePopupWidget() != nullptr)
        return;
    // Left with no focus, on a control that hid, or on the menu bar once its menus have closed:
    // the window itself takes the keys, and says nothing.
    const QWidget *focus = QApplication::focusWidget();
    const bool idleMenuBar = focus == menuBar() && menuBar()->activeAction() == nullptr;
    if (focus == nullptr || !focus->isVisible() || !focus->isEnabled() || idleMenuBar)
        setFocus(Qt::OtherFocusReason);
}

void MainWindow::quit()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing never waits: what is still queued is dropped and every sound stops.
    emit closing();
    QMainWindow::closeEvent(event);
}

void MainWindow::sendMail()
{
    queue_.post([] { sendFeedbackMail(); });
}

void MainWindow::showAbout()
{
    queue_.post([this] {
        auto *dialog = new AboutDialog(this);
        holdUntilClosed(dialog);
        dialog->open();
    });
}

void MainWindow::recordVoice()
{
    queue_.post([this] { emit recordingWanted(); });
}

void MainWindow::showDialog(QDialog *dialog)
{
    holdUntilClosed(dialog);
    dialog->open();
}

void MainWindow::showMessage(const QString &text, QMessageBox::Icon icon)
{
    auto *box = new QMessageBox(icon, windowTitle(), text, QMessageBox::Ok, this);
    // The game waits for the answer, but the message never stops the window from closing.
    box->setWindowModality(Qt::NonModal);
    holdUntilClosed(box);
    box->show();
}

void MainWindow::holdUntilClosed(QDialog *dialog)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    queue_.hold();
    connect(dialog, &QDialog::finished, &queue_, &CommandQueue::release);
}
