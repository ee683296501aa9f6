#pragma once
// The archive's words on the command line: Chinese with the English in brackets, as every
// leebdesk-cli message.

#include <string>

#include "Archive.h"

namespace leeb::cli {

// "N 条新记录, M 条已在档案中 (N new records, M already in the archive)"
std::string ImportSummaryText(const ArchiveImportSummary& summary);
// "Details amended on N records; M already had them."
std::string AmendSummaryText(int asked, int amended);
// "档案: N 条新记录, M 条已在档案中。(Archive: N new records, M already in the archive.)",
// after an upload.
std::string UploadSummaryText(const ArchiveImportSummary& summary);
std::string SyncSummaryText(int sent);
// Records of an import kept in the local archive for a server that did not take them.
std::string PendingText(int pending, const std::string& reason);
std::string ArchiveErrorText(const ArchiveError& error);
// "file /path (sha256 ...)" or "upload 2025-03-14T08:00:00Z tester"
std::string SourceText(const ArchiveSource& source);
// id, number, date, material, scale, count, mean, part, lot, operator, tab-separated; in this
// and in a history line every text has its control characters spelled as \xNN (TerminalSafe).
std::string ListLine(const ArchivedRecord& record);
std::string HistoryLine(const ArchiveDetailsVersion& version);

}  // namespace leeb::cli
