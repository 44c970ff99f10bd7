#include "help/MailPlatform.h"

#include "help/MailtoClient.h"
#include "help/win/MapiMailClient.h"

namespace help {

std::vector<std::unique_ptr<MailClient>> MakeMailClients()
{
    std::vector<std::unique_ptr<MailClient>> clients;
    clients.push_back(std::make_unique<win::MapiMailClient>());
    // Without a Simple MAPI mail program, the registered mailto: handler may still exist.
    clients.push_back(std::make_unique<MailtoClient>());
    return clients;
}

} // namespace help
