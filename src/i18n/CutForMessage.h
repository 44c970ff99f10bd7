// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// A value the user gave (a language code, a path), as a message shows it: whole up to 40
/// characters, else its first and last 20 around "…", so that even a path keeps its file name.
QString cutForMessage(const QString &value);
