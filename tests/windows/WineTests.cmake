# SPDX-License-Identifier: GPL-3.0-or-later
# The game's test programs that are also built for Windows (the windows preset) and run under wine.
# This is the one list to keep up to date when a test program is added or renamed.
set(VELKARN_WINE_TESTS tst_sound tst_game tst_mainwindow tst_about tst_record)
include(${PROJECT_SOURCE_DIR}/tools/windows/WineRunner.cmake)
