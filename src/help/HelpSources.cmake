# SPDX-License-Identifier: GPL-3.0-or-later
# The help library's plain C++ sources, shared by the library and the Windows cross-build test:
# the Windows-only ones are all under win/.
set(VELKARN_HELP_CORE_SOURCES
  core/MailMessage.cpp)
set(VELKARN_HELP_WIN_SOURCES
  win/Utf16.cpp
  win/RegistryKeyReader.cpp
  win/WinFileProbe.cpp
  win/WinProgramLauncher.cpp
  win/MapiMailClient.cpp
  win/RegisteredViewer.cpp
  win/SysInfoPlatform_win.cpp
  win/MailPlatform_win.cpp)
list(TRANSFORM VELKARN_HELP_CORE_SOURCES PREPEND "${CMAKE_CURRENT_LIST_DIR}/")
list(TRANSFORM VELKARN_HELP_WIN_SOURCES PREPEND "${CMAKE_CURRENT_LIST_DIR}/")
