// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "help/core/SysInfoPorts.h"

#include <memory>

namespace help {

// This platform's registry, file, viewer and launch services for the About dialog.
struct SysInfoPlatform {
    std::unique_ptr<KeyValueReader> registry;
    std::unique_ptr<ViewerLocator> locator; // may refer to registry, so it is declared after it
    std::unique_ptr<ProgramLauncher> launcher;
};

SysInfoPlatform makeSysInfoPlatform();

} // namespace help
