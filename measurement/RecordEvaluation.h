#pragma once
// A record judged against the lab's tolerance limits, with failed impacts recognised and, if
// asked, left out of the statistics. Limits judge readings; they never make one invalid.
//
// The tester writes 888 (88.8 on a one-decimal scale) where an impact failed. Without any
// option set nothing here changes what the window, the report or the CSV show: the statistics
// in use are those of all readings, exactly as RecordStatistics gives them.

#include <optional>
#include <string>
#include <vector>

#include "RecordStatistics.h"

namespace leeb {

// Lower and upper limit in display units; either may be absent. Both inclusive.
struct ToleranceLimits {
    std::optional<double> Lower;
    std::optional<double> Upper;

    bool Any() const { return Lower.has_value() || Upper.has_value(); }
    bool operator==(const ToleranceLimits&) const = default;
};

enum class LimitsProblem { None, NotFinite, LowerAboveUpper };

// Limits that cannot judge anything: a limit that is not a finite number, or lower > upper.
// Equal limits are allowed (only that exact value passes).
LimitsProblem CheckLimits(const ToleranceLimits& limits);

struct EvaluationOptions {
    ToleranceLimits Limits;
    // Invalid readings leave Max, Min, the mean, the spread and the count used.
    bool ExcludeInvalid = false;
    // The mean judged and also each reading it is taken over: the record fails when the mean
    // or any of those readings lies outside the limits. Without it the mean alone is judged.
    bool EachReading = false;

    // False when nothing is set: every view then shows what it showed without these options.
    bool Active() const { return Limits.Any() || ExcludeInvalid || EachReading; }
};

enum class ReadingMark { Valid, FailedImpact, BelowLower, AboveUpper };

enum class Verdict {
    NotJudged,  // no limits set
    Pass,       // the mean (and, judged each, every reading in use) lies within the limits
    Fail,
    // Limits set, but every reading is a failed impact (or there is none): nothing to judge,
    // and never a pass.
    NoValidReading,
};

struct RecordEvaluation {
    std::vector<ReadingMark> Marks;  // one per reading
    std::vector<bool> Invalid;       // one per reading: a failed impact
    int InvalidCount = 0;
    // The statistics in use: over all readings, or over the valid ones with ExcludeInvalid.
    RecordStatistics Used{false};
    // Sample standard deviation (n - 1) of the readings in use, rounded to one decimal more
    // than the readings carry; absent with fewer than two readings.
    std::optional<double> StandardDeviation;
    std::optional<double> Range;  // largest minus smallest reading in use
    Verdict RecordVerdict = Verdict::NotJudged;

    // With the one decimal more than the readings always written ("0.10", "7.0"); "-" when
    // absent.
    std::string DeviationText(char decimalSeparator) const;
    std::string RangeText(char decimalSeparator) const;  // "-" when absent
};

// The tester's substitute for a failed impact: 888, or 88.8 on a one-decimal scale.
bool IsFailedImpact(double displayValue, bool oneDecimal);

// Readings in display units. Throws std::out_of_range as RecordStatistics::Add does.
RecordEvaluation EvaluateRecord(const std::vector<double>& readings, bool oneDecimal,
                                const EvaluationOptions& options);

// "合格", "不合格", "无有效读数" (shown translated under "CodeTables"), empty for NotJudged.
std::string VerdictText(Verdict verdict);

// A limit as the report and the CSV show it; "-" when absent.
std::string LimitText(const std::optional<double>& limit, char decimalSeparator);

}  // namespace leeb
