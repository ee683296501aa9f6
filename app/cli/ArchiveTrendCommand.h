#pragma once
// leebdesk-cli archive trend (ArchiveArguments.h): the trend of archived records.

#include "ArchiveArguments.h"

namespace leeb::cli {

// Throws UsageError for records of different kinds and for a page of fewer than two points;
// CliFailure for an output that cannot be written; ArchiveError from the archive.
int RunArchiveTrend(const ArchiveArguments& arguments);

}  // namespace leeb::cli
