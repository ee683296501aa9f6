#pragma once
// A record judged against the lab's tolerance limits, with failed impacts recognised and, if
// asked, left out of the statistics.
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
    // Readings outside the limits count as invalid, as failed impacts always do.
    bool OutsideLimitsInvalid = false;

    // False when nothing is set: every view then shows what it showed without these options.
    bool Active() const { return Limits.Any() || ExcludeInvalid || OutsideLimitsInvalid; }
};

enum class ReadingMark { Valid, FailedImpact, BelowLower, AboveUpper };

enum class Verdict {
    NotJudged,  // no limits set
    Pass,       // the mean lies within the limits
    Fail,
    NoMean,  // limits set, but no reading is left to give a mean
};

struct RecordEvaluation {
    std::vector<ReadingMark> Marks;  // one per reading
    std::vector<bool> Invalid;       // one per reading: a failed impact or rejected by the limits
    int InvalidCount = 0;
    // The statistics in use: over all readings, or over the valid ones with ExcludeInvalid.
    RecordStatistics Used{false};
    // Sample standard deviation (n - 1) of the readings in use, rounded to one decimal more
    // than the readings carry; absent with fewer than two readings.
    std::optional<double> StandardDeviation;
    std::optional<double> Range;  // largest minus smallest reading in use
    Verdict MeanVerdict = Verdict::NotJudged;

    std::string DeviationText(char decimalSeparator) const;  // "-" when absent
    std::string RangeText(char decimalSeparator) const;      // "-" when absent
};

// The tester's substitute for a failed impact: 888, or 88.8 on a one-decimal scale.
bool IsFailedImpact(double displayValue, bool oneDecimal);

// Readings in display units. Throws std::out_of_range as RecordStatistics::Add does.
RecordEvaluation EvaluateRecord(const std::vector<double>& readings, bool oneDecimal,
                                const EvaluationOptions& options);

// "合格", "不合格" (shown translated under "CodeTables"), "-" for NoMean, empty for NotJudged.
std::string VerdictText(Verdict verdict);

// A limit as the report and the CSV show it; "-" when absent.
std::string LimitText(const std::optional<double>& limit, char decimalSeparator);

}  // namespace leeb
