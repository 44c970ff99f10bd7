#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <vector>

namespace bench {

/// The p-th percentile (nearest rank) of the values; 0 for none.
inline double Percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<size_t>(std::ceil(p / 100.0 * static_cast<double>(values.size())));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

inline double Median(std::vector<double> values) { return Percentile(std::move(values), 50); }

} // namespace bench
