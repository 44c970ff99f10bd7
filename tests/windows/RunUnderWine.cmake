# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -P script: cross-compiles the help library's Simple MAPI code with help_windows_tests.cpp into one
# self-contained program and runs it under wine in a fresh prefix, so that neither earlier runs nor the
# user's own wine setup matter. Expects SOURCE_DIR (the project's) and BINARY_DIR.
find_program(WINE wine)
find_program(WINESERVER wineserver)
find_program(CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++)
if(NOT WINE OR NOT WINESERVER OR NOT CXX)
  message(FATAL_ERROR "Needs wine and mingw-w64 (Debian packages wine, wine64 and g++-mingw-w64-x86-64)")
endif()
set(program ${BINARY_DIR}/help_windows_tests.exe)
file(MAKE_DIRECTORY ${BINARY_DIR})
execute_process(COMMAND ${CXX} -std=c++20 -Wall -Wextra -Wpedantic -static -I${SOURCE_DIR}/src
  ${CMAKE_CURRENT_LIST_DIR}/help_windows_tests.cpp ${SOURCE_DIR}/src/help/win/MapiMailClient.cpp -ladvapi32
  -o ${program} COMMAND_ERROR_IS_FATAL ANY)

string(RANDOM LENGTH 10 suffix)
set(prefix ${BINARY_DIR}/prefix-${suffix})
# No offer to install Mono or Gecko, no display.
set(wine_env WINEPREFIX=${prefix} WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES=mscoree,mshtml= DISPLAY=)
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINE} ${program} RESULT_VARIABLE outcome)
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINESERVER} -k)
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINESERVER} -w)
file(REMOVE_RECURSE ${prefix})
if(NOT outcome EQUAL 0)
  message(FATAL_ERROR "Windows tests failed under wine: ${outcome}")
endif()
