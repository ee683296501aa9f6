#pragma once
// The archive's words in the window, translated under "Archive".

#include <QString>

#include "ArchiveRecord.h"
#include "ArchiveWorker.h"

namespace leeb {

QString ArchiveFailureText(const ArchiveFailure& failure);
// "N 条新记录, M 条已在档案中"
QString ArchiveImportText(const ArchiveImportSummary& summary);
// What the status bar says while records wait in the local file for the server.
QString ArchivePendingText(int64_t pending);
QString ArchiveVerdictText(ArchiveVerdict verdict);

}  // namespace leeb
