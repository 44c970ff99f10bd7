// Checks the help library's Windows code against the real Windows API; run under wine
// in a throw-away prefix. Prints every check; the exit code is the number of failures.

#include "help/HelpConfig.h"
#include "help/SysInfoPlatform.h"
#include "help/core/MailMessage.h"
#include "help/core/RegisteredViewer.h"
#include "help/win/MapiMailClient.h"
#include "help/win/RegistryKeyReader.h"
#include "help/win/Utf16.h"
#include "help/win/WinFileProbe.h"
#include "help/win/WinProgramLauncher.h"
#include "help/win/WindowsApi.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using help::RegistryRoot::CurrentUser;
using help::win::Narrow;
using help::win::Widen;

const std::wstring TestKey = L"Software\\VelkarnWindowsTests";
const wchar_t ChildRecordVariable[] = L"VELKARN_CHILD_RECORD";
const wchar_t ChildEventVariable[] = L"VELKARN_CHILD_EVENT";

class Checks {
public:
    void That(bool ok, const std::string& what)
    {
        std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what.c_str());
        std::fflush(stdout);
        failures_ += ok ? 0 : 1;
    }
    void Equal(const std::string& actual, const std::string& expected, const std::string& what)
    {
        That(actual == expected, what + " (got \"" + actual + "\", want \"" + expected + "\")");
    }
    int Failures() const { return failures_; }

private:
    int failures_ = 0;
};

std::string Environment(const wchar_t* name)
{
    wchar_t buffer[1024];
    const DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
    return length == 0 || length >= 1024 ? std::string() : Narrow({buffer, length});
}

std::string OwnPath()
{
    wchar_t buffer[1024];
    return Narrow({buffer, GetModuleFileNameW(nullptr, buffer, 1024)});
}

// Started by the launcher check: write where it was started from, then say so.
int RunAsChild(const std::string& record)
{
    std::ofstream(Widen(record).c_str()) << OwnPath();
    const HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, Widen(Environment(ChildEventVariable)).c_str());
    return done && SetEvent(done) && CloseHandle(done) ? 0 : 1;
}

bool SetValue(HKEY root, const std::wstring& key, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const bool ok = RegSetValueExW(handle, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return ok;
}

bool SetText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text, bool withNul = true)
{
    return SetValue(root, key, name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + (withNul ? 1 : 0)) * sizeof(wchar_t)));
}

bool Touch(const std::wstring& file)
{
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    return handle != INVALID_HANDLE_VALUE && CloseHandle(handle);
}

// A fresh folder in the prefix's temp folder, which goes away with the prefix.
std::wstring MakeTempFolder()
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    const std::wstring path = std::wstring(base) + L"velkarn-tests-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

void CheckRegistryValues(Checks& check)
{
    const std::wstring path = L"C:\\Programmer\\Måler med mellomrom\\viewer.exe";
    const DWORD number = 0x01020304;
    const BYTE binary[] = {1, 2, 3, 0};
    check.That(SetText(HKEY_CURRENT_USER, TestKey, L"WithNul", path)
                   && SetText(HKEY_CURRENT_USER, TestKey, L"WithoutNul", path, false)
                   && SetValue(HKEY_CURRENT_USER, TestKey, L"Number", REG_DWORD, &number, sizeof number)
                   && SetValue(HKEY_CURRENT_USER, TestKey, L"Binary", REG_BINARY, binary, sizeof binary)
                   && SetValue(HKEY_CURRENT_USER, TestKey, L"Empty", REG_SZ, L"", 0),
               "test values written under HKCU\\" + Narrow(TestKey));

    const help::win::RegistryKeyReader registry;
    auto read = [&](const std::string& key, const std::string& value, const std::string& want, bool found,
                    const std::string& what) {
        std::string text = "left over";
        check.That(registry.GetKeyValue(CurrentUser, key, value, text) == found,
                   what + (found ? ": found" : ": not found"));
        check.Equal(text, want, what);
    };
    const std::string key = Narrow(TestKey);
    read(key, "WithNul", Narrow(path), true, "string stored with its NUL");
    read(key, "WithoutNul", Narrow(path), true, "string stored without a NUL gives the same text");
    read(key, "Number", "16909060", true, "32-bit value as unsigned decimal");
    read(key, "Binary", "", true, "value of another type: found, no text");
    read(key, "Empty", "", false, "zero-length value counts as missing");
    read(key, "NoSuchValue", "", false, "missing value");
    read(key + "\\NoSuchKey", "WithNul", "", false, "missing key");
}

void CheckViewerDecision(Checks& check, const std::wstring& temp)
{
    const std::wstring folder = temp + L"\\Shared Tools";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring viewer = folder + L"\\MSINFO32.EXE";
    const std::wstring pathKey = TestKey + L"\\MSINFO";
    const std::wstring folderKey = TestKey + L"\\Shared Tools Location";
    const help::ViewerKeys keys{CurrentUser, Narrow(pathKey), "PATH", Narrow(folderKey), "MSINFO", "MSINFO32.EXE"};
    const help::win::RegistryKeyReader registry;
    const help::win::WinFileProbe files;
    auto find = [&] { return help::FindRegisteredViewer(registry, files, keys).value_or("<none>"); };

    check.Equal(find(), "<none>", "no viewer when neither key exists");
    check.That(SetText(HKEY_CURRENT_USER, folderKey, L"MSINFO", folder), "folder recorded in the second place");
    check.Equal(find(), "<none>", "no viewer when the folder has no MSINFO32.EXE");
    check.That(Touch(viewer) && !files.Exists(Narrow(folder)), "MSINFO32.EXE created; a folder is no file");
    check.Equal(find(), Narrow(viewer), "viewer found through the folder once the file exists");

    const std::wstring missing = temp + L"\\not there.exe";
    check.That(SetText(HKEY_CURRENT_USER, pathKey, L"PATH", missing), "path recorded in the first place");
    check.Equal(find(), Narrow(missing), "first place wins and is taken without a file check");
    check.That(SetValue(HKEY_CURRENT_USER, pathKey, L"PATH", REG_SZ, nullptr, 0), "first place emptied");
    check.Equal(find(), Narrow(viewer), "zero-length first place falls through to the folder");
}

