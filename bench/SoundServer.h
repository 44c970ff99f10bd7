// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Figures;

/// The benchmark's real-server mode. It starts a private PipeWire as a Debian desktop runs it (a
/// D-Bus session, pipewire, wireplumber and pipewire-pulse in a runtime folder of their own, a null
/// sink as the default output), records the sink's monitor, and measures key -> sink and the idle
/// cost of the game at gamePath as built, with each driver and buffer, of a 4,096-frame SDL_mixer
/// program and of a native PipeWire client, into figures. Returns 0, or 77 when PipeWire cannot
/// start here, which it says in one line.
int measureThroughSoundServer(const QString &gamePath, int presses, int idleMs, Figures &figures);
