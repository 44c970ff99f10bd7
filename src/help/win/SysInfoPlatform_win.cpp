// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/SysInfoPlatform.h"

#include "help/win/RegisteredViewer.h"
#include "help/win/RegistryKeyReader.h"
#include "help/win/WinFileProbe.h"
#include "help/win/WinProgramLauncher.h"

namespace help {

SysInfoPlatform makeSysInfoPlatform()
{
    SysInfoPlatform platform;
    platform.registry = std::make_unique<win::RegistryKeyReader>();
    platform.locator
        = std::make_unique<win::RegistryViewerLocator>(*platform.registry, std::make_unique<win::WinFileProbe>());
    platform.launcher = std::make_unique<win::WinProgramLauncher>();
    return platform;
}

} // namespace help
