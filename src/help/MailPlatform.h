// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "help/core/MailMessage.h"

namespace help {

// Opens a new mail in the user's mail program: on Windows through Simple MAPI, falling back to
// mailto (the desktop's mailto: handler) where MAPI is missing or refuses; elsewhere through mailto.
// True when a mail program took the message.
bool composeMail(const MailMessage &message, MailClient &mailto);

} // namespace help
