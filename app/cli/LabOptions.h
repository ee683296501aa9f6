#pragma once
// The lab's options of report, export and show: report details, tolerance limits, invalid
// readings and the chosen records.
//   --company X  --report-no X  --part X  --lot X  --operator X  --instrument X
//   --standard X  --remarks X  --signatures              (report only)
//   --limits HL:400-460,HRC:44-46   (per scale; either end may be left out: HRC:44-)
//   --lower N  --upper N             (for records that all share one scale)
//   --exclude-invalid  --each-reading  --records LIST
// A value follows as the next argument or after "=" ("--lower=450"). None given: the plain
// outputs, byte for byte.

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "QualitySettings.h"
#include "RecordFile.h"
#include "ReportContent.h"

namespace leeb::cli {

struct LabOptions {
    ReportDetails Details;
    bool AnyDetails = false;                             // a details option was given
    ToleranceLimits Limits;                              // --lower, --upper
    std::map<std::string, ToleranceLimits> ScaleLimits;  // --limits, by ScaleKey
    bool ExcludeInvalid = false;
    bool EachReading = false;
    std::optional<std::string> Records;  // its form checked; against the file later

    bool AnyQuality() const {
        return Limits.Any() || !ScaleLimits.empty() || ExcludeInvalid || EachReading ||
               Records.has_value();
    }
};

// Takes the lab option at arguments[i] (and its value, advancing i); false when the argument
// is no lab option. Throws UsageError for a repeated option, a missing or empty value, a limit
// that is not a number or is ambiguous ("1,000"), limits that cannot judge (lower above
// upper), a record list that is no list, a value that is not UTF-8 text, --limits with
// --lower or --upper, and the old --reject-outside.
bool ParseLabOption(const std::vector<std::string>& arguments, std::size_t& i, LabOptions& lab);

// The options applied to records of `scales` (ScaleKey of each record the output takes).
// Throws UsageError when --lower or --upper is given for records of more than one scale.
QualitySettings QualityOf(const LabOptions& lab, const std::set<std::string>& scales);

// The records chosen from a file of `recordCount` records; empty for all. Throws UsageError
// for a list that goes past the last record.
std::vector<std::size_t> ChosenRecords(const LabOptions& lab, std::size_t recordCount);

// The scales of the chosen records of `lines` (all when `chosen` is empty).
std::set<std::string> ScalesOf(const RecordLines& lines, const std::vector<std::size_t>& chosen,
                               char decimalSeparator);

ReportContent ReportContentOf(const LabOptions& lab, const RecordLines& lines,
                              char decimalSeparator);

}  // namespace leeb::cli
