// Checks the help library's Windows code against the real Windows API (run under wine).
// Prints every check; the exit code is the number of failures.

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

const wchar_t TestKey[] = L"Software\\VelkarnWindowsTests";
const wchar_t ChildRecordVariable[] = L"VELKARN_CHILD_RECORD";
const wchar_t ChildEventVariable[] = L"VELKARN_CHILD_EVENT";

class Checks {
public:
    void That(bool ok, const std::string& what)
    {
        std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what.c_str());
        std::fflush(stdout);
        if (!ok)
            ++failures_;
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
    wchar_t buffer[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableW(name, buffer, MAX_PATH * 2);
    return length == 0 || length >= MAX_PATH * 2 ? std::string() : Narrow({buffer, length});
}

std::string OwnPath()
{
    wchar_t buffer[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 2);
    return Narrow({buffer, length});
}

// Started by the launcher test: write where it was started from, then say so.
int RunAsChild(const std::string& record)
{
    std::ofstream(Widen(record).c_str()) << OwnPath();
    const HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, Widen(Environment(ChildEventVariable)).c_str());
    if (!done)
        return 1;
    SetEvent(done);
    CloseHandle(done);
    return 0;
}

// Writes raw bytes as a value of the given type under the test key.
bool SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, TestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return false;
    const bool ok = RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool SetString(const wchar_t* name, const std::wstring& text, bool withTerminator)
{
    const DWORD size = static_cast<DWORD>((text.size() + (withTerminator ? 1 : 0)) * sizeof(wchar_t));
    return SetRaw(name, REG_SZ, text.c_str(), size);
}

std::string TestKeyName(const std::string& below = {})
{
    return Narrow(TestKey) + (below.empty() ? "" : "\\" + below);
}

struct Reading {
    bool found;
    std::string text;
};

Reading Read(const std::string& key, const std::string& value)
{
    Reading reading{false, "left over"};
    reading.found = help::win::RegistryKeyReader().GetKeyValue(CurrentUser, key, value, reading.text);
    return reading;
}

void CheckRegistryValues(Checks& check)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, TestKey);
    const std::wstring path = L"C:\\Programmer\\Måler med mellomrom\\viewer.exe";
    const DWORD number = 0x01020304;
    const BYTE binary[] = {1, 2, 3, 0};
    check.That(SetString(L"WithNul", path, true) && SetString(L"WithoutNul", path, false)
                   && SetRaw(L"Number", REG_DWORD, &number, sizeof number)
                   && SetRaw(L"Binary", REG_BINARY, binary, sizeof binary)
                   && SetRaw(L"Expandable", REG_EXPAND_SZ, L"%SystemRoot%", 26)
                   && SetRaw(L"Empty", REG_SZ, L"", 0),
               "test values written under HKCU\\" + TestKeyName());

    const Reading withNul = Read(TestKeyName(), "WithNul");
    check.That(withNul.found, "string stored with its NUL is found");
    check.Equal(withNul.text, Narrow(path), "string stored with its NUL");
    const Reading withoutNul = Read(TestKeyName(), "WithoutNul");
    check.That(withoutNul.found, "string stored without a NUL is found");
    check.Equal(withoutNul.text, Narrow(path), "string stored without a NUL gives the same text");

    const Reading dword = Read(TestKeyName(), "Number");
    check.That(dword.found, "32-bit value is found");
    check.Equal(dword.text, "16909060", "32-bit value as unsigned decimal");

    for (const char* other : {"Binary", "Expandable"}) {
        const Reading reading = Read(TestKeyName(), other);
        check.That(reading.found, std::string("value of another type is found: ") + other);
        check.Equal(reading.text, "", std::string("value of another type has no text: ") + other);
    }

    const Reading empty = Read(TestKeyName(), "Empty");
    check.That(!empty.found, "zero-length value counts as missing");
    check.Equal(empty.text, "", "zero-length value leaves the text empty");

    const Reading noValue = Read(TestKeyName(), "NoSuchValue");
    check.That(!noValue.found && noValue.text.empty(), "missing value: not found, text cleared");
    const Reading noKey = Read(TestKeyName("NoSuchKey"), "WithNul");
    check.That(!noKey.found && noKey.text.empty(), "missing key: not found, text cleared");
}

struct TempFolder {
    std::wstring path;
    TempFolder()
    {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path = std::wstring(base) + L"velkarn-tests-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path.c_str(), nullptr);
    }
    ~TempFolder()
    {
        RemoveTree(path);
    }
    static void RemoveTree(const std::wstring& folder)
    {
        WIN32_FIND_DATAW entry;
        const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = entry.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring full = folder + L"\\" + name;
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(full);
                else
                    DeleteFileW(full.c_str());
            } while (FindNextFileW(search, &entry));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }
};

