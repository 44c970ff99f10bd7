#pragma once

#include "help/core/MailMessage.h"

#include <memory>
#include <vector>

namespace help {

// This platform's ways of opening a new mail, best first.
std::vector<std::unique_ptr<MailClient>> MakeMailClients();

} // namespace help
