#pragma once
// The lab's quality settings for a set of records: tolerance limits, either one pair for every
// record (the command line) or one pair per scale (the window remembers them per scale, so a
// HRC limit never judges a HL record), and the handling of invalid readings.

#include <map>
#include <optional>
#include <string>

#include "MeasurementRecord.h"
#include "RecordEvaluation.h"

namespace leeb {

// The key a scale's limits are kept under: "HL", "HV", "HB", "HRC", "HS", "HRB", "HRA", or
// "strength" for every strength-mode record; "scale<n>" for an index outside the table.
std::string ScaleKey(const DecodedSettings& settings);

struct QualitySettings {
    std::optional<ToleranceLimits> ForAll;            // wins over PerScale when set
    std::map<std::string, ToleranceLimits> PerScale;  // by ScaleKey
    bool ExcludeInvalid = false;
    bool EachReading = false;  // each reading in use judged as well as the mean

    // The options one record is evaluated with.
    EvaluationOptions For(const DecodedSettings& settings) const;
    // False when nothing is set: every output is then the plain one.
    bool Active() const;
};

}  // namespace leeb
