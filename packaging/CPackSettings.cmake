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
  set(CPACK_GENERATOR ZIP)
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
