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

// Where each control stands, in twips; created in this order, which is also the tab order.
struct Placement {
    const char* name;
    QRect twips;
};
const Placement Layout[] = {
    {"cmdOK", {4245, 2625, 1260, 345}},   {"cmdSysInfo", {4260, 3075, 1245, 345}},
    {"lblTitle", {1050, 240, 3885, 480}}, {"lblVersion", {1050, 780, 3885, 225}},
    {"lblAddress", {1440, 1320, 3255, 975}}, {"lblMessage", {240, 2640, 3735, 735}},
};
constexpr QSize ClientTwips(5730, 3555);

template <typename Control> Control* Make(QWidget* parent, int index)
{
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(Layout[index].name));
    return control;
}

// A label shows the distributor's text literally, never as markup.
QLabel* MakeLabel(QWidget* parent, int index)
{
    auto* label = Make<QLabel>(parent, index);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
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
    CreateControls();
    Form_Load();
    ArrangeControls();
    // The desktop's font may need more room than the drawn sizes give: then the whole dialog grows.
    scale_ = RoomForText();
    ArrangeControls();
}

frmAbout::~frmAbout() = default;

void frmAbout::CreateControls()
{
    cmdOK = Make<QPushButton>(this, 0);
    cmdSysInfo = Make<QPushButton>(this, 1);
    lblTitle = MakeLabel(this, 2);
    lblVersion = MakeLabel(this, 3);
    lblAddress = MakeLabel(this, 4);
    lblMessage = MakeLabel(this, 5);
    lblMessage->setWordWrap(true);

    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    cmdOK->setDefault(true);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::Form_Load()
{
    const QString title = Utf8(AppInfo::Title);
    // Qt names each control for a screen reader by its text, without the access-key marker.
    setWindowTitle(QStringLiteral("Om ") + title);
    lblVersion->setText(
        QStringLiteral("Versjon : %1.%2.%3").arg(AppInfo::Major).arg(AppInfo::Minor).arg(AppInfo::Revision));
    lblTitle->setText(title);
    lblAddress->setText(AddressBlock());
    lblMessage->setText(Utf8(HelpConfig::Notice));
    cmdOK->setText(QStringLiteral("&Ok"));
    cmdSysInfo->setText(QStringLiteral("&Systeminfo..."));
}

void frmAbout::ArrangeControls()
{
    setFixedSize(Twips(ClientTwips.width()), Twips(ClientTwips.height()));
    for (const Placement& place : Layout) {
        const QRect& t = place.twips;
        findChild<QWidget*>(QString::fromLatin1(place.name))
            ->setGeometry(Twips(t.left()), Twips(t.top()), Twips(t.width()), Twips(t.height()));
    }
}

double frmAbout::RoomForText() const
{
    double scale = 1.0;
    for (const QWidget* control : findChildren<QWidget*>()) {
        const auto* label = qobject_cast<const QLabel*>(control);
        const bool wraps = label && label->wordWrap();
        const QSize need(wraps ? 0 : control->sizeHint().width(),
                         wraps ? label->heightForWidth(label->width()) : control->sizeHint().height());
        scale = std::max({scale, double(need.width()) / control->width(), double(need.height()) / control->height()});
    }
    return scale;
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
    const int y = Twips(2445);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(Twips(90), y, Twips(5654), y);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(Twips(105), y + 1, Twips(5654), y + 1);
}

int frmAbout::Twips(int twips) const
{
    return static_cast<int>(std::lround(twips * scale_ * dpi_ / TwipsPerInch));
}
