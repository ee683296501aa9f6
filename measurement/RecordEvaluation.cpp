#include "RecordEvaluation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "NumberText.h"
#include "TranslationMarks.h"

namespace leeb {

namespace {

const std::string NoValue = "-";

int UnitsPerValue(bool oneDecimal) {
    return oneDecimal ? 10 : 1;
}

ReadingMark MarkOf(double value, bool oneDecimal, const ToleranceLimits& limits) {
    if (IsFailedImpact(value, oneDecimal)) {
        return ReadingMark::FailedImpact;
    }
    if (limits.Lower && value < *limits.Lower) {
        return ReadingMark::BelowLower;
    }
    if (limits.Upper && value > *limits.Upper) {
        return ReadingMark::AboveUpper;
    }
    return ReadingMark::Valid;
}

// Spread in whole units (tenths on a one-decimal scale), so that equal readings give exactly
// 0 and the sums are exact integers.
void AddSpread(RecordEvaluation& evaluation, const std::vector<double>& used, bool oneDecimal) {
    if (used.empty()) {
        return;
    }
    const int scale = UnitsPerValue(oneDecimal);
    int64_t sum = 0;
    int64_t sumSquares = 0;
    int64_t low = 0;
    int64_t high = 0;
    for (std::size_t i = 0; i < used.size(); ++i) {
        const auto units = static_cast<int64_t>(RoundHalfEven(used[i] * scale));
        sum += units;
        sumSquares += units * units;
        low = i == 0 ? units : std::min(low, units);
        high = i == 0 ? units : std::max(high, units);
    }
    evaluation.Range = static_cast<double>(high - low) / scale;
    const auto n = static_cast<int64_t>(used.size());
    if (n >= 2) {
        const double variance =
            static_cast<double>(n * sumSquares - sum * sum) / static_cast<double>(n * (n - 1));
        const double shown = scale * 10;
        evaluation.StandardDeviation = RoundHalfEven(std::sqrt(variance) / scale * shown) / shown;
    }
}

bool Outside(double value, const ToleranceLimits& limits) {
    return (limits.Lower && value < *limits.Lower) || (limits.Upper && value > *limits.Upper);
}

// The one rule every view's verdict comes from. Judging each reading only ever adds to the
// plain rule: the mean must lie within either way, and judged each so must every reading the
// mean is taken over. A failed impact kept in the statistics moves the mean like any other
// reading, so it is judged like one; left out, it is judged in neither.
Verdict Judge(const RecordEvaluation& evaluation, const std::vector<double>& used,
              const EvaluationOptions& options) {
    if (!options.Limits.Any()) {
        return Verdict::NotJudged;
    }
    if (evaluation.InvalidCount == static_cast<int>(evaluation.Invalid.size())) {
        return Verdict::NoValidReading;  // a mean of failed impacts judges nothing
    }
    // The mean as every view shows it, so a printed 450 never fails a lower limit of 450.
    if (Outside(evaluation.Used.RoundedMean(), options.Limits)) {
        return Verdict::Fail;
    }
    const auto outside = [&](double value) { return Outside(value, options.Limits); };
    if (options.EachReading && std::any_of(used.begin(), used.end(), outside)) {
        return Verdict::Fail;
    }
    return Verdict::Pass;
}

}  // namespace

LimitsProblem CheckLimits(const ToleranceLimits& limits) {
    if ((limits.Lower && !std::isfinite(*limits.Lower)) ||
        (limits.Upper && !std::isfinite(*limits.Upper))) {
        return LimitsProblem::NotFinite;
    }
    if (limits.Lower && limits.Upper && *limits.Lower > *limits.Upper) {
        return LimitsProblem::LowerAboveUpper;
    }
    return LimitsProblem::None;
}

bool IsFailedImpact(double displayValue, bool oneDecimal) {
    // 88.8 read back from a line is the double nearest to it, not 888 tenths exactly.
    return std::fabs(displayValue * UnitsPerValue(oneDecimal) - 888.0) < 1e-6;
}

RecordEvaluation EvaluateRecord(const std::vector<double>& readings, bool oneDecimal,
                                const EvaluationOptions& options) {
    RecordEvaluation evaluation;
    evaluation.Used = RecordStatistics(oneDecimal);
    std::vector<double> used;
    for (const double value : readings) {
        const ReadingMark mark = MarkOf(value, oneDecimal, options.Limits);
        const bool invalid = mark == ReadingMark::FailedImpact;
        evaluation.Marks.push_back(mark);
        evaluation.Invalid.push_back(invalid);
        if (invalid) {
            ++evaluation.InvalidCount;
        }
        if (!invalid || !options.ExcludeInvalid) {
            evaluation.Used.Add(value);
            used.push_back(value);
        }
    }
    AddSpread(evaluation, used, oneDecimal);
    evaluation.RecordVerdict = Judge(evaluation, used, options);
    return evaluation;
}

std::string RecordEvaluation::DeviationText(char decimalSeparator) const {
    return StandardDeviation
               ? FormatFixed(*StandardDeviation, Used.OneDecimal() ? 2 : 1, decimalSeparator)
               : NoValue;
}

std::string RecordEvaluation::RangeText(char decimalSeparator) const {
    return Range ? FormatGeneral(*Range, decimalSeparator) : NoValue;
}

std::string VerdictText(Verdict verdict) {
    switch (verdict) {
        case Verdict::Pass:
            return QT_TRANSLATE_NOOP("CodeTables", "合格");
        case Verdict::Fail:
            return QT_TRANSLATE_NOOP("CodeTables", "不合格");
        case Verdict::NoValidReading:
            return QT_TRANSLATE_NOOP("CodeTables", "无有效读数");
        case Verdict::NotJudged:
            break;
    }
    return {};
}

std::string LimitText(const std::optional<double>& limit, char decimalSeparator) {
    return limit ? FormatGeneral(*limit, decimalSeparator) : NoValue;
}

}  // namespace leeb
