#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# A private PipeWire sound server for tests and measurements, as a desktop runs it: a D-Bus session,
# pipewire, wireplumber and pipewire-pulse, with a null sink as the default output. Everything lives
# in FOLDER (the runtime, config and state folders), so the user's own server and settings are
# neither used nor touched.
#
#   private-server.sh FOLDER [SINK]
#
# Prints `ready` once the sink is the default, after writing FOLDER/env (lines `NAME=value` that
# make a client use this server; the sink's name is in VELKARN_SINK) and FOLDER/pids (a line
# `program pid` for each of the server's processes). SINK `-` makes no sink: a server with no audio
# output, as where PipeWire carries only video. Then it runs until its
# standard input ends or it is told to stop (TERM, INT, HUP), and stops the server. The server's
# processes also stop should this script be killed. Where the server cannot start it prints
# `unavailable: <why>` and ends with 77. The programs' own messages go to FOLDER/*.log.
set -u
dir=${1:?usage: private-server.sh FOLDER [SINK]}
sink=${2:-velkarn_null}
dir=$(cd "$dir" && pwd) || exit 2
chmod 700 "$dir"
pids=
: >"$dir/pids"

unavailable() {
  echo "unavailable: $*"
  stop
  exit 77
}
stop() {
  for pid in $pids; do kill "$pid" 2>/dev/null; done # the last started first
  for pid in $pids; do
    tries=0
    while kill -0 "$pid" 2>/dev/null && [ $tries -lt 30 ]; do sleep 0.1; tries=$((tries + 1)); done
    kill -9 "$pid" 2>/dev/null
  done
  pids=
}
# Starts a program that ends with this script, and waits up to 10 s for the socket it makes (if any).
launch() {
  socket=$1
  shift
  command -v "$1" >/dev/null || unavailable "$1 is not installed"
  setpriv --pdeathsig TERM "$@" >"$dir/$1.log" 2>&1 &
  pid=$!
  pids="$pid $pids"
  echo "$1 $pid" >>"$dir/pids"
  tries=0
  while [ -n "$socket" ] && [ ! -S "$dir/$socket" ]; do
    kill -0 "$pid" 2>/dev/null || unavailable "$1 ended at once: $(tail -n 3 "$dir/$1.log" | tr '\n' ' ')"
    [ $tries -lt 100 ] || unavailable "$1 made no $socket in 10 s"
    sleep 0.1
    tries=$((tries + 1))
  done
}

unset PIPEWIRE_REMOTE PULSE_SERVER DISPLAY WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="$dir" PIPEWIRE_RUNTIME_DIR="$dir" XDG_CONFIG_HOME="$dir/config" XDG_STATE_HOME="$dir/state"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/bus"
trap 'stop; exit 0' TERM INT HUP

launch bus dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS"
launch pipewire-0 pipewire
launch "" wireplumber
launch pulse/native pipewire-pulse
command -v pactl >/dev/null || unavailable "pactl is not installed (pulseaudio-utils)"
[ "$sink" != - ] || sink=
[ -z "$sink" ] || pactl load-module module-null-sink sink_name="$sink" >/dev/null || unavailable "pactl could not load a null sink"
# The session manager takes the new sink as the default a moment later; seconds on a busy machine.
tries=0
until [ -z "$sink" ] || [ "$(pactl get-default-sink 2>/dev/null)" = "$sink" ]; do
  [ $tries -lt 100 ] || unavailable "the null sink never became the default"
  pactl set-default-sink "$sink" 2>/dev/null
  sleep 0.1
  tries=$((tries + 1))
done

for name in XDG_RUNTIME_DIR PIPEWIRE_RUNTIME_DIR XDG_CONFIG_HOME XDG_STATE_HOME DBUS_SESSION_BUS_ADDRESS; do
  eval "echo $name=\$$name"
done >"$dir/env"
echo "VELKARN_SINK=$sink" >>"$dir/env"
echo ready
# Waits for the end of standard input: a background job reads /dev/null unless given it explicitly.
exec 3<&0
cat <&3 >/dev/null &
wait $!
stop
