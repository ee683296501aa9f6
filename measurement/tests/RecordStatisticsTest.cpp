#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "RecordStatistics.h"
#include "RecordView.h"

namespace leeb {
namespace {

struct StatisticsCase {
    const char* name;
    bool oneDecimal;
    std::vector<double> readings;
    char separator;
    const char* max;
    const char* min;
    const char* panelMean;
    const char* reportMean;
};

class StatisticsTexts : public testing::TestWithParam<StatisticsCase> {};

TEST_P(StatisticsTexts, MaxMinAndMean) {
    const StatisticsCase& c = GetParam();
    RecordStatistics stats(c.oneDecimal);
    for (const double v : c.readings) {
        stats.Add(v);
    }
    EXPECT_EQ(stats.Count(), static_cast<int>(c.readings.size()));
    EXPECT_EQ(stats.MaxText(c.separator), c.max);
    EXPECT_EQ(stats.MinText(c.separator), c.min);
    EXPECT_EQ(stats.PanelMeanText(c.separator), c.panelMean);
    EXPECT_EQ(stats.ReportMeanText(c.separator), c.reportMean);
}

INSTANTIATE_TEST_SUITE_P(
    Records, StatisticsTexts,
    testing::Values(
        StatisticsCase{"WholeScale", false, {450, 460, 470}, '.', "470", "450", " 460", "460"},
        StatisticsCase{
            "OneDecimalTieDown", true, {45.2, 45.3}, '.', "45.3", "45.2", "45.2", "45.2"},
        // 45.15 is not a double: summed as doubles the report and panel could disagree.
        StatisticsCase{"OneDecimalTieUp", true, {45.1, 45.2}, '.', "45.2", "45.1", "45.2", "45.2"},
        StatisticsCase{
            "OneDecimalTieUpOdd", true, {45.3, 45.4}, '.', "45.4", "45.3", "45.4", "45.4"},
        StatisticsCase{"DecimalComma", true, {45.2, 45.3}, ',', "45,3", "45,2", "45,2", "45,2"},
        StatisticsCase{"WholeTieToEvenBelow", false, {450, 451}, '.', "451", "450", " 450", "450"},
        StatisticsCase{"WholeTieToEvenAbove", false, {451, 452}, '.', "452", "451", " 452", "452"},
        StatisticsCase{
            "WholeMeanOfOneDecimalIsShort", true, {45.0, 45.0}, '.', "45", "45", "45", "45"},
        StatisticsCase{
            "ZeroSubstitute", true, {88.8, 45.0, 45.2}, '.', "88.8", "45", "59.7", "59.7"},
        StatisticsCase{"AllEqual", true, {45.3, 45.3, 45.3}, ',', "45,3", "45,3", "45,3", "45,3"},
        // Readings are summed as read, not first rounded to the scale: 1351.5 / 3 = 450.5,
        // which rounds to the even 450 (rounded first, they would sum to 1353 and give 451).
        StatisticsCase{"FractionalWholeScaleReadingsSummedAsRead",
                       false,
                       {450.6, 450.6, 450.3},
                       '.',
                       "450.6",
                       "450.3",
                       " 450",
                       "450"},
        // 45.255 rounds up; rounded first, 45.2 and 45.3 would give the tie 45.25 and 45.2.
        StatisticsCase{"HundredthsOnAOneDecimalScale",
                       true,
                       {45.24, 45.27},
                       '.',
                       "45.27",
                       "45.24",
                       "45.3",
                       "45.3"},
        StatisticsCase{"SmallWholeMeanPadded", false, {5}, '.', "5", "5", "   5", "5"},
        StatisticsCase{"WideWholeMeanNotCut",
                       false,
                       {12000, 12001, 12002},
                       '.',
                       "12002",
                       "12000",
                       "12001",
                       "12001"},
        // True minimum even when every reading lies at or above 10000.
        StatisticsCase{
            "AllAbove10000", false, {10500, 12000}, '.', "12000", "10500", "11250", "11250"},
        StatisticsCase{
            "AllAbove65535", false, {70000, 80000}, '.', "80000", "70000", "75000", "75000"},
        // True maximum even when every reading is below 0.
        StatisticsCase{"AllNegative", false, {-3, -5}, '.', "-3", "-5", "  -4", "-4"},
        StatisticsCase{"NoReadings", true, {}, '.', "-", "-", "-", "-"},
        StatisticsCase{"NoReadingsWhole", false, {}, ',', "-", "-", "-", "-"}),
    [](const testing::TestParamInfo<StatisticsCase>& info) { return info.param.name; });

TEST(RecordStatisticsValues, RoundedMeanAndSumInDisplayUnits) {
    RecordStatistics stats(true);
    EXPECT_EQ(stats.RoundedMean(), 0.0);
    stats.Add(45.1);
    stats.Add(45.2);
    EXPECT_DOUBLE_EQ(stats.Sum(), 90.3);
    EXPECT_DOUBLE_EQ(stats.RoundedMean(), 45.2);
    EXPECT_DOUBLE_EQ(stats.Max(), 45.2);
    EXPECT_DOUBLE_EQ(stats.Min(), 45.1);
}

TEST(RecordStatisticsValues, RejectsValuesThatAreNoReading) {
    for (const double v : {1e300, -1e300, std::nan(""), HUGE_VAL}) {
        RecordStatistics stats(false);
        EXPECT_THROW(stats.Add(v), std::out_of_range) << v;
        EXPECT_EQ(stats.Count(), 0);
        EXPECT_EQ(stats.MaxText('.'), "-");
    }
}

TEST(RecordViewOfFields, ScaleDecidesTheNumberForm) {
    const struct {
        int settings;
        std::vector<double> readings;
        bool oneDecimal;
        const char* panelMean;
    } cases[] = {
        {3 << 12, {45.1, 45.2}, true, "45.2"},                 // HRC
        {3 << 12 | 8, {451, 452}, false, " 452"},              // strength: scale bits ignored
        {0, {450, 451}, false, " 450"},                        // HL
        {1 << 8 | 2 << 12, {60.5, 60.6, 60.6}, true, "60.6"},  // alloy tool steel, code 2: HRC
    };
    for (const auto& c : cases) {
        const RecordTextFields fields{static_cast<int>(c.readings.size()), "2008/05/17", c.settings,
                                      c.readings};
        const RecordView view = RecordViewFromFields(fields);
        EXPECT_EQ(view.OneDecimal, c.oneDecimal) << c.settings;
        EXPECT_EQ(view.Statistics.OneDecimal(), c.oneDecimal) << c.settings;
        EXPECT_EQ(view.Settings.ScaleCode, (c.settings >> 12) & 15);
        EXPECT_EQ(view.ImpactCount, static_cast<int>(c.readings.size()));
        EXPECT_EQ(view.DateText, "2008/05/17");
        EXPECT_EQ(view.Statistics.PanelMeanText('.'), c.panelMean) << c.settings;
    }
}

}  // namespace
}  // namespace leeb
