#pragma once
// The value axis of the bar chart: from a round value below the lowest reading, so that the
// differences between readings show, up to where the highest mark still fits above its bar.

#include <vector>

namespace leeb {

struct ChartValueRange {
    double Lower = 0.0;
    double Upper = 1.0;
    double Step = 0.2;  // between value-axis ticks; Lower and Upper are multiples of it
    int Decimals = 1;   // of the tick labels, enough to tell the ticks apart
};

// `values` are the bar values; `headroom[i]` is how many pixels bar i needs above its top for
// its arrow and mark; `plotHeight` is the height of the plot rectangle in pixels. Bars start
// at Lower. Readings that are all equal, or a single one, still get a span around them; when
// no reading is negative the range does not reach below zero.
ChartValueRange FitChartValueRange(const std::vector<double>& values,
                                   const std::vector<double>& headroom, double plotHeight);

}  // namespace leeb
