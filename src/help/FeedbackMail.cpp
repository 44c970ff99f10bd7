// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/FeedbackMail.h"

#include "help/HelpConfig.h"
#include "info/AppInfo.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

#ifdef Q_OS_WIN // defined by the Qt headers above
#include "help/win/MapiMailClient.h"
#endif

namespace {

// True when the Simple MAPI mail program took the message; there is none but on Windows.
bool composeWithMapi([[maybe_unused]] const QString &recipient, [[maybe_unused]] const QString &subject)
{
#ifdef Q_OS_WIN
    return help::win::composeMapiMail(recipient.toStdWString(), subject.toStdWString());
#else
    return false;
#endif
}

QUrl mailtoUrl(const QString &recipient, const QString &subject)
{
    // Everything but unreserved characters is encoded, so '&', '+', '=' or '#' in the subject cannot
    // break the query apart.
    return QUrl::fromEncoded("mailto:" + QUrl::toPercentEncoding(recipient, "@")
                                 + "?subject=" + QUrl::toPercentEncoding(subject),
                             QUrl::StrictMode);
}

} // namespace

void sendFeedbackMail()
{
    const QString recipient = QString::fromUtf8(HelpConfig::SupportMail);
    const QString subject = QCoreApplication::translate("FeedbackMail", "%1 versjon %2.%3")
                                .arg(QString::fromUtf8(AppInfo::Title))
                                .arg(AppInfo::Major)
                                .arg(AppInfo::Minor);
    // Without a MAPI mail program, the desktop's mailto: handler may still have one.
    if (!composeWithMapi(recipient, subject))
        QDesktopServices::openUrl(mailtoUrl(recipient, subject));
}
