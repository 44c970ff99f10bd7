// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "help/core/SysInfoPorts.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace help::win {

// The two registry places where Windows records its system-information viewer.
struct ViewerKeys {
    std::int32_t root;
    std::string pathKey; // holds the viewer's full path...
    std::string pathValue;
    std::string folderKey; // ...or, failing that, the folder it lives in
    std::string folderValue;
    std::string fileName; // the viewer's file name within that folder
};

// The keys a Windows installation uses.
ViewerKeys systemViewerKeys();

// The viewer's path: the first place's value as it stands (even empty), else the
// folder from the second place if the viewer file exists there, else nullopt.
std::optional<std::string> findRegisteredViewer(const KeyValueReader &registry, const FileProbe &files,
                                                const ViewerKeys &keys = systemViewerKeys());

// ViewerLocator over the system's registry keys; the reader must outlive it.
class RegistryViewerLocator : public ViewerLocator
{
public:
    RegistryViewerLocator(const KeyValueReader &registry, std::unique_ptr<FileProbe> files);
    std::optional<std::string> findViewer() const override;

private:
    const KeyValueReader &registry_;
    std::unique_ptr<FileProbe> files_;
};

} // namespace help::win
