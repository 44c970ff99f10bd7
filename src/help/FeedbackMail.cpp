#include "help/FeedbackMail.h"

#include "help/MailPlatform.h"
#include "help/MailtoClient.h"

void sendFeedbackMail()
{
    try {
        help::MailtoClient mailto;
        help::composeMail(help::feedbackMessage(), mailto);
    } catch (...) {
        // Feedback is a courtesy: a missing mail program must never disturb the game.
    }
}
