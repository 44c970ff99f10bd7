// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

struct SDL_RWops;

// A recording opened for SDL to decode. Only a file that begins like a RIFF wave is opened: an MP3
// or Ogg file under a .wav name, text or a few stray bytes never reach a decoder.
namespace RecordingFile {
/// Less sound than this (a header with nothing after it, a file cut off just behind its header) is
/// nothing a child could hear: such a recording counts as one that cannot be opened.
inline constexpr qint64 ShortestSoundMs = 5;

struct Closer {
    void operator()(SDL_RWops *file) const;
};
using Handle = std::unique_ptr<SDL_RWops, Closer>;

/// The file at path, positioned at its start, or null when it cannot be read or is no RIFF wave.
Handle open(const QString &path);
} // namespace RecordingFile
