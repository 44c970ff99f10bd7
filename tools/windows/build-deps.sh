#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Cross-builds the Windows libraries Velkarn needs from Debian's own source packages:
# SDL2, SDL2_mixer (WAV only) and Qt's qtbase (a small feature set), with mingw-w64 (posix threads).
# They go once into a cache outside the checkout, keyed by the source versions, the options below,
# the toolchain file and the compiler:
#   ${VELKARN_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velkarn-windows}/<key>
# A run that finds that folder only prints it. Everything is built and installed into a scratch
# folder, <key>.build, and moved into place only when all three are complete, so a failed build
# leaves nothing that a later run would trust. The scratch folder of a failed build is kept, with
# the logs of its steps: the next run goes on from there (ninja redoes only what is not done).
# The last line of the output is the prefix.
#
# Usage: tools/windows/build-deps.sh [--print-key]
# Needs: deb-src entries for Debian 12, dpkg-dev, cmake, ninja-build, g++-mingw-w64-x86-64-posix,
# and the host's qt6-base-dev / qt6-base-dev-tools of the same Qt version (moc, rcc, uic).
set -euo pipefail

here=$(dirname "$(readlink -f "$0")")
toolchain=$(readlink -f "$here/../../cmake/mingw-w64-x86_64.cmake")
jobs=${VELKARN_WINDOWS_JOBS:-$(nproc)}
triplet=x86_64-w64-mingw32
host_qt_cmake=/usr/lib/x86_64-linux-gnu/cmake

say() { echo "build-deps: $*" >&2; }
die() { say "$*"; exit 1; }

# --- What is built, and how ----------------------------------------------------------------------

sdl_options=(-DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF)
# WAV only: every other decoder off, so the DLL needs nothing else.
mixer_options=(
  -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_WAVE=ON
  -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF
  -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS= -DSDL2MIXER_GME=OFF -DSDL2MIXER_WAVPACK=OFF
)
# Core, Gui, Widgets and Test with the windows platform plugin; what the game does not use is off.
# Tablet events need Windows' wintab headers, which Debian's source leaves out. qwindows.dll needs
# direct2d for its DirectWrite font database, but not Direct2D 1.1. Without OpenGL, its dynamic
# loading must be off too, or qwindows.dll does not compile; INPUT_opengl=no tells the configure
# check that no OpenGL is meant.
qt_options=(
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF -DFEATURE_vulkan=OFF
  -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_opengl_dynamic=OFF -DFEATURE_dynamicgl=OFF
  -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
  -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=ON -DFEATURE_direct2d1_1=OFF -DFEATURE_pkg_config=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_doubleconversion=OFF
)

# --- Versions and the cache key ------------------------------------------------------------------

