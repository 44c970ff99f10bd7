#include "help/FeedbackMail.h"

#include "help/MailPlatform.h"

#include <exception>

void SendFeedbackMail()
{
    try {
        const auto clients = help::MakeMailClients();
        std::vector<help::MailClient*> order;
        for (const auto& client : clients)
            order.push_back(client.get());
        help::ComposeWithFirstAvailable(order, help::FeedbackMessage());
    } catch (const std::exception&) {
        // Feedback is a courtesy: a missing mail program must never disturb the game.
    }
}
