// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "help/core/SysInfoPorts.h"

namespace help::win {

// Reads registry values through the Windows API, opening keys for reading only.
// REG_SZ gives its text (with or without a stored terminating NUL), REG_DWORD its
// unsigned decimal value, any other type an empty text; a value without data counts
// as missing.
class RegistryKeyReader : public KeyValueReader
{
public:
    bool readValue(std::int32_t KeyRoot, const std::string &KeyName, const std::string &SubKeyRef,
                   std::string &KeyVal) const override;
};

} // namespace help::win
