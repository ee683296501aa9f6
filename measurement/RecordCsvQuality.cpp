#include "RecordCsvQuality.h"

#include "RecordCsv.h"

namespace leeb {

namespace {

bool AnyLimits(const QualitySettings& quality) {
    if (quality.ForAll) {
        return quality.ForAll->Any();
    }
    for (const auto& [key, limits] : quality.PerScale) {
        if (limits.Any()) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> QualityCsvHeader(const QualitySettings& quality,
                                          const RecordCsvTexts& texts) {
    std::vector<std::string> header;
    if (!quality.Active()) {
        return header;
    }
    header.push_back(texts.InvalidCount);
    if (quality.ExcludeInvalid) {
        for (const std::string* name : {&texts.UsedCount, &texts.UsedMaximum, &texts.UsedMinimum,
                                        &texts.UsedMean, &texts.UsedDeviation, &texts.UsedRange}) {
            header.push_back(*name);
        }
    }
    if (AnyLimits(quality)) {
        for (const std::string* name : {&texts.Lower, &texts.Upper, &texts.Verdict}) {
            header.push_back(*name);
        }
    }
    return header;
}

std::vector<std::string> QualityCsvFields(const RecordTextFields& fields,
                                          const QualitySettings& quality, char decimalSeparator,
                                          const RecordCsvTexts& texts) {
    std::vector<std::string> row;
    if (!quality.Active()) {
        return row;
    }
    const DecodedSettings settings = DecodeSettingsWord(static_cast<uint16_t>(fields.SettingsWord));
    const EvaluationOptions options = quality.For(settings);
    const RecordEvaluation evaluation =
        EvaluateRecord(fields.Readings, OneDecimalScale(settings), options);
    row.push_back(std::to_string(evaluation.InvalidCount));
    if (quality.ExcludeInvalid) {
        const RecordStatistics& used = evaluation.Used;
        row.push_back(std::to_string(used.Count()));
        const bool any = used.Count() > 0;
        const bool oneDecimal = used.OneDecimal();
        row.push_back(CsvValueText(any ? std::optional(used.Max()) : std::nullopt, oneDecimal,
                                   decimalSeparator));
        row.push_back(CsvValueText(any ? std::optional(used.Min()) : std::nullopt, oneDecimal,
                                   decimalSeparator));
        row.push_back(CsvValueText(any ? std::optional(used.RoundedMean()) : std::nullopt,
                                   oneDecimal, decimalSeparator));
        row.push_back(evaluation.DeviationText(decimalSeparator));
        row.push_back(evaluation.RangeText(decimalSeparator));
    }
    if (AnyLimits(quality)) {
        // A record of a scale without limits gets empty limit and verdict cells.
        row.push_back(options.Limits.Lower ? LimitText(options.Limits.Lower, decimalSeparator)
                                           : std::string());
        row.push_back(options.Limits.Upper ? LimitText(options.Limits.Upper, decimalSeparator)
                                           : std::string());
        row.push_back(texts.NameOf(VerdictText(evaluation.RecordVerdict)));
    }
    return row;
}

}  // namespace leeb
