#include "TrendPoints.h"

#include <algorithm>
#include <set>

#include "RecordEvaluation.h"
#include "RecordFile.h"

namespace leeb {

DecodedSettings TrendKind::Settings() const {
    // The packed word of a record of this kind, read back the way every view decodes it.
    const auto word = static_cast<uint16_t>((StrengthMode << 3) | (ImpactDevice << 4) |
                                            (Material << 8) | (ScaleCode << 12));
    return DecodeSettingsWord(word);
}

TrendKind TrendKindOf(uint16_t settingsWord) {
    const DecodedSettings settings = DecodeSettingsWord(settingsWord);
    return TrendKind{settings.StrengthMode, settings.Material, settings.ScaleCode,
                     settings.ImpactDevice};
}

TrendRecord TrendRecordFromLine(int64_t id, int number, std::string_view line,
                                char decimalSeparator) {
    RecordTextFields fields = ParseRecordLine(line, decimalSeparator);
    return TrendRecord{id, number, std::move(fields.DateText),
                       static_cast<uint16_t>(fields.SettingsWord), std::move(fields.Readings)};
}

std::vector<double> TrendSeries::Values() const {
    std::vector<double> values;
    values.reserve(Points.size());
    for (const TrendPoint& point : Points) {
        values.push_back(point.Value);
    }
    return values;
}

MixedTrendKinds::MixedTrendKinds(std::vector<TrendKind> kinds)
    : std::runtime_error("records of different scale, material or impact device"),
      kinds_(std::move(kinds)) {}

TrendSeries BuildTrendSeries(std::vector<TrendRecord> records, const QualitySettings& quality) {
    TrendSeries series;
    std::set<TrendKind> kinds;
    for (const TrendRecord& record : records) {
        kinds.insert(TrendKindOf(record.SettingsWord));
    }
    if (kinds.size() > 1) {
        throw MixedTrendKinds(std::vector<TrendKind>(kinds.begin(), kinds.end()));
    }
    if (!kinds.empty()) {
        series.Kind = *kinds.begin();
    }
    // "2YYY/MM/DD" sorts as text; records of one day keep the order they were archived in.
    std::stable_sort(records.begin(), records.end(),
                     [](const TrendRecord& a, const TrendRecord& b) {
                         return a.DateText != b.DateText ? a.DateText < b.DateText : a.Id < b.Id;
                     });
    series.Points.reserve(records.size());
    for (const TrendRecord& record : records) {
        const DecodedSettings settings = DecodeSettingsWord(record.SettingsWord);
        const RecordEvaluation evaluation =
            EvaluateRecord(record.Readings, OneDecimalScale(settings), quality.For(settings));
        if (evaluation.Used.Count() == 0) {
            series.WithoutValue.push_back(record.Id);
            continue;
        }
        series.Points.push_back({record.Id, record.Number, record.DateText,
                                 evaluation.Used.Sum() / evaluation.Used.Count()});
    }
    return series;
}

}  // namespace leeb
