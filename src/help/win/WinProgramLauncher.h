// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "help/core/SysInfoPorts.h"

namespace help::win {

// Starts a program with CreateProcessW, naming it as the application so nothing in
// the path is parsed; the new process gets a normal window and is not waited for.
class WinProgramLauncher : public ProgramLauncher
{
public:
    bool start(const std::string &path) override;
};

} // namespace help::win