bool Touch(const std::wstring& file)
{
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(handle);
    return true;
}

void CheckViewerDecision(Checks& check, const TempFolder& temp)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, TestKey);
    const std::wstring folder = temp.path + L"\\Shared Tools\\MSInfo";
    CreateDirectoryW((temp.path + L"\\Shared Tools").c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);

    const help::win::RegistryKeyReader registry;
    const help::win::WinFileProbe files;
    const help::ViewerKeys keys{CurrentUser, TestKeyName("MSINFO"), "PATH",
                               TestKeyName("Shared Tools Location"), "MSINFO", "MSINFO32.EXE"};
    auto setIn = [](const std::wstring& below, const wchar_t* name, const std::wstring& text) {
        HKEY key = nullptr;
        const std::wstring full = std::wstring(TestKey) + L"\\" + below;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, full.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
            != ERROR_SUCCESS)
            return false;
        const bool ok = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)))
                        == ERROR_SUCCESS;
        RegCloseKey(key);
        return ok;
    };

    check.That(!help::FindRegisteredViewer(registry, files, keys), "no viewer when neither key exists");

    check.That(setIn(L"Shared Tools Location", L"MSINFO", folder), "folder recorded in the second place");
    check.That(!help::FindRegisteredViewer(registry, files, keys),
               "no viewer when the folder has no MSINFO32.EXE");
    const std::wstring viewer = folder + L"\\MSINFO32.EXE";
    check.That(Touch(viewer), "MSINFO32.EXE created in the folder");
    check.That(files.Exists(Narrow(viewer)), "file probe sees the new file");
    check.That(!files.Exists(Narrow(folder)), "file probe does not take a folder for a file");
    const auto fromFolder = help::FindRegisteredViewer(registry, files, keys);
    check.Equal(fromFolder.value_or("<none>"), Narrow(viewer), "viewer found through the folder");

    const std::wstring elsewhere = temp.path + L"\\not there.exe";
    check.That(setIn(L"MSINFO", L"PATH", elsewhere), "path recorded in the first place");
    const auto fromPath = help::FindRegisteredViewer(registry, files, keys);
    check.Equal(fromPath.value_or("<none>"), Narrow(elsewhere),
                "first place wins and is taken without a file check");

    HKEY pathKey = nullptr;
    const std::wstring pathKeyName = std::wstring(TestKey) + L"\\MSINFO";
    check.That(RegOpenKeyExW(HKEY_CURRENT_USER, pathKeyName.c_str(), 0, KEY_SET_VALUE, &pathKey) == ERROR_SUCCESS
                   && RegSetValueExW(pathKey, L"PATH", 0, REG_SZ, nullptr, 0) == ERROR_SUCCESS,
               "first place's path emptied to zero length");
    RegCloseKey(pathKey);
    const auto zeroLength = help::FindRegisteredViewer(registry, files, keys);
    check.Equal(zeroLength.value_or("<none>"), Narrow(viewer),
                "zero-length first place falls through to the folder");

    RegDeleteTreeW(HKEY_CURRENT_USER, TestKey);
}

bool RunningUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// The real system keys, written into wine's throw-away prefix (never on a real Windows).
void CheckSystemKeys(Checks& check, const TempFolder& temp)
{
    if (!RunningUnderWine()) {
        check.That(false, "the system-key checks run only under wine");
        return;
    }
    const wchar_t pathKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    const wchar_t folderKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, pathKey);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, folderKey);

    const help::SysInfoPlatform platform = help::MakeSysInfoPlatform();
    check.That(!platform.locator->FindViewer(), "system: no viewer without either key");

    const std::wstring folder = temp.path + L"\\System MSInfo";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring viewer = folder + L"\\MSINFO32.EXE";
    HKEY key = nullptr;
    const bool written =
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, folderKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
            == ERROR_SUCCESS
        && RegSetValueExW(key, L"MSINFO", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                          static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)))
               == ERROR_SUCCESS;
    RegCloseKey(key);
    check.That(written && Touch(viewer), "system: viewer folder recorded in HKLM and MSINFO32.EXE created");
    check.Equal(platform.locator->FindViewer().value_or("<none>"), Narrow(viewer),
                "system: viewer found through HKLM\\SOFTWARE\\Microsoft\\Shared Tools Location");

    std::string value;
    check.That(platform.registry->GetKeyValue(help::RegistryRoot::LocalMachine, Narrow(folderKey), "MSINFO", value)
                   && value == Narrow(folder),
               "system: the platform's reader reads HKLM");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, folderKey);
}

