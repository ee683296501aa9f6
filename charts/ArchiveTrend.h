#pragma once
// Archived records as the trend takes them, and the archive's filters worded for the trend
// page's "filters used" line, in the interface language.

#include <QStringList>
#include <vector>

#include "ArchiveRecord.h"
#include "TrendPoints.h"

namespace leeb {

TrendRecord TrendRecordOf(const ArchivedRecord& record);
std::vector<TrendRecord> TrendRecordsOf(const std::vector<ArchivedRecord>& records);

// One text per filter that is set, in the window's order: dates, material, scale, device,
// part, lot, operator, verdict. Empty when none is set.
QStringList ArchiveFilterTexts(const ArchiveFilter& filter);

}  // namespace leeb
