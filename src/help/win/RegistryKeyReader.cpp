// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/win/RegistryKeyReader.h"

#include "help/win/Utf16.h"

#include "help/win/WindowsApi.h"

#include <cstring>
#include <cwchar>
#include <memory>
#include <type_traits>
#include <vector>

namespace help::win {
namespace {

struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using OpenKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

// Predefined roots are sign-extended 32-bit values, as the Windows headers define them.
HKEY rootKey(std::int32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(root)));
}

// The value's raw bytes and type; false when it is missing or unreadable.
bool queryValue(HKEY key, const std::wstring &name, DWORD &type, std::vector<BYTE> &data)
{
    // The value may grow between the size query and the read, so ask again a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = static_cast<DWORD>(data.size());
        const LSTATUS status
            = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(), &size);
        if (status == ERROR_MORE_DATA || (status == ERROR_SUCCESS && size > data.size())) {
            data.resize(size);
            continue;
        }
        if (status != ERROR_SUCCESS)
            return false;
        data.resize(size);
        return true;
    }
    return false;
}

std::string stringText(const std::vector<BYTE> &data)
{
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    // Stored with or without its terminating NUL: the text ends at the first one.
    text.resize(std::wcslen(text.c_str()));
    return narrow(text);
}

std::string dwordText(const std::vector<BYTE> &data)
{
    if (data.size() < sizeof(DWORD))
        return {};
    DWORD value = 0;
    std::memcpy(&value, data.data(), sizeof value);
    return std::to_string(value);
}

} // namespace

bool RegistryKeyReader::readValue(std::int32_t KeyRoot, const std::string &KeyName, const std::string &SubKeyRef,
                                  std::string &KeyVal) const
{
    KeyVal.clear();
    HKEY raw = nullptr;
    // Read access is all this needs, and all an ordinary user account gets on these keys.
    if (RegOpenKeyExW(rootKey(KeyRoot), widen(KeyName).c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return false;
    const OpenKey key(raw);

    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (!queryValue(key.get(), widen(SubKeyRef), type, data) || data.empty())
        return false;

    if (type == REG_SZ)
        KeyVal = stringText(data);
    else if (type == REG_DWORD)
        KeyVal = dwordText(data);
    return true;
}

} // namespace help::win
