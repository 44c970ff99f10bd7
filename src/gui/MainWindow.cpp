// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindow.h"

#include "SoundSettings.h"
#include "help/AboutDialog.h"
#include "help/FeedbackMail.h"
#include "info/AppInfo.h"
#include "sound/SoundComponent.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>

#include <algorithm>
#include <chrono>

namespace {
// The window is drawn on a grid of cells, each as wide as an average character and as tall as a
// line (a twelfth and a sixth of an inch), grown where the desktop's font needs more.
constexpr int GridColumns = 39;
constexpr int GridRows = 5;
constexpr double BottomMarginRows = 0.44;
constexpr int PromptColumns = 10;

// Focus that the list gains because the player or the game moved it there. When the window is
// merely activated again (after a message, a menu or another program) the list says nothing.
bool isRealFocusMove(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason;
}

quint64 clockSeed()
{
    return static_cast<quint64>(std::chrono::system_clock::now().time_since_epoch().count());
}
} // namespace

MainWindow::MainWindow(SoundComponent &component, std::optional<quint64> seed, QWidget *parent)
    : QMainWindow(parent)
    , player_(component, [this](const QString &text) { showMessage(text); })
    , queue_(player_)
    , game_(queue_, player_, seed.value_or(clockSeed()))
{
    setWindowTitle(QString::fromUtf8(AppInfo::Title));
    createControls();
    createMenus();
    const SoundSettings kept = settings_.settings();
    // None kept, or one Velkarn does not speak (a corrupt file): the desktop's language.
    if (!useLanguage(kept.language))
        useLanguage(Translations::fromDesktop());
    retranslate();
    layOutControls();

    player_.setVolume(kept.volume);
    player_.setBothEars(kept.bothEars);
    bothEarsAction_->setChecked(kept.bothEars);

    connect(&game_, &Game::choosingRoomCount, this, &MainWindow::showChoosing);
    connect(&game_, &Game::walking, this, &MainWindow::showWalking);
    connect(&game_, &Game::soundSettingsChanged, this, [this](int volume, bool bothEars) {
        settings_.keep({volume, bothEars, settings_.settings().language});
    });
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
    roomCountList_ = new QListWidget(client);
    roomCountList_->setObjectName(QStringLiteral("roomCountList"));
    for (int rooms = Game::FewestRooms; rooms <= Game::MostRooms; ++rooms)
        roomCountList_->addItem(QString::number(rooms));
    // A one-item list, moved through with the arrow keys.
    roomCountList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    roomCountList_->setSelectionMode(QAbstractItemView::SingleSelection);
    roomCountList_->setFrameShape(QFrame::NoFrame);
    roomCountList_->setCurrentRow(0); // silent: the list does not speak before the first game
    connect(roomCountList_, &QListWidget::currentRowChanged, this,
            [this](int row) { game_.speakRoomCount(row + Game::FewestRooms); });
    roomCountList_->installEventFilter(this);

    for (int door = 1; door <= 3; ++door) {
        auto *button = new QPushButton(QString::number(door), client);
        button->setObjectName(QStringLiteral("door%1").arg(door));
        connect(button, &QPushButton::clicked, this, [this, door] { game_.chooseDoor(door); });
        button->installEventFilter(this);
        doorButtons_[static_cast<size_t>(door - 1)] = button;
    }
    prompt_->hide();
    roomCountList_->hide();
}