source_version() { # the newest version of a source package that apt knows
  apt-cache showsrc --only-source "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -n1
}
upstream() { local v=${1#*:}; v=${v%%-*}; echo "${v%%+*}"; }

command -v ${triplet}-g++-posix >/dev/null \
  || die "the mingw-w64 compiler ${triplet}-g++-posix is missing (Debian: g++-mingw-w64-x86-64-posix)"
command -v dpkg-source >/dev/null || die "dpkg-source is missing (Debian: dpkg-dev)"

declare -A version
for p in libsdl2 libsdl2-mixer qt6-base; do
  version[$p]=$(source_version "$p")
  [ -n "${version[$p]}" ] || die "$p: apt knows no source package; add a deb-src line for Debian 12 (bookworm main) and run apt-get update"
done
host_qt=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
[ -n "$host_qt" ] || die "qt6-base: the host's qt6-base-dev is missing; its moc, rcc and uic build the Windows Qt"
[ "$(upstream "$host_qt")" = "$(upstream "${version[qt6-base]}")" ] \
  || die "qt6-base: the source is ${version[qt6-base]} but the host's Qt tools are $host_qt; they must be the same Qt version"

# The key: what changes the built files, not this script's comments or the toolchain's.
recipe=1 # raise when a change below the options alters what is built
key=$( {
  echo "recipe $recipe"
  declare -p sdl_options mixer_options qt_options
  grep -v -e '^[[:space:]]*#' -e '^[[:space:]]*$' "$toolchain"
  ${triplet}-g++-posix --version | head -n1
  dpkg-query -W -f='${Version}\n' mingw-w64-x86-64-dev
  for p in libsdl2 libsdl2-mixer qt6-base; do echo "$p ${version[$p]}"; done
  echo "host qt $host_qt"
} | sha256sum | cut -c1-16)
if [ "${1:-}" = --print-key ]; then echo "$key"; exit 0; fi

cache=${VELKARN_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velkarn-windows}
prefix=$cache/$key
if [ -f "$prefix/.velkarn-complete" ]; then
  say "using the Windows libraries in $prefix"
  echo "$prefix"
  exit 0
fi

# --- The build ----------------------------------------------------------------------------------

mkdir -p "$cache"
rm -rf "$prefix" # a folder without its mark is never trusted
work=$cache/$key.build
stage=$work/stage # DESTDIR: the installed files carry their final paths but wait here
logs=$work/logs
rm -rf "$stage" # installed again from the builds, whatever an earlier attempt left
mkdir -p "$logs" "$work/src"
say "building the Windows libraries into $prefix (Qt alone takes half an hour or more on 2 cores)"

step() { # step <package> <what> <command...>: the output goes to a log, shown when it fails
  local pkg=$1 what=$2 log="$logs/$1-$2.log"; shift 2
  say "$pkg: $what"
  if ! "$@" >"$log" 2>&1; then
    grep -E -m 20 -B 2 -A 6 '(error|Error|ERROR|FAILED)' "$log" >&2 || tail -n 40 "$log" >&2
    die "$pkg: $what failed; its log is $log (the build so far is kept in $work, and the next run goes on from it)"
  fi
}

fetch() { # fetch <package>: downloads and unpacks (with Debian's patches) into $work/src/<package>
  local pkg=$1
  [ ! -d "$work/src/$pkg/tree" ] || return 0 # unpacked by an earlier attempt
  rm -rf "$work/src/$pkg"
  mkdir -p "$work/src/$pkg"
  (cd "$work/src/$pkg" && step "$pkg" download apt-get source -q --download-only "$pkg=${version[$pkg]}")
  (cd "$work/src/$pkg" && step "$pkg" unpack dpkg-source -x ./*.dsc unpacked && mv unpacked tree)
}

cross_cmake() { # cross_cmake <package> <source dir> <options...>: configure, build, install (staged)
  local pkg=$1 src=$2; shift 2
  local bld=$work/build/$pkg
  step "$pkg" configure cmake -G Ninja -S "$src" -B "$bld" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVELKARN_WINDOWS_DEPS="$stage$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@"
  step "$pkg" build cmake --build "$bld" --parallel "$jobs"
  DESTDIR=$stage step "$pkg" install cmake --install "$bld"
}

notices() { # notices <package> <files...>: the licences that must travel with the DLLs
  local pkg=$1 dir=$stage$prefix/share/licenses/$1; shift
  mkdir -p "$dir"
  cp "$work/src/$pkg/tree/debian/copyright" "$dir/copyright"
  cp "$@" "$dir/"
  echo "Debian source package $pkg ${version[$pkg]}, unmodified; built by tools/windows/build-deps.sh" >"$dir/SOURCE"
}

fetch libsdl2
cross_cmake libsdl2 "$work/src/libsdl2/tree" "${sdl_options[@]}"
notices libsdl2 "$work/src/libsdl2/tree/LICENSE.txt"

fetch libsdl2-mixer
cross_cmake libsdl2-mixer "$work/src/libsdl2-mixer/tree" "${mixer_options[@]}" \
  -DSDL2_DIR="$stage$prefix/lib/cmake/SDL2"
notices libsdl2-mixer "$work/src/libsdl2-mixer/tree/LICENSE.txt"

fetch qt6-base
cross_cmake qt6-base "$work/src/qt6-base/tree" "${qt_options[@]}" -DBUILD_SHARED_LIBS=ON \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_qt_cmake"
notices qt6-base "$work/src/qt6-base/tree/LICENSES/LGPL-3.0-only.txt" \
  "$work/src/qt6-base/tree/LICENSES/GPL-3.0-only.txt"

touch "$stage$prefix/.velkarn-complete"
mv "$stage$prefix" "$prefix"
rm -rf "$work"
say "done: $prefix ($(du -sh "$prefix" | cut -f1))"
echo "$prefix"
