#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Unpacks the package into a scratch root and starts the installed game there, headless, with SDL's
# disk driver writing what is mixed. More sound than the welcome alone proves that the game found its
# recordings through the installed links and went on to the next announcement: a message box (a
# recording that cannot be opened, or no sound device) would have held it before that.
set -eu
root=$(mktemp -d)
game=
trap '[ -z "$game" ] || kill "$game" 2>/dev/null; rm -rf "$root"' EXIT
dpkg -x "$1" "$root"
# The recordings are 16-bit mono at the mixer's rate: the welcome lasts this many output frames.
welcome=$(( ($(stat -c %s "$root/usr/share/games/velkarn/wave/welcome.wav") - 44) / 2 ))
out=$root/mixed.raw
: >"$out"
# Settings are kept in the scratch root too: neither read from nor left in the real home. No PipeWire
# server answers in its empty runtime folder, so the game chooses SDL's component by itself.
mkdir -m 700 "$root/run"
env -u PIPEWIRE_REMOTE -u PIPEWIRE_RUNTIME_DIR -u VELKARN_SOUND XDG_RUNTIME_DIR="$root/run" \
  XDG_CONFIG_HOME=$root/config QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out" \
  "$root/usr/games/velkarn" &
game=$!
# Non-silent stereo frames (4 bytes) counted as they are written; given up after a generous minute.
heard=$(timeout 60 tail -c +1 -f "$out" | od -An -v -w4 -tx4 | grep -v -m $((welcome + 1)) ' 00000000' | wc -l)
kill -0 "$game" 2>/dev/null || { wait "$game" && s=0 || s=$?; echo "the installed game ended by itself ($s)"; exit 1; }
[ "$heard" -gt "$welcome" ] || { echo "only $heard sounding frames, no more than the welcome's $welcome"; exit 1; }
