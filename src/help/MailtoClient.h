// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "help/core/MailMessage.h"

#include <QUrl>

namespace help {

// The mailto: URL for a message, with recipient and subject percent-encoded.
QUrl mailtoUrl(const MailMessage &message);

// Opens a mailto: URL with the desktop's mail handler (xdg-open on Linux).
class MailtoClient : public MailClient
{
public:
    bool compose(const MailMessage &message) override;
};

} // namespace help
