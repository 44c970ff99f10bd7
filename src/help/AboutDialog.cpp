// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/AboutDialog.h"

#include "help/HelpConfig.h"
#include "info/AppInfo.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace {
QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

// The notice that Velkarn comes with, for the catalogues; a distributor's own is shown as given.
[[maybe_unused]] constexpr const char *DefaultNotice
    = QT_TRANSLATE_NOOP("AboutDialog", "Velkarn er gratis. Du kan gjerne kopiere spillet og gi det til andre.");

// A label shows the distributor's text literally, never as markup.
QLabel *makeLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}
} // namespace

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
    , platform_(help::makeSysInfoPlatform())
{
    setObjectName(QStringLiteral("aboutDialog"));
    // A fixed dialog border with a title and close box only. Owned by its parent, it gets no task
    // bar button of its own.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    const QString title = utf8(AppInfo::Title);
    setWindowTitle(tr("Om %1").arg(title));

    // Created in reading order, which is also the order a screen reader follows.
    QLabel *titleLabel = makeLabel(QStringLiteral("titleLabel"), title, this);
    QFont titleFont = titleLabel->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    titleLabel->setFont(titleFont);
    QLabel *versionLabel
        = makeLabel(QStringLiteral("versionLabel"),
                    tr("Versjon : %1.%2.%3").arg(AppInfo::Major).arg(AppInfo::Minor).arg(AppInfo::Revision), this);
    const QString address
        = QStringList{utf8(HelpConfig::MakerName), utf8(HelpConfig::MakerStreet), utf8(HelpConfig::MakerTown),
                      tr("Telefon : %1").arg(utf8(HelpConfig::MakerPhone))}
              .join(u'\n');
    QLabel *addressLabel = makeLabel(QStringLiteral("addressLabel"), address, this);
    auto *separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("separator"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    QLabel *noticeLabel = makeLabel(QStringLiteral("noticeLabel"), tr(HelpConfig::Notice), this);
    noticeLabel->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton *okButton = buttons->addButton(tr("&Ok"), QDialogButtonBox::AcceptRole);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    QPushButton *systemInfoButton = buttons->addButton(tr("&Systeminfo..."), QDialogButtonBox::ActionRole);
    systemInfoButton->setObjectName(QStringLiteral("systemInfoButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(systemInfoButton, &QPushButton::clicked, this, &AboutDialog::startSystemInfo);

    // The title block stands indented, the address further in; the notice beside the buttons.
    const int indent = fontMetrics().averageCharWidth() * 7;
    auto *grid = new QGridLayout(this);
    grid->setColumnMinimumWidth(0, indent);
    grid->addWidget(titleLabel, 0, 1, 1, 2);
    grid->addWidget(versionLabel, 1, 1, 1, 2);
    grid->addWidget(addressLabel, 2, 2);
    grid->setColumnMinimumWidth(1, fontMetrics().averageCharWidth() * 3);
    grid->addWidget(separator, 3, 0, 1, 4);
    grid->addWidget(noticeLabel, 4, 0, 1, 3);
    grid->addWidget(buttons, 4, 3);
    noticeLabel->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::startSystemInfo()
{
    const std::optional<std::string> path = platform_.locator->findViewer();
    if (path && platform_.launcher->start(*path))
        return;
    QMessageBox box(QMessageBox::NoIcon, utf8(AppInfo::Title), tr("System Information Is Unavailable At This Time"),
                    QMessageBox::Ok, this);
    box.exec();
}
