// SPDX-License-Identifier: GPL-3.0-or-later
// The help library's Windows code against the real Windows API, under wine in a throw-away prefix:
// the viewer lookup, the launcher and feedback mail. Prints each failure; exits with their number.

#include "help/MailPlatform.h"
#include "help/SysInfoPlatform.h"
#include "help/win/MapiMailClient.h"
#include "help/win/Utf16.h"
#include "help/win/WindowsApi.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

using namespace help::win;

namespace {

const std::wstring Root = L"C:\\velkarn tests\\"; // in the prefix, which goes away with it
const std::wstring Self = [] {
    wchar_t path[MAX_PATH];
    return std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
}();
int failures = 0;
unsigned long mapiAnswer = 0; // what the stand-in mail program at the end answers
std::string mapiSeen;         // and what MAPI32.DLL handed it

void check(bool ok, const std::string &what)
{
    if (!ok)
        std::printf("FAIL: %s\n", what.c_str());
    failures += ok ? 0 : 1;
}

bool store(const std::wstring &key, const wchar_t *name, DWORD type, const void *data, size_t bytes)
{
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, type, data, static_cast<DWORD>(bytes))
        == ERROR_SUCCESS;
}

// The platform's locator and registry reader on HKLM and real files. Each case stores the first place's
// value (REG_NONE: none) and the second place's folder (with that ending), puts a file or a folder at its
// MSINFO32.EXE and names the viewer found; read alone, the first place gives it when found, else "".
void checkViewerLookup(const help::SysInfoPlatform &platform)
{
    const std::wstring pathKey = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    const std::wstring folderKey = L"SOFTWARE\\Microsoft\\Shared Tools Location";
    const std::wstring path = L"C:\\Programmer\\Måler med mellomrom\\viewer.exe", exe = Root + L"MSINFO32.EXE";
    const std::string found = narrow(path), inFolder = narrow(exe);
    const DWORD number = 0x01020304, file = FILE_ATTRIBUTE_NORMAL, dir = FILE_ATTRIBUTE_DIRECTORY;
    const struct {
        const char *what;
        DWORD type;
        const void *data;
        size_t bytes;
        const wchar_t *end;
        DWORD exe;
        std::optional<std::string> viewer;
    } cases[] = {
        {"nothing stored", REG_NONE, nullptr, 0, nullptr, 0, std::nullopt},
        {"first place (text with its NUL) wins, no file check", REG_SZ, path.c_str(), path.size() * 2 + 2, L"", file,
         found},
        {"first place: text without its NUL", REG_SZ, path.c_str(), path.size() * 2, nullptr, 0, found},
        {"first place: 32-bit value, unsigned decimal", REG_DWORD, &number, 4, nullptr, 0, "16909060"},
        {"first place: another type, found without text", REG_BINARY, "\1\2\3", 4, L"", file, ""},
        {"first place of zero length: the second place", REG_SZ, L"", 0, L"", file, inFolder},
        {"second place with a trailing backslash", REG_NONE, nullptr, 0, L"\\", file, inFolder},
        {"second place without MSINFO32.EXE", REG_NONE, nullptr, 0, L"", 0, std::nullopt},
        {"second place where MSINFO32.EXE is a folder", REG_NONE, nullptr, 0, L"", dir, std::nullopt},
    };
    for (const auto &c : cases) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, pathKey.c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, folderKey.c_str());
        DeleteFileW(exe.c_str()) || RemoveDirectoryW(exe.c_str());
        const std::wstring folder = Root.substr(0, Root.size() - 1) + (c.end ? c.end : L"");
        const bool ready = (c.type == REG_NONE || store(pathKey, L"PATH", c.type, c.data, c.bytes))
            && (!c.end || store(folderKey, L"MSINFO", REG_SZ, folder.c_str(), folder.size() * 2 + 2))
            && (c.exe != file || CloseHandle(CreateFileW(exe.c_str(), 0, 0, nullptr, CREATE_NEW, 0, nullptr)))
            && (c.exe != dir || CreateDirectoryW(exe.c_str(), nullptr));
        std::string text = "left over";
        const bool read = platform.registry->readValue(help::RegistryRoot::LocalMachine, narrow(pathKey), "PATH", text);
        const std::optional<std::string> viewer = platform.locator->findViewer();
        check(ready && viewer == c.viewer && (read ? viewer == text : text.empty()),
              std::string(c.what) + ": viewer " + viewer.value_or("none") + ", read " + text);
    }
}

