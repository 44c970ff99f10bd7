# SPDX-License-Identifier: GPL-3.0-or-later
# velkarn_mingw_runtime_dirs(out): the folders of the mingw runtime DLLs (libstdc++, libgcc,
# winpthread) that the cross compiler links Windows programs against.
function(velkarn_mingw_runtime_dirs out)
  set(dirs "")
  foreach(runtime libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
      OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(dir "${found}" DIRECTORY)
    get_filename_component(dir "${dir}" REALPATH)
    list(APPEND dirs ${dir})
  endforeach()
  list(REMOVE_DUPLICATES dirs)
  set(${out} ${dirs} PARENT_SCOPE)
endfunction()
