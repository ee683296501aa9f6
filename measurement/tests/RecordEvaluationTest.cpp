// Judging a record against tolerance limits, with failed impacts marked and optionally left
// out of the statistics; the selection of records by a written list.
#include <gtest/gtest.h>

#include <limits>
#include <ostream>
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
        // A failed impact kept in the statistics lifts the mean to 603, above the limit: judged
        // each, the record fails as it does on the mean.
        EvaluationCase{"EachReadingKeepsTheMeansFailure", false, {450, 888, 470}, 400, 600, false,
                       true, {V, F, V}, 1, 3, "888", "450", "603", "247.3", "438", Verdict::Fail},
        EvaluationCase{"EachReadingAllOutside", true, {61.2, 61.8}, 45.0, 45.4, false, true,
                       {A, A}, 0, 2, "61.8", "61.2", "61.5", "0.42", "0.6", Verdict::Fail},
        EvaluationCase{"EachReadingNoValidReading", false, {888, 888}, 400, 500, true, true,
                       {F, F}, 2, 0, "-", "-", "-", "-", "-", Verdict::NoValidReading},
        // Without limits there is nothing to judge.
        EvaluationCase{"EachReadingNoLimits", false, {380, 888}, None, None, true, true,
                       {V, F}, 1, 1, "380", "380", "380", "-", "0", Verdict::NotJudged}),
    [](const testing::TestParamInfo<EvaluationCase>& info) { return info.param.name; });
// clang-format on

// The verdict on the mean alone and judged each, for the same record and options. Judging each
// is the stricter rule: it may fail what the mean passes, never pass what the mean fails.
struct VerdictCase {
    const char* name;
    bool oneDecimal;
    std::vector<double> readings;
    std::optional<double> lower, upper;
    bool exclude;
    Verdict onTheMean, judgedEach;
};

void PrintTo(const VerdictCase& c, std::ostream* os) {
    *os << c.name;
}

class Verdicts : public testing::TestWithParam<VerdictCase> {};

TEST_P(Verdicts, JudgedEachAddsToTheMeansVerdict) {
    const VerdictCase& c = GetParam();
    EvaluationOptions options;
    options.Limits = {c.lower, c.upper};
    options.ExcludeInvalid = c.exclude;
    EXPECT_EQ(EvaluateRecord(c.readings, c.oneDecimal, options).RecordVerdict, c.onTheMean);
    options.EachReading = true;
    EXPECT_EQ(EvaluateRecord(c.readings, c.oneDecimal, options).RecordVerdict, c.judgedEach);
}

