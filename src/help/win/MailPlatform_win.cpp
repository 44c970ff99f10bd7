#include "help/MailPlatform.h"

#include "help/win/MapiMailClient.h"

namespace help {

bool ComposeMail(const MailMessage& message, MailClient& mailto)
{
    // Without a Simple MAPI mail program, the registered mailto: handler may still exist.
    return win::MapiMailClient().Compose(message) || mailto.Compose(message);
}

} // namespace help
