// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QSettings;

// Finds the system's own information viewer and starts it.
namespace SystemInfo {

/// The viewer Windows records under HKLM\SOFTWARE\Microsoft (the settings given): "Shared Tools/MSINFO/PATH"
/// as it stands, else MSINFO32.EXE in the absolute folder "Shared Tools Location/MSINFO" if that file is
/// there; empty if neither.
QString registeredViewer(const QSettings &microsoft);

/// The first of the known viewers found in PATH, or empty.
QString viewerInPath();

/// Starts this system's viewer by its path, with no shell and no arguments, and does not wait for it.
/// False when there is none or it cannot start.
bool startViewer();

} // namespace SystemInfo
