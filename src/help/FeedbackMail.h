// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Opens the user's mail program on a new message to the maker's support address with the game's title
// and version as subject, in the user's language: on Windows through Simple MAPI, else (or when MAPI is
// missing or refuses) through the desktop's mailto: handler. Where neither works, nothing happens.
void sendFeedbackMail();
