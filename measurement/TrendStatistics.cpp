#include "TrendStatistics.h"

#include <algorithm>
#include <cmath>

namespace leeb {

namespace {

constexpr double D2 = 1.128;         // d2 for moving ranges of two points
constexpr double E2 = 2.66;          // 3 / d2, as the charts' tables give it
constexpr double D4 = 3.267;         // D4 for moving ranges of two points

// The points are exact decimals and the lines are computed from them; a point that lies on a
// line by arithmetic must not cross it by the last bit of a rounding.
double Tolerance(double a, double b) {
    return 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

bool Above(double value, double line) {
    return value - line > Tolerance(value, line);
}

bool Below(double value, double line) {
    return line - value > Tolerance(value, line);
}

// Mean and sample deviation around the first point: constant values give exactly that value
// and exactly zero, which summing the raw values would not.
void AddMeanAndDeviation(TrendFigures& figures, const std::vector<double>& values) {
    const double origin = values.front();
    double sum = 0.0;
    for (const double value : values) {
        sum += value - origin;
    }
    const double n = static_cast<double>(values.size());
    const double shift = sum / n;
    figures.Mean = origin + shift;
    if (values.size() < 2) {
        return;
    }
    double squares = 0.0;
    for (const double value : values) {
        const double deviation = (value - origin) - shift;
        squares += deviation * deviation;
    }
    figures.SigmaOverall = std::sqrt(squares / (n - 1.0));
}

void AddControlLimits(TrendFigures& figures, const std::vector<double>& values) {
    double sum = 0.0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        figures.MovingRanges.push_back(std::fabs(values[i] - values[i - 1]));
        sum += figures.MovingRanges.back();
    }
    const double mrBar = sum / static_cast<double>(figures.MovingRanges.size());
    figures.MrBar = mrBar;
    figures.SigmaWithin = mrBar / D2;
    figures.Ucl = *figures.Mean + E2 * mrBar;
    figures.Lcl = *figures.Mean - E2 * mrBar;
    figures.MrUcl = D4 * mrBar;
}

void AddSignals(TrendFigures& figures, const std::vector<double>& values) {
    const double centre = *figures.Mean;
    int side = 0;  // +1 above the centre line, -1 below, 0 on it
    std::size_t run = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (Above(values[i], *figures.Ucl) || Below(values[i], *figures.Lcl)) {
            figures.Rule1.push_back(i);
        }
        const int pointSide = Above(values[i], centre) ? 1 : Below(values[i], centre) ? -1 : 0;
        run = pointSide != 0 && pointSide == side ? run + 1 : (pointSide != 0 ? 1 : 0);
        side = pointSide;
        if (run >= TrendRunLength) {
            figures.Rule2.push_back(i);
        }
    }
}

// An index over a spread of zero says nothing: all points alike, whatever the limits.
std::optional<double> Index(double distance, double sigmas, const std::optional<double>& sigma) {
    if (!sigma || !(*sigma > 0.0)) {
        return std::nullopt;
    }
    return distance / (sigmas * *sigma);
}

void AddCapability(TrendFigures& figures, const ToleranceLimits& limits) {
    const double mean = *figures.Mean;
    std::optional<double> nearest;
    if (limits.Upper) {
        nearest = *limits.Upper - mean;
    }
    if (limits.Lower) {
        nearest = nearest ? std::min(*nearest, mean - *limits.Lower) : mean - *limits.Lower;
    }
    if (nearest) {
        figures.Cpk = Index(*nearest, 3.0, figures.SigmaWithin);
        figures.Ppk = Index(*nearest, 3.0, figures.SigmaOverall);
    }
    if (limits.Lower && limits.Upper) {
        figures.Cp = Index(*limits.Upper - *limits.Lower, 6.0, figures.SigmaWithin);
        figures.Pp = Index(*limits.Upper - *limits.Lower, 6.0, figures.SigmaOverall);
    }
}

}  // namespace

TrendFigures ComputeTrendFigures(const std::vector<double>& values,
                                 const ToleranceLimits& limits) {
    TrendFigures figures;
    figures.N = values.size();
    if (values.empty()) {
        return figures;
    }
    AddMeanAndDeviation(figures, values);
    if (values.size() < 2) {
        return figures;
    }
    AddControlLimits(figures, values);
    AddSignals(figures, values);
    AddCapability(figures, limits);
    return figures;
}

}  // namespace leeb
