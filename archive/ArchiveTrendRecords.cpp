#include "ArchiveTrendRecords.h"

#include "Archive.h"

namespace leeb {

TrendRecord TrendRecordOf(const ArchivedRecord& record) {
    return TrendRecord{record.Id, record.TesterNumber, record.DateText,
                       static_cast<uint16_t>(record.SettingsWord), record.Readings};
}

std::vector<TrendRecord> TrendRecordsOf(const std::vector<ArchivedRecord>& records) {
    std::vector<TrendRecord> trend;
    trend.reserve(records.size());
    for (const ArchivedRecord& record : records)
        trend.push_back(TrendRecordOf(record));
    return trend;
}

std::vector<TrendRecord> Archive::TrendRecordsByDate(const ArchiveFilter& filter) {
    return TrendRecordsOf(RecordsById(IdsByDate(filter)));
}

}  // namespace leeb
