#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays Velkarn as a child with a screen reader does, headless, and prints what each voice said.
#
#   tools/screenreader/play-with-orca.sh [--language nb|en] [--game build/velkarn] [--out DIR] [--check]
#                                        [--desktop-switch on|off] [--screen-reader auto|on|off]
#
# Orca runs against the game on a virtual screen (Xvfb), with a private D-Bus session and AT-SPI bus,
# and speaks through a private speech-dispatcher whose only voice writes down each utterance and
# how long espeak-ng takes to say it. The game plays on SDL's disk driver, whose file is timed as
# it grows. Keys go in through XTEST (xdotool). With --check it fails when a voice was not recorded
# or the focus rested on a hidden control, which no slowness of the machine can cause. The desktop's
# screen-reader switch is on unless --desktop-switch off (Orca started by hand); --screen-reader is
# handed to the game. Everything runs in a PID namespace of its own, so
# Orca's --replace ends no other Orca, and in a temporary HOME. Exits 77 where a tool is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
language=nb
game=
out=
while [ $# -gt 0 ]; do
    case $1 in
    --language) language=$2; shift 2 ;;
    --game) game=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --check) check=--check; shift ;;
    --desktop-switch) switch=$2; shift 2 ;;
    --screen-reader) mode=$2; shift 2 ;;
    --inside) inside=1; shift ;;
    *) echo "unknown argument: $1" >&2; exit 2 ;;
    esac
done
game=${game:-$here/../../build/velkarn}
python=/usr/bin/python3 # Debian's own, which has the AT-SPI and numpy modules

if [ -z "${inside:-}" ]; then
    missing=
    for tool in orca speech-dispatcher Xvfb xdotool dbus-daemon espeak-ng localedef unshare; do
        command -v $tool >/dev/null || missing="$missing $tool"
    done
    "$python" -c 'import pyatspi, numpy' 2>/dev/null || missing="$missing python3-pyatspi/python3-numpy"
    [ -x /usr/libexec/at-spi-bus-launcher ] || missing="$missing at-spi2-core"
    if [ -n "$missing" ]; then
        echo "skipped, missing:$missing (Debian: orca speech-dispatcher xvfb xdotool dbus-daemon espeak-ng locales python3-pyatspi python3-numpy at-spi2-core)"
        exit 77
    fi
    [ -x "$game" ] || { echo "no game at $game: build it first" >&2; exit 2; }
    out=${out:-$(mktemp -d /tmp/velkarn-orca.XXXXXX)}
    mkdir -p "$out"
    out=$(cd "$out" && pwd)
    game=$(cd "$(dirname "$game")" && pwd)/$(basename "$game")
    # pid 1 of the namespace is the inner run: when it ends, the kernel ends all it started. It
    # runs ahead of other work on the machine (it needs little), which would stretch its timelines.
    exec nice -n -10 unshare --pid --fork --mount-proc --kill-child "$0" --inside ${check:-} --desktop-switch "${switch:-on}" \
        ${mode:+--screen-reader "$mode"} --language "$language" --game "$game" --out "$out"
fi

