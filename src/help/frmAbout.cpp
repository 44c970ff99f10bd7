#include "help/frmAbout.h"

#include "help/HelpConfig.h"
#include "info/AppInfo.h"

#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <cmath>

namespace {

constexpr int TwipsPerInch = 1440;

QString Utf8(const char* text)
{
    return QString::fromUtf8(text);
}

QString AddressBlock()
{
    return QStringList{Utf8(HelpConfig::MakerName), Utf8(HelpConfig::MakerStreet),
                       Utf8(HelpConfig::MakerTown),
                       QStringLiteral("Telefon : ") + Utf8(HelpConfig::MakerPhone)}
        .join(u'\n');
}

// A label shows the distributor's text literally, never as markup.
QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

void SetText(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setAccessibleName(text);
}

void SetText(QPushButton* button, const QString& text)
{
    button->setText(text);
    // A screen reader should say the word, not the access-key marker.
    button->setAccessibleName(QString(text).remove(u'&'));
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent), platform_(help::MakeSysInfoPlatform()),
      dpi_(screen() ? screen()->logicalDotsPerInch() : 96.0)
{
    setObjectName(QStringLiteral("frmAbout"));
    // A fixed dialog border with a title and close box only. Owned by its parent,
    // it gets no task bar button of its own.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                   | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(Twips(5730), Twips(3555));
    CreateControls();
    Form_Load();
}

frmAbout::~frmAbout() = default;

void frmAbout::CreateControls()
{
    cmdOK = MakeButton(this, "cmdOK", TwipRect(4245, 2625, 1260, 345));
    cmdSysInfo = MakeButton(this, "cmdSysInfo", TwipRect(4260, 3075, 1245, 345));
    lblTitle = MakeLabel(this, "lblTitle", TwipRect(1050, 240, 3885, 480));
    lblVersion = MakeLabel(this, "lblVersion", TwipRect(1050, 780, 3885, 225));
    lblAddress = MakeLabel(this, "lblAddress", TwipRect(1440, 1320, 3255, 975));
    lblMessage = MakeLabel(this, "lblMessage", TwipRect(240, 2640, 3735, 735));
    lblMessage->setWordWrap(true);

    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    cmdOK->setDefault(true);
    setTabOrder(cmdOK, cmdSysInfo);
    setTabOrder(cmdSysInfo, lblTitle);
    setTabOrder(lblTitle, lblVersion);
    setTabOrder(lblVersion, lblAddress);
    setTabOrder(lblAddress, lblMessage);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::Form_Load()
{
    const QString title = Utf8(AppInfo::Title);
    setWindowTitle(QStringLiteral("Om ") + title);
    setAccessibleName(windowTitle());
    SetText(lblVersion, QStringLiteral("Versjon : %1.%2.%3")
                            .arg(AppInfo::Major)
                            .arg(AppInfo::Minor)
                            .arg(AppInfo::Revision));
    SetText(lblTitle, title);
    SetText(lblAddress, AddressBlock());
    SetText(lblMessage, Utf8(HelpConfig::Notice));
    SetText(cmdOK, QStringLiteral("&Ok"));
    SetText(cmdSysInfo, QStringLiteral("&Systeminfo..."));
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    const std::optional<std::string> path = platform_.locator->FindViewer();
    if (path && platform_.launcher->Start(*path))
        return;
    QMessageBox box(QMessageBox::NoIcon, Utf8(AppInfo::Title),
                    QStringLiteral("System Information Is Unavailable At This Time"),
                    QMessageBox::Ok, this);
    box.exec();
}

bool frmAbout::GetKeyValue(std::int32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                           QString& KeyVal) const
{
    std::string value;
    const bool found =
        platform_.registry->GetKeyValue(KeyRoot, KeyName.toStdString(), SubKeyRef.toStdString(), value);
    KeyVal = QString::fromStdString(value);
    return found;
}

void frmAbout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // The etched separator: a shadow line with a highlight just below it.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.drawLine(Twips(90), Twips(2445), Twips(5654), Twips(2445));
    painter.setPen(QPen(palette().color(QPalette::Light), 2));
    painter.drawLine(Twips(105), Twips(2460), Twips(5654), Twips(2460));
}

int frmAbout::Twips(int twips) const
{
    return static_cast<int>(std::lround(twips * dpi_ / TwipsPerInch));
}

QRect frmAbout::TwipRect(int left, int top, int width, int height) const
{
    return {Twips(left), Twips(top), Twips(width), Twips(height)};
}