void MainWindow::createMenus()
{
    // Every text is set by retranslate(), in the language in use.
    QMenu *gameMenu = gameMenu_ = menuBar()->addMenu(QString());
    newGameAction_ = gameMenu->addAction(QString(), &game_, &Game::newGame);
    newGameAction_->setShortcut(Qt::Key_F2);
    whereAmIAction_ = gameMenu->addAction(QString(), &game_, &Game::sayWhereIAm);
    whereAmIAction_->setShortcut(Qt::Key_F3);
    gameMenu->addSeparator();
    quitAction_ = gameMenu->addAction(QString(), this, &MainWindow::close);

    QMenu *soundMenu = soundMenu_ = menuBar()->addMenu(QString());
    louderAction_ = soundMenu->addAction(QString(), &game_, &Game::louder);
    // "=" too, for keyboards where "+" needs Shift; the keypad's + and - count as well.
    louderAction_->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal)});
    softerAction_ = soundMenu->addAction(QString(), &game_, &Game::softer);
    softerAction_->setShortcut(Qt::Key_Minus);
    bothEarsAction_ = soundMenu->addAction(QString());
    bothEarsAction_->setShortcut(Qt::CTRL | Qt::Key_M);
    bothEarsAction_->setCheckable(true);
    connect(bothEarsAction_, &QAction::triggered, &game_, &Game::setBothEars);

    // Each language by its own name, under a title that every child can read.
    QMenu *languageMenu = menuBar()->addMenu(QStringLiteral("S&pråk / Language"));
    languageGroup_ = new QActionGroup(this);
    for (const QString &language : Translations::available()) {
        QAction *action = languageMenu->addAction(Translations::ownName(language), this, [this, language] {
            useLanguage(language);
            settings_.keep({player_.volume(), player_.bothEars(), language});
        });
        action->setObjectName(language + QStringLiteral("LanguageAction"));
        action->setData(language);
        action->setCheckable(true);
        languageGroup_->addAction(action);
    }

    QMenu *helpMenu = helpMenu_ = menuBar()->addMenu(QString());
    helpAction_ = helpMenu->addAction(QString(), &game_, &Game::playHelp);
    helpAction_->setShortcut(Qt::Key_F1);
    soundLessonAction_ = helpMenu->addAction(QString(), &game_, &Game::playSoundLesson);
    soundLessonAction_->setShortcut(Qt::Key_F4);
    mailAction_ = helpMenu->addAction(QString(), this, [this] { queue_.post([] { sendFeedbackMail(); }); });
    helpMenu->addSeparator();
    aboutAction_ = helpMenu->addAction(QString(), this, [this] { queue_.post([this] { showAbout(); }); });

    languageMenu->setObjectName(QStringLiteral("languageMenu"));
    const std::pair<QAction *, const char *> names[]
        = {{newGameAction_, "newGameAction"}, {whereAmIAction_, "whereAmIAction"},
           {quitAction_, "quitAction"},       {louderAction_, "louderAction"},
           {softerAction_, "softerAction"},   {bothEarsAction_, "bothEarsAction"},
           {helpAction_, "helpAction"},       {soundLessonAction_, "soundLessonAction"},
           {mailAction_, "mailAction"},       {aboutAction_, "aboutAction"}};
    for (const auto &[action, name] : names) {
        action->setObjectName(QString::fromLatin1(name));
        // A held key counts once. The window handles the shortcuts' keys itself, with every other
        // key and in the same order, so that it can tell a held key from a new press (see
        // HeldKeys); the menus still show them, and they work in an open menu.
        action->setAutoRepeat(false);
        action->setShortcutContext(Qt::WidgetShortcut);
    }
}

