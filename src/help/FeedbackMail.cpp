#include "help/FeedbackMail.h"

#include "help/MailPlatform.h"

void SendFeedbackMail()
{
    try {
        const help::MailMessage message = help::FeedbackMessage();
        for (const auto& client : help::MakeMailClients()) {
            if (client->Compose(message))
                return;
        }
    } catch (...) {
        // Feedback is a courtesy: a missing mail program must never disturb the game.
    }
}
