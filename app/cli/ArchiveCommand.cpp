// leebdesk-cli archive: the archive's import, list, export, history, backup, check and sync.

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "Archive.h"
#include "ArchiveArguments.h"
#include "ArchiveLineFields.h"
#include "ArchiveMessages.h"
#include "ArchiveTrendCommand.h"
#include "CliSupport.h"
#include "Commands.h"
#include "UploadArchiving.h"

namespace leeb::cli {
namespace {

// For the commands that only read: none of them makes an archive where there is none.
std::unique_ptr<Archive> Open(const ArchiveArguments& arguments) {
    return OpenArchive(ResolveArchiveLocation(arguments.Archive), ArchiveAccess::Read);
}

std::string FileHash(const std::string& path) {
    QFile file(QString::fromStdString(path));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        throw CliFailure("无法读取 " + path + "。(Cannot read " + path + ".)");
    return hash.result().toHex().toStdString();
}

int Import(const ArchiveArguments& arguments) {
    // Every file is read whole and checked before anything is written.
    struct Loaded {
        ArchiveSource Source;
        std::vector<ArchiveInput> Records;
    };
    std::vector<Loaded> files;
    for (const std::string& path : arguments.Operands) {
        const RecordLines lines = LoadRecordFile(path, '.');
        Loaded& loaded = files.emplace_back();
        loaded.Source.Kind = ArchiveSourceKind::File;
        loaded.Source.FilePath =
            QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
        loaded.Source.FileHash = FileHash(path);
        for (std::size_t i = 1; i < lines.size(); ++i)
            loaded.Records.push_back({lines[i], 0});
    }
    const ArchiveLocation location = ResolveArchiveLocation(arguments.Archive);
    ArchiveImportSummary total;
    int pending = 0;
    std::string reason;
    // One transaction per file: a server lost at the second file keeps the first, and the
    // second and the rest wait in the local archive.
    for (const Loaded& loaded : files) {
        const ImportOutcome outcome =
            ImportOrKeepPending(location, LocalArchiveLocation(), loaded.Source, loaded.Records,
                                arguments.Details, arguments.Details.Operator);
        if (outcome.Pending) {
            pending += outcome.Summary.Added;
            reason = outcome.Reason;
        } else {
            total.Added += outcome.Summary.Added;
        }
        total.AlreadyArchived += outcome.Summary.AlreadyArchived;
        total.Amended += outcome.Summary.Amended;
    }
    std::fputs((ImportSummaryText(total) + "\n").c_str(), stdout);
    if (!reason.empty())
        std::fputs(("leebdesk-cli: " + PendingText(pending, reason) + "\n").c_str(), stderr);
    return ExitSuccess;
}

template <typename Handler>
void ForEachRecord(Archive& archive, const ArchiveFilter& filter, Handler handle) {
    // The pages of the other filters, each record judged once here: a verdict in Fetch would
    // judge every candidate again for each page.
    ArchiveFilter unjudged = filter;
    unjudged.Verdict.reset();
    // Large pages: each one skips the rows before it again.
    constexpr int Page = 10000;
    for (int64_t offset = 0;; offset += Page) {
        const auto page = archive.Fetch(unjudged, offset, Page);
        for (const ArchivedRecord& record : page)
            if (VerdictHolds(filter, record))
                handle(record);
        if (page.size() < Page)
            return;
    }
}

QJsonObject JsonRecord(const ArchivedRecord& record) {
    const ArchiveLineFields fields = DeriveLineFields(record.Line);
    QJsonObject object;
    object["id"] = qint64(record.Id);
    object["number"] = record.TesterNumber;
    object["date"] = QString::fromStdString(record.DateText);
    object["material"] = QString::fromStdString(fields.Material);
    object["scale"] = QString::fromStdString(fields.Scale);
    object["device"] = QString::fromStdString(fields.Device);
    object["direction"] = QString::fromStdString(fields.Direction);
    object["count"] = record.ImpactCount;
    // A damaged record: the count the tester stored, which its line could not keep.
    if (record.Damaged())
        object["damaged_stored_count"] = record.StoredImpactCount;
    QJsonArray readings;
    for (double reading : record.Readings)
        readings.append(reading);
    object["readings"] = readings;
    object["mean"] = fields.Mean;
    object["source"] = QString::fromStdString(SourceText(record.Source));
    object["archived_at"] = QString::fromStdString(record.ArchivedAt);
    if (!record.ReachedServerAt.empty())
        object["reached_server_at"] = QString::fromStdString(record.ReachedServerAt);
    const auto addDetail = [&](const char* key, const std::string& value) {
        if (!value.empty())
            object[key] = QString::fromStdString(value);
    };
    addDetail("part", record.Details.Part);
    addDetail("lot", record.Details.Lot);
    addDetail("operator", record.Details.Operator);
    addDetail("instrument", record.Details.Instrument);
    addDetail("standard", record.Details.Standard);
    addDetail("remarks", record.Details.Remarks);
    return object;
}

int List(const ArchiveArguments& arguments) {
    auto archive = Open(arguments);
    if (arguments.Json) {
        QJsonArray records;
        ForEachRecord(*archive, arguments.Filter,
                      [&](const ArchivedRecord& record) { records.append(JsonRecord(record)); });
        std::fputs(QJsonDocument(records).toJson(QJsonDocument::Indented).constData(), stdout);
        return ExitSuccess;
    }
    ForEachRecord(*archive, arguments.Filter, [&](const ArchivedRecord& record) {
        std::fputs((ListLine(record) + "\n").c_str(), stdout);
    });
    return ExitSuccess;
}

int Export(const ArchiveArguments& arguments) {
    const std::string output = OutputFilePath(*arguments.Output, ".txt");
    if (const ArchiveLocation location = ResolveArchiveLocation(arguments.Archive);
        !location.IsServer())
        RefuseArchiveAsOutput(location.Text, output);
    auto archive = Open(arguments);
    RecordLines lines{std::string(RecordFileHeader)};
    ForEachRecord(*archive, arguments.Filter,
                  [&](const ArchivedRecord& record) { lines.push_back(record.Line); });
    WriteRecordFile(output, lines);
    return ExitSuccess;
}

int History(const ArchiveArguments& arguments) {
    const QString text = QString::fromStdString(arguments.Operands[0]);
    bool ok = false;
    const qlonglong id = text.toLongLong(&ok);
    if (!ok)
        throw UsageError("记录编号要是数字。(The record id must be a number.)");
    auto archive = Open(arguments);
    for (const ArchiveDetailsVersion& version : archive->History(id))
        std::fputs((HistoryLine(version) + "\n").c_str(), stdout);
    return ExitSuccess;
}

int Amend(const ArchiveArguments& arguments) {
    auto archive = OpenArchive(ResolveArchiveLocation(arguments.Archive), ArchiveAccess::Write);
    const int amended = archive->Amend(arguments.Ids, arguments.Change, "", arguments.Reason);
    std::fputs((AmendSummaryText(static_cast<int>(arguments.Ids.size()), amended) + "\n").c_str(),
               stdout);
    return ExitSuccess;
}

int Check(const ArchiveArguments& arguments) {
    auto archive = Open(arguments);
    const auto problems = archive->Check();
    for (const std::string& problem : problems)
        std::fputs((problem + "\n").c_str(), stdout);
    if (!problems.empty())
        throw CliFailure("档案已损坏。(The archive is damaged.)");
    std::fputs("档案完好。(The archive is sound.)\n", stdout);
    return ExitSuccess;
}

int Sync(const ArchiveArguments& arguments) {
    const ArchiveLocation server = ResolveArchiveLocation(arguments.Archive);
    if (!server.IsServer())
        throw CliFailure(
            "sync 要服务器档案 (--archive postgresql://...)。"
            "(sync needs a server archive: --archive postgresql://..., "
            "LEEBDESK_ARCHIVE or the setting archive/location.)");
    const int sent = SendPending(LocalArchiveLocation(), server);
    std::fputs((SyncSummaryText(sent) + "\n").c_str(), stdout);
    return ExitSuccess;
}

}  // namespace

int RunArchive(const std::vector<std::string>& argumentsAfterArchive) {
    const ArchiveArguments arguments = ParseArchiveArguments(argumentsAfterArchive);
    try {
        // A location no server can be reached at is the command line's fault, said before
        // anything is written (not records kept for a server that would never take them).
        CheckArchiveLocation(ResolveArchiveLocation(arguments.Archive));
        if (arguments.Action == "import")
            return Import(arguments);
        if (arguments.Action == "list")
            return List(arguments);
        if (arguments.Action == "export")
            return Export(arguments);
        if (arguments.Action == "history")
            return History(arguments);
        if (arguments.Action == "amend")
            return Amend(arguments);
        if (arguments.Action == "backup") {
            Open(arguments)->Backup(OutputFilePath(*arguments.Output, ".sqlite"));
            return ExitSuccess;
        }
        if (arguments.Action == "check")
            return Check(arguments);
        if (arguments.Action == "trend")
            return RunArchiveTrend(arguments);
        return Sync(arguments);
    } catch (const ArchiveError& failure) {
        if (failure.Code == ArchiveErrorCode::BadLocation)
            throw UsageError(ArchiveErrorText(failure));
        throw CliFailure(ArchiveErrorText(failure));
    }
}

}  // namespace leeb::cli
