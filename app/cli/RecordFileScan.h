#pragma once
// A first pass over a record file for the commands that stream it: how many records it holds
// (to check a record choice) and, where --lower/--upper need it, the scale of each record.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace leeb::cli {

struct RecordFileScan {
    std::size_t RecordCount = 0;
    std::vector<std::uint16_t> ScaleOfRecord;  // index into ScaleNames; by record - 1
    std::vector<std::string> ScaleNames;       // ScaleKey texts

    // The scales of the chosen records (all when `chosen` is empty).
    std::set<std::string> ScalesOf(const std::vector<std::size_t>& chosen) const;
};

// Reads the whole file, every line checked; throws CliFailure with ReadFailureMessage.
RecordFileScan ScanRecordFile(const std::string& path, char decimalSeparator, bool withScales);

}  // namespace leeb::cli
