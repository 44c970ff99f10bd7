// Checks the help library's Windows code against the real Windows API; run under wine in a
// throw-away prefix. Prints every check; the exit code is the number of failures.

#include "help/HelpConfig.h"
#include "help/SysInfoPlatform.h"
#include "help/core/MailMessage.h"
#include "help/win/MapiMailClient.h"
#include "help/win/RegistryKeyReader.h"
#include "help/win/Utf16.h"
#include "help/win/WinFileProbe.h"
#include "help/win/WinProgramLauncher.h"
#include "help/win/WindowsApi.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

using help::RegistryRoot::CurrentUser;
using help::win::Narrow;
using help::win::Widen;

const std::wstring TestKey = L"Software\\VelkarnWindowsTests";
const wchar_t ChildStarted[] = L"VelkarnWindowsTestsChildStarted";
int failures = 0;

void Check(bool ok, const std::string& what)
{
    std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what.c_str());
    std::fflush(stdout);
    failures += ok ? 0 : 1;
}

void Equal(const std::string& actual, const std::string& expected, const std::string& what)
{
    Check(actual == expected, what + " (got \"" + actual + "\", want \"" + expected + "\")");
}

std::wstring OwnPath()
{
    wchar_t buffer[1024];
    return {buffer, GetModuleFileNameW(nullptr, buffer, 1024)};
}

// A folder in the prefix's temp folder, which goes away with the prefix.
std::wstring Temp()
{
    wchar_t base[MAX_PATH];
    return std::wstring(base, GetTempPathW(MAX_PATH, base)) + L"velkarn-tests";
}

// Stores a string with its terminating NUL, creating the key as needed.
bool SetText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text)
{
    const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetKeyValueW(root, key.c_str(), name, REG_SZ, text.c_str(), size) == ERROR_SUCCESS;
}

// GetKeyValue on each kind of stored value (named after its case; no data: nothing stored), whether
// it is found and its text; and on a missing key.
void CheckRegistryValues()
{
    const std::wstring path = L"C:\\Programmer\\Måler med mellomrom\\viewer.exe";
    const DWORD pathBytes = static_cast<DWORD>(path.size() * sizeof(wchar_t));
    const DWORD number = 0x01020304;
    const BYTE binary[] = {1, 2, 3, 0};
    const struct { const char* what; DWORD type; const void* data; DWORD size; bool found; std::string text; } cases[] = {
        {"string stored with its NUL", REG_SZ, path.c_str(), pathBytes + DWORD{sizeof(wchar_t)}, true, Narrow(path)},
        {"string stored without its NUL: same text", REG_SZ, path.c_str(), pathBytes, true, Narrow(path)},
        {"32-bit value: unsigned decimal", REG_DWORD, &number, sizeof number, true, "16909060"},
        {"value of another type: found, no text", REG_BINARY, binary, sizeof binary, true, ""},
        {"zero-length value: not found", REG_SZ, L"", 0, false, ""},
        {"missing value: not found", REG_SZ, nullptr, 0, false, ""},
    };
    const help::win::RegistryKeyReader registry;
    for (const auto& c : cases) {
        std::string text = "left over";
        const bool stored = !c.data || RegSetKeyValueW(HKEY_CURRENT_USER, TestKey.c_str(), Widen(c.what).c_str(), c.type,
                                                        c.data, c.size) == ERROR_SUCCESS;
        const bool found = registry.GetKeyValue(CurrentUser, Narrow(TestKey), c.what, text);
        Check(stored && found == c.found && text == c.text,
              std::string(c.what) + (found ? " (found, \"" : " (not found, \"") + text + "\")");
    }
    std::string text = "left over";
    Check(!registry.GetKeyValue(CurrentUser, Narrow(TestKey) + "\\NoSuchKey", cases[0].what, text) && text.empty(),
          "missing key: not found, no text");
}

