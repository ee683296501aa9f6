#pragma once
// The trend's figures, kinds and messages as the window and the printed page show them, in the
// interface language. Figures are rounded here for display only: one decimal more than the
// scale carries for the values and lines, two more for the deviations, two for the indices.

#include <QString>
#include <optional>
#include <utility>
#include <vector>

#include "TrendPoints.h"
#include "TrendStatistics.h"

namespace leeb {

// "钢和铸钢 HRC D": material, scale (σb in strength mode) and impact device.
QString TrendKindText(const TrendKind& kind);

// The refusal of records of different kinds, naming each kind held.
QString MixedKindsMessage(const MixedTrendKinds& refusal);

// Fewer than two points: why there is no chart.
QString TooFewPointsMessage(std::size_t points);

// Under the figures when there are fewer than TrendReliablePoints points.
QString RoughEstimateNote();

// Records left without a reading to average.
QString WithoutValueNote(std::size_t records);

struct TrendNumberFormat {
    int ValueDecimals = 1;  // values, the mean and the control lines

    static TrendNumberFormat For(const TrendKind& kind);
    QString Value(const std::optional<double>& value) const;      // "-" when absent
    QString Deviation(const std::optional<double>& value) const;  // "-" when absent
    static QString Index(const std::optional<double>& value);     // "-" when absent
};

// The figures table: n, x̄, σ within, σ overall, Cp, Cpk, Pp, Ppk, as (label, text) rows.
std::vector<std::pair<QString, QString>> TrendFigureRows(const TrendFigures& figures,
                                                         const TrendNumberFormat& format);

// "规则 1 …: 记录 12 (2025/03/14), …" for each rule that has signals; empty when none. At
// most `shown` points each, then the count of the rest.
QString TrendSignalText(const TrendSeries& series, const TrendFigures& figures,
                        std::size_t shown = 12);

}  // namespace leeb
