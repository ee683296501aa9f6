// The bar chart's value axis: where it starts and ends for the readings a record can hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "ChartValueRange.h"

namespace leeb {
namespace {

bool IsMultiple(double value, double step) {
    const double ratio = value / step;
    return std::abs(ratio - std::round(ratio)) < 1e-6;
}

TEST(ChartValueRange, FitsEveryMarkAndShowsTheSpread) {
    struct Case {
        std::string name;
        std::vector<double> values;
        double headroom;  // pixels each bar needs above it
        double height;    // of the plot rectangle
    } cases[] = {
        {"hardness 508-521, upright marks", {508, 515, 521, 510, 512}, 37, 250},
        {"hardness 508-521, turned marks", {508, 521, 509, 520, 511, 519, 513}, 52, 250},
        {"one-decimal scale", {44.1, 47.9, 45.3, 46.0}, 48, 250},
        {"four-digit strength", {1050, 1320, 1185, 1273}, 56, 250},
        {"readings far apart", {100, 900, 450}, 52, 250},
        {"tall plot, short marks", {300, 305}, 30, 600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> headroom(c.values.size(), c.headroom);
        const ChartValueRange range = FitChartValueRange(c.values, headroom, c.height);
        const auto [low, high] = std::minmax_element(c.values.begin(), c.values.end());
        const double span = range.Upper - range.Lower;

        // Every bar has a height, none reaches below zero, and both ends sit on ticks.
        EXPECT_LT(range.Lower, *low);
        EXPECT_GE(range.Lower, 0.0);
        EXPECT_TRUE(IsMultiple(range.Lower, range.Step)) << range.Lower << " / " << range.Step;
        EXPECT_TRUE(IsMultiple(range.Upper, range.Step)) << range.Upper << " / " << range.Step;
        EXPECT_GE(span / range.Step, 3.0);
        EXPECT_LE(span / range.Step, 12.0);
        const double scaled = range.Step * std::pow(10.0, range.Decimals);
        EXPECT_NEAR(scaled, std::round(scaled), 1e-6) << "tick labels would repeat";

        // Each bar keeps its headroom below the top edge.
        for (double v : c.values) {
            EXPECT_GE(c.height * (range.Upper - v) / span, c.headroom - 1e-6) << v;
        }
        // The difference between the lowest and the highest reading takes a good part of
        // the axis, instead of a sliver on top of tall bars that start at zero.
        EXPECT_GE((*high - *low) / span, 0.3) << range.Lower << ".." << range.Upper;
    }
}

TEST(ChartValueRange, StartsAtARoundValueBelowTheLowestReading) {
    const ChartValueRange range = FitChartValueRange({508, 521, 515}, {52, 52, 52}, 250);
    EXPECT_DOUBLE_EQ(range.Lower, 500.0);
    EXPECT_EQ(range.Decimals, 0);
}

TEST(ChartValueRange, OneOrEqualReadingsStandInTheMiddleOfTheirRange) {
    struct Case {
        std::string name;
        std::vector<double> values;
    } cases[] = {
        {"one hardness reading", {520}},     {"equal readings", {450, 450, 450}},
        {"one one-decimal reading", {45.3}}, {"one strength reading", {1250}},
        {"a small reading", {0.4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> headroom(c.values.size(), 40.0);
        const ChartValueRange range = FitChartValueRange(c.values, headroom, 250);
        const double v = c.values.front();
        ASSERT_LT(range.Lower, range.Upper);
        const double share = (v - range.Lower) / (range.Upper - range.Lower);
        EXPECT_GT(share, 0.15) << range.Lower << ".." << range.Upper;
        EXPECT_LT(share, 0.85) << range.Lower << ".." << range.Upper;
        EXPECT_GE(250 * (range.Upper - v) / (range.Upper - range.Lower), 40.0 - 1e-6);
    }
}

TEST(ChartValueRange, EdgeCasesGiveAUsableRange) {
    struct Case {
        std::string name;
        std::vector<double> values;
        double headroom, height;
    } cases[] = {
        {"a zero reading", {0}, 40, 250},
        {"zeros among readings", {0, 450, 460}, 40, 250},
        {"no room for the marks", {500, 510}, 300, 250},
        {"no plot at all", {500, 510}, 40, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> headroom(c.values.size(), c.headroom);
        const ChartValueRange range = FitChartValueRange(c.values, headroom, c.height);
        const auto [low, high] = std::minmax_element(c.values.begin(), c.values.end());
        EXPECT_TRUE(std::isfinite(range.Lower) && std::isfinite(range.Upper));
        EXPECT_GE(range.Lower, 0.0);
        EXPECT_LE(range.Lower, *low);
        EXPECT_GT(range.Upper, *high);
        EXPECT_GT(range.Step, 0.0);
    }
    const ChartValueRange empty = FitChartValueRange({}, {}, 250);
    EXPECT_LT(empty.Lower, empty.Upper);
}

}  // namespace
}  // namespace leeb