// The platform's locator against the real registry (its keys under HKLM, written only in wine's
// throw-away prefix) and real files: the two-place decision.
void CheckViewerDecision()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version"))
        return Check(false, "the checks that write HKLM run only under wine");
    const std::wstring pathKey = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    const std::wstring folderKey = L"SOFTWARE\\Microsoft\\Shared Tools Location";
    const std::wstring folder = Temp() + L"\\Shared Tools", viewer = folder + L"\\MSINFO32.EXE";
    const std::wstring missing = Temp() + L"\\not there.exe";
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, pathKey.c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, folderKey.c_str());
    const help::SysInfoPlatform platform = help::MakeSysInfoPlatform();
    const help::win::WinFileProbe files;
    // The viewer found once the registry was written (when that worked).
    auto findAfter = [&](bool written) {
        return written ? platform.locator->FindViewer().value_or("<none>") : "<not written>";
    };

    Equal(findAfter(true), "<none>", "no viewer when neither key exists");
    CreateDirectoryW(folder.c_str(), nullptr);
    Equal(findAfter(SetText(HKEY_LOCAL_MACHINE, folderKey, L"MSINFO", folder)), "<none>",
          "folder in the second place without MSINFO32.EXE: no viewer");
    CloseHandle(CreateFileW(viewer.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    Check(files.Exists(Narrow(viewer)) && !files.Exists(Narrow(folder)), "MSINFO32.EXE created; a folder is no file");
    Equal(findAfter(true), Narrow(viewer), "viewer found through the folder once the file exists");
    Equal(findAfter(SetText(HKEY_LOCAL_MACHINE, pathKey, L"PATH", missing)), Narrow(missing),
          "first place wins and is taken without a file check");
    Equal(findAfter(RegSetKeyValueW(HKEY_LOCAL_MACHINE, pathKey.c_str(), L"PATH", REG_SZ, nullptr, 0) == ERROR_SUCCESS),
          Narrow(viewer), "zero-length first place falls through to the folder");
}

// The launcher starts a copy of this program at a path with spaces and shell metacharacters, as it is.
void CheckLauncher()
{
    help::win::WinProgramLauncher launcher;
    Check(!launcher.Start("") && !launcher.Start(Narrow(Temp() + L"\\missing.exe")),
          "launcher reports an empty path and a missing program");
    const std::wstring folder = Temp() + L"\\dir with spaces & $(x) %PATH%", copy = folder + L"\\viewer.exe";
    CreateDirectoryW(folder.c_str(), nullptr);
    const HANDLE started = CreateEventW(nullptr, TRUE, FALSE, ChildStarted);
    Check(CopyFileW(OwnPath().c_str(), copy.c_str(), FALSE) && launcher.Start(Narrow(copy))
              && WaitForSingleObject(started, 60000) == WAIT_OBJECT_0,
          "launcher starts a copy of this program, which runs");
    CloseHandle(started);
    std::string text;
    std::getline(std::ifstream((Temp() + L"\\child.txt").c_str()), text);
    Equal(text, Narrow(copy), "started program is the one at that exact path");
}

// MAPI gets one To recipient, the subject, no body or attachment, its dialog and log-on; a user's
// cancel ends the command, while a refusal, no MAPI mail program or no MAPISendMailW means mailto:.
void CheckMapi()
{
    using namespace help::win;
    const help::MailMessage message = help::FeedbackMessage();
    std::string seen;
    const MapiSend capture = [&](MapiMessageWide& mail, unsigned long flags) {
        const MapiRecipient& to = mail.lpRecips[0];
        const bool shape = flags == (MapiDialog | MapiLogonUi) && mail.nRecipCount == 1 && to.ulRecipClass == MapiTo
                           && !mail.lpszNoteText && mail.nFileCount == 0 && !mail.lpFiles && !mail.lpOriginator;
        seen = (shape ? "" : "wrong shape | ") + Narrow(mail.lpszSubject) + " | " + Narrow(to.lpszName) + " | "
               + Narrow(to.lpszAddress);
        return MapiSuccess;
    };
    Check(SendWithMapi(capture, message), "MAPI success counts as sent");
    Equal(seen, std::string("Velkarn versjon 1.0 | ") + HelpConfig::SupportMail + " | SMTP:" + HelpConfig::SupportMail,
          "MAPI subject | recipient name | address");
    const auto answering = [&](unsigned long code) {
        return SendWithMapi([code](MapiMessageWide&, unsigned long) { return code; }, message);
    };
    Check(answering(MapiUserAbort) && !answering(2) && !answering(26) && !SendWithMapi({}, message),
          "cancel counts as answered; failure, no MAPI mail program or no MAPISendMailW falls back");
    Check(static_cast<bool>(MapiLibrary().SendMail()), "MAPISendMailW found in the system's MAPI32.DLL");
}

} // namespace

int main()
{
    const std::wstring self = OwnPath();
    if (self.ends_with(L"\\viewer.exe")) { // started by CheckLauncher: say from where, then that it ran
        std::ofstream((Temp() + L"\\child.txt").c_str()) << Narrow(self);
        const HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, ChildStarted);
        return done && SetEvent(done) && CloseHandle(done) ? 0 : 1;
    }
    CreateDirectoryW(Temp().c_str(), nullptr);
    RegDeleteTreeW(HKEY_CURRENT_USER, TestKey.c_str());
    CheckRegistryValues();
    CheckViewerDecision();
    CheckLauncher();
    CheckMapi();
    RegDeleteTreeW(HKEY_CURRENT_USER, TestKey.c_str());
    std::printf("%d failed\n", failures);
    return failures;
}