void CheckLauncher(Checks& check, const TempFolder& temp)
{
    help::win::WinProgramLauncher launcher;
    check.That(!launcher.Start(""), "launcher refuses an empty path");
    check.That(!launcher.Start(Narrow(temp.path + L"\\missing.exe")), "launcher reports a missing program");

    // A copy of this program in a folder whose name a shell would misread.
    const std::wstring folder = temp.path + L"\\dir with spaces & $(x) %PATH%";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring copy = folder + L"\\viewer.exe";
    check.That(CopyFileW(Widen(OwnPath()).c_str(), copy.c_str(), FALSE) != 0, "test program copied as viewer.exe");

    const std::wstring record = temp.path + L"\\child.txt";
    const std::wstring eventName = L"VelkarnChildStarted" + std::to_wstring(GetCurrentProcessId());
    const HANDLE started = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    SetEnvironmentVariableW(ChildRecordVariable, record.c_str());
    SetEnvironmentVariableW(ChildEventVariable, eventName.c_str());

    check.That(launcher.Start(Narrow(copy)), "launcher starts the program at an awkward path");
    const bool signalled = WaitForSingleObject(started, 60000) == WAIT_OBJECT_0;
    check.That(signalled, "started program ran");
    SetEnvironmentVariableW(ChildRecordVariable, nullptr);
    CloseHandle(started);

    std::stringstream text;
    text << std::ifstream(record.c_str()).rdbuf();
    check.Equal(text.str(), Narrow(copy), "started program is the one at that exact path");
}

void CheckMapi(Checks& check)
{
    const help::MailMessage message = help::FeedbackMessage();
    check.Equal(message.subject, "Velkarn versjon 1.0", "feedback subject");
    check.Equal(message.recipient, HelpConfig::SupportMail, "feedback recipient");

    std::wstring subject, name, address;
    unsigned long flags = 0, recipients = 0, recipientClass = 0, files = 0;
    bool noBody = false;
    const help::win::MapiSend capture = [&](help::win::MapiMessageWide& mail, unsigned long sendFlags) {
        flags = sendFlags;
        subject = mail.lpszSubject ? mail.lpszSubject : L"";
        recipients = mail.nRecipCount;
        if (mail.lpRecips) {
            recipientClass = mail.lpRecips[0].ulRecipClass;
            name = mail.lpRecips[0].lpszName;
            address = mail.lpRecips[0].lpszAddress;
        }
        files = mail.nFileCount;
        noBody = mail.lpszNoteText == nullptr && mail.lpFiles == nullptr && mail.lpOriginator == nullptr;
        return help::win::MapiSuccess;
    };
    check.That(help::win::SendWithMapi(capture, message), "MAPI success counts as sent");
    check.That(flags == (help::win::MapiDialog | help::win::MapiLogonUi), "mail dialog shown, log-on allowed");
    check.Equal(Narrow(subject), "Velkarn versjon 1.0", "MAPI subject");
    check.That(recipients == 1 && recipientClass == help::win::MapiTo, "one To recipient");
    check.Equal(Narrow(name), HelpConfig::SupportMail, "recipient name is the address");
    check.Equal(Narrow(address), std::string("SMTP:") + HelpConfig::SupportMail, "recipient address");
    check.That(noBody && files == 0, "no body, no attachment, no originator");

    auto answering = [](unsigned long code) {
        return help::win::MapiSend([code](help::win::MapiMessageWide&, unsigned long) { return code; });
    };
    check.That(help::win::SendWithMapi(answering(help::win::MapiUserAbort), message),
               "user cancelling in the mail program ends the command (no second try)");
    check.That(!help::win::SendWithMapi(answering(2), message), "MAPI failure falls back");
    check.That(!help::win::SendWithMapi(answering(26), message), "MAPI not supported falls back");
    check.That(!help::win::SendWithMapi({}, message), "missing MAPI falls back");

    const help::win::MapiLibrary library;
    check.That(static_cast<bool>(library.SendMail()), "MAPISendMailW found in the system's MAPI32.DLL");
}

void CheckText(Checks& check)
{
    const std::string norwegian = "Søknad på ærlig vis";
    check.Equal(Narrow(Widen(norwegian)), norwegian, "UTF-8 survives a trip through UTF-16");
    check.That(Widen("å") == L"\u00e5", "UTF-8 becomes UTF-16");
}

} // namespace

int main()
{
    const std::string childRecord = Environment(ChildRecordVariable);
    if (!childRecord.empty())
        return RunAsChild(childRecord);

    Checks check;
    const TempFolder temp;
    CheckText(check);
    CheckRegistryValues(check);
    CheckViewerDecision(check, temp);
    CheckSystemKeys(check, temp);
    CheckLauncher(check, temp);
    CheckMapi(check);
    RegDeleteTreeW(HKEY_CURRENT_USER, TestKey);
    std::printf("%d failed\n", check.Failures());
    return check.Failures();
}
