#pragma once
// The lab's options of report, export and show: report details, tolerance limits, invalid
// readings and the chosen records.
//   --company X  --report-no X  --part X  --lot X  --operator X  --instrument X
//   --standard X  --remarks X  --signatures              (report only)
//   --lower N  --upper N  --exclude-invalid  --reject-outside  --records LIST
// A value follows as the next argument or after "=" ("--lower=450"). None given: the plain
// outputs, byte for byte.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "RecordCsv.h"
#include "ReportContent.h"

namespace leeb::cli {

struct LabOptions {
    ReportDetails Details;
    bool AnyDetails = false;  // a details option was given
    ToleranceLimits Limits;
    bool ExcludeInvalid = false;
    bool RejectOutside = false;
    std::optional<std::string> Records;  // as written, checked against the file later

    bool AnyQuality() const {
        return Limits.Any() || ExcludeInvalid || RejectOutside || Records.has_value();
    }
};

// Takes the lab option at arguments[i] (and its value, advancing i); false when the argument
// is no lab option. Throws UsageError for a repeated option, a missing or empty value, a limit
// that is not a number, or limits that cannot judge (lower above upper).
bool ParseLabOption(const std::vector<std::string>& arguments, std::size_t& i, LabOptions& lab);

// The options applied to a record file of `lines`; throws CliFailure for a record list that
// does not fit the file.
QualitySettings QualityOf(const LabOptions& lab);
std::vector<std::size_t> ChosenRecords(const LabOptions& lab, const RecordLines& lines);
ReportContent ReportContentOf(const LabOptions& lab, const RecordLines& lines);
RecordCsvOptions CsvOptionsOf(const LabOptions& lab, const RecordLines& lines);

}  // namespace leeb::cli
