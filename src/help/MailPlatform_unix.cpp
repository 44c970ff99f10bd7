#include "help/MailPlatform.h"

#include "help/MailtoClient.h"

namespace help {

std::vector<std::unique_ptr<MailClient>> MakeMailClients()
{
    std::vector<std::unique_ptr<MailClient>> clients;
    clients.push_back(std::make_unique<MailtoClient>());
    return clients;
}

} // namespace help
