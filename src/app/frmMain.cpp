#include "frmMain.h"

#include "help/FeedbackMail.h"
#include "help/frmAbout.h"
#include "info/AppInfo.h"
#include "sound/SoundComponent.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>

#include <chrono>
#include <cmath>

namespace {
// The layout is in character cells of 120 x 240 twips; a twip is 1/1440 inch.
constexpr int CellTwipsX = 120;
constexpr int CellTwipsY = 240;
constexpr int ClientTwipsX = 4680;
constexpr int ClientTwipsY = 1305;
constexpr int TwipsPerInch = 1440;
constexpr int PromptCells = 10;

// Focus that the list gains because the player or the game moved it there. When the window is
// merely activated again (after a message, a menu or another program) the list says nothing.
bool IsRealFocusMove(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
           && reason != Qt::MenuBarFocusReason;
}
} // namespace

frmMain::frmMain(SoundComponent &component, std::optional<quint64> seed, QWidget *parent)
    : QMainWindow(parent)
    , player_(component, [this](const QString &text) { ShowMessage(text); })
    , queue_(player_)
    , game_(queue_, player_, *this,
            seed.value_or(static_cast<quint64>(std::chrono::system_clock::now().time_since_epoch().count())))
{
    CreateControls();
    CreateMenus();
    Form_Load();
}

frmMain::~frmMain() = default;

void frmMain::CreateControls()
{
    auto *client = new QWidget(this);
    setCentralWidget(client);
    lblQuestion = new QLabel(client);
    lbLevel = new QListWidget(client);
    cmd1 = new QPushButton(client);
    cmd2 = new QPushButton(client);
    cmd3 = new QPushButton(client);
    lblQuestion->setObjectName(QStringLiteral("lblQuestion"));
    lbLevel->setObjectName(QStringLiteral("lbLevel"));
    cmd1->setObjectName(QStringLiteral("cmd1"));
    cmd2->setObjectName(QStringLiteral("cmd2"));
    cmd3->setObjectName(QStringLiteral("cmd3"));

    // A one-item list, moved through with the arrow keys.
    lbLevel->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lbLevel->setSelectionMode(QAbstractItemView::SingleSelection);
    lbLevel->setFrameShape(QFrame::NoFrame);
    lblQuestion->hide();
    lbLevel->hide();

    connect(lbLevel, &QListWidget::currentRowChanged, this, [this] { game_.lbLevel_Click(); });
    connect(cmd1, &QPushButton::clicked, this, [this] { game_.cmd1_Click(); });
    connect(cmd2, &QPushButton::clicked, this, [this] { game_.cmd2_Click(); });
    connect(cmd3, &QPushButton::clicked, this, [this] { game_.cmd3_Click(); });

    // Key preview: the window sees every key before the focused control does.
    for (QWidget *control : {static_cast<QWidget *>(lbLevel), static_cast<QWidget *>(cmd1),
                             static_cast<QWidget *>(cmd2), static_cast<QWidget *>(cmd3)})
        control->installEventFilter(this);
}

