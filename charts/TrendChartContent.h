#pragma once
// A trend's points and figures put into the charts: the individuals chart (points, x̄, UCL,
// LCL, signals of both rules), the moving-range chart (MR̄, MR UCL) and the histogram.

#include <functional>

#include "ControlChart.h"
#include "HistogramChart.h"
#include "TrendPoints.h"
#include "TrendStatistics.h"
#include "TrendText.h"

namespace leeb {

ControlChartContent IndividualsContent(const TrendSeries& series, const TrendFigures& figures,
                                       const TrendNumberFormat& format);
ControlChartContent MovingRangeContent(const TrendSeries& series, const TrendFigures& figures,
                                       const TrendNumberFormat& format);

// The three charts of one trend, made and filled together (the window's view and the printed
// page both use them).
struct TrendCharts {
    ControlChart* Individuals;
    ControlChart* MovingRanges;
    HistogramChart* Histogram;

    // Widgets owned by `parent` (none: the caller deletes them).
    static TrendCharts Create(QWidget* parent);
    // Empty charts when the trend has fewer than two points.
    void Show(const TrendSeries& series, const TrendFigures& figures,
              const ToleranceLimits& limits);
};

}  // namespace leeb
