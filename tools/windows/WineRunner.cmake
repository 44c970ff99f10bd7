# SPDX-License-Identifier: GPL-3.0-or-later
# velkarn_wine_test(name): CTest runs the Windows test program through wine-run-test.sh, under wine, with
# the Qt and SDL DLLs and the mingw runtime on its path (host folders, :-separated).
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/MingwRuntime.cmake)
function(velkarn_wine_test name)
  set(dlls "")
  foreach(target Qt6::Core SDL2::SDL2 SDL2_mixer::SDL2_mixer)
    get_target_property(real ${target} ALIASED_TARGET)
    if(real)
      set(target ${real})
    endif()
    get_target_property(configs ${target} IMPORTED_CONFIGURATIONS)
    list(GET configs 0 config)
    get_target_property(dll ${target} IMPORTED_LOCATION_${config})
    get_filename_component(dir "${dll}" DIRECTORY)
    list(APPEND dlls ${dir})
  endforeach()
  velkarn_mingw_runtime_dirs(runtime)
  list(APPEND dlls ${runtime})
  list(REMOVE_DUPLICATES dlls)
  list(JOIN dlls ":" path)
  # SDL.h would rename Qt Test's main() to SDL_main, which only SDL2main's WinMain calls.
  target_compile_definitions(${name} PRIVATE SDL_MAIN_HANDLED)
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "sh;${CMAKE_CURRENT_FUNCTION_LIST_DIR}/wine-run-test.sh;${path}")
  # The offscreen platform's fonts (Qt looks in its own lib/fonts, which the Windows build does not have).
  set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT QT_QPA_FONTDIR=/usr/share/fonts/truetype/dejavu)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
