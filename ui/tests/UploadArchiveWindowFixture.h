#pragma once
// The window with its archive installed over a simulated bus: an upload, then the archive
// thread's work and its replies.

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "Archive.h"
#include "TesterSimulator.h"
#include "WindowArchive.h"
#include "WindowFixture.h"

namespace leeb {

class UploadArchiveWindowTest : public WindowTest {
  protected:
    QTemporaryDir folder;
    WindowArchive* archive = nullptr;

    std::string ArchivePath() const { return folder.filePath("archive.sqlite").toStdString(); }
    std::string LocalPath() const { return folder.filePath("local.sqlite").toStdString(); }

    void Install(ArchiveLocation location, bool enabled = true, int retryMilliseconds = 60000) {
        auto settings = std::make_unique<QSettings>(folder.filePath("settings.ini"),
                                                    QSettings::IniFormat);
        settings->setValue(ArchiveEnabledKey, enabled);
        archive = new WindowArchive(*form, {std::move(location), {LocalPath()}, dispatcher,
                                            std::move(settings), retryMilliseconds});
    }

    // The upload, then the archive thread's work and its replies.
    bool UploadAndArchive() {
        form->RunCommand([this] { form->ReadRecordsClicked(); });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(10000);
        while ((form->UploadRunning() || archive->Worker().Queued() > 0) &&
               std::chrono::steady_clock::now() < deadline) {
            dispatcher->WaitAndProcess(std::chrono::milliseconds(10));
            QCoreApplication::processEvents();
        }
        Pump();
        return !form->UploadRunning() && archive->Worker().Queued() == 0;
    }

    static std::vector<std::string> ArchivedLines(const ArchiveLocation& location) {
        std::vector<std::string> lines;
        for (const ArchivedRecord& record : OpenArchive(location)->Fetch({}, 0, 100000))
            lines.push_back(record.Line);
        return lines;
    }
};

}  // namespace leeb
