#pragma once
// The window's archive: every record of a window upload committed as soon as it is complete
// (through the archive thread, so the window never waits for the disk or the server), records
// kept in the local file while the server cannot be reached or refuses them, sent at start and
// whenever it answers again, and the status bar's word on what waits. After an upload the
// message panel says how many of its records were new and how many the archive held already;
// records that reached no archive bring a warning box the user must dismiss. The switch is the
// setting the command line shares ("archive/enabled", on by default); switched off, nothing is
// written anywhere and the status bar says nothing.

#include <QCoreApplication>
#include <QObject>
#include <QSettings>
#include <QTimer>
#include <functional>
#include <memory>

#include "ArchiveWorker.h"

class QLabel;

namespace leeb {

class HidGuiDispatcher;
class MainWindow;

struct WindowArchiveOptions {
    ArchiveLocation Location;  // where records go: a file, or a lab's server
    ArchiveLocation Local;     // where they wait while the server cannot be reached
    std::shared_ptr<HidGuiDispatcher> Gui;
    std::unique_ptr<QSettings> Settings;  // null: the program's own
    // How long records wait in the local file before the server is tried again.
    int RetryMilliseconds = 60 * 1000;
};

class WindowArchive : public QObject {
    Q_DECLARE_TR_FUNCTIONS(WindowArchive)

  public:
    // A child of the window: it outlives the window's last upload notice.
    WindowArchive(MainWindow& form, WindowArchiveOptions options);
    ~WindowArchive() override;

    bool Enabled() const;
    // Remembered in the settings; takes effect with the next record.
    void SetEnabled(bool enabled);

    ArchiveWorker& Worker() { return *worker_; }
    const ArchiveLocation& Location() const { return options_.Location; }
    // Records known to wait in the local file for the server.
    int64_t Pending() const { return pending_; }
    // The status bar's archive panel: hidden unless records wait or archiving failed.
    QLabel* StatusPanel() const { return status_; }
    // Sends what waits in the local file to the server (a file archive: nothing to send).
    void SendPending();

    // Adds the records of a record file; `done` gets the summary, `failed` the reason.
    void ImportFile(const QString& path, std::function<void(const ArchiveImportSummary&)> done,
                    std::function<void(const ArchiveFailure&)> failed);

  private:
    // What became of one upload's records, as the archive thread's replies tell it.
    struct UploadTally {
        int New = 0;             // added, or kept locally for the server
        int AlreadyArchived = 0;
        int NotArchived = 0;     // in no archive at all
        QString Reason;          // why the last of those was not taken
    };

    void RecordCompleted(int number, const std::string& line, int storedImpactCount);
    void UploadEnded();
    // After the upload's last record was handled: the status bar's count, and a warning that
    // stays until dismissed when records are in no archive.
    void ShowUploadOutcome(const UploadTally& tally);
    void PendingChanged(int64_t pending);
    void ShowStatus();

    MainWindow& form_;
    WindowArchiveOptions options_;
    std::unique_ptr<QSettings> settings_;
    QLabel* status_ = nullptr;
    QTimer retry_;
    int64_t pending_ = 0;
    QString failure_;
    // The running upload's start, set at its first record archived.
    std::string uploadStart_;
    UploadTally tally_;
    std::unique_ptr<ArchiveWorker> worker_;  // last: its replies use everything above
};

}  // namespace leeb