void MainWindow::retranslate()
{
    prompt_->setText(tr("Velg antall rom:"));
    roomCountList_->setAccessibleName(tr("Velg antall rom"));
    // What a screen reader announces beyond each door button's own text.
    for (int door = 1; door <= 3; ++door)
        doorButtons_[static_cast<size_t>(door - 1)]->setAccessibleDescription(tr("Dør %1").arg(door));
    gameMenu_->setTitle(tr("&Spill"));
    newGameAction_->setText(tr("&Nytt spill"));
    whereAmIAction_->setText(tr("Hvor er &jeg?"));
    quitAction_->setText(tr("&Avslutt"));
    soundMenu_->setTitle(tr("&Lyd"));
    louderAction_->setText(tr("&Høyere"));
    softerAction_->setText(tr("&Lavere"));
    bothEarsAction_->setText(tr("Lyd i &begge ører"));
    helpMenu_->setTitle(tr("&Hjelp"));
    helpAction_->setText(tr("&Hvordan brukes spillet"));
    soundLessonAction_->setText(tr("Hør &lydene"));
    mailAction_->setText(tr("&Send E-post"));
    aboutAction_->setText(tr("&Om %1").arg(windowTitle()));
    if (grid_ != nullptr)
        fitToText();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

bool MainWindow::useLanguage(const QString &language)
{
    if (!translations_.use(language))
        return false;
    // The source language speaks from the recordings' folder itself, every other from its subfolder.
    const QString folder = SoundCatalogue::folderBeside();
    player_.setCatalogue(SoundCatalogue(
        folder, language == Translations::sourceLanguage() ? folder : folder + language + QDir::separator()));
    for (QAction *action : languageGroup_->actions())
        action->setChecked(action->data().toString() == language);
    // The child hears the change at once, in the new language.
    if (started_) {
        if (player_.hasDevice())
            checkRecordings();
        game_.sayPrompt();
    }
    return true;
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

void MainWindow::start()
{
    show();
    // One message for all sound: not one for every recording that the game then cannot play.
    if (!player_.hasDevice())
        showMessage(tr("Fant ingen lydenhet. Velkarn går videre uten lyd."), QMessageBox::Warning);
    else
        checkRecordings();
    started_ = true;
    game_.start();
}

void MainWindow::checkRecordings()
{
    // A language without recordings plays nothing, said once; one that has them plays again.
    const bool missing = !player_.catalogue().hasRecordings();
    player_.setSilent(missing);
    if (missing) {
        showMessage(tr("Fant ingen lyder i mappen %1. Velkarn går videre uten lyd.").arg(player_.catalogue().folder()),
                    QMessageBox::Warning);
    }
}

void MainWindow::showChoosing()
{
    for (QPushButton *door : doorButtons_)
        door->hide();
    prompt_->show();
    roomCountList_->show();
}

void MainWindow::showWalking()
{
    prompt_->hide();
    roomCountList_->hide();
    for (QPushButton *door : doorButtons_)
        door->show();
    // Keys then go to the window itself rather than to the hidden list.
    if (QWidget *focus = focusWidget(); focus && !focus->isVisible())
        focus->clearFocus();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && watched == roomCountList_) {
        if (isRealFocusMove(static_cast<QFocusEvent *>(event)->reason()))
            game_.speakRoomCount(roomCountList_->currentRow() + Game::FewestRooms);
    } else if (event->type() == QEvent::KeyPress) {
        if (handleKey(watched, *static_cast<QKeyEvent *>(event)))
            return true;
    } else if (event->type() == QEvent::KeyRelease) {
        heldKeys_.released(*static_cast<QKeyEvent *>(event));
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    // Keys reach the window itself when no control has the focus. Keys that a control ignored
    // arrive here too, but those were already seen through the event filter.
    const QWidget *focus = focusWidget();
    if ((focus == nullptr || focus == this) && handleKey(this, *event))
        return;
    QMainWindow::keyPressEvent(event);
}

void MainWindow::keyReleaseEvent(QKeyEvent *event)
{
    heldKeys_.released(*event);
    QMainWindow::keyReleaseEvent(event);
}

bool MainWindow::handleKey(QObject *target, const QKeyEvent &key)
{
    // A held key counts once; only the list's arrows repeat, as lists do.
    if (key.key() != Qt::Key_Up && key.key() != Qt::Key_Down && heldKeys_.isRepeat(key))
        return true;
    const bool silence = key.key() == Qt::Key_Escape || key.key() == Qt::Key_Control;
    if (key.spontaneous()) {
        // Esc and Ctrl end what the child asked to hear at once, whatever waits behind it.
        if (silence && queue_.cancelRequests())
            return true;
        // While something is in hand a key from the keyboard waits its turn, like every other
        // command. Its replay comes from the queue itself, not from the window system, and is handled.
        if (queue_.isBusy()) {
            queue_.post([this, keystroke = Keystroke{key.key(), key.modifiers(), key.text()}] { replay(keystroke); },
                        isRequest(key) ? CommandQueue::Kind::Request : CommandQueue::Kind::Game);
            return true;
        }
    }
    if (QAction *action = shortcutAction(key)) {
        action->trigger();
        return true;
    }
    // Only the digits of the main keyboard choose doors; the keypad's are ignored.
    if (!key.modifiers().testFlag(Qt::KeypadModifier) && key.key() >= Qt::Key_1 && key.key() <= Qt::Key_3)
        game_.chooseDoor(key.key() - Qt::Key_0);
    // Ctrl alone silences too: screen-reader users press it to stop speech.
    if (silence)
        game_.silence();
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (target == roomCountList_ && enter)
        game_.startWalk(roomCountList_->currentRow() + Game::FewestRooms);
    // A focused door button chooses its door on Enter as on Space, at the press; the button itself
    // does not see the key, so that it cannot click again when the key is let go.
    auto *door = qobject_cast<QPushButton *>(target);
    const bool pressed = door != nullptr && (enter || key.key() == Qt::Key_Space);
    if (pressed)
        door->click();
    return pressed;
}

QAction *MainWindow::shortcutAction(const QKeyEvent &key) const
{
    // The keypad's + and - count as the main keyboard's, and so does a symbol typed with Shift
    // ("+" on some keyboards, "=" on others).
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const bool symbol = !key.text().isEmpty() && !key.text().front().isLetterOrNumber();
    const QKeySequence typed(QKeyCombination(modifiers, Qt::Key(key.key())));
    const QKeySequence unshifted(QKeyCombination(modifiers & ~Qt::ShiftModifier, Qt::Key(key.key())));
    for (QAction *action : findChildren<QAction *>()) {
        const QList<QKeySequence> keys = action->shortcuts();
        if (keys.contains(typed) || (symbol && keys.contains(unshifted)))
            return action;
    }
    return nullptr;
}

bool MainWindow::isRequest(const QKeyEvent &key) const
{
    const QAction *action = shortcutAction(key);
    return action != nullptr && (action == helpAction_ || action == whereAmIAction_ || action == soundLessonAction_);
}

void MainWindow::replay(const Keystroke &keystroke)
{
    // Delivered where the window system would deliver it now: the focused control, else the window.
    QWidget *focus = QApplication::focusWidget();
    QWidget *target = focus != nullptr && isAncestorOf(focus) ? focus : this;
    QKeyEvent event(QEvent::KeyPress, keystroke.key, keystroke.modifiers, keystroke.text);
    QCoreApplication::sendEvent(target, &event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing never waits: what is still queued is dropped and every sound stops.
    queue_.clear();
    player_.stopAll();
    QMainWindow::closeEvent(event);
}

void MainWindow::showAbout()
{
    auto *dialog = new AboutDialog(this);
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