// A copy of this program, at a path with blanks and shell characters, starts by that path as it is, in
// a normal window, and no handle stays open; no path or a missing program starts nothing.
void checkLauncher(help::ProgramLauncher &launcher)
{
    check(!launcher.start("") && !launcher.start(narrow(Root + L"missing.exe")), "nothing to start is refused");
    const std::wstring folder = Root + L"dir with spaces & $(x) %PATH%", copy = folder + L"\\viewer.exe";
    const HANDLE started = CreateEventW(nullptr, TRUE, FALSE, L"VelkarnTestsChildStarted");
    const auto nextHandles = [] { // the values the next handles get: the same again unless one is left open
        std::vector<HANDLE> handles(8);
        std::generate(handles.begin(), handles.end(), [] { return CreateEventW(nullptr, TRUE, FALSE, nullptr); });
        std::for_each(handles.begin(), handles.end(), CloseHandle);
        return handles;
    };
    const std::vector<HANDLE> free = nextHandles();
    const bool ran = CreateDirectoryW(folder.c_str(), nullptr) && CopyFileW(Self.c_str(), copy.c_str(), FALSE)
        && launcher.start(narrow(copy)) && WaitForSingleObject(started, 30000) == WAIT_OBJECT_0;
    check(nextHandles() == free, "the launcher closes its handles");
    std::string report;
    std::getline(std::ifstream((Root + L"child.txt").c_str()), report);
    check(ran && report == "\"" + narrow(copy) + "\" shown 1", "the copy started as " + report);
}

struct CountingClient : help::MailClient {
    int calls = 0;
    bool compose(const help::MailMessage &) override
    {
        ++calls;
        return false;
    }
};

// Mail goes to the Simple MAPI mail program (this one, registered as the system's): see MAPISendMailW
// below. A cancel there ends it, a refusal or no MAPISendMailW means mailto:; MAPI32.DLL is freed again.
void checkMail()
{
    const std::wstring key = L"SOFTWARE\\Clients\\Mail", name = L"Velkarn tests";
    check(store(key, nullptr, REG_SZ, name.c_str(), name.size() * 2 + 2)
              && store(key + L"\\" + name, L"DLLPath", REG_SZ, Self.c_str(), Self.size() * 2 + 2),
          "registered as the mail program");
    const help::MailMessage message = help::feedbackMessage("Velkarn versjon 1.0");
    const std::string want = "Velkarn versjon 1.0 | " + message.recipient + " | SMTP:" + message.recipient;
    for (const unsigned long answer : {MapiSuccess, MapiUserAbort, 2ul}) { // sent, cancelled, refused
        CountingClient mailto;
        mapiAnswer = answer;
        mapiSeen = "nothing";
        const bool taken = help::composeMail(message, mailto), fallback = answer > MapiUserAbort;
        check(mapiSeen == want && taken != fallback && mailto.calls == fallback && !GetModuleHandleW(L"MAPI32.DLL"),
              "MAPI answer " + std::to_string(answer) + ": " + mapiSeen);
    }
    check(!sendWithMapi({}, message), "no MAPISendMailW: not taken");
}

} // namespace

// The stand-in mail program that MAPI32.DLL loads: one To recipient, the subject, the mail program's
// dialog and log-on, no session or window, nothing else.
extern "C" __declspec(dllexport) ULONG WINAPI
    MAPISendMailW(ULONG_PTR session, ULONG_PTR window, MapiMessageWide *mail, ULONG flags, ULONG reserved)
{
    const MapiRecipient &to = mail->lpRecips[0];
    const bool plain = session == 0 && window == 0 && reserved == 0 && flags == (MapiDialog | MapiLogonUi)
        && mail->nRecipCount == 1 && to.ulRecipClass == MapiTo && !mail->lpszNoteText && mail->nFileCount == 0
        && !mail->lpFiles && !mail->lpOriginator;
    mapiSeen = (plain ? "" : "odd call: ") + narrow(mail->lpszSubject) + " | " + narrow(to.lpszName) + " | "
        + narrow(to.lpszAddress);
    return mapiAnswer;
}

int main()
{
    if (Self.ends_with(L"\\viewer.exe")) { // started by CheckLauncher: say how, then that it ran
        STARTUPINFOW startup{};
        GetStartupInfoW(&startup);
        std::ofstream((Root + L"child.txt").c_str())
            << narrow(GetCommandLineW()) << " shown "
            << (startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : -1);
        return SetEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, L"VelkarnTestsChildStarted")) ? 0 : 1;
    }
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")
        || !CreateDirectoryW(Root.c_str(), nullptr)) {
        std::puts("These checks write HKLM: run them under wine only, in a fresh prefix.");
        return 1;
    }
    const help::SysInfoPlatform platform = help::makeSysInfoPlatform();
    checkViewerLookup(platform);
    checkLauncher(*platform.launcher);
    checkMail();
    std::printf("%d failed\n", failures);
    return failures;
}
