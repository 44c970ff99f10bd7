# The help library's plain C++ sources, shared by the library and the Windows cross-build test.
set(VELKARN_HELP_CORE_SOURCES
  core/RegisteredViewer.cpp
  core/MailMessage.cpp)
set(VELKARN_HELP_WIN_SOURCES
  win/Utf16.cpp
  win/RegistryKeyReader.cpp
  win/WinFileProbe.cpp
  win/WinProgramLauncher.cpp
  win/MapiMailClient.cpp)
list(TRANSFORM VELKARN_HELP_CORE_SOURCES PREPEND "${CMAKE_CURRENT_LIST_DIR}/")
list(TRANSFORM VELKARN_HELP_WIN_SOURCES PREPEND "${CMAKE_CURRENT_LIST_DIR}/")
