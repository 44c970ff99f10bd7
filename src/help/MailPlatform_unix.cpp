#include "help/MailPlatform.h"

namespace help {

bool ComposeMail(const MailMessage& message, MailClient& mailto)
{
    return mailto.Compose(message);
}

} // namespace help
