#pragma once
// The trend as one JSON object, streamed as it is written:
//   {"n":..., "mean":..., "mr_bar":..., "sigma_within":..., "sigma_overall":..., "ucl":...,
//    "lcl":..., "mr_ucl":..., "cp":..., "cpk":..., "pp":..., "ppk":...,
//    "points":[{"id":..., "number":..., "date":"2025/03/14", "value":...}, ...],
//    "rule1":[ids...], "rule2":[ids...]}
// Numbers are unrounded: the shortest text that reads back as the same double. A figure the
// points do not define is null.

#include <ostream>

#include "TrendPoints.h"
#include "TrendStatistics.h"

namespace leeb {

void WriteTrendJson(std::ostream& out, const TrendSeries& series, const TrendFigures& figures);

}  // namespace leeb
