#pragma once

#include "help/core/SysInfoPorts.h"

#include <string>
#include <vector>

namespace help {

// Finds the first of a fixed list of system-information viewers in PATH.
class PathViewerLocator : public ViewerLocator {
public:
    // The viewers tried, best first.
    static std::vector<std::string> KnownViewers();

    explicit PathViewerLocator(std::vector<std::string> names = KnownViewers());
    std::optional<std::string> FindViewer() const override;

private:
    std::vector<std::string> names_;
};

} // namespace help
