// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>
#include <span>
#include <vector>

// Makes a teacher's take fit to be played: the silence before and after the voice cut off, cut to
// the longest a phrase may last, its peak brought to -3 dBFS, and faded in and out so that it
// neither clicks nor sounds louder or softer than the others. Pure functions on 16-bit mono.
namespace TakeCleaner {
/// The rate of every take and every recording the game plays.
inline constexpr int Rate = 48000;
/// Nothing louder than this (-40 dBFS) counts as voice.
inline constexpr int SilenceLevel = 328;
/// The peak of a cleaned take: -3 dBFS.
inline constexpr int PeakLevel = 23197;
inline constexpr qint64 FadeMs = 5;
/// The longest a phrase may last; the help may last longer.
inline constexpr qint64 LongestPhraseMs = 10000;
inline constexpr qint64 LongestHelpMs = 60000;

/// The cleaned take, at most longestMs long; nothing when it holds no voice.
std::optional<std::vector<qint16>> clean(std::span<const qint16> take, qint64 longestMs);
/// The loudest sample of samples, as a magnitude.
int peak(std::span<const qint16> samples);
} // namespace TakeCleaner