void frmMain::CreateMenus()
{
    mnuPlay = menuBar()->addMenu(QString());
    mnuPlayNew = mnuPlay->addAction(QString());
    mnuPlayNew->setShortcut(Qt::Key_F2);
    mnuPlayWhere = mnuPlay->addAction(QString());
    mnuPlayWhere->setShortcut(Qt::Key_F3);
    mnuPlay->addSeparator();
    mnuPlayExit = mnuPlay->addAction(QString());

    mnuSound = menuBar()->addMenu(QString());
    mnuSoundLouder = mnuSound->addAction(QString());
    // "=" too, for keyboards where "+" needs Shift; the keypad's + and - count as well.
    mnuSoundLouder->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal)});
    mnuSoundSofter = mnuSound->addAction(QString());
    mnuSoundSofter->setShortcut(Qt::Key_Minus);
    mnuSoundBothEars = mnuSound->addAction(QString());
    mnuSoundBothEars->setShortcut(Qt::CTRL | Qt::Key_M);
    mnuSoundBothEars->setCheckable(true);

    mnuHelp = menuBar()->addMenu(QString());
    mnuHelpHowTo = mnuHelp->addAction(QString());
    mnuHelpHowTo->setShortcut(Qt::Key_F1);
    mnuHelpSounds = mnuHelp->addAction(QString());
    mnuHelpSounds->setShortcut(Qt::Key_F4);
    mnuHelpMail = mnuHelp->addAction(QString());
    mnuHelp->addSeparator();
    mnuHelpAbout = mnuHelp->addAction(QString());

    // A held key counts once. The window handles the shortcuts' keys itself, with every other key
    // and in the same order, so that it can tell a held key from a new press (see HeldKeys); the
    // menus still show them, and they work in an open menu.
    for (QAction *action : findChildren<QAction *>()) {
        action->setAutoRepeat(false);
        action->setShortcutContext(Qt::WidgetShortcut);
    }

    connect(mnuPlayNew, &QAction::triggered, this, [this] { game_.mnuPlayNew_Click(); });
    connect(mnuPlayWhere, &QAction::triggered, this, [this] { game_.mnuPlayWhere_Click(); });
    connect(mnuPlayExit, &QAction::triggered, this, &frmMain::mnuPlayExit_Click);
    connect(mnuSoundLouder, &QAction::triggered, this, [this] { game_.mnuSoundLouder_Click(); });
    connect(mnuSoundSofter, &QAction::triggered, this, [this] { game_.mnuSoundSofter_Click(); });
    connect(mnuSoundBothEars, &QAction::triggered, this, [this](bool on) { game_.mnuSoundBothEars_Click(on); });
    connect(mnuHelpHowTo, &QAction::triggered, this, [this] { game_.mnuHelpHowTo_Click(); });
    connect(mnuHelpSounds, &QAction::triggered, this, [this] { game_.mnuHelpSounds_Click(); });
    connect(mnuHelpMail, &QAction::triggered, this, [this] { queue_.Post([this] { mnuHelpMail_Click(); }); });
    connect(mnuHelpAbout, &QAction::triggered, this, [this] { queue_.Post([this] { mnuHelpAbout_Click(); }); });
}

void frmMain::Form_Load()
{
    player_.InitSoundPath();
    SetCaptions();
    ArrangeControls();
    const SoundSettings kept = settings_.settings();
    player_.SetVolume(kept.volume);
    player_.SetBothEars(kept.bothEars);
    mnuSoundBothEars->setChecked(kept.bothEars);
}

void frmMain::SetCaptions()
{
    const QString title = QString::fromUtf8(AppInfo::Title);
    setWindowTitle(title);
    mnuPlay->setTitle(QStringLiteral("&Spill"));
    mnuPlayNew->setText(QStringLiteral("&Nytt spill"));
    mnuPlayWhere->setText(QStringLiteral("Hvor er &jeg?"));
    mnuPlayExit->setText(QStringLiteral("&Avslutt"));
    mnuSound->setTitle(QStringLiteral("&Lyd"));
    mnuSoundLouder->setText(QStringLiteral("&Høyere"));
    mnuSoundSofter->setText(QStringLiteral("&Lavere"));
    mnuSoundBothEars->setText(QStringLiteral("Lyd i &begge ører"));
    mnuHelp->setTitle(QStringLiteral("&Hjelp"));
    mnuHelpHowTo->setText(QStringLiteral("&Hvordan brukes spillet"));
    mnuHelpSounds->setText(QStringLiteral("Hør &lydene"));
    mnuHelpMail->setText(QStringLiteral("&Send E-post"));
    mnuHelpAbout->setText(QStringLiteral("&Om ") + title);

    lblQuestion->setText(QStringLiteral("Velg antall rom:"));
    for (int rooms = 3; rooms <= Game::MaxRooms; ++rooms)
        lbLevel->addItem(QString::number(rooms));
    cmd1->setText(QStringLiteral("1"));
    cmd2->setText(QStringLiteral("2"));
    cmd3->setText(QStringLiteral("3"));

    // What a screen reader announces beyond each control's own text.
    lbLevel->setAccessibleName(QStringLiteral("Velg antall rom"));
    for (QPushButton *door : {cmd1, cmd2, cmd3})
        door->setAccessibleDescription(QStringLiteral("Dør ") + door->text());
}

