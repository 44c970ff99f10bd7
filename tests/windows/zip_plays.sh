#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The ZIP as a teacher unpacks it, at C:\Users\Åse\Skrivebord\Mitt spill (non-ASCII letters and a
# space): velkarn.exe, started there under wine, finds its DLLs, its platform plugin and its
# recordings, and plays on past the welcome.
#   zip_plays.sh <Velkarn-…-win64.zip>
set -eu
. "$(dirname "$0")/../../tools/windows/wine-common.sh"
scratch=$(mktemp -d)
trap 'end_prefix; rm -rf "$scratch"' EXIT
new_prefix "$scratch"
folder="$WINEPREFIX/drive_c/Users/Åse/Skrivebord/Mitt spill"
mkdir -p "$folder" "$scratch/unpacked"
(cd "$scratch/unpacked" && cmake -E tar xf "$1")
mv "$scratch"/unpacked/*/* "$folder/"
for needed in velkarn.exe platforms/qwindows.dll wave/welcome.wav LICENSE.txt THIRD-PARTY-NOTICES.txt; do
  [ -e "$folder/$needed" ] || { echo "the ZIP has no $needed"; exit 1; }
done
plays "$folder" 'C:\Users\Åse\Skrivebord\Mitt spill\velkarn.exe'
