// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "help/core/MailMessage.h"

#include <functional>

namespace help::win {

// Simple MAPI's wide-character recipient and message, laid out as MAPI32.DLL expects.
struct MapiRecipient {
    unsigned long ulReserved;
    unsigned long ulRecipClass;
    wchar_t *lpszName;
    wchar_t *lpszAddress;
    unsigned long ulEIDSize;
    void *lpEntryID;
};

struct MapiMessageWide {
    unsigned long ulReserved;
    wchar_t *lpszSubject;
    wchar_t *lpszNoteText;
    wchar_t *lpszMessageType;
    wchar_t *lpszDateReceived;
    wchar_t *lpszConversationID;
    unsigned long flFlags;
    MapiRecipient *lpOriginator;
    unsigned long nRecipCount;
    MapiRecipient *lpRecips;
    unsigned long nFileCount;
    void *lpFiles;
};

inline constexpr unsigned long MapiTo = 1;
inline constexpr unsigned long MapiLogonUi = 0x00000001;
inline constexpr unsigned long MapiDialog = 0x00000008;
inline constexpr unsigned long MapiSuccess = 0;
inline constexpr unsigned long MapiUserAbort = 1;

// Sends one prepared message with the given flags and returns MAPI's result code.
using MapiSend = std::function<unsigned long(MapiMessageWide &message, unsigned long flags)>;

// Hands the message to MAPISendMailW with the mail program's dialog shown and log-on
// allowed. True when the mail program answered, including when the user cancelled.
bool sendWithMapi(const MapiSend &send, const MailMessage &message);

// The system's MAPISendMailW, or an empty function where MAPI32.DLL or the call is missing.
// The library stays loaded for the life of the object.
class MapiLibrary
{
public:
    MapiLibrary();
    ~MapiLibrary();
    MapiLibrary(const MapiLibrary &) = delete;
    MapiLibrary &operator=(const MapiLibrary &) = delete;

    MapiSend sendMail() const;

private:
    void *module_ = nullptr;
};

// MailClient over Simple MAPI; unavailable when MAPI is missing or refuses the message.
class MapiMailClient : public MailClient
{
public:
    bool compose(const MailMessage &message) override;
};

} // namespace help::win
