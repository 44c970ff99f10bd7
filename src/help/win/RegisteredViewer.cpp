// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/win/RegisteredViewer.h"

namespace help::win {

ViewerKeys systemViewerKeys()
{
    return {RegistryRoot::LocalMachine,
            "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
            "PATH",
            "SOFTWARE\\Microsoft\\Shared Tools Location",
            "MSINFO",
            "MSINFO32.EXE"};
}

std::optional<std::string> findRegisteredViewer(const KeyValueReader &registry, const FileProbe &files,
                                                const ViewerKeys &keys)
{
    std::string path;
    // The first place names the program itself; it is trusted without a file check.
    if (registry.readValue(keys.root, keys.pathKey, keys.pathValue, path))
        return path;

    std::string folder;
    if (registry.readValue(keys.root, keys.folderKey, keys.folderValue, folder)) {
        // Some installers store the folder with its trailing separator.
        const bool hasSeparator = !folder.empty() && folder.back() == '\\';
        path = folder + (hasSeparator ? "" : "\\") + keys.fileName;
        if (files.exists(path))
            return path;
    }
    return std::nullopt;
}

RegistryViewerLocator::RegistryViewerLocator(const KeyValueReader &registry, std::unique_ptr<FileProbe> files)
    : registry_(registry)
    , files_(std::move(files))
{
}

std::optional<std::string> RegistryViewerLocator::findViewer() const
{
    return findRegisteredViewer(registry_, *files_);
}

} // namespace help::win
