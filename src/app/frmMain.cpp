#include "frmMain.h"

#include "help/FeedbackMail.h"
#include "help/frmAbout.h"
#include "info/AppInfo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

#include <chrono>

namespace {
// The layout is in character cells of 120 x 240 twips; a twip is 1/1440 inch.
constexpr int CellTwipsX = 120;
constexpr int CellTwipsY = 240;
constexpr int ClientTwipsX = 4680;
constexpr int ClientTwipsY = 1305;
constexpr int TwipsPerInch = 1440;
constexpr qreal MinPointSize = 6;
} // namespace

frmMain::frmMain(SoundComponent &component, QWidget *parent)
    : QMainWindow(parent)
    , player_(component, [this](const QString &text) { ShowMessage(text); })
    , game_(player_, *this)
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
    lbLevel->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
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
    mnuPlay->addSeparator();
    mnuPlayExit = mnuPlay->addAction(QString());

    mnuHelp = menuBar()->addMenu(QString());
    mnuHelpHowTo = mnuHelp->addAction(QString());
    mnuHelpHowTo->setShortcut(Qt::Key_F1);
    mnuHelpMail = mnuHelp->addAction(QString());
    mnuHelp->addSeparator();
    mnuHelpAbout = mnuHelp->addAction(QString());

    connect(mnuPlayNew, &QAction::triggered, this, [this] { game_.mnuPlayNew_Click(); });
    connect(mnuPlayExit, &QAction::triggered, this, &frmMain::mnuPlayExit_Click);
    connect(mnuHelpHowTo, &QAction::triggered, this, [this] { game_.mnuHelpHowTo_Click(); });
    connect(mnuHelpMail, &QAction::triggered, this, &frmMain::mnuHelpMail_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
}

void frmMain::Form_Load()
{
    player_.InitSoundPath();
    game_.Seed(static_cast<quint64>(std::chrono::system_clock::now().time_since_epoch().count()));
    SetCaptions();
    ArrangeControls();
}

void frmMain::SetCaptions()
{
    const QString title = QString::fromUtf8(AppInfo::Title);
    setWindowTitle(title);
    mnuPlay->setTitle(QStringLiteral("&Spill"));
    mnuPlayNew->setText(QStringLiteral("&Nytt spill"));
    mnuPlayExit->setText(QStringLiteral("&Avslutt"));
    mnuHelp->setTitle(QStringLiteral("&Hjelp"));
    mnuHelpHowTo->setText(QStringLiteral("&Hvordan brukes spillet"));
    mnuHelpMail->setText(QStringLiteral("&Send E-post"));
    mnuHelpAbout->setText(QStringLiteral("&Om ") + title);

    lblQuestion->setText(QStringLiteral("Velg antall rom:"));
    for (int rooms = 3; rooms <= Game::MaxRooms; ++rooms)
        lbLevel->addItem(QString::number(rooms));
    cmd1->setText(QStringLiteral("1"));
    cmd2->setText(QStringLiteral("2"));
    cmd3->setText(QStringLiteral("3"));

    // What a screen reader announces for each control.
    lblQuestion->setAccessibleName(lblQuestion->text());
    lbLevel->setAccessibleName(QStringLiteral("Velg antall rom"));
    for (QPushButton *door : {cmd1, cmd2, cmd3}) {
        door->setAccessibleName(door->text());
        door->setAccessibleDescription(QStringLiteral("Dør ") + door->text());
    }
}

void frmMain::ArrangeControls()
{
    PlaceControl(lblQuestion, 2, 2, 1, 10, 0);
    lblQuestion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FitText(lblQuestion);
    PlaceControl(lbLevel, 12, 2, 1, 5, 1);
    lbLevel->setCurrentRow(0); // silent: the list does not speak before the first game
    PlaceControl(cmd1, 3, 2, 2, 2, 2);
    PlaceControl(cmd2, 7, 2, 2, 2, 3);
    PlaceControl(cmd3, 11, 2, 2, 2, 4);

    const int clientWidth = ClientTwipsX * logicalDpiX() / TwipsPerInch;
    const int clientHeight = ClientTwipsY * logicalDpiY() / TwipsPerInch;
    resize(clientWidth, clientHeight + menuBar()->sizeHint().height());
}

void frmMain::PlaceControl(QWidget *ctl, int left, int top, int height, int width, int tabIndex)
{
    const int cellX = CellTwipsX * logicalDpiX() / TwipsPerInch;
    const int cellY = CellTwipsY * logicalDpiY() / TwipsPerInch;
    ctl->setGeometry(left * cellX, top * cellY, width * cellX, height * cellY);

    std::erase(tabOrder_, ctl);
    const auto position = std::min(static_cast<size_t>(std::max(tabIndex, 0)), tabOrder_.size());
    tabOrder_.insert(tabOrder_.begin() + static_cast<std::ptrdiff_t>(position), ctl);
    for (size_t i = 1; i < tabOrder_.size(); ++i)
        setTabOrder(tabOrder_[i - 1], tabOrder_[i]);
}

void frmMain::FitText(QLabel *label)
{
    // The prompt's cells were sized for a narrow font: shrink the text rather than cut it off.
    QFont font = label->font();
    while (font.pointSizeF() > MinPointSize
           && QFontMetrics(font).horizontalAdvance(label->text()) > label->width()) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    label->setFont(font);
}

void frmMain::NewGame()
{
    game_.NewGame();
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

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && watched == lbLevel) {
        game_.lbLevel_GotFocus();
    } else if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        game_.Form_KeyDown(key->key(), key->modifiers());
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (watched == lbLevel && enter && lbLevel->isVisible()) {
            game_.lbLevel_KeyDown(key->key());
            return true;
        }
        // A focused door button chooses its door on Enter as on Space or a click.
        auto *door = qobject_cast<QPushButton *>(watched);
        if (door && enter && door->isVisible()) {
            door->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::keyPressEvent(QKeyEvent *event)
{
    // Keys reach the window itself when no control has the focus. Keys that a control ignored
    // arrive here too, but those were already seen through the event filter.
    const QWidget *focus = focusWidget();
    if (focus == nullptr || focus == this)
        game_.Form_KeyDown(event->key(), event->modifiers());
    QMainWindow::keyPressEvent(event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
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
    frmAbout dialog(this);
    dialog.exec();
}

void frmMain::ShowMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(AppInfo::Title), text, QMessageBox::Ok,
                    isVisible() ? this : nullptr);
    box.exec();
}