const Verdict Pass = Verdict::Pass, Fail = Verdict::Fail, NotJudged = Verdict::NotJudged,
              NoValid = Verdict::NoValidReading;

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Records, Verdicts,
    testing::Values(
        // HRC in tenths, limits 44-46 (inclusive).
        VerdictCase{"AllInside", true, {44.0, 45.0, 46.0}, 44.0, 46.0, false, Pass, Pass},
        VerdictCase{"AllOutside", true, {47.0, 47.5}, 44.0, 46.0, false, Fail, Fail},
        VerdictCase{"OneOutsideMeanInside", true, {45.0, 43.8, 46.0}, 44.0, 46.0, false,
                    Pass, Fail},
        // 88.8 kept: the mean 56.1 fails, and judged each the record fails too.
        VerdictCase{"FailedImpactKept", true, {45.0, 45.2, 88.8, 45.4}, 44.0, 46.0, false,
                    Fail, Fail},
        // Left out, it is in neither the mean (45.2) nor the readings judged.
        VerdictCase{"FailedImpactExcluded", true, {45.0, 45.2, 88.8, 45.4}, 44.0, 46.0, true,
                    Pass, Pass},
        VerdictCase{"FailedImpactExcludedOneOutside", true, {45.0, 88.8, 46.4}, 44.0, 46.0, true,
                    Pass, Fail},
        // Kept, the failed impact is a reading like the others: the mean 563 lies within,
        // 888 does not.
        VerdictCase{"FailedImpactKeptMeanInside", false, {400, 400, 888}, 400, 600, false,
                    Pass, Fail},
        VerdictCase{"FailedImpactExcludedMeanInside", false, {400, 400, 888}, 400, 600, true,
                    Pass, Pass},
        VerdictCase{"LowerOnly", true, {45.0, 43.9, 46.5}, 44.0, None, false, Pass, Fail},
        VerdictCase{"LowerOnlyAllAbove", true, {44.0, 50.0}, 44.0, None, false, Pass, Pass},
        VerdictCase{"LowerOnlyFailedImpactKept", true, {45.0, 88.8}, 44.0, None, false,
                    Pass, Pass},
        VerdictCase{"LowerOnlyMeanBelow", false, {380, 390}, 400, None, true, Fail, Fail},
        VerdictCase{"UpperOnly", true, {45.0, 46.2, 44.0}, None, 46.0, false, Pass, Fail},
        VerdictCase{"UpperOnlyFailedImpactKept", true, {45.0, 88.8}, None, 46.0, false,
                    Fail, Fail},
        VerdictCase{"UpperOnlyFailedImpactExcluded", true, {45.0, 88.8}, None, 46.0, true,
                    Pass, Pass},
        // The shown mean 450 meets equal limits; its readings do not.
        VerdictCase{"RoundedMeanOnEqualLimits", false, {449, 451}, 450, 450, false, Pass, Fail},
        VerdictCase{"NoLimits", true, {45.0, 88.8}, None, None, false, NotJudged, NotJudged},
        VerdictCase{"NoLimitsExcluding", true, {45.0, 88.8}, None, None, true,
                    NotJudged, NotJudged},
        VerdictCase{"OnlyFailedImpactsKept", true, {88.8, 88.8}, 44.0, 90.0, false,
                    NoValid, NoValid},
        VerdictCase{"OnlyFailedImpactsExcluded", true, {88.8}, 44.0, 46.0, true,
                    NoValid, NoValid},
        VerdictCase{"NoReadings", false, {}, 400, 600, false, NoValid, NoValid}),
    [](const testing::TestParamInfo<VerdictCase>& info) { return info.param.name; });
// clang-format on

// Every record of up to three readings drawn from values on, inside and either side of the
// limits and the failed impact, under every kind of limits and both handlings of failed
// impacts: judged each, none passes that fails on the mean.
TEST(Verdicts, JudgedEachNeverPassesWhatTheMeanFails) {
    const std::vector<double> values = {43.9, 44.0, 45.0, 46.0, 46.1, 88.8};
    const ToleranceLimits limitSets[] = {{44.0, 46.0}, {44.0, None}, {None, 46.0}, {45.0, 45.0}};
    std::vector<std::vector<double>> records = {{}};
    for (int length = 1; length <= 3; ++length) {
        std::vector<std::vector<double>> longer;
        for (const auto& record : records) {
            if (static_cast<int>(record.size()) != length - 1)
                continue;
            for (const double value : values) {
                longer.push_back(record);
                longer.back().push_back(value);
            }
        }
        records.insert(records.end(), longer.begin(), longer.end());
    }
    for (const auto& limits : limitSets) {
        for (const bool exclude : {false, true}) {
            for (const auto& record : records) {
                EvaluationOptions options;
                options.Limits = limits;
                options.ExcludeInvalid = exclude;
                const Verdict onTheMean = EvaluateRecord(record, true, options).RecordVerdict;
                options.EachReading = true;
                const Verdict judgedEach = EvaluateRecord(record, true, options).RecordVerdict;
                if (judgedEach == Verdict::Pass) {
                    EXPECT_EQ(onTheMean, Verdict::Pass)
                        << testing::PrintToString(record) << " exclude " << exclude;
                }
                // Nothing else differs: no limits, no verdict; nothing valid, nothing judged.
                if (onTheMean != Verdict::Pass && onTheMean != Verdict::Fail) {
                    EXPECT_EQ(judgedEach, onTheMean) << testing::PrintToString(record);
                }
            }
        }
    }
}

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
