// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/win/MapiMailClient.h"

#include <windows.h>

#include <mapi.h>

#include <memory>
#include <type_traits>

namespace help::win {

bool composeMapiMail(std::wstring recipient, std::wstring subject)
{
    // Only the system folder: a MAPI32.DLL planted beside the program must not load.
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)> mapi(
        LoadLibraryExW(L"MAPI32.DLL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), &FreeLibrary);
    using SendMailW = ULONG(WINAPI *)(LHANDLE session, ULONG_PTR window, MapiMessageWide *, FLAGS, ULONG reserved);
    if (!mapi)
        return false;
    const auto sendMail
        = reinterpret_cast<SendMailW>(reinterpret_cast<void *>(GetProcAddress(mapi.get(), "MAPISendMailW")));
    if (!sendMail)
        return false;

    // The SMTP: prefix stops the mail program from looking the address up as a name.
    std::wstring address = L"SMTP:" + recipient;
    MapiRecipient to{};
    to.ulRecipClass = MAPI_TO;
    to.lpszName = recipient.data();
    to.lpszAddress = address.data();
    MapiMessageWide message{};
    message.lpszSubject = subject.data();
    message.nRecipCount = 1;
    message.lpRecips = &to;
    // No session: MAPI signs on for this one message and off again by itself.
    const ULONG result = sendMail(0, 0, &message, MAPI_DIALOG | MAPI_LOGON_UI, 0);
    return result == SUCCESS_SUCCESS || result == MAPI_USER_ABORT;
}

} // namespace help::win
