// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace help {

// A new message for the user's mail program to open; every string is UTF-8.
struct MailMessage {
    std::string recipient;
    std::string subject;
};

// The feedback message: to the support address, with the subject in the user's language.
MailMessage feedbackMessage(std::string subject);

// One way of handing a message to the user's mail program.
class MailClient
{
public:
    virtual ~MailClient() = default;
    // True when the mail program took the message (even if the user then cancelled it);
    // false when this way is unavailable and the next one should be tried.
    virtual bool compose(const MailMessage &message) = 0;
};

} // namespace help
