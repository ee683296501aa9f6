#pragma once
// What the detail panel shows of one record: produced by the upload (record 1) and by the
// tree selection, consumed by ShowRecordDetails.

#include <string>

#include "MeasurementRecord.h"
#include "NumberText.h"
#include "RecordFile.h"
#include "RecordStatistics.h"

namespace leeb {

struct RecordView {
    DecodedSettings Settings;
    int ImpactCount = 0;
    std::string DateText;
    RecordStatistics Statistics{false};
    bool OneDecimal = false;
};

// The view of a record read back from its line: the settings word decoded, the scale's
// number form, and the statistics over the line's readings (display units).
RecordView RecordViewFromFields(const RecordTextFields& fields);

// The text of one reading (display units): general format, 45.3 -> "45.3", 450 -> "450".
inline std::string ReadingText(double displayValue, char decimalSeparator) {
    return FormatGeneral(displayValue, decimalSeparator);
}

}  // namespace leeb
