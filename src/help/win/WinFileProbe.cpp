// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/win/WinFileProbe.h"

#include "help/win/Utf16.h"

#include "help/win/WindowsApi.h"

namespace help::win {

bool WinFileProbe::exists(const std::string &path) const
{
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace help::win
