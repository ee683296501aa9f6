#include "ArchiveMessages.h"

#include <cstdio>

#include "ArchiveLineFields.h"
#include "TerminalText.h"

namespace leeb::cli {
namespace {

// The mean on a terminal: two decimals are enough to read; --json gives it unrounded.
std::string MeanText(double mean) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", mean);
    return text;
}

}  // namespace

std::string ImportSummaryText(const ArchiveImportSummary& summary) {
    const std::string added = std::to_string(summary.Added);
    const std::string already = std::to_string(summary.AlreadyArchived);
    if (summary.Amended > 0) {
        const std::string amended = std::to_string(summary.Amended);
        return added + " 条新记录, " + already + " 条已在档案中, 其中 " + amended +
               " 条更新了信息 (" + added + " new records, " + already +
               " already in the archive, " + amended + " of them with updated details)";
    }
    return added + " 条新记录, " + already + " 条已在档案中 (" + added + " new records, " +
           already + " already in the archive)";
}

std::string AmendSummaryText(int asked, int amended) {
    const std::string count = std::to_string(amended);
    const std::string same = std::to_string(asked - amended);
    return "已修改 " + count + " 条记录的信息, " + same + " 条原已如此 (Details amended on " +
           count + " records; " + same + " already had them)";
}

std::string UploadSummaryText(const ArchiveImportSummary& summary) {
    const std::string added = std::to_string(summary.Added);
    const std::string already = std::to_string(summary.AlreadyArchived);
    return "档案: " + added + " 条新记录, " + already + " 条已在档案中。(Archive: " + added +
           " new records, " + already + " already in the archive.)";
}

std::string SyncSummaryText(int sent) {
    return "已发送 " + std::to_string(sent) + " 条待发记录 (" + std::to_string(sent) +
           " pending records sent)";
}

std::string PendingText(int pending, const std::string& reason) {
    const std::string count = std::to_string(pending);
    return "档案服务器无法连接（" + reason + "），" + count +
           " 条记录存在本机，等待发送 (archive sync)。(The archive server cannot be reached (" +
           reason + "): " + count + " records wait in the local archive for `archive sync`.)";
}

std::string ArchiveErrorText(const ArchiveError& error) {
    const std::string detail = error.what();
    switch (error.Code) {
        case ArchiveErrorCode::CannotOpen:
            return "无法打开档案：" + detail + "。(Cannot open the archive: " + detail + ".)";
        case ArchiveErrorCode::NotAnArchive:
            return "不是 leebdesk 档案或文件已损坏，未改动：" + detail +
                   "。(Not a leebdesk archive, or a damaged one; left untouched: " + detail + ".)";
        case ArchiveErrorCode::NewerSchema:
            return "档案由较新版本的 leebdesk 写成，未改动。(The archive was written by a newer "
                   "leebdesk; left untouched.)";
        case ArchiveErrorCode::WriteFailed:
            return "写入档案失败，档案未改动：" + detail +
                   "。(Cannot write to the archive; nothing "
                   "was changed: " +
                   detail + ".)";
        case ArchiveErrorCode::ConnectionLost:
            return "与档案服务器的连接中断，未写入任何记录：" + detail +
                   "。(The connection to the "
                   "archive server was lost; nothing was written: " +
                   detail + ".)";
        case ArchiveErrorCode::NoSuchRecord:
            return "档案中没有记录 " + detail + "。(No record " + detail + " in the archive.)";
        case ArchiveErrorCode::Unsupported:
            return "服务器档案用 pg_dump 备份。(Back up a server archive with pg_dump.)";
        case ArchiveErrorCode::OutputIsArchive:
            return "输出文件是档案本身或正在使用的档案，写入会毁掉它：" + detail +
                   "。(The output is the archive itself, or an archive in use; writing it would "
                   "destroy it: " +
                   detail + ".)";
        case ArchiveErrorCode::BadLocation:
            return "档案位置无法使用：" + detail +
                   "。(The archive location cannot be used: " + detail + ".)";
        case ArchiveErrorCode::NoArchive:
            return "没有这个档案，未新建：" + detail + "。(There is no archive at " + detail +
                   "; none was made. Check the path.)";
        case ArchiveErrorCode::ReadOnly:
            return "没有写入档案的权限，未改动：" + detail + "。(You may not write the archive " +
                   detail + "; nothing was changed.)";
    }
    return detail;
}

std::string SourceText(const ArchiveSource& source) {
    if (source.Kind == ArchiveSourceKind::File)
        return "file " + source.FilePath + " (sha256 " + source.FileHash + ")";
    return "upload " + source.UploadTime + " " + source.Tester;
}

// Every text of a row goes out escaped: a tab or newline in a lab's details would otherwise
// make rows of its own, and an escape sequence would reach the terminal.
std::string ListLine(const ArchivedRecord& record) {
    const ArchiveLineFields fields = DeriveLineFields(record.Line);
    return std::to_string(record.Id) + '\t' + std::to_string(record.TesterNumber) + '\t' +
           TerminalSafe(record.DateText) + '\t' + TerminalSafe(fields.Material) + '\t' +
           TerminalSafe(fields.Scale) + '\t' + std::to_string(record.ImpactCount) +
           (record.Damaged() ? " (damaged: " + std::to_string(record.StoredImpactCount) + ")"
                             : std::string()) +
           '\t' + MeanText(fields.Mean) + '\t' + TerminalSafe(record.Details.Part) + '\t' +
           TerminalSafe(record.Details.Lot) + '\t' + TerminalSafe(record.Details.Operator);
}

std::string HistoryLine(const ArchiveDetailsVersion& version) {
    const ArchiveLabDetails& d = version.Details;
    return std::to_string(version.Version) + '\t' + TerminalSafe(version.ChangedAt) + '\t' +
           TerminalSafe(version.Author) + "\tpart=" + TerminalSafe(d.Part) +
           "\tlot=" + TerminalSafe(d.Lot) + "\toperator=" + TerminalSafe(d.Operator) +
           "\tinstrument=" + TerminalSafe(d.Instrument) + "\tstandard=" + TerminalSafe(d.Standard) +
           "\tremarks=" + TerminalSafe(d.Remarks) +
           (version.Reason.empty() ? std::string() : "\treason=" + TerminalSafe(version.Reason));
}

}  // namespace leeb::cli
