#include "RecordFileScan.h"

#include <algorithm>

#include "CliSupport.h"
#include "QualitySettings.h"
#include "RecordFile.h"

namespace leeb::cli {

std::set<std::string> RecordFileScan::ScalesOf(const std::vector<std::size_t>& chosen) const {
    std::set<std::string> scales;
    if (chosen.empty()) {
        for (const std::uint16_t scale : ScaleOfRecord) {
            scales.insert(ScaleNames[scale]);
        }
    }
    for (const std::size_t r : chosen) {
        if (r >= 1 && r <= ScaleOfRecord.size()) {
            scales.insert(ScaleNames[ScaleOfRecord[r - 1]]);
        }
    }
    return scales;
}

RecordFileScan ScanRecordFile(const std::string& path, char decimalSeparator, bool withScales) {
    RecordFileScan scan;
    try {
        ReadRecordFileRecords(
            path, decimalSeparator,
            [&](std::size_t r, std::string_view, const RecordTextFields& fields) {
                scan.RecordCount = r;
                if (!withScales) {
                    return;
                }
                // Two bytes a record: a file of millions of records stays small here.
                const std::string key =
                    ScaleKey(DecodeSettingsWord(static_cast<uint16_t>(fields.SettingsWord)));
                auto found = std::find(scan.ScaleNames.begin(), scan.ScaleNames.end(), key);
                if (found == scan.ScaleNames.end()) {
                    scan.ScaleNames.push_back(key);
                    found = scan.ScaleNames.end() - 1;
                }
                scan.ScaleOfRecord.push_back(
                    static_cast<std::uint16_t>(found - scan.ScaleNames.begin()));
            });
    } catch (const RecordFileError& failure) {
        throw CliFailure(ReadFailureMessage(failure));
    }
    return scan;
}

}  // namespace leeb::cli
