// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "help/core/SysInfoPorts.h"

namespace help::win {

// Asks the file system whether a regular file (not a folder) exists at a path.
class WinFileProbe : public FileProbe
{
public:
    bool exists(const std::string &path) const override;
};

} // namespace help::win
