#pragma once
// The points of a trend counted into equal bins, with the tolerance limits to mark.

#include <cstddef>
#include <vector>

#include "RecordEvaluation.h"

namespace leeb {

struct TrendHistogram {
    double Start = 0.0;  // lower edge of the first bin
    double Width = 0.0;  // of every bin
    std::vector<std::size_t> Counts;
    ToleranceLimits Limits;

    double Edge(std::size_t bin) const { return Start + Width * static_cast<double>(bin); }
};

// Sturges' count of bins (1 + log2 n, rounded up) over the points' range; the largest point
// falls into the last bin. Values all alike give one bin one unit wide around them; no values
// give no bins.
TrendHistogram ComputeTrendHistogram(const std::vector<double>& values,
                                     const ToleranceLimits& limits);

}  // namespace leeb
