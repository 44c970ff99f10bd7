// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/win/WinProgramLauncher.h"

#include "help/win/Utf16.h"

#include "help/win/WindowsApi.h"

namespace help::win {

bool WinProgramLauncher::start(const std::string &path)
{
    if (path.empty())
        return false;
    const std::wstring program = widen(path);
    // The program still expects its own path as the first word of its command line;
    // quotes cannot occur inside a Windows path, so quoting it is enough.
    std::wstring commandLine = L"\"" + program + L"\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace help::win
