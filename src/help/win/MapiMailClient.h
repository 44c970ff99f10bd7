// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace help::win {

// Simple MAPI's wide-character recipient and message, laid out as MAPI32.DLL expects (mingw-w64's
// mapi.h has only the narrow ones).
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

/// Opens the system's Simple MAPI mail program on a new message to recipient with subject, its own dialog
/// shown and log-on allowed. True when the mail program answered, even if the user then cancelled; false
/// when MAPI is missing or refuses, so that another way may be tried.
bool composeMapiMail(std::wstring recipient, std::wstring subject);

} // namespace help::win
