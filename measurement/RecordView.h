#pragma once
// What the detail panel shows of one record: produced by the upload (record 1) and by the
// tree selection, consumed by ShowRecordDetails.

#include <string>

#include "MeasurementRecord.h"
#include "RecordStatistics.h"

namespace leeb {

struct RecordView {
    DecodedSettings Settings;
    int ImpactCount = 0;
    std::string DateText;
    RecordStatistics Statistics{false};
    bool OneDecimal = false;
};

}  // namespace leeb
