#include "help/core/MailMessage.h"

#include "help/HelpConfig.h"
#include "info/AppInfo.h"

namespace help {

MailMessage FeedbackMessage()
{
    return {HelpConfig::SupportMail,
            std::string(AppInfo::Title) + " versjon " + std::to_string(AppInfo::Major) + "."
                + std::to_string(AppInfo::Minor)};
}

bool ComposeWithFirstAvailable(const std::vector<MailClient*>& clients, const MailMessage& message)
{
    for (MailClient* client : clients) {
        if (client->Compose(message))
            return true;
    }
    return false;
}

} // namespace help
