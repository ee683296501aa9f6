// Records into trend points (the panel's mean, the exclusion setting, the order), the
// histogram's bins and the JSON form of a trend.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TrendHistogram.h"
#include "TrendJson.h"
#include "TrendPoints.h"
#include "TrendStatistics.h"

namespace leeb {
namespace {

constexpr uint16_t HlSteelD = 0x0000;
constexpr uint16_t HrcSteelD = 0x3000;

TEST(TrendPoints, PanelMeanUnroundedInDateThenArchiveOrder) {
    const std::vector<TrendRecord> records = {
        {7, 3, "2025/03/15", HrcSteelD, {45.2, 45.3, 45.3}},
        {5, 1, "2025/03/15", HrcSteelD, {45.0}},
        {9, 2, "2025/03/14", HrcSteelD, {88.8, 44.0}},  // a failed impact on a tenths scale
        {6, 4, "2025/03/16", HrcSteelD, {88.8}},
    };
    QualitySettings quality;
    const TrendSeries kept = BuildTrendSeries(records, quality);
    ASSERT_EQ(kept.Points.size(), 4u);
    EXPECT_EQ(kept.Points[0].Id, 9);
    EXPECT_DOUBLE_EQ(kept.Points[0].Value, 66.4);  // the 88.8 counts, as the panel shows it
    EXPECT_EQ(kept.Points[1].Id, 5);
    EXPECT_EQ(kept.Points[2].Id, 7);
    EXPECT_EQ(kept.Points[2].Number, 3);
    EXPECT_EQ(kept.Points[2].DateText, "2025/03/15");
    EXPECT_DOUBLE_EQ(kept.Points[2].Value, 135.8 / 3);  // not the panel's rounded 45.3
    EXPECT_TRUE(kept.WithoutValue.empty());

    quality.ExcludeInvalid = true;
    const TrendSeries excluded = BuildTrendSeries(records, quality);
    ASSERT_EQ(excluded.Points.size(), 3u);
    EXPECT_DOUBLE_EQ(excluded.Points[0].Value, 44.0);
    EXPECT_EQ(excluded.WithoutValue, std::vector<int64_t>{6});  // nothing left to average
}

TEST(TrendHistogram, BinsCoverThePointsAndCarryTheLimits) {
    // 8 points: 1 + log2 8 = 4 bins of (17 - 1) / 4 = 4; the largest falls into the last bin.
    const TrendHistogram spread =
        ComputeTrendHistogram({1, 2, 5, 9, 9, 12, 16, 17}, {0.0, 20.0});
    EXPECT_DOUBLE_EQ(spread.Start, 1.0);
    EXPECT_DOUBLE_EQ(spread.Width, 4.0);
    EXPECT_EQ(spread.Counts, (std::vector<std::size_t>{2, 1, 3, 2}));
    EXPECT_EQ(spread.Limits, (ToleranceLimits{0.0, 20.0}));

    const TrendHistogram alike = ComputeTrendHistogram({45.2, 45.2, 45.2}, {});
    EXPECT_DOUBLE_EQ(alike.Start, 44.7);
    EXPECT_DOUBLE_EQ(alike.Width, 1.0);
    EXPECT_EQ(alike.Counts, std::vector<std::size_t>{3});

    EXPECT_TRUE(ComputeTrendHistogram({}, {}).Counts.empty());
}

std::string Json(const std::vector<TrendRecord>& records, const ToleranceLimits& limits) {
    const TrendSeries series = BuildTrendSeries(records, {});
    std::ostringstream out;
    WriteTrendJson(out, series, ComputeTrendFigures(series.Values(), limits));
    return out.str();
}

TEST(TrendJson, FullPrecisionAndNullWhereUndefined) {
    EXPECT_EQ(Json({{4, 2, "2025/03/14", HrcSteelD, {45.2, 45.3, 45.3}}}, {40.0, 50.0}),
              "{\"n\":1,\"mean\":45.26666666666667,\"mr_bar\":null,\"sigma_within\":null,"
              "\"sigma_overall\":null,\"ucl\":null,\"lcl\":null,\"mr_ucl\":null,\"cp\":null,"
              "\"cpk\":null,\"pp\":null,\"ppk\":null,\"points\":[\n"
              "{\"id\":4,\"number\":2,\"date\":\"2025/03/14\",\"value\":45.26666666666667}],"
              "\"rule1\":[],\"rule2\":[]}\n");

    // Nine at 11 then 1 (ids 1..10): the run's ninth point and the low one are listed by id.
    std::vector<TrendRecord> records;
    for (int i = 1; i <= 10; ++i) {
        records.push_back({i, i, "2025/03/14", HlSteelD, {i < 10 ? 11.0 : 1.0}});
    }
    const std::string text = Json(records, {});
    EXPECT_NE(text.find("\"n\":10,\"mean\":10,\"mr_bar\":1.1111111111111112,"), std::string::npos)
        << text;
    EXPECT_NE(text.find("\"cp\":null,\"cpk\":null,\"pp\":null,\"ppk\":null,"), std::string::npos);
    EXPECT_NE(text.find("\"rule1\":[10],\"rule2\":[9]}"), std::string::npos) << text;
}

}  // namespace
}  // namespace leeb
