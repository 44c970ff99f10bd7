// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the About dialog needs from the operating system to find and start a
// system-information viewer. Plain C++ so the Windows side needs no Qt.
// Every string is UTF-8.
namespace help {

// Predefined registry roots as their signed 32-bit handle values.
namespace RegistryRoot {
inline constexpr std::int32_t CurrentUser = static_cast<std::int32_t>(0x80000001u);
inline constexpr std::int32_t LocalMachine = static_cast<std::int32_t>(0x80000002u);
} // namespace RegistryRoot

// Reads one registry value as text.
class KeyValueReader
{
public:
    virtual ~KeyValueReader() = default;
    // True when the value exists and has data; KeyVal gets its text ("" for types without one).
    // False leaves KeyVal empty.
    virtual bool readValue(std::int32_t KeyRoot, const std::string &KeyName, const std::string &SubKeyRef,
                           std::string &KeyVal) const = 0;
};

// Answers whether a regular file exists.
class FileProbe
{
public:
    virtual ~FileProbe() = default;
    virtual bool exists(const std::string &path) const = 0;
};

// Finds the viewer: nullopt when there is none; a found path may still fail to start.
class ViewerLocator
{
public:
    virtual ~ViewerLocator() = default;
    virtual std::optional<std::string> findViewer() const = 0;
};

// Starts a program by its path as a separate process, without a shell and without waiting.
class ProgramLauncher
{
public:
    virtual ~ProgramLauncher() = default;
    // False when the program could not be started.
    virtual bool start(const std::string &path) = 0;
};

} // namespace help
