#pragma once
// The records a simulated tester holds, loaded from JSON or taken from a built-in sample set.
//
// JSON form:
//   {"records": [{"count": 3, "readings": [452, 453, 0], "settings": 12288, "date": 2600,
//                 "number": 1}, ...],
//    "single": 517}
//   count     ImpactCount as the tester reports it, 0..65535 (may differ from the readings)
//   readings  up to 32 raw readings, 0..65535; missing ones are 0
//   settings  SettingsWord, date DateWord, 0..65535
//   number    record number, 1..N for N records, each once; by default 1, 2, 3, ... in list
//             order
//   single    optional: the count request is answered as a single-record reply naming this
//             record, which must be one of the records and at most 4095

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "MeasurementRecord.h"

namespace leeb {

struct SimulatedRecord {
    int Number = 1;
    MeasurementRecord Record;  // raw, as the tester stores it
};

struct SimulatorRecordSet {
    std::vector<SimulatedRecord> Records;
    std::optional<int> Single;
    // "unplug_after": the tester is pulled out instead of answering command n + 1, to show
    // and test an upload cut off part-way.
    std::optional<int> UnplugAfterCommands;
};

// A record file for the simulator that cannot be read or does not have the form above; the
// message names the file (when there is one) and what is wrong.
class SimulatorRecordsError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

SimulatorRecordSet ParseSimulatorRecords(const std::string& json);
SimulatorRecordSet LoadSimulatorRecords(const std::string& path);

// Hardness and strength mode, whole-number and one-decimal scales, all five directions,
// several materials and impact devices; 14 records.
SimulatorRecordSet SampleSimulatorRecords();

}  // namespace leeb
