// SPDX-License-Identifier: GPL-3.0-or-later
// Simple MAPI against wine's MAPI32.DLL, in a throw-away prefix where this program is registered as the
// system's mail program (its MAPISendMailW is below): what the game hands the mail program, how it takes
// each answer, and that MAPI32.DLL is let go again. Prints each failure; exits with their number.

#include "help/win/MapiMailClient.h"

#include <windows.h>

#include <mapi.h>

#include <cstdio>

using namespace help::win;

namespace {

ULONG mapiAnswer = SUCCESS_SUCCESS; // what the stand-in mail program answers
std::wstring mapiSeen;              // and what MAPI32.DLL handed it

bool store(const std::wstring &key, const wchar_t *name, const std::wstring &text)
{
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, text.c_str(),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)))
        == ERROR_SUCCESS;
}

} // namespace

// The stand-in mail program: one To recipient, the subject, the mail program's dialog and log-on, no
// session or window, nothing else.
extern "C" __declspec(dllexport) ULONG WINAPI
    MAPISendMailW(LHANDLE session, ULONG_PTR window, MapiMessageWide *mail, FLAGS flags, ULONG reserved)
{
    const MapiRecipient &to = mail->lpRecips[0];
    const bool plain = session == 0 && window == 0 && reserved == 0 && flags == (MAPI_DIALOG | MAPI_LOGON_UI)
        && mail->nRecipCount == 1 && to.ulRecipClass == MAPI_TO && !mail->lpszNoteText && mail->nFileCount == 0
        && !mail->lpFiles && !mail->lpOriginator;
    mapiSeen = std::wstring(plain ? L"" : L"odd call: ") + mail->lpszSubject + L" | " + to.lpszName + L" | "
        + to.lpszAddress;
    return mapiAnswer;
}

int main()
{
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
        std::puts("These checks write HKLM: run them under wine only, in a fresh prefix.");
        return 1;
    }
    wchar_t self[MAX_PATH];
    const std::wstring key = L"SOFTWARE\\Clients\\Mail", name = L"Velkarn tests";
    if (!store(key, nullptr, name)
        || !store(key + L"\\" + name, L"DLLPath", std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH)))) {
        std::puts("FAIL: could not register this program as the mail program");
        return 1;
    }
    const std::wstring recipient = L"støtte@eksempel.no", subject = L"Velkarn versjon 1.0 & æøå";
    const std::wstring want = subject + L" | " + recipient + L" | SMTP:" + recipient;
    int failures = 0;
    // Sent and cancelled: the mail program took it; refused: another way is to be tried.
    for (const ULONG answer : {SUCCESS_SUCCESS, MAPI_USER_ABORT, MAPI_E_FAILURE}) {
        mapiAnswer = answer;
        mapiSeen = L"nothing";
        const bool taken = composeMapiMail(recipient, subject);
        if (mapiSeen != want || taken != (answer != MAPI_E_FAILURE) || GetModuleHandleW(L"MAPI32.DLL")) {
            std::printf("FAIL: MAPI answer %lu: taken %d, MAPI32.DLL %s, the mail program saw: %ls\n", answer, taken,
                        GetModuleHandleW(L"MAPI32.DLL") ? "still loaded" : "let go", mapiSeen.c_str());
            ++failures;
        }
    }
    std::printf("%d failed\n", failures);
    return failures;
}
