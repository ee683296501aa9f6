#include "TrendHistogram.h"

#include <algorithm>
#include <cmath>

namespace leeb {

TrendHistogram ComputeTrendHistogram(const std::vector<double>& values,
                                     const ToleranceLimits& limits) {
    TrendHistogram histogram;
    histogram.Limits = limits;
    if (values.empty()) {
        return histogram;
    }
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    if (!(*high > *low)) {
        histogram.Start = *low - 0.5;
        histogram.Width = 1.0;
        histogram.Counts.assign(1, values.size());
        return histogram;
    }
    const auto bins = static_cast<std::size_t>(
        std::ceil(std::log2(static_cast<double>(values.size())))) + 1;
    histogram.Start = *low;
    histogram.Width = (*high - *low) / static_cast<double>(bins);
    histogram.Counts.assign(bins, 0);
    for (const double value : values) {
        const auto bin = static_cast<std::size_t>((value - *low) / histogram.Width);
        ++histogram.Counts[std::min(bin, bins - 1)];
    }
    return histogram;
}

}  // namespace leeb
