// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/MailPlatform.h"

namespace help {

bool composeMail(const MailMessage &message, MailClient &mailto)
{
    return mailto.compose(message);
}

} // namespace help
