#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# CTest's runner for the Windows test programs (their CROSSCOMPILING_EMULATOR):
#   wine-run-test.sh <DLL folders, :-separated> <program.exe> [arguments]
# Runs a Qt Test program under wine in a fresh prefix, with the Qt and SDL DLLs found through
# WINEPATH. The host's QT_* variables reach it through the prefix's registry (host paths turned into
# Windows ones), and its results are written to a file and printed, as its standard output does not
# come back through wine reliably. Exits with the program's status.
set -eu
. "$(dirname "$0")/wine-common.sh"
dlls=$1 program=$2
shift 2
scratch=$(mktemp -d)
trap 'end_prefix; rm -rf "$scratch"' EXIT
new_prefix "$scratch"
path=
for dir in $(echo "$dlls" | tr ':' ' '); do path="$path${path:+;}$(winepath -w "$dir")"; done
export WINEPATH="$path"
env | grep '^QT_' | while IFS='=' read -r name value; do
  case $value in /*) value=$(winepath -w "$value") ;; esac
  set_windows_env "$name" "$value"
done
cd "$scratch"
status=0
wine "$program" "$@" -o results.txt,txt || status=$?
cat results.txt 2>/dev/null || echo "$(basename "$program") wrote no results (status $status)"
exit "$status"