void frmMain::ArrangeControls()
{
    // A cell is 120 x 240 twips at the screen's resolution, widened where the desktop's font needs
    // more: the prompt fits its ten cells, a room count its one cell's height. Text never shrinks.
    const int promptWidth = lblQuestion->sizeHint().width();
    cellX_ = std::max(CellTwipsX * logicalDpiX() / TwipsPerInch, (promptWidth + PromptCells - 1) / PromptCells);
    cellY_ = std::max({CellTwipsY * logicalDpiY() / TwipsPerInch, lblQuestion->sizeHint().height(),
                       lbLevel->sizeHintForRow(0)});

    // The controls were created in their tab order: prompt, list, doors 1 to 3.
    PlaceControl(lblQuestion, 2, 2, 1, PromptCells);
    lblQuestion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PlaceControl(lbLevel, 12, 2, 1, 5);
    lbLevel->setCurrentRow(0); // silent: the list does not speak before the first game
    PlaceControl(cmd1, 3, 2, 2, 2);
    PlaceControl(cmd2, 7, 2, 2, 2);
    PlaceControl(cmd3, 11, 2, 2, 2);

    const int clientWidth = std::max(ClientTwipsX * cellX_ / CellTwipsX, menuBar()->sizeHint().width());
    const int clientHeight = ClientTwipsY * cellY_ / CellTwipsY;
    resize(clientWidth, clientHeight + menuBar()->sizeHint().height());
}

void frmMain::PlaceControl(QWidget *ctl, int left, int top, int height, int width)
{
    ctl->setGeometry(left * cellX_, top * cellY_, width * cellX_, height * cellY_);
}

void frmMain::Start()
{
    show();
    // One message for all sound: not one for every recording that the game then cannot play.
    if (!player_.Component().IsOpen()) {
        ShowMessage(QStringLiteral("Fant ingen lydenhet. Velkarn går videre uten lyd."), QMessageBox::Warning);
    } else if (!player_.FindRecordings()) {
        ShowMessage(QStringLiteral("Fant ingen lyder i mappen %1. Velkarn går videre uten lyd.")
                        .arg(QDir::toNativeSeparators(player_.SoundDir())),
                    QMessageBox::Warning);
    }
    game_.Welcome();
}

void frmMain::HideAll()
{
    lblQuestion->hide();
    lbLevel->hide();
    cmd1->hide();
    cmd2->hide();
    cmd3->hide();
    // Keys then go to the window itself rather than to a hidden control.
    if (QWidget *focus = focusWidget(); focus && !focus->isVisible())
        focus->clearFocus();
}

void frmMain::ShowRoomCount()
{
    lblQuestion->show();
    lbLevel->show();
}

void frmMain::ShowDoors()
{
    cmd1->show();
    cmd2->show();
    cmd3->show();
}

int frmMain::LevelIndex() const
{
    return lbLevel->currentRow();
}

QString frmMain::LevelText() const
{
    const QListWidgetItem *item = lbLevel->currentItem();
    return item ? item->text() : QString();
}

