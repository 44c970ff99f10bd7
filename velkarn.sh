#!/usr/bin/env bash
# One entry point for people and CI:
#   ./velkarn.sh          install what building and playing need, build, start the game
#   ./velkarn.sh build    install what building needs, build
#   ./velkarn.sh test     install that and the test tools, build, run every test; again with sanitizers
#   ./velkarn.sh package  install what packaging needs, build, make the .deb in build/
#   ./velkarn.sh bench    install what building needs, build, run the benchmark (table + build/bench.json)
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

build() {
  cmake --preset "$1"
  cmake --build --preset "$1"
}

case "${1:-run}" in
  run)     install_missing "${build_packages[@]}"; build default; exec ./build/velkarn ;;
  build)   install_missing "${build_packages[@]}"; build default ;;
  test)    install_missing "${build_packages[@]}" "${package_packages[@]}" "${test_packages[@]}" "${server_packages[@]}"
           build default; ctest --preset default
           build asan; ctest --preset asan ;;
  package) install_missing "${build_packages[@]}" "${package_packages[@]}"
           build default; (cd build && cpack) ;;
  bench)   install_missing "${build_packages[@]}" "${server_packages[@]}"; build default; shift
           exec ./build/velkarn-bench --mode all --json build/bench.json "$@" ;;
  *) echo "usage: $0 [run|build|test|package|bench]" >&2; exit 2 ;;
esac
