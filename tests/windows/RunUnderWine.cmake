# cmake -P script: cross-builds the Windows test program and runs it under wine in a
# throw-away prefix. Expects SOURCE_DIR (this folder), BINARY_DIR, VELKARN_SOURCE_DIR,
# VELKARN_INFO_INCLUDE, VELKARN_HELP_INCLUDE and GENERATOR.
foreach(input SOURCE_DIR BINARY_DIR VELKARN_SOURCE_DIR VELKARN_INFO_INCLUDE VELKARN_HELP_INCLUDE GENERATOR)
  if(NOT DEFINED ${input})
    message(FATAL_ERROR "RunUnderWine.cmake needs -D${input}=...")
  endif()
endforeach()

find_program(WINE NAMES wine)
find_program(WINESERVER NAMES wineserver)
if(NOT WINE OR NOT WINESERVER)
  message(FATAL_ERROR "wine is not installed (Debian packages wine and wine64)")
endif()

execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${BINARY_DIR} -G ${GENERATOR}
          --toolchain ${SOURCE_DIR}/mingw-w64-x86_64.cmake
          -DCMAKE_BUILD_TYPE=Release
          -DVELKARN_SOURCE_DIR=${VELKARN_SOURCE_DIR}
          -DVELKARN_INFO_INCLUDE=${VELKARN_INFO_INCLUDE}
          -DVELKARN_HELP_INCLUDE=${VELKARN_HELP_INCLUDE}
  RESULT_VARIABLE configured)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "Configuring the Windows cross-build failed (see above; it needs g++-mingw-w64-x86-64)")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY_DIR} RESULT_VARIABLE built)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "Cross-compiling the Windows tests failed")
endif()

# A fresh prefix each run, so earlier runs and the user's own wine setup cannot matter.
if(DEFINED ENV{TMPDIR})
  set(temp_root $ENV{TMPDIR})
else()
  set(temp_root /tmp)
endif()
string(RANDOM LENGTH 10 suffix)
set(scratch ${temp_root}/velkarn-wine-${suffix})
file(MAKE_DIRECTORY ${scratch})
set(wine_env
  WINEPREFIX=${scratch}/prefix
  WINEDEBUG=-all
  WINEARCH=win64
  # No offer to install Mono or Gecko while the prefix is made.
  WINEDLLOVERRIDES=mscoree,mshtml=
  DISPLAY=)

message(STATUS "Running the Windows tests under wine (the first start creates the prefix)")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINE} ${BINARY_DIR}/help_windows_tests.exe
  RESULT_VARIABLE outcome)
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINESERVER} -k)
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINESERVER} -w)
file(REMOVE_RECURSE ${scratch})

if(NOT outcome EQUAL 0)
  message(FATAL_ERROR "Windows tests failed under wine: ${outcome}")
endif()
