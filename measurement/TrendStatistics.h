#pragma once
// How a series of record values behaves over time: the individuals and moving-range chart
// (ISO 7870-2) and the process capability (ISO 22514-2) of the points in their order.
//
//   MR_i         = |x_i - x_(i-1)|, i = 2..n;   MR-bar = mean of the MR_i
//   sigma_within = MR-bar / 1.128               sigma_overall = sample deviation (n - 1)
//   UCL, LCL     = x-bar +/- 2.66 MR-bar        MR UCL = 3.267 MR-bar
//   Cp  = (USL - LSL) / 6 sigma_within          Cpk = min(USL - x-bar, x-bar - LSL) / 3 sigma_within
//   Pp, Ppk      the same with sigma_overall
//
// A figure that the points do not define is absent: everything but the mean with fewer than
// two points; every index with a spread of zero; Cp and Pp without both limits.

#include <cstddef>
#include <optional>
#include <vector>

#include "RecordEvaluation.h"

namespace leeb {

// Below this many points the capability indices are rough estimates.
inline constexpr std::size_t TrendReliablePoints = 25;
// A run of this many points on one side of the centre line is a signal.
inline constexpr std::size_t TrendRunLength = 9;

struct TrendFigures {
    std::size_t N = 0;
    std::optional<double> Mean;
    std::optional<double> MrBar;
    std::optional<double> SigmaWithin;
    std::optional<double> SigmaOverall;
    std::optional<double> Ucl;
    std::optional<double> Lcl;
    std::optional<double> MrUcl;
    std::optional<double> Cp;
    std::optional<double> Cpk;
    std::optional<double> Pp;
    std::optional<double> Ppk;
    // MovingRanges[i] belongs to point i + 1 (the first point has none).
    std::vector<double> MovingRanges;
    // Indices of the points, ascending. Rule 1: strictly beyond UCL or LCL. Rule 2: the ninth
    // point of a run strictly on one side of the centre line and every point that continues it.
    std::vector<std::size_t> Rule1;
    std::vector<std::size_t> Rule2;

    bool Charted() const { return N >= 2; }
    bool RoughEstimate() const { return N < TrendReliablePoints; }
};

// The figures of `values` in their order; `limits` are the tolerance limits (either or
// both may be absent).
TrendFigures ComputeTrendFigures(const std::vector<double>& values, const ToleranceLimits& limits);

}  // namespace leeb
