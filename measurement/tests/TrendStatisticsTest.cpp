// The trend's figures for small series worked out by hand: each record carries one reading,
// so its point is that reading, and the expected values are written as the hand calculation
// gives them.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "TrendPoints.h"
#include "TrendStatistics.h"

namespace leeb {
namespace {

constexpr auto None = std::nullopt;
constexpr uint16_t HlSteelD = 0x0000;
constexpr uint16_t HrcSteelD = 0x3000;
constexpr uint16_t HrcSteelDl = 0x3020;
constexpr uint16_t HrcToolSteelD = 0x3100;

struct Expected {
    std::optional<double> mean, mrBar, sigmaWithin, sigmaOverall, ucl, lcl, mrUcl;
    std::optional<double> cp, cpk, pp, ppk;
    std::vector<std::size_t> rule1, rule2;
};

struct SeriesCase {
    const char* name;
    uint16_t settings;
    std::vector<double> values;
    std::optional<double> lower, upper;
    Expected expected;
    // Records of another kind mixed in (settings words), and the kinds the refusal names.
    std::vector<uint16_t> otherSettings = {};
    std::vector<TrendKind> refusedKinds = {};
};

std::vector<TrendRecord> Records(const SeriesCase& c) {
    std::vector<TrendRecord> records;
    for (std::size_t i = 0; i < c.values.size(); ++i) {
        records.push_back({static_cast<int64_t>(i + 1), static_cast<int>(i + 1), "2025/03/14",
                           c.settings, {c.values[i]}});
    }
    for (const uint16_t settings : c.otherSettings) {
        records.push_back({99, 99, "2025/03/14", settings, {450}});
    }
    return records;
}

void ExpectFigure(const char* what, const std::optional<double>& actual,
                  const std::optional<double>& expected) {
    SCOPED_TRACE(what);
    ASSERT_EQ(actual.has_value(), expected.has_value());
    if (expected) {
        EXPECT_NEAR(*actual, *expected, 1e-9 * std::max(1.0, std::fabs(*expected)));
    }
}

class TrendSeriesFigures : public testing::TestWithParam<SeriesCase> {};

TEST_P(TrendSeriesFigures, MatchTheHandCalculation) {
    const SeriesCase& c = GetParam();
    const std::vector<TrendRecord> records = Records(c);
    if (!c.refusedKinds.empty()) {
        try {
            BuildTrendSeries(records, {});
            FAIL() << "records of different kinds were charted together";
        } catch (const MixedTrendKinds& refusal) {
            EXPECT_EQ(refusal.Kinds(), c.refusedKinds);
        }
        return;
    }
    const TrendSeries series = BuildTrendSeries(records, {});
    const TrendFigures f = ComputeTrendFigures(series.Values(), {c.lower, c.upper});
    const Expected& e = c.expected;
    EXPECT_EQ(f.N, c.values.size());
    ExpectFigure("mean", f.Mean, e.mean);
    ExpectFigure("MR-bar", f.MrBar, e.mrBar);
    ExpectFigure("sigma within", f.SigmaWithin, e.sigmaWithin);
    ExpectFigure("sigma overall", f.SigmaOverall, e.sigmaOverall);
    ExpectFigure("UCL", f.Ucl, e.ucl);
    ExpectFigure("LCL", f.Lcl, e.lcl);
    ExpectFigure("MR UCL", f.MrUcl, e.mrUcl);
    ExpectFigure("Cp", f.Cp, e.cp);
    ExpectFigure("Cpk", f.Cpk, e.cpk);
    ExpectFigure("Pp", f.Pp, e.pp);
    ExpectFigure("Ppk", f.Ppk, e.ppk);
    EXPECT_EQ(f.Rule1, e.rule1);
    EXPECT_EQ(f.Rule2, e.rule2);
    EXPECT_EQ(f.Charted(), c.values.size() >= 2);
    EXPECT_TRUE(f.RoughEstimate());
}

std::vector<std::size_t> Span(std::size_t first, std::size_t last) {
    std::vector<std::size_t> indices;
    for (std::size_t i = first; i <= last; ++i) {
        indices.push_back(i);
    }
    return indices;
}

std::vector<double> Drift() {
    std::vector<double> values;
    for (int v = 400; v < 420; ++v) {
        values.push_back(v);
    }
    return values;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    HandWorked, TrendSeriesFigures,
    testing::Values(
        // All alike: the lines fall on the mean, no spread, so no index and no signal (the
        // points lie on the centre line, on no side of it).
        SeriesCase{"Constant", HrcSteelD, {45.2, 45.2, 45.2, 45.2, 45.2}, 40, 50,
                   {45.2, 0, 0, 0, 45.2, 45.2, 0, None, None, None, None, {}, {}}},
        // 5 x 40, 5 x 42: mean 41; one moving range of 2 in nine, MR-bar 2/9; deviations +-1,
        // sigma overall sqrt(10/9); Cp = 12 / (6 (2/9) / 1.128) = 10.152; Pp = 12 / (6 sqrt(10/9))
        // = 6 / sqrt 10. Limits 41 -+ 0.591: every point lies beyond one.
        SeriesCase{"Step", HrcSteelD, {40, 40, 40, 40, 40, 42, 42, 42, 42, 42}, 35, 47,
                   {41, 2.0 / 9, 2.0 / 9 / 1.128, std::sqrt(10.0 / 9), 41 + 2.66 * 2 / 9,
                    41 - 2.66 * 2 / 9, 3.267 * 2 / 9, 10.152, 10.152, 6 / std::sqrt(10.0),
                    6 / std::sqrt(10.0), Span(0, 9), {}}},
        // 400, 401, ..., 419 with an upper limit only: mean 409.5, every moving range 1,
        // sigma overall sqrt(35) (variance of 0..19 is 20 * 21 / 12); Cpk = 20.5 * 1.128 / 3 =
        // 7.708, Ppk = 20.5 / (3 sqrt 35); no Cp or Pp. Limits 409.5 -+ 2.66: 400-406 and
        // 413-419 beyond; ten points below the mean and ten above: the 9th and 10th of each run.
        SeriesCase{"DriftUpperLimitOnly", HlSteelD, Drift(), None, 430,
                   {409.5, 1, 1 / 1.128, std::sqrt(35.0), 412.16, 406.84, 3.267,
                    None, 7.708, None, 20.5 / (3 * std::sqrt(35.0)),
                    {0, 1, 2, 3, 4, 5, 6, 13, 14, 15, 16, 17, 18, 19}, {8, 9, 18, 19}}},
        // Nine points at 11, then 1: mean 10, MR-bar 10/9, sigma overall sqrt(90/9) = sqrt 10;
        // the ninth 11 completes a run above the centre line, the 1 lies below 10 - 2.66 * 10/9
        // = 7.044. Lower limit 0 only: Cpk = 10 * 1.128 * 9 / 30 = 3.384, Ppk = sqrt(10) / 3.
        SeriesCase{"RunOfNineLowerLimitOnly", HlSteelD, {11, 11, 11, 11, 11, 11, 11, 11, 11, 1},
                   0, None,
                   {10, 10.0 / 9, 10.0 / 9 / 1.128, std::sqrt(10.0), 10 + 2.66 * 10 / 9,
                    10 - 2.66 * 10 / 9, 3.267 * 10 / 9, None, 3.384, None, std::sqrt(10.0) / 3,
                    {9}, {8}}},
        // Eight on one side is no run yet.
        // Eight at 11, then 2: mean 10, MR-bar 9/8, sigma overall sqrt(72/8) = 3.
        SeriesCase{"RunOfEight", HlSteelD, {11, 11, 11, 11, 11, 11, 11, 11, 2}, None, None,
                   {10, 1.125, 1.125 / 1.128, 3, 10 + 2.66 * 1.125, 10 - 2.66 * 1.125,
                    3.267 * 1.125, None, None, None, None, {8}, {}}},
        SeriesCase{"OnePoint", HrcSteelD, {45.2}, 40, 50,
                   {45.2, None, None, None, None, None, None, None, None, None, None, {}, {}}},
        SeriesCase{"NoPoints", HrcSteelD, {}, 40, 50,
                   {None, None, None, None, None, None, None, None, None, None, None, {}, {}}},
        // Another impact device and another material each make their own kind; the refusal
        // names every kind once, in a fixed order.
        SeriesCase{"MixedKindsRefused", HrcSteelD, {45.2, 45.3}, None, None, {},
                   {HrcSteelDl, HrcToolSteelD, HrcSteelDl},
                   {TrendKindOf(HrcSteelD), TrendKindOf(HrcSteelDl), TrendKindOf(HrcToolSteelD)}}),
    [](const testing::TestParamInfo<SeriesCase>& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace leeb
