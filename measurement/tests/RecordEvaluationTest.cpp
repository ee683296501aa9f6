// Judging a record against tolerance limits, with failed impacts marked and optionally left
// out of the statistics; the selection of records by a written list.
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

#include "RecordEvaluation.h"
#include "RecordSelection.h"

namespace leeb {
namespace {

using Mark = ReadingMark;
constexpr auto None = std::nullopt;

struct EvaluationCase {
    const char* name;
    bool oneDecimal;
    std::vector<double> readings;
    std::optional<double> lower, upper;
    bool exclude, eachReading;
    // Expected: marks, the statistics in use, spread and verdict.
    std::vector<Mark> marks;
    int invalid, used;
    const char *max, *min, *mean, *deviation, *range;
    Verdict verdict;
};

class Evaluation : public testing::TestWithParam<EvaluationCase> {};

TEST_P(Evaluation, MarksStatisticsAndVerdict) {
    const EvaluationCase& c = GetParam();
    EvaluationOptions options;
    options.Limits = {c.lower, c.upper};
    options.ExcludeInvalid = c.exclude;
    options.EachReading = c.eachReading;
    const RecordEvaluation e = EvaluateRecord(c.readings, c.oneDecimal, options);
    EXPECT_EQ(e.Marks, c.marks);
    EXPECT_EQ(e.InvalidCount, c.invalid);
    EXPECT_EQ(e.Used.Count(), c.used);
    EXPECT_EQ(e.Used.MaxText('.'), c.max);
    EXPECT_EQ(e.Used.MinText('.'), c.min);
    EXPECT_EQ(e.Used.ReportMeanText('.'), c.mean);
    EXPECT_EQ(e.DeviationText('.'), c.deviation);
    EXPECT_EQ(e.RangeText('.'), c.range);
    EXPECT_EQ(e.RecordVerdict, c.verdict);
}

const Mark V = Mark::Valid, F = Mark::FailedImpact, B = Mark::BelowLower, A = Mark::AboveUpper;

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Records, Evaluation,
    testing::Values(
        // Nothing set: the failed impact stays in Max and the mean, as everywhere today.
        EvaluationCase{"NothingSet", false, {450, 888, 460}, None, None, false, false,
                       {V, F, V}, 1, 3, "888", "450", "599", "250.0", "438", Verdict::NotJudged},
        EvaluationCase{"ExcludeFailedImpact", false, {450, 888, 460}, None, None, true, false,
                       {V, F, V}, 1, 2, "460", "450", "455", "7.1", "10", Verdict::NotJudged},
        EvaluationCase{"ExcludeOneDecimalMarker", true, {45.2, 88.8, 45.3}, None, None, true, false,
                       {V, F, V}, 1, 2, "45.3", "45.2", "45.2", "0.07", "0.1", Verdict::NotJudged},
        // 888 on a one-decimal scale is 88.8 tenths times ten: not the marker there.
        // One decimal more than the readings, also where it ends in 0: 0.10, not 0.1.
        EvaluationCase{"DeviationKeepsItsLastZero", true, {45.1, 45.2, 45.3}, None, None, false,
                       false, {V, V, V}, 0, 3, "45.3", "45.1", "45.2", "0.10", "0.2",
                       Verdict::NotJudged},
        EvaluationCase{"MarkerDependsOnScale", true, {88.7, 88.9}, None, None, true, false,
                       {V, V}, 0, 2, "88.9", "88.7", "88.8", "0.14", "0.2", Verdict::NotJudged},
        // Nothing but failed impacts judges nothing, whether they are left out or not: a mean
        // of 888 between 800 and 900 is no pass.
        EvaluationCase{"AllInvalidExcluded", false, {888, 888}, 400, 500, true, false,
                       {F, F}, 2, 0, "-", "-", "-", "-", "-", Verdict::NoValidReading},
        EvaluationCase{"AllInvalidKept", false, {888, 888}, 800, 900, false, false,
                       {F, F}, 2, 2, "888", "888", "888", "0.0", "0", Verdict::NoValidReading},
        EvaluationCase{"OneReading", false, {455}, 450, 460, false, false,
                       {V}, 0, 1, "455", "455", "455", "-", "0", Verdict::Pass},
        EvaluationCase{"NoReadings", false, {}, 450, None, false, false,
                       {}, 0, 0, "-", "-", "-", "-", "-", Verdict::NoValidReading},
        // Equal limits: only that mean passes; the mean is judged as shown (rounded).
        EvaluationCase{"LimitsEqualPass", false, {449, 451}, 450, 450, false, false,
                       {B, A}, 0, 2, "451", "449", "450", "1.4", "2", Verdict::Pass},
        EvaluationCase{"LimitsEqualFail", false, {451, 451}, 450, 450, false, false,
                       {A, A}, 0, 2, "451", "451", "451", "0.0", "0", Verdict::Fail},
        EvaluationCase{"RoundedMeanOnTheLimit", false, {450, 451}, 450.5, None, false, false,
                       {B, V}, 0, 2, "451", "450", "450", "0.7", "1", Verdict::Fail},
        EvaluationCase{"OnlyLower", true, {45.0, 44.9}, 45.0, None, false, false,
                       {V, B}, 0, 2, "45", "44.9", "45", "0.07", "0.1", Verdict::Pass},
        EvaluationCase{"OnlyUpper", false, {500, 520}, None, 505, false, false,
                       {V, A}, 0, 2, "520", "500", "510", "14.1", "20", Verdict::Fail},
        // Each reading judged: one reading outside fails the record although the mean lies
        // within, and no reading is dropped from the statistics.
        EvaluationCase{"EachReadingOneOutside", false, {380, 450, 470, 620}, 400, 600, true, true,
                       {B, V, V, A}, 0, 4, "620", "380", "480", "101.0", "240", Verdict::Fail},
        // A failed impact is no reading to judge: the valid ones all lie within.
        EvaluationCase{"EachReadingSkipsFailedImpacts", false, {450, 888, 470}, 400, 600, false,
                       true, {V, F, V}, 1, 3, "888", "450", "603", "247.3", "438", Verdict::Pass},
        EvaluationCase{"EachReadingAllOutside", true, {61.2, 61.8}, 45.0, 45.4, false, true,
                       {A, A}, 0, 2, "61.8", "61.2", "61.5", "0.42", "0.6", Verdict::Fail},
        EvaluationCase{"EachReadingNoValidReading", false, {888, 888}, 400, 500, true, true,
                       {F, F}, 2, 0, "-", "-", "-", "-", "-", Verdict::NoValidReading},
        // Without limits there is nothing to judge.
        EvaluationCase{"EachReadingNoLimits", false, {380, 888}, None, None, true, true,
                       {V, F}, 1, 1, "380", "380", "380", "-", "0", Verdict::NotJudged}),
    [](const testing::TestParamInfo<EvaluationCase>& info) { return info.param.name; });
// clang-format on

TEST(Evaluation, LimitsNeverMakeAReadingInvalid) {
    const std::vector<double> readings = {380, 888, 450};
    EvaluationOptions options;
    options.Limits.Lower = 400;
    for (const bool each : {false, true}) {
        options.EachReading = each;
        options.ExcludeInvalid = each;
        EXPECT_EQ(EvaluateRecord(readings, false, options).Invalid,
                  (std::vector<bool>{false, true, false}))
            << each;
    }
}

TEST(Evaluation, OptionsActiveOnlyWhenSomethingIsSet) {
    EXPECT_FALSE(EvaluationOptions{}.Active());
    struct Case {
        EvaluationOptions options;
    } cases[] = {{{{450.0, None}, false, false}},
                 {{{None, 500.0}, false, false}},
                 {{{}, true, false}},
                 {{{}, false, true}}};
    for (const auto& c : cases) {
        EXPECT_TRUE(c.options.Active());
    }
}

TEST(Evaluation, LimitChecks) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        ToleranceLimits limits;
        LimitsProblem problem;
    } cases[] = {
        {{}, LimitsProblem::None},
        {{450.0, 450.0}, LimitsProblem::None},
        {{450.0, None}, LimitsProblem::None},
        {{None, 450.0}, LimitsProblem::None},
        {{451.0, 450.0}, LimitsProblem::LowerAboveUpper},
        {{nan, None}, LimitsProblem::NotFinite},
        {{None, inf}, LimitsProblem::NotFinite},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckLimits(c.limits), c.problem);
    }
}

