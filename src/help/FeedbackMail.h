// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Opens the user's mail program on a new message to the maker's support address with
// the game's title and version as subject, in the user's language. Any failure is swallowed: nothing is shown
// and nothing else changes.
void sendFeedbackMail();
