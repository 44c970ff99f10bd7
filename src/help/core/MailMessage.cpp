#include "help/core/MailMessage.h"

#include "help/HelpConfig.h"
#include "info/AppInfo.h"

namespace help {

MailMessage feedbackMessage()
{
    return {HelpConfig::SupportMail,
            std::string(AppInfo::Title) + " versjon " + std::to_string(AppInfo::Major) + "."
                + std::to_string(AppInfo::Minor)};
}

} // namespace help
