// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "help/core/SysInfoPorts.h"

namespace help {

// Starts a program by path as a detached process: no shell, no arguments, not waited for.
class DetachedLauncher : public ProgramLauncher
{
public:
    bool start(const std::string &path) override;
};

} // namespace help
