# SPDX-License-Identifier: GPL-3.0-or-later
# The packages that `cpack` makes in the build folder: a .deb for Debian and Ubuntu, a ZIP on Windows.
set(CPACK_PACKAGE_NAME velkarn)
set(CPACK_PACKAGE_VENDOR "${VELKARN_MAKER_NAME}")
set(CPACK_PACKAGE_CONTACT "${VELKARN_MAKER_NAME} <${VELKARN_SUPPORT_MAIL}>")
set(CPACK_PACKAGE_HOMEPAGE_URL "${VELKARN_HOMEPAGE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "audio game for blind children: find the way by ear")
set(CPACK_PACKAGE_DESCRIPTION [[
Velkarn is played with the keyboard and the ears alone. The child chooses
how many rooms to walk through (3 to 20). Every room has three doors, heard
on the left, in the centre and on the right, and only one of them opens.
Which door opens stays the same for the whole game, so the child has to
remember the way: a wrong door sends them back to the first room.

Every key is answered at once with recorded Norwegian speech and sound
effects. The game is found among the games in the desktop's menu.]])
set(CPACK_STRIP_FILES ON)
# Plain 755 folders, whatever the umask of the one who builds.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  # A ZIP that runs from any folder, and an installer (NSIS) with a Start-menu entry and an uninstaller.
  set(CPACK_GENERATOR ZIP NSIS)
  set(CPACK_PACKAGE_INSTALL_DIRECTORY Velkarn)
  set(CPACK_PACKAGE_EXECUTABLES velkarn Velkarn) # the Start-menu entry
  set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Velkarn) # the same for every version, so a new one replaces the old
  set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
  # 64-bit: a 32-bit installer would put the game among the 32-bit programs, and wine64 cannot start it.
  set(CPACK_NSIS_DEFINES "Target amd64-unicode")
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_NSIS_PACKAGE_NAME Velkarn)
  set(CPACK_NSIS_DISPLAY_NAME Velkarn)
  set(CPACK_NSIS_INSTALLED_ICON_NAME velkarn.exe)
  set(CPACK_NSIS_MUI_ICON ${CMAKE_BINARY_DIR}/packaging/windows/velkarn.ico)
  set(CPACK_NSIS_MUI_UNIICON ${CMAKE_BINARY_DIR}/packaging/windows/velkarn.ico)
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  # Velkarn-<version>-win64.zip and Velkarn-<version>-setup.exe
  set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/windows/CPackFileNames.cmake)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Qt's own texts (standard buttons) in the player's language.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
endif()
include(CPack)
