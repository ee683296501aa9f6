#include "UploadArchive.h"

#include <QSettings>
#include <cstdio>
#include <cstdlib>

#include "ArchiveMessages.h"
#include "SqlArchive.h"

namespace leeb::cli {
namespace {

// LEEBDESK_ARCHIVE, else the window's setting, else the user's archive file.
ArchiveLocation UploadLocation() {
    if (const char* fromEnvironment = std::getenv("LEEBDESK_ARCHIVE");
        fromEnvironment != nullptr && *fromEnvironment != '\0')
        return {fromEnvironment};
    const QString configured = QSettings().value(ArchiveLocationKey).toString();
    return configured.isEmpty() ? LocalArchiveLocation() : ArchiveLocation{configured.toStdString()};
}

}  // namespace

UploadArchive::UploadArchive(const CommandArguments& arguments, const std::string& tester) {
    if (arguments.NoArchive || !QSettings().value(ArchiveEnabledKey, true).toBool())
        return;
    try {
        archiving_ = std::make_unique<UploadArchiving>(UploadLocation(), LocalArchiveLocation());
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
