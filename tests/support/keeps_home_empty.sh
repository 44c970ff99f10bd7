#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command with a fresh, empty HOME and the XDG folders left to their defaults under it, and
# fails if the command left anything there: nothing a test, the benchmark or a tool runs may write
# into the user's own home. Passes on the command's own status otherwise (77: skipped).
home=$(mktemp -d) || exit 1
env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME -u XDG_STATE_HOME HOME="$home" "$@"
status=$?
left=$(find "$home" -mindepth 1)
rm -rf "$home"
if [ -n "$left" ]; then
  echo "left in HOME:"
  echo "$left"
  exit 1
fi
exit $status
