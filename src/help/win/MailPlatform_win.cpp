// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/MailPlatform.h"

#include "help/win/MapiMailClient.h"

namespace help {

bool composeMail(const MailMessage &message, MailClient &mailto)
{
    // Without a Simple MAPI mail program, the registered mailto: handler may still exist.
    return win::MapiMailClient().compose(message) || mailto.compose(message);
}

} // namespace help
