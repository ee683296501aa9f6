// Limits as users write them: one typed limit, and the command line's list of limits per scale.
#include <gtest/gtest.h>

#include <optional>

#include "LimitInput.h"

namespace leeb {
namespace {

constexpr auto None = std::nullopt;

TEST(LimitInput, OneLimit) {
    const struct {
        const char* typed;
        char separator;
        LimitProblem problem;
        std::optional<double> value;
    } cases[] = {
        {"450", '.', LimitProblem::None, 450.0},
        {" 45.5 ", '.', LimitProblem::None, 45.5},
        {"45,5", '.', LimitProblem::None, 45.5},  // a decimal comma is still read
        {"45,5", ',', LimitProblem::None, 45.5},
        {"45.5", ',', LimitProblem::None, 45.5},
        {"1,0005", '.', LimitProblem::None, 1.0005},
        {"", '.', LimitProblem::None, None},
        {"   ", '.', LimitProblem::None, None},
        // A thousands separator or a decimal one: refused, never read as 1 or 1.2.
        {"1,000", '.', LimitProblem::GroupedThousands, None},
        {"1,200", ',', LimitProblem::GroupedThousands, None},
        {"12,345.5", '.', LimitProblem::GroupedThousands, None},
        {"1.000", ',', LimitProblem::GroupedThousands, None},
        {"1.000", '.', LimitProblem::None, 1.0},
        {"abc", '.', LimitProblem::NotANumber, None},
        {"4 7", '.', LimitProblem::NotANumber, None},
        {"inf", '.', LimitProblem::NotANumber, None},
        {"1e3", '.', LimitProblem::NotANumber, None},
        {"4.5.6", '.', LimitProblem::NotANumber, None},
    };
    for (const auto& c : cases) {
        const LimitInput limit = ParseLimitInput(c.typed, c.separator);
        EXPECT_EQ(limit.Problem, c.problem) << c.typed << " " << c.separator;
        EXPECT_EQ(limit.Value, c.value) << c.typed << " " << c.separator;
    }
}

TEST(LimitInput, ThousandsMessageShowsBothWays) {
    const LimitInput limit = ParseLimitInput("1,000", '.');
    EXPECT_EQ(LimitProblemMessage(limit, '.'),
              "限值 \"1,000\" 有歧义：写作 1000 或 1.5。(The limit \"1,000\" is ambiguous: write "
              "1000 or 1.5.)");
    EXPECT_NE(LimitProblemMessage(ParseLimitInput("1.000", ','), ',').find("1000 或 1,5"),
              std::string::npos);
    EXPECT_EQ(LimitProblemMessage(ParseLimitInput("450", '.'), '.'), "");
}

TEST(LimitInput, LimitsPerScale) {
    using Limits = std::map<std::string, ToleranceLimits>;
    const struct {
        const char* text;
        LimitProblem problem;
        Limits limits;
        const char* item;
    } cases[] = {
        {"HL:400-460,HRC:44-46",
         LimitProblem::None,
         {{"HL", {400.0, 460.0}}, {"HRC", {44.0, 46.0}}},
         ""},
        {"hrc:44-", LimitProblem::None, {{"HRC", {44.0, None}}}, ""},
        {"HB:-250", LimitProblem::None, {{"HB", {None, 250.0}}}, ""},
        {" HL : 400 - 460 , strength:500-600",
         LimitProblem::None,
         {{"HL", {400.0, 460.0}}, {"strength", {500.0, 600.0}}},
         ""},
        {"HRC:44,5-46,HL:400-",
         LimitProblem::None,
         {{"HRC", {44.5, 46.0}}, {"HL", {400.0, None}}},
         ""},
        {"HV:1,000-1,200", LimitProblem::GroupedThousands, {}, "1,000"},
        {"400-460", LimitProblem::NoScale, {}, "400-460"},
        {"XY:1-2", LimitProblem::UnknownScale, {}, "XY"},
        {"HL:1-2,hl:3-4", LimitProblem::RepeatedScale, {}, "hl"},
        {"HL:450", LimitProblem::NotARange, {}, "HL:450"},
        {"HL:1-2-3", LimitProblem::NotARange, {}, "HL:1-2-3"},
        {"HL:-", LimitProblem::NoLimit, {}, "HL:-"},
        {"HL:460-400", LimitProblem::LowerAboveUpper, {}, "HL:460-400"},
        {"HL:4x-460", LimitProblem::NotANumber, {}, "4x"},
    };
    for (const auto& c : cases) {
        const ScaleLimitsInput parsed = ParseScaleLimits(c.text, '.');
        EXPECT_EQ(parsed.Problem, c.problem) << c.text;
        EXPECT_EQ(parsed.Item, c.item) << c.text;
        if (c.problem == LimitProblem::None) {
            EXPECT_EQ(parsed.PerScale, c.limits) << c.text;
        } else {
            EXPECT_FALSE(LimitProblemMessage(parsed, '.').empty()) << c.text;
        }
    }
}

}  // namespace
}  // namespace leeb
