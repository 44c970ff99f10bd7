// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "help/core/SysInfoPorts.h"

#include <string>
#include <vector>

namespace help {

// Finds the first of a fixed list of system-information viewers in PATH.
class PathViewerLocator : public ViewerLocator
{
public:
    // The viewers tried, best first.
    static std::vector<std::string> knownViewers();

    explicit PathViewerLocator(std::vector<std::string> names = knownViewers());
    std::optional<std::string> findViewer() const override;

private:
    std::vector<std::string> names_;
};

} // namespace help
