#pragma once
// The archive's words in the window, translated under "Archive".

#include <QString>

#include "ArchiveRecord.h"
#include "ArchiveWorker.h"

namespace leeb {

QString ArchiveFailureText(const ArchiveFailure& failure);
// "N 条新记录, M 条已在档案中"
QString ArchiveImportText(const ArchiveImportSummary& summary);
// After an upload: "已读入 N 条记录; 档案: A 条新记录, B 条已在档案中".
QString ArchiveUploadText(int read, const ArchiveImportSummary& summary);
// The warning after an upload some of whose records are in no archive, with the reason.
QString ArchiveNotArchivedText(int notArchived, const QString& reason);
// What the status bar says while records wait in the local file for the server.
QString ArchivePendingText(int64_t pending);
QString ArchiveVerdictText(ArchiveVerdict verdict);

}  // namespace leeb
