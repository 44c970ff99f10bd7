// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// windows.h without its min/max macros and its rarely used parts.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