void frmMain::KeepSoundSettings(int volume, bool bothEars)
{
    settings_.keep({volume, bothEars});
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && watched == lbLevel) {
        if (IsRealFocusMove(static_cast<QFocusEvent *>(event)->reason()))
            game_.lbLevel_GotFocus();
    } else if (event->type() == QEvent::KeyPress) {
        if (HandleKey(watched, *static_cast<QKeyEvent *>(event)))
            return true;
    } else if (event->type() == QEvent::KeyRelease) {
        heldKeys_.released(*static_cast<QKeyEvent *>(event));
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::keyPressEvent(QKeyEvent *event)
{
    // Keys reach the window itself when no control has the focus. Keys that a control ignored
    // arrive here too, but those were already seen through the event filter.
    const QWidget *focus = focusWidget();
    if ((focus == nullptr || focus == this) && HandleKey(this, *event))
        return;
    QMainWindow::keyPressEvent(event);
}

void frmMain::keyReleaseEvent(QKeyEvent *event)
{
    heldKeys_.released(*event);
    QMainWindow::keyReleaseEvent(event);
}

bool frmMain::HandleKey(QObject *target, const QKeyEvent &key)
{
    // A held key counts once; only the list's arrows repeat, as lists do.
    if (key.key() != Qt::Key_Up && key.key() != Qt::Key_Down && heldKeys_.isRepeat(key))
        return true;
    if (key.spontaneous()) {
        // Esc and Ctrl end what the child asked to hear at once, whatever waits behind it.
        const bool silence = key.key() == Qt::Key_Escape || key.key() == Qt::Key_Control;
        if (silence && queue_.CancelRequests())
            return true;
        // While something is in hand a key from the keyboard waits its turn, like every other
        // command. Its replay comes from the queue itself, not from the window system, and is handled.
        if (queue_.Busy()) {
            queue_.Post([this, keystroke = Keystroke{key.key(), key.modifiers(), key.text()}] { Replay(keystroke); },
                        IsRequest(key) ? CommandQueue::Kind::Request : CommandQueue::Kind::Game);
            return true;
        }
    }
    if (QAction *action = ShortcutAction(key)) {
        action->trigger();
        return true;
    }
    game_.Form_KeyDown(key.key(), key.modifiers());
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (target == lbLevel && enter)
        game_.lbLevel_KeyDown(key.key());
    // A focused door button chooses its door on Enter as on Space, at the press; the button itself
    // does not see the key, so that it cannot click again when the key is let go.
    auto *door = qobject_cast<QPushButton *>(target);
    const bool pressed = door != nullptr && (enter || key.key() == Qt::Key_Space);
    if (pressed)
        door->click();
    return pressed;
}

QAction *frmMain::ShortcutAction(const QKeyEvent &key) const
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

bool frmMain::IsRequest(const QKeyEvent &key) const
{
    const QAction *action = ShortcutAction(key);
    return action != nullptr && (action == mnuHelpHowTo || action == mnuPlayWhere || action == mnuHelpSounds);
}

void frmMain::Replay(const Keystroke &keystroke)
{
    // Delivered where the window system would deliver it now: the focused control, else the window.
    QWidget *focus = QApplication::focusWidget();
    QWidget *target = focus != nullptr && isAncestorOf(focus) ? focus : this;
    QKeyEvent event(QEvent::KeyPress, keystroke.key, keystroke.modifiers, keystroke.text);
    QCoreApplication::sendEvent(target, &event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Closing never waits: what is still queued is dropped and every sound stops.
    queue_.Clear();
    player_.StopAll();
    QMainWindow::closeEvent(event);
}

void frmMain::mnuPlayExit_Click()
{
    close();
}

void frmMain::mnuHelpMail_Click()
{
    SendFeedbackMail();
}

void frmMain::mnuHelpAbout_Click()
{
    auto *dialog = new frmAbout(this);
    HoldUntilClosed(dialog);
    dialog->open();
}

void frmMain::ShowMessage(const QString &text, QMessageBox::Icon icon)
{
    auto *box = new QMessageBox(icon, QString::fromUtf8(AppInfo::Title), text, QMessageBox::Ok, this);
    // The game waits for the answer, but the message never stops the window from closing.
    box->setWindowModality(Qt::NonModal);
    HoldUntilClosed(box);
    box->show();
}

void frmMain::HoldUntilClosed(QDialog *dialog)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    queue_.Hold();
    connect(dialog, &QDialog::finished, &queue_, &CommandQueue::Release);
}
