# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that run Windows programs under wine: a fresh 64-bit prefix of their own in a
# scratch folder, so that neither earlier runs nor the user's own wine setup matter, and the checks
# they share. Needs wine, wine64 and, for the game's window, Xvfb (xvfb-run).

# new_prefix <folder>: a new prefix there, without the offers to install Mono and Gecko.
new_prefix() {
  export WINEPREFIX="$1/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
  wineboot -i >/dev/null 2>&1 || { echo "wineboot could not make a prefix in $WINEPREFIX"; return 1; }
}

# end_prefix: stops every program in the prefix and waits for wine to be done with it.
end_prefix() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

# set_windows_env NAME VALUE: wine hands no variable beginning with QT_ from the host to a Windows
# program, so the program gets it from the prefix's registry (HKCU\Environment) instead.
set_windows_env() {
  wine reg add 'HKCU\Environment' /v "$1" /d "$2" /f >/dev/null 2>&1 || { echo "could not set $1 in the prefix"; return 1; }
}

# plays <folder> <program.exe> [arguments]: starts the game headless on a virtual screen with SDL's
# disk driver writing what is mixed, and passes when more sound comes out than the welcome alone
# holds: the game found its recordings in <folder>\wave and went on to the next announcement (a
# message box, for a recording it cannot open or no sound device, would have held it).
plays() {
  local folder=$1 exe=$2; shift 2
  local out="$WINEPREFIX/../mixed.raw" game heard welcome
  # The recordings are 16-bit mono at the mixer's rate: the welcome lasts this many output frames.
  welcome=$(( ($(stat -c %s "$folder/wave/welcome.wav") - 44) / 2 ))
  : >"$out"
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$(winepath -w "$out")" \
    env -u QT_QPA_PLATFORM xvfb-run -a -s '-screen 0 1024x768x24' wine "$exe" "$@" >/dev/null 2>&1 &
  game=$!
  # Non-silent stereo frames (4 bytes), counted as they are written; given up after a generous 2 minutes.
  heard=$(timeout 120 tail -c +1 -f "$out" | od -An -v -w4 -tx4 | grep -v -m $((welcome + 1)) ' 00000000' | wc -l)
  if ! kill -0 "$game" 2>/dev/null; then
    wait "$game" && s=0 || s=$?
    echo "the game ended by itself ($s) after $heard sounding frames"
    return 1
  fi
  end_prefix
  wait "$game" 2>/dev/null || true
  [ "$heard" -gt "$welcome" ] || { echo "only $heard sounding frames, no more than the welcome's $welcome"; return 1; }
  echo "the game played $heard sounding frames, more than the welcome's $welcome"
}
