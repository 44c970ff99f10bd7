// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/MailtoClient.h"

#include <QByteArray>
#include <QDesktopServices>

namespace help {

QUrl mailtoUrl(const MailMessage &message)
{
    // Everything but unreserved characters is encoded, so '&', '+', '=' or '#' in
    // the subject cannot break the query apart.
    const QByteArray recipient = QUrl::toPercentEncoding(QString::fromStdString(message.recipient), "@");
    const QByteArray subject = QUrl::toPercentEncoding(QString::fromStdString(message.subject));
    return QUrl::fromEncoded("mailto:" + recipient + "?subject=" + subject, QUrl::StrictMode);
}

bool MailtoClient::compose(const MailMessage &message)
{
    const QUrl url = mailtoUrl(message);
    return url.isValid() && QDesktopServices::openUrl(url);
}

} // namespace help