TEST(Evaluation, Texts) {
    EXPECT_EQ(VerdictText(Verdict::Pass), "合格");
    EXPECT_EQ(VerdictText(Verdict::Fail), "不合格");
    EXPECT_EQ(VerdictText(Verdict::NoValidReading), "无有效读数");
    EXPECT_EQ(VerdictText(Verdict::NotJudged), "");
    EXPECT_EQ(LimitText(45.5, ','), "45,5");
    EXPECT_EQ(LimitText(None, '.'), "-");
}

TEST(RecordSelection, ListsAndRanges) {
    using Problem = RecordSelectionResult::Problem;
    struct Case {
        const char* text;
        std::size_t count;
        Problem error;
        std::vector<std::size_t> records;
        const char* item;
    } cases[] = {
        {"1-5,9", 10, Problem::None, {1, 2, 3, 4, 5, 9}, ""},
        {" 9 , 3-4 ,3", 10, Problem::None, {3, 4, 9}, ""},  // sorted, each once
        {"2，4－5", 10, Problem::None, {2, 4, 5}, ""},      // full-width comma and dash
        {"3、1", 3, Problem::None, {1, 3}, ""},
        {"7-7", 7, Problem::None, {7}, ""},
        {"1,,2,", 2, Problem::None, {1, 2}, ""},
        {"", 5, Problem::Empty, {}, ""},
        {" , ", 5, Problem::Empty, {}, ""},
        {"1,x", 5, Problem::NotANumber, {}, "x"},
        {"1-", 5, Problem::NotANumber, {}, "1-"},
        {"-3", 5, Problem::NotANumber, {}, "-3"},
        {"1-2-3", 5, Problem::NotANumber, {}, "1-2-3"},
        {"2.5", 5, Problem::NotANumber, {}, "2.5"},
        {"0-2", 5, Problem::Zero, {}, "0-2"},
        {"5-1", 5, Problem::Descending, {}, "5-1"},
        {"4-6", 5, Problem::BeyondLast, {}, "4-6"},
        {"1", 0, Problem::BeyondLast, {}, "1"},
        {"99999999999999999999999", 5, Problem::NotANumber, {}, "99999999999999999999999"},
    };
    for (const auto& c : cases) {
        const RecordSelectionResult result = ParseRecordSelection(c.text, c.count);
        EXPECT_EQ(result.Error, c.error) << c.text;
        EXPECT_EQ(result.Records, c.records) << c.text;
        EXPECT_EQ(result.Item, c.item) << c.text;
        EXPECT_EQ(RecordSelectionMessage(result, c.count).empty(), c.error == Problem::None);
    }
}

}  // namespace
}  // namespace leeb
