// SPDX-License-Identifier: GPL-3.0-or-later
#include "TakeCleaner.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace TakeCleaner {
int peak(std::span<const qint16> samples)
{
    int loudest = 0;
    for (const qint16 sample : samples)
        loudest = std::max(loudest, std::abs(int(sample)));
    return loudest;
}

std::optional<std::vector<qint16>> clean(std::span<const qint16> take, qint64 longestMs)
{
    const auto voiced = [](qint16 sample) { return std::abs(int(sample)) > SilenceLevel; };
    const auto first = std::find_if(take.begin(), take.end(), voiced);
    if (first == take.end())
        return std::nullopt;
    const auto last = std::find_if(take.rbegin(), take.rend(), voiced).base();
    const auto longest = static_cast<std::ptrdiff_t>(longestMs * Rate / 1000);
    std::vector<qint16> cleaned(first, first + std::min(last - first, longest));

    const double gain = double(PeakLevel) / peak(cleaned);
    const auto fade = static_cast<size_t>(FadeMs * Rate / 1000);
    const size_t size = cleaned.size();
    for (size_t i = 0; i < size; ++i) {
        // Rises over the first 5 ms and falls over the last: a take cut mid-word does not click.
        const double edge = std::min({1.0, double(i) / fade, double(size - 1 - i) / fade});
        cleaned[i] = static_cast<qint16>(std::lround(cleaned[i] * gain * edge));
    }
    return cleaned;
}
} // namespace TakeCleaner
