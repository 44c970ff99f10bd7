#!/usr/bin/env bash
# One entry point for people and CI:
#   ./velkarn.sh          install what is missing, build, start the game
#   ./velkarn.sh test     install what is missing, build, run every test
#   ./velkarn.sh build    install what is missing, build
#   ./velkarn.sh bench    install what is missing, build, run the benchmark (table + build/bench.json)
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-private-dev libgl-dev fonts-dejavu-core
  libsdl2-dev libsdl2-mixer-dev
  espeak-ng sox
  g++-mingw-w64-x86-64 wine wine64
)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build() {
  cmake --preset default
  cmake --build --preset default
}

install_missing
case "${1:-run}" in
  run)   build; exec ./build/velkarn ;;
  build) build ;;
  test)  build; ctest --preset default ;;
  bench) build; shift; exec ./build/velkarn-bench --json build/bench.json "$@" ;;
  *) echo "usage: $0 [run|build|test|bench]" >&2; exit 2 ;;
esac
