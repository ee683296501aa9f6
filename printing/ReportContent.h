#pragma once
// What a report run prints beyond the plain report: the lab's details on page 1, the quality
// settings (limits, invalid readings) and the chosen records. A default ReportContent gives
// the plain report, page for page.

#include <cstddef>
#include <string>
#include <vector>

#include "QualitySettings.h"

namespace leeb {

struct ReportDetails {
    std::string Company;
    std::string ReportNumber;
    std::string Part;  // part or sample
    std::string Lot;   // lot or heat
    std::string Operator;
    std::string Instrument;  // model and serial number
    std::string Standard;
    std::string Remarks;
    bool Signatures = false;  // 检验 / 审核 lines at the end

    bool Any() const {
        return Signatures || !Company.empty() || !ReportNumber.empty() || !Part.empty() ||
               !Lot.empty() || !Operator.empty() || !Instrument.empty() || !Standard.empty() ||
               !Remarks.empty();
    }
    bool operator==(const ReportDetails&) const = default;
};

struct ReportContent {
    ReportDetails Details;
    QualitySettings Quality;
    std::vector<std::size_t> Records;  // line indices of RecordLines, ascending; empty: all

    // The extended report: the details block, spread, marks, limits and verdicts.
    bool Extended() const { return Details.Any() || Quality.Active(); }
};

}  // namespace leeb
