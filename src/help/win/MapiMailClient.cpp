// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/win/MapiMailClient.h"

#include "help/win/Utf16.h"

#include "help/win/WindowsApi.h"

namespace help::win {
namespace {

using MapiSendMailW
    = ULONG(WINAPI *)(ULONG_PTR session, ULONG_PTR uiParam, MapiMessageWide *message, ULONG flags, ULONG reserved);

} // namespace

bool sendWithMapi(const MapiSend &send, const MailMessage &message)
{
    if (!send)
        return false;
    std::wstring recipient = widen(message.recipient);
    // The SMTP: prefix stops the mail program from looking the address up as a name.
    std::wstring address = L"SMTP:" + recipient;
    std::wstring subject = widen(message.subject);

    MapiRecipient to{};
    to.ulRecipClass = MapiTo;
    to.lpszName = recipient.data();
    to.lpszAddress = address.data();

    MapiMessageWide mail{};
    mail.lpszSubject = subject.data();
    mail.nRecipCount = 1;
    mail.lpRecips = &to;

    const unsigned long result = send(mail, MapiDialog | MapiLogonUi);
    return result == MapiSuccess || result == MapiUserAbort;
}

MapiLibrary::MapiLibrary()
    // Only the system folder: a MAPI32.DLL planted beside the program must not load.
    : module_(LoadLibraryExW(L"MAPI32.DLL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
{
}

MapiLibrary::~MapiLibrary()
{
    if (module_)
        FreeLibrary(static_cast<HMODULE>(module_));
}

MapiSend MapiLibrary::sendMail() const
{
    if (!module_)
        return {};
    const auto sendMail = reinterpret_cast<MapiSendMailW>(
        reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(module_), "MAPISendMailW")));
    if (!sendMail)
        return {};
    // No session: MAPI signs on for this one message and signs off by itself.
    return [sendMail](MapiMessageWide &message, unsigned long flags) -> unsigned long {
        return sendMail(0, 0, &message, flags, 0);
    };
}

bool MapiMailClient::compose(const MailMessage &message)
{
    const MapiLibrary library;
    return sendWithMapi(library.sendMail(), message);
}

} // namespace help::win
