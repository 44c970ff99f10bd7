# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Windows with Debian's mingw-w64, posix threads model (Qt 6 needs it).
# The Windows Qt and SDL come from VELKARN_WINDOWS_DEPS (a cache variable or the environment),
# the prefix that tools/windows/build-deps.sh fills.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELKARN_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELKARN_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELKARN_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELKARN_MINGW_TRIPLET}-windres)

if(NOT VELKARN_WINDOWS_DEPS AND DEFINED ENV{VELKARN_WINDOWS_DEPS})
  set(VELKARN_WINDOWS_DEPS "$ENV{VELKARN_WINDOWS_DEPS}")
endif()
# try_compile() projects read this file again and need the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELKARN_WINDOWS_DEPS)

# Libraries, headers and packages only from the mingw sysroot and the Windows prefix; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VELKARN_MINGW_TRIPLET} ${VELKARN_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The host's pkg-config files describe Linux libraries: never let them in.
set(ENV{PKG_CONFIG_LIBDIR} "/usr/${VELKARN_MINGW_TRIPLET}/lib/pkgconfig")
