#pragma once
// Archived records turned into the points of a trend: one point per record, the mean of its
// readings as the detail panel takes them (the lab's exclusion of invalid readings applies),
// unrounded, in the order of the record's date and then of its archiving. Only records of one
// kind (scale, material and impact device) make a trend.

#include <compare>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "QualitySettings.h"

namespace leeb {

struct TrendRecord {
    int64_t Id = 0;        // the archive's id; ascending in the order of archiving
    int Number = 0;        // the tester's record number
    std::string DateText;  // "2YYY/MM/DD" as the record line carries it
    uint16_t SettingsWord = 0;
    std::vector<double> Readings;  // display units
};

// What must be alike for two records to share a trend; the impact direction need not be,
// since the tester corrects the reading for it.
struct TrendKind {
    int16_t StrengthMode = 0;
    int16_t Material = 0;
    int16_t ScaleCode = 0;
    int16_t ImpactDevice = 0;

    auto operator<=>(const TrendKind&) const = default;
    DecodedSettings Settings() const;
};

TrendKind TrendKindOf(uint16_t settingsWord);

// A record as its line carries it (the form in which archived and chosen records travel).
// Throws ConversionError for a line that does not convert.
TrendRecord TrendRecordFromLine(int64_t id, int number, std::string_view line,
                                char decimalSeparator);

struct TrendPoint {
    int64_t Id = 0;
    int Number = 0;
    std::string DateText;
    double Value = 0.0;
};

struct TrendSeries {
    TrendKind Kind;
    std::vector<TrendPoint> Points;
    // Records left without a reading to average (all invalid and excluded): no point.
    std::vector<int64_t> WithoutValue;

    std::vector<double> Values() const;
};

// Thrown for records of more than one kind; Kinds lists each kind held once, ascending. The
// layer that shows it names the kinds in the interface language.
class MixedTrendKinds : public std::runtime_error {
  public:
    explicit MixedTrendKinds(std::vector<TrendKind> kinds);
    const std::vector<TrendKind>& Kinds() const { return kinds_; }

  private:
    std::vector<TrendKind> kinds_;
};

// Throws MixedTrendKinds. No records give an empty series of the default kind.
TrendSeries BuildTrendSeries(std::vector<TrendRecord> records, const QualitySettings& quality);

}  // namespace leeb
