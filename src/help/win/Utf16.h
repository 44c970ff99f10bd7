// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Conversions between the program's UTF-8 strings and the UTF-16 of the Windows API.
namespace help::win {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

} // namespace help::win
