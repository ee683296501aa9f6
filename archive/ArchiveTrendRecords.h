#pragma once
// Archived records as the trend takes them: of each, its id, the tester's number, the date, the
// settings word and the readings.

#include <vector>

#include "ArchiveRecord.h"
#include "TrendPoints.h"

namespace leeb {

TrendRecord TrendRecordOf(const ArchivedRecord& record);
std::vector<TrendRecord> TrendRecordsOf(const std::vector<ArchivedRecord>& records);

}  // namespace leeb
