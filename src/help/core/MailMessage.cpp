// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/core/MailMessage.h"

#include "help/HelpConfig.h"

#include <utility>

namespace help {

MailMessage feedbackMessage(std::string subject)
{
    return {HelpConfig::SupportMail, std::move(subject)};
}

} // namespace help
