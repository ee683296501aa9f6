#include "UploadArchive.h"

#include <QSettings>
#include <cstdio>

#include "ArchiveMessages.h"
#include "SqlArchive.h"

namespace leeb::cli {

UploadArchive::UploadArchive(const CommandArguments& arguments, const std::string& tester) {
    if (arguments.NoArchive || !QSettings().value(ArchiveEnabledKey, true).toBool())
        return;
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
        std::fputs(("leebdesk-cli: " + ArchiveErrorText(failure) + "\n").c_str(), stderr);
    }
}

void UploadArchive::Add(const std::string& line, int recordNumber, int storedImpactCount) {
    if (!archiving_ || archiving_->Add(line, recordNumber, storedImpactCount) || warned_)
        return;
    warned_ = true;
    const std::string reason = archiving_->LastError();
    std::fputs(("leebdesk-cli: 记录未能存入档案：" + reason + "。(A record could not be archived: " +
                reason + ".)\n")
                   .c_str(),
               stderr);
}

void UploadArchive::Report() const {
    // Archiving that went as it should says nothing: the upload's output stays as it was.
    if (!archiving_ || archiving_->Pending() == 0)
        return;
    const std::string count = std::to_string(archiving_->Pending());
    std::fputs(("leebdesk-cli: 档案服务器无法连接，" + count + " 条记录存在本机，等待发送 (archive sync)。"
                "(The archive server cannot be reached: " + count +
                " records wait in the local archive for `archive sync`.)\n")
                   .c_str(),
               stderr);
}

}  // namespace leeb::cli
