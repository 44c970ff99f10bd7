// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/AboutDialog.h"

#include "help/HelpConfig.h"
#include "help/SystemInfo.h"
#include "info/AppInfo.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace {
// The notice that Velkarn comes with, for the catalogues; a distributor's own is shown as given.
[[maybe_unused]] constexpr const char *DefaultNotice
    = QT_TRANSLATE_NOOP("AboutDialog", "Velkarn er gratis. Du kan gjerne kopiere spillet og gi det til andre.");

// A label shows the distributor's text literally, never as markup.
QLabel *makeLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}
} // namespace

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
{
    // A fixed dialog border with a title and close box only. Owned by its parent, it gets no task
    // bar button of its own.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    const QString title = QString::fromUtf8(AppInfo::Title);
    setWindowTitle(tr("Om %1").arg(title));

    // Created in reading order, which is also the order a screen reader follows.
    QLabel *titleLabel = makeLabel("titleLabel", title, this);
    QFont titleFont = titleLabel->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    titleLabel->setFont(titleFont);
    QLabel *versionLabel = makeLabel(
        "versionLabel", tr("Versjon : %1.%2.%3").arg(AppInfo::Major).arg(AppInfo::Minor).arg(AppInfo::Revision), this);
    const QString address
        = QStringList{QString::fromUtf8(HelpConfig::MakerName), QString::fromUtf8(HelpConfig::MakerStreet),
                      QString::fromUtf8(HelpConfig::MakerTown),
                      tr("Telefon : %1").arg(QString::fromUtf8(HelpConfig::MakerPhone))}
              .join(u'\n');
    QLabel *addressLabel = makeLabel("addressLabel", address, this);
    auto *separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("separator"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    QLabel *noticeLabel = makeLabel("noticeLabel", tr(HelpConfig::Notice), this);
    noticeLabel->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton *okButton = buttons->addButton(tr("&Ok"), QDialogButtonBox::AcceptRole);
    okButton->setObjectName(QStringLiteral("okButton"));
    // The default button, wherever the platform places it: Enter closes the dialog as it opens.
    okButton->setFocus();
    QPushButton *systemInfoButton = buttons->addButton(tr("&Systeminfo..."), QDialogButtonBox::ActionRole);
    systemInfoButton->setObjectName(QStringLiteral("systemInfoButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(systemInfoButton, &QPushButton::clicked, this, &AboutDialog::startSystemInfo);

    // In character cells: the title block indented by seven, the address by three more, the notice
    // beside the buttons. Any width to spare goes to the texts, not to the indents.
    const int character = fontMetrics().averageCharWidth();
    auto *grid = new QGridLayout(this);
    grid->setColumnMinimumWidth(0, 7 * character);
    grid->setColumnMinimumWidth(1, 3 * character);
    grid->setColumnStretch(2, 1);
    grid->addWidget(titleLabel, 0, 1, 1, 2);
    grid->addWidget(versionLabel, 1, 1, 1, 2);
    grid->addWidget(addressLabel, 2, 2);
    grid->addWidget(separator, 3, 0, 1, 4);
    grid->addWidget(noticeLabel, 4, 0, 1, 3);
    grid->addWidget(buttons, 4, 3);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutDialog::startSystemInfo()
{
    if (SystemInfo::startViewer())
        return;
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(AppInfo::Title),
                    tr("System Information Is Unavailable At This Time"), QMessageBox::Ok, this);
    box.exec();
}