bool RunningUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// The real system keys; only ever written in wine's throw-away prefix.
void CheckSystemKeys(Checks& check, const std::wstring& temp)
{
    if (!RunningUnderWine())
        return check.That(false, "the system-key checks run only under wine");
    const std::wstring folderKey = L"SOFTWARE\\Microsoft\\Shared Tools Location";
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, folderKey.c_str());
    const help::SysInfoPlatform platform = help::MakeSysInfoPlatform();
    check.That(!platform.locator->FindViewer(), "system: no viewer without either key");

    const std::wstring folder = temp + L"\\System MSInfo";
    CreateDirectoryW(folder.c_str(), nullptr);
    check.That(SetText(HKEY_LOCAL_MACHINE, folderKey, L"MSINFO", folder) && Touch(folder + L"\\MSINFO32.EXE"),
               "system: folder recorded in HKLM, MSINFO32.EXE created");
    check.Equal(platform.locator->FindViewer().value_or("<none>"), Narrow(folder + L"\\MSINFO32.EXE"),
                "system: viewer found through HKLM\\" + Narrow(folderKey));
}

void CheckLauncher(Checks& check, const std::wstring& temp)
{
    help::win::WinProgramLauncher launcher;
    check.That(!launcher.Start("") && !launcher.Start(Narrow(temp + L"\\missing.exe")),
               "launcher reports an empty path and a missing program");

    // A copy of this program in a folder whose name a shell would misread.
    const std::wstring folder = temp + L"\\dir with spaces & $(x) %PATH%";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring copy = folder + L"\\viewer.exe";
    check.That(CopyFileW(Widen(OwnPath()).c_str(), copy.c_str(), FALSE), "test program copied as viewer.exe");

    const std::wstring record = temp + L"\\child.txt";
    const std::wstring eventName = L"VelkarnChildStarted" + std::to_wstring(GetCurrentProcessId());
    const HANDLE started = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    SetEnvironmentVariableW(ChildRecordVariable, record.c_str());
    SetEnvironmentVariableW(ChildEventVariable, eventName.c_str());
    check.That(launcher.Start(Narrow(copy)), "launcher starts the program at that path");
    check.That(WaitForSingleObject(started, 60000) == WAIT_OBJECT_0, "started program ran");
    SetEnvironmentVariableW(ChildRecordVariable, nullptr);
    CloseHandle(started);

    std::stringstream text;
    text << std::ifstream(record.c_str()).rdbuf();
    check.Equal(text.str(), Narrow(copy), "started program is the one at that exact path");
}

void CheckMapi(Checks& check)
{
    const help::MailMessage message = help::FeedbackMessage();
    std::string subject, name, address;
    unsigned long flags = 0;
    bool shape = false;
    const help::win::MapiSend capture = [&](help::win::MapiMessageWide& mail, unsigned long sendFlags) {
        flags = sendFlags;
        shape = mail.nRecipCount == 1 && mail.lpRecips[0].ulRecipClass == help::win::MapiTo
                && !mail.lpszNoteText && mail.nFileCount == 0 && !mail.lpFiles && !mail.lpOriginator;
        subject = Narrow(mail.lpszSubject);
        name = Narrow(mail.lpRecips[0].lpszName);
        address = Narrow(mail.lpRecips[0].lpszAddress);
        return help::win::MapiSuccess;
    };
    check.That(help::win::SendWithMapi(capture, message), "MAPI success counts as sent");
    check.That(flags == (help::win::MapiDialog | help::win::MapiLogonUi), "mail dialog shown, log-on allowed");
    check.That(shape, "one To recipient; no body, attachment or originator");
    check.Equal(subject, "Velkarn versjon 1.0", "MAPI subject");
    check.Equal(name, HelpConfig::SupportMail, "recipient name is the address");
    check.Equal(address, std::string("SMTP:") + HelpConfig::SupportMail, "recipient address");

    auto answering = [&](unsigned long code) {
        return help::win::SendWithMapi([code](help::win::MapiMessageWide&, unsigned long) { return code; }, message);
    };
    check.That(answering(help::win::MapiUserAbort), "user cancelling in the mail program ends the command");
    check.That(!answering(2) && !answering(26), "MAPI failure or no MAPI mail program falls back to mailto:");
    check.That(!help::win::SendWithMapi({}, message), "missing MAPISendMailW falls back to mailto:");
    check.That(static_cast<bool>(help::win::MapiLibrary().SendMail()), "MAPISendMailW found in the system's MAPI32.DLL");
}

} // namespace

int main()
{
    const std::string childRecord = Environment(ChildRecordVariable);
    if (!childRecord.empty())
        return RunAsChild(childRecord);

    Checks check;
    const std::wstring temp = MakeTempFolder();
    RegDeleteTreeW(HKEY_CURRENT_USER, TestKey.c_str());
    CheckRegistryValues(check);
    CheckViewerDecision(check, temp);
    CheckSystemKeys(check, temp);
    CheckLauncher(check, temp);
    CheckMapi(check);
    RegDeleteTreeW(HKEY_CURRENT_USER, TestKey.c_str());
    std::printf("%d failed\n", check.Failures());
    return check.Failures();
}
