#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "NumberText.h"

namespace leeb {
namespace {

TEST(FormatGeneralText, SignificantDigitsAndSeparator) {
    const struct {
        double value;
        char separator;
        const char* text;
    } cases[] = {
        {450.0, '.', "450"},
        {45.60, '.', "45.6"},
        {45.6, ',', "45,6"},
        {-45.25, ',', "-45,25"},
        {88.8, '.', "88.8"},
        {6553.5, ',', "6553,5"},
        {0.1 + 0.2, '.', "0.3"},  // 15 digits hide the binary error
        {1.0 / 3.0, '.', "0.333333333333333"},
        {2.0 / 3.0, ',', "0,666666666666667"},
        {123456789012345.0, '.', "123456789012345"},
        {-0.0, '.', "0"},
        {0.0, ',', "0"},
        {100000.0, '.', "100000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatGeneral(c.value, c.separator), c.text) << c.value;
    }
}

TEST(RoundHalfEvenQuotientOf, HalvesGoToTheEvenNeighbour) {
    constexpr int64_t Big = std::numeric_limits<int64_t>::max();
    const struct {
        int64_t numerator, denominator, expected;
    } cases[] = {
        {901, 2, 450},
        {903, 2, 452},
        {-901, 2, -450},
        {-903, 2, -452},
        {905, 10, 90},
        {915, 10, 92},
        {7, 3, 2},
        {8, 3, 3},
        {-7, 3, -2},
        {-8, 3, -3},
        {0, 5, 0},
        {1, 2, 0},
        {-1, 2, 0},
        {3, 2, 2},
        {Big, Big, 1},
        {Big, 2, Big / 2 + 1},  // a tie with an odd floor; 2 * remainder would overflow here
        {Big - 1, Big, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfEvenQuotient(c.numerator, c.denominator), c.expected)
            << c.numerator << " / " << c.denominator;
    }
}

TEST(RoundHalfEvenOf, HalvesGoToTheEvenNeighbour) {
    const struct {
        double value, expected;
    } cases[] = {
        {0.5, 0.0},     {1.5, 2.0},
        {2.5, 2.0},     {-0.5, 0.0},
        {-1.5, -2.0},   {-2.5, -2.0},
        {450.5, 450.0}, {451.5, 452.0},
        {2.4999, 2.0},  {2.5001, 3.0},
        {-2.6, -3.0},   {7.0, 7.0},
        {1e300, 1e300}, {4503599627370497.0, 4503599627370497.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfEven(c.value), c.expected) << c.value;
    }
    EXPECT_TRUE(std::isnan(RoundHalfEven(std::nan(""))));
}

}  // namespace
}  // namespace leeb
