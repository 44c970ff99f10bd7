// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/SysInfoPlatform.h"

#include "help/unix/DetachedLauncher.h"
#include "help/unix/PathViewerLocator.h"

namespace help {
namespace {

// There is no registry here: every value is missing.
class NoRegistry : public KeyValueReader
{
public:
    bool readValue(std::int32_t, const std::string &, const std::string &, std::string &KeyVal) const override
    {
        KeyVal.clear();
        return false;
    }
};

} // namespace

SysInfoPlatform makeSysInfoPlatform()
{
    SysInfoPlatform platform;
    platform.registry = std::make_unique<NoRegistry>();
    platform.locator = std::make_unique<PathViewerLocator>();
    platform.launcher = std::make_unique<DetachedLauncher>();
    return platform;
}

} // namespace help
