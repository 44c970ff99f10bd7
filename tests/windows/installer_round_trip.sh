#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer under wine: run silently (/S), it puts the game in Program Files with a Start-menu
# entry and an uninstaller; the installed game plays past the welcome; the uninstaller, run silently
# too, leaves neither the folder, nor the Start-menu entry, nor the registry keys behind.
#   installer_round_trip.sh <Velkarn-…-setup.exe> <vendor>
set -eu
. "$(dirname "$0")/../../tools/windows/wine-common.sh"
setup=$1 vendor=$2
scratch=$(mktemp -d)
trap 'end_prefix; rm -rf "$scratch"' EXIT
new_prefix "$scratch"
installed="$WINEPREFIX/drive_c/Program Files/Velkarn"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Velkarn"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velkarn'
vendor_key="HKLM\\Software\\$vendor\\Velkarn"
has_key() { wine reg query "$1" >/dev/null 2>&1; }

wine "$setup" /S
end_prefix # the installer's own processes are done
[ -f "$installed/velkarn.exe" ] || { echo "nothing installed at $installed"; ls -R "$WINEPREFIX/drive_c/Program Files" | head -20; exit 1; }
[ -f "$menu/Velkarn.lnk" ] || { echo "no Start-menu entry in $menu"; exit 1; }
[ -f "$installed/Uninstall.exe" ] || { echo "no uninstaller"; exit 1; }
has_key "$uninstall_key" || { echo "not registered for Add or Remove Programs ($uninstall_key)"; exit 1; }

plays "$installed" 'C:\Program Files\Velkarn\velkarn.exe'

wine "$installed/Uninstall.exe" /S
wineserver -w # the uninstaller copies itself to a temporary folder and goes on from there
left=
[ ! -e "$installed" ] || left="$left the folder ($(cd "$installed" && find . | head -5 | tr '\n' ' '))"
[ ! -e "$menu" ] || left="$left the Start-menu folder"
! has_key "$uninstall_key" || left="$left $uninstall_key"
! has_key "$vendor_key" || left="$left $vendor_key"
[ -z "$left" ] || { echo "the uninstaller left:$left"; exit 1; }
echo "installed, played and uninstalled without a trace"
