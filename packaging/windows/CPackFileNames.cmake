# SPDX-License-Identifier: GPL-3.0-or-later
# Read by CPack once per generator: the ZIP and the installer get the names a teacher recognises.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "Velkarn-${CPACK_PACKAGE_VERSION}-setup")
else()
  set(CPACK_PACKAGE_FILE_NAME "Velkarn-${CPACK_PACKAGE_VERSION}-win64")
endif()
