#include "help/FeedbackMail.h"

#include "help/MailPlatform.h"
#include "help/MailtoClient.h"

void SendFeedbackMail()
{
    try {
        help::MailtoClient mailto;
        help::ComposeMail(help::FeedbackMessage(), mailto);
    } catch (...) {
        // Feedback is a courtesy: a missing mail program must never disturb the game.
    }
}
