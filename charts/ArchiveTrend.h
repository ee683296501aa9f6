#pragma once
// Archived records as the trend takes them, the trend of the records an archive's filters
// choose, and the filters worded for the trend page's "filters used" line, in the interface
// language.

#include <QStringList>
#include <vector>

#include "Archive.h"
#include "ArchiveRecord.h"
#include "ArchiveTrendRecords.h"
#include "TrendPoints.h"
#include "TrendStatistics.h"

namespace leeb {

struct ArchiveTrend {
    TrendSeries Series;
    TrendFigures Figures;
    ToleranceLimits Limits;  // those of `quality` for the series' scale
};

// The trend of the records `filter` chooses, in record date then archive order, with the
// exclusion setting and the limits of `quality`. Throws ArchiveError and MixedTrendKinds.
ArchiveTrend ArchiveTrendOf(Archive& archive, const ArchiveFilter& filter,
                            const QualitySettings& quality);

// One text per filter that is set, in the window's order: dates, material, scale, device,
// part, lot, operator, verdict. Empty when none is set.
QStringList ArchiveFilterTexts(const ArchiveFilter& filter);

}  // namespace leeb