tmp=$(mktemp -d /tmp/velkarn-orca-home.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
export HOME=$tmp/home XDG_RUNTIME_DIR=$tmp/run TZ=UTC
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$tmp/locale"
mkdir -m 700 "$XDG_RUNTIME_DIR"
rm -f "$out"/*.jsonl "$out"/orca.log "$out"/game.raw

# The child's desktop speaks the game's language: Orca's texts and voice follow it.
case $language in
nb) locale=nb_NO ;;
en) locale=en_GB ;;
*) echo "no desktop language for $language" >&2; exit 2 ;;
esac
localedef -i $locale -f UTF-8 "$tmp/locale/$locale.UTF-8" 2>/dev/null || true
export LOCPATH=$tmp/locale LANG=$locale.UTF-8 LANGUAGE= LC_ALL=

# The screen.
exec {displayfd}<> <(:)
Xvfb -displayfd $displayfd -ardelay 60000 -screen 0 1024x768x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
read -r -t 20 -u $displayfd number || { echo "Xvfb did not start" >&2; cat "$tmp/xvfb.log" >&2; exit 1; }
export DISPLAY=:$number

# The session bus; the AT-SPI bus is started on it when first asked for, as on a desktop.
exec {busfd}<> <(:)
dbus-daemon --session --nofork --print-address=$busfd >"$tmp/dbus.log" 2>&1 &
read -r -t 20 -u $busfd DBUS_SESSION_BUS_ADDRESS || { echo "dbus-daemon did not start" >&2; exit 1; }
export DBUS_SESSION_BUS_ADDRESS
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=0

# speech-dispatcher whose only voice writes each utterance down.
speechd=$tmp/speechd
mkdir -p "$speechd/modules"
cat >"$speechd/speechd.conf" <<CONF
LogLevel ${VELKARN_SPEECHD_LOGLEVEL:-1}
AudioOutputMethod "alsa"
AudioALSADevice "null"
DefaultModule velkarn
AddModule "velkarn" "sd_generic" "velkarn.conf"
DefaultLanguage "$language"
CONF
cat >"$speechd/modules/velkarn.conf" <<CONF
GenericExecuteSynth "echo \$(date +%s.%N) \$\$ \$VOICE \\'\$DATA\\' >>$tmp/said; exec sleep 600"
GenericLanguage "nb" "nb" "utf-8"
GenericLanguage "no" "nb" "utf-8"
GenericLanguage "en" "en-gb" "utf-8"
GenericLanguage "en-gb" "en-gb" "utf-8"
GenericLanguage "en-us" "en-us" "utf-8"
AddVoice "nb" "MALE1" "nb"
AddVoice "en" "MALE1" "en-gb"
DefaultVoice "$([ "$language" = nb ] && echo nb || echo en-gb)"
CONF
export SPEECHD_ADDRESS=unix_socket:$tmp/speechd.sock
"$python" "$here/probes.py" voice "$tmp/said" "$out/speech.jsonl" 175 &
speech-dispatcher -s -t 0 -C "$speechd" -S "$tmp/speechd.sock" -L "$out" >"$out/speechd.out" 2>&1 &
for _ in $(seq 100); do [ -S "$tmp/speechd.sock" ] && break; sleep 0.1; done
[ -S "$tmp/speechd.sock" ] || { echo "speech-dispatcher did not start:" >&2; tail "$tmp/speechd.out" >&2; exit 1; }

# What GNOME does when its screen reader is switched on, then Orca itself.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
    string:org.a11y.Status string:ScreenReaderEnabled variant:boolean:$([ "${switch:-on}" = on ] && echo true || echo false) \
    >/dev/null
orca --replace -u "$tmp/orca" --debug-file "$out/orca.log" >"$tmp/orca.out" 2>&1 &
for _ in $(seq 100); do
    grep -q "SPEECH: Initialized" "$out/orca.log" 2>/dev/null && break
    sleep 0.1
done
sleep 2 # Orca reads its settings and listens for events after its speech is up
"$python" "$here/probes.py" focus "$out/focus.jsonl" velkarn &

# The game, on the disk driver; its file is timed as it grows.
now() { date +%s.%N; }
: >"$out/game.raw"
"$python" "$here/probes.py" clock "$out/clock.jsonl" "$out/game.raw" &
echo "$language" >"$out/language"
echo "{\"event\": \"start\", \"time\": $(now)}" >"$out/keys.jsonl"
# On the virtual screen, whatever platform the caller chose for its own tests (CTest: offscreen).
QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$out/game.raw "$game" --language "$language" \
    ${mode:+--screen-reader "$mode"} >"$out/game.log" 2>&1 &
gamepid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name "^Velkarn$" | head -n1)
[ -n "$window" ] || { echo "the game window never showed on the virtual screen" >&2; exit 1; }
xdotool windowfocus --sync "$window" || echo "the game window could not be given the focus" >&2

# The play: seconds after the start, and the key as xdotool names it.
play=(10 Tab 12 Down 13 Down 14 Down 16 Return 19 1 21 3 23 2 25 Tab 27 space 29 F3 32 F1 34 Escape
    36 Alt_L 37 Escape 39 F2 45 -)
begin=$(now)
for ((i = 0; i < ${#play[@]}; i += 2)); do
    at=${play[i]} key=${play[i + 1]}
    wait=$(awk -v b="$begin" -v a="$at" -v n="$(now)" 'BEGIN { printf "%.3f", b + a - n }')
    [[ $wait == -* ]] || sleep "$wait"
    [ "$key" = - ] && break
    echo "{\"event\": \"key\", \"key\": \"$key\", \"time\": $(now)}" >>"$out/keys.jsonl"
    xdotool key "$key"
done
kill $gamepid 2>/dev/null || true
wait $gamepid 2>/dev/null || true
"$python" "$here/timeline.py" "$out" "$game" ${check:-}
