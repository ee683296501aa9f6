#include "UploadArchive.h"

#include <QSettings>
#include <cstdio>

#include "ArchiveMessages.h"
#include "SqlArchive.h"

namespace leeb::cli {
namespace {

void Say(const std::string& text, FILE* stream) {
    std::fputs(text.c_str(), stream);
}

}  // namespace

UploadArchive::UploadArchive(const CommandArguments& arguments, const std::string& tester) {
    if (arguments.NoArchive || !QSettings().value(ArchiveEnabledKey, true).toBool())
        return;
    on_ = true;
    const ArchiveLocation location = ResolveArchiveLocation(arguments.Archive);
    try {
        // Before the tester is read: a location no server can be reached at is a usage error,
        // not records kept for a server that would never take them.
        CheckArchiveLocation(location);
    } catch (const ArchiveError& failure) {
        if (failure.Code == ArchiveErrorCode::BadLocation)
            throw UsageError(ArchiveErrorText(failure));
        // No libpq: the open below says so, and the upload goes on.
    }
    try {
        archiving_ = std::make_unique<UploadArchiving>(location, LocalArchiveLocation());
        archiving_->Begin(tester, ArchiveNow(), {}, "");
    } catch (const ArchiveError& failure) {
        archiving_.reset();
        openFailure_ = failure.what();
        Say("leebdesk-cli: " + ArchiveErrorText(failure) + "\n", stderr);
    }
}

void UploadArchive::Add(const std::string& line, int recordNumber, int storedImpactCount) {
    if (!on_)
        return;
    if (!archiving_) {
        ++unopened_;
        return;
    }
    if (archiving_->Add(line, recordNumber, storedImpactCount) || warned_)
        return;
    // Said at once: an upload of a full tester runs for minutes.
    warned_ = true;
    const std::string reason = archiving_->LastError();
    Say("leebdesk-cli: 记录未能存入档案：" + reason +
            "。(A record could not be archived: " + reason + ".)\n",
        stderr);
}

int UploadArchive::NotArchived() const {
    return unopened_ + unsynced_ + (archiving_ ? archiving_->NotArchived() : 0);
}

void UploadArchive::Report() {
    if (!on_)
        return;
    // The records onto the disk before the upload says it is done.
    if (archiving_ && !archiving_->Finish())
        unsynced_ = archiving_->Added() + archiving_->Pending();
    ArchiveImportSummary summary;
    if (archiving_) {
        summary.Added = archiving_->Added() + archiving_->Pending();
        summary.AlreadyArchived = archiving_->AlreadyArchived();
        if (archiving_->Pending() > 0) {
            const std::string count = std::to_string(archiving_->Pending());
            const std::string& reason = archiving_->PendingReason();
            Say("leebdesk-cli: 档案服务器未收下记录（" + reason + "），" + count +
                    " 条记录存在本机，等待发送 (archive sync)。(The archive server did not take"
                    " the records (" +
                    reason + "): " + count +
                    " records wait in the local archive for `archive sync`.)\n",
                stderr);
        }
    }
    if (const int lost = NotArchived(); lost > 0) {
        const std::string count = std::to_string(lost);
        const std::string reason = archiving_ ? archiving_->LastError() : openFailure_;
        Say("leebdesk-cli: " + count + " 条记录未存入档案（" + reason +
                "），记录文件中有这些记录，可用 archive import 补存。(" + count +
                " records were not archived (" + reason +
                "); the record file holds them for `archive import`.)\n",
            stderr);
    }
    Say(UploadSummaryText(summary) + "\n", stdout);
}

}  // namespace leeb::cli
