// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/FeedbackMail.h"

#include "help/MailPlatform.h"
#include "help/MailtoClient.h"
#include "info/AppInfo.h"

#include <QCoreApplication>

void sendFeedbackMail()
{
    try {
        help::MailtoClient mailto;
        const QString subject = QCoreApplication::translate("FeedbackMail", "%1 versjon %2.%3")
                                    .arg(QString::fromUtf8(AppInfo::Title))
                                    .arg(AppInfo::Major)
                                    .arg(AppInfo::Minor);
        help::composeMail(help::feedbackMessage(subject.toStdString()), mailto);
    } catch (...) {
        // Feedback is a courtesy: a missing mail program must never disturb the game.
    }
}
