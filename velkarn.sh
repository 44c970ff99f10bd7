#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One entry point for people and CI:
#   ./velkarn.sh          install what building and playing need, build, start the game
#   ./velkarn.sh build    install what building needs, build
#   ./velkarn.sh test     install that and the test tools, build, run every test; again with sanitizers
#   ./velkarn.sh package  install what packaging needs, build, make the .deb in build/
#   ./velkarn.sh bench    install what building needs, build, run the benchmark (table + build/bench.json)
#   ./velkarn.sh windows  cross-build for Windows: build-windows/velkarn/, its ZIP and its installer
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

build_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-private-dev libgl-dev fonts-dejavu-core
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libsdl2-dev libsdl2-mixer-dev
  espeak-ng sox
)
# The icons' PNG sizes (rsvg-convert), and dpkg-shlibdeps and file for the package's dependencies.
package_packages=(librsvg2-bin dpkg-dev file)
# The Windows code's cross-build and run, the menu entry's and package's checks, the case check.
test_packages=(g++-mingw-w64-x86-64 wine wine64 lintian appstream desktop-file-utils git)
# The benchmark's private sound server, as a Debian desktop runs it, and the recorder of its output.
server_packages=(pipewire pipewire-pulse wireplumber pulseaudio-utils dbus-daemon libpipewire-0.3-dev)
# The game played beside Orca, headless, with its speech and the game's sound on one clock.
reader_packages=(orca speech-dispatcher xvfb xauth xdotool at-spi2-core python3-pyatspi python3-numpy locales)
# The Windows build from Debian's source packages (tools/windows/build-deps.sh), its icon, the
# installer, and its tests under wine on a virtual screen.
windows_packages=(g++-mingw-w64-x86-64-posix dpkg-dev librsvg2-bin icoutils nsis wine wine64 xvfb xauth)

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  local as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "Velkarn needs these Debian packages, which are not installed: ${missing[*]}" >&2
      echo "There is no sudo here: install them as root, then run $0 again:" >&2
      echo "  su -c 'apt-get update && apt-get install ${missing[*]}'" >&2
      exit 1
    fi
    as_root=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" apt-get update -q
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}"
}

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# apt-get source needs source entries, which Debian 12 does not set up: the same archives as the
# bookworm binary entries, as deb-src.
ensure_sources() {
  [ -z "$(apt-cache showsrc --only-source qt6-base 2>/dev/null | head -n1)" ] || return 0
  echo "Adding deb-src entries for Debian 12 to apt, for the Windows build's source packages"
  { sed -n 's/^deb \(.*bookworm.*\)/deb-src \1/p' /etc/apt/sources.list 2>/dev/null || true; } |
    as_root tee /etc/apt/sources.list.d/velkarn-deb-src.list >/dev/null
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    awk -v RS= -v ORS='\n\n' '/Types:[^\n]*deb/ && /bookworm/ && !/deb-src/ { sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f"
  done | as_root tee /etc/apt/sources.list.d/velkarn-deb-src.sources >/dev/null
  as_root apt-get update -q
}

# The Windows libraries (built once into a cache, see tools/windows/build-deps.sh), then the game.
build_windows() {
  ensure_sources
  local deps
  deps=$(tools/windows/build-deps.sh)
  cmake --preset windows -DVELKARN_WINDOWS_DEPS="$deps"
  cmake --build --preset windows
}

build() {
  cmake --preset "$1"
  cmake --build --preset "$1"
}

case "${1:-run}" in
  run)     install_missing "${build_packages[@]}"; build default; exec ./build/velkarn ;;
  build)   install_missing "${build_packages[@]}"; build default ;;
  test)    install_missing "${build_packages[@]}" "${package_packages[@]}" "${test_packages[@]}" "${server_packages[@]}" \
             "${reader_packages[@]}"
           build default; ctest --preset default
           build asan; ctest --preset asan
           install_missing "${windows_packages[@]}"
           build_windows; ctest --preset windows ;;
  package) install_missing "${build_packages[@]}" "${package_packages[@]}"
           build default; (cd build && cpack) ;;
  windows) install_missing "${build_packages[@]}" "${windows_packages[@]}"
           build_windows
           rm -rf build-windows/velkarn
           cmake --install build-windows --prefix build-windows/velkarn --strip
           (cd build-windows && cpack)
           echo "Made: build-windows/velkarn/ and, beside it, $(cd build-windows && ls Velkarn-*-win64.zip Velkarn-*-setup.exe | tr '\n' ' ')" ;;
  bench)   install_missing "${build_packages[@]}" "${server_packages[@]}"; build default; shift
           exec ./build/bench/velkarn-bench --json build/bench.json "$@" ;;
  *) echo "usage: $0 [run|build|test|package|bench|windows]" >&2; exit 2 ;;
esac
