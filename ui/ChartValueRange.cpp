#include "ChartValueRange.h"

#include <algorithm>
#include <cmath>

namespace leeb {

namespace {

constexpr double TargetTickCount = 5.0;
constexpr int MaxDecimals = 6;
// Rounds up to 1, 2, 2.5 or 5 times a power of ten: steps a reader can add up in their head.
double NiceStep(double rough) {
    if (!(rough > 0.0) || !std::isfinite(rough))
        return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const double fraction = rough / power;
    for (double nice : {1.0, 2.0, 2.5, 5.0}) {
        if (fraction <= nice * (1.0 + 1e-9))
            return nice * power;
    }
    return 10.0 * power;
}

int DecimalsOf(double step) {
    double scaled = step;
    for (int decimals = 0; decimals < MaxDecimals; ++decimals) {
        if (std::abs(scaled - std::round(scaled)) <= 1e-6 * scaled)
            return decimals;
        scaled *= 10.0;
    }
    return MaxDecimals;
}

}  // namespace

ChartValueRange FitChartValueRange(const std::vector<double>& values,
                                   const std::vector<double>& headroom, double plotHeight) {
    if (values.empty())
        return {};
    const auto [minIt, maxIt] = std::minmax_element(values.begin(), values.end());
    const double low = *minIt;
    const double high = *maxIt;
    // Equal readings have no spread to show; a few percent of their size stands in for it.
    double spread = high - low;
    if (!(spread > 0.0)) {
        const double magnitude = std::max(std::abs(low), std::abs(high));
        spread = magnitude > 0.0 ? magnitude * 0.05 : 1.0;
    }
    // The lowest bar keeps about half the spread as its height, so no bar vanishes.
    const double below = spread / 2.0;

    ChartValueRange range;
    double step = NiceStep(2.0 * spread / TargetTickCount);
    // The step depends on the span and the span on the step (both ends are rounded to it);
    // a few rounds settle it, and any round's result is a consistent range.
    for (int round = 0; round < 8; ++round) {
        double lower = std::floor((low - below) / step + 1e-9) * step;
        if (low >= 0.0 && lower < 0.0)
            lower = 0.0;
        // The span is at least the spread, for readings whose marks need no room of their own.
        double needed = std::max(high, lower + spread);
        // A bar of value v, with the range [lower, upper] spread over plotHeight pixels, has
        // plotHeight * (upper - v) / (upper - lower) pixels above it; solved for upper.
        for (std::size_t i = 0; i < values.size(); ++i) {
            const double room = i < headroom.size() ? headroom[i] : 0.0;
            if (plotHeight > room + 1.0) {
                needed =
                    std::max(needed, (plotHeight * values[i] - room * lower) / (plotHeight - room));
            } else {
                needed = std::max(needed, values[i] + spread);  // no size to fit the mark into
            }
        }
        double upper = std::ceil(needed / step - 1e-9) * step;
        if (upper <= high)
            upper += step;  // the highest bar never fills the plot to its top edge
        range = {lower, upper, step, DecimalsOf(step)};
        const double next = NiceStep((upper - lower) / TargetTickCount);
        if (std::abs(next - step) <= 1e-9 * step)
            break;
        step = next;
    }
    return range;
}

}  // namespace leeb
