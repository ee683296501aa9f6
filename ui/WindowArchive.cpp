#include "WindowArchive.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <cstdlib>
#include <utility>

#include "ArchiveTexts.h"
#include "MainWindow.h"
#include "RecordFile.h"
#include "SqlArchive.h"

namespace leeb {

namespace {

// The local file's pending records; a missing file holds none and is not made for asking.
int64_t LocalPending(const ArchiveLocation& local) {
    if (!QFileInfo::exists(QString::fromStdString(local.Text)))
        return 0;
    return OpenArchive(local)->PendingCount();
}

}  // namespace

WindowArchive::WindowArchive(MainWindow& form, WindowArchiveOptions options)
    : QObject(&form),
      form_(form),
      options_(std::move(options)),
      settings_(options_.Settings ? std::move(options_.Settings) : std::make_unique<QSettings>()) {
    status_ = new QLabel(form.statusBar());
    status_->setObjectName(QStringLiteral("ArchiveStatus"));
    status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status_->hide();
    // At the right end, after the message panel: the design's panels keep their places.
    form.statusBar()->addPermanentWidget(status_);

    retry_.setSingleShot(true);
    retry_.setInterval(options_.RetryMilliseconds);
    connect(&retry_, &QTimer::timeout, this, [this] { SendPending(); });

    worker_ = std::make_unique<ArchiveWorker>(options_.Location, options_.Local, options_.Gui);
    form.SetUploadListener(
        {[this](int number, const std::string& line, int storedImpactCount) {
             RecordCompleted(number, line, storedImpactCount);
         },
         [this] { UploadEnded(); }});
    if (Enabled())
        SendPending();
}

WindowArchive::~WindowArchive() {
    // The worker commits what it was handed before its thread ends.
    worker_.reset();
}

bool WindowArchive::Enabled() const {
    return settings_->value(ArchiveEnabledKey, true).toBool();
}

void WindowArchive::SetEnabled(bool enabled) {
    settings_->setValue(ArchiveEnabledKey, enabled);
    if (!enabled) {
        retry_.stop();
        failure_.clear();
        ShowStatus();
    } else {
        SendPending();
    }
}

void WindowArchive::SendPending() {
    if (!options_.Location.IsServer() || !Enabled())
        return;
    worker_->Ask<int64_t>(
        [](ArchiveWorker::Access& access) {
            try {
                leeb::SendPending(access.Local(), access.Location());
            } catch (const ArchiveError&) {
                // The server still does not answer: the records wait, counted below.
            }
            return LocalPending(access.Local());
        },
        [this](int64_t pending) { PendingChanged(pending); },
        [this](const ArchiveFailure& failure) {
            failure_ = ArchiveFailureText(failure);
            ShowStatus();
        });
}

void WindowArchive::RecordCompleted(int number, const std::string& line, int storedImpactCount) {
    if (!Enabled())
        return;
    if (uploadStart_.empty())
        uploadStart_ = ArchiveNow();
    struct Added {
        bool Committed = false;
        bool Pending = false;
        bool AlreadyArchived = false;
        std::string Reason;
    };
    worker_->Ask<Added>(
        [line, number, storedImpactCount, start = uploadStart_](ArchiveWorker::Access& access) {
            UploadArchiving& upload = access.Upload("tester", start);
            const int pendingBefore = upload.Pending();
            const int alreadyBefore = upload.AlreadyArchived();
            Added added;
            added.Committed = upload.Add(line, number, storedImpactCount);
            added.Pending = upload.Pending() > pendingBefore;
            added.AlreadyArchived = upload.AlreadyArchived() > alreadyBefore;
            if (!added.Committed)
                added.Reason = upload.LastError();
            return added;
        },
        [this](const Added& added) {
            if (added.Pending)
                PendingChanged(pending_ + 1);
            if (!added.Committed) {
                failure_ = ArchiveFailureText({false, ArchiveErrorCode::WriteFailed, added.Reason});
                ++tally_.NotArchived;
                tally_.Reason = failure_;
                ShowStatus();
            } else {
                ++(added.AlreadyArchived ? tally_.AlreadyArchived : tally_.New);
            }
        },
        [this](const ArchiveFailure& failure) {
            // Neither the archive nor the local file could be opened for this record.
            failure_ = ArchiveFailureText(failure);
            ++tally_.NotArchived;
            tally_.Reason = failure_;
            ShowStatus();
        });
}

void WindowArchive::UploadEnded() {
    if (uploadStart_.empty())
        return;
    uploadStart_.clear();
    // Queued after the upload's records, and its reply after theirs: the tally is whole then,
    // and the next upload's records have not begun to count.
    worker_->Ask<bool>(
        [](ArchiveWorker::Access& access) {
            access.EndUpload();
            return true;
        },
        [this](bool) {
            const UploadTally tally = std::exchange(tally_, UploadTally{});
            ShowUploadOutcome(tally);
        },
        {});
}

void WindowArchive::ShowUploadOutcome(const UploadTally& tally) {
    const int read = tally.New + tally.AlreadyArchived + tally.NotArchived;
    // Said on the message panel after the window's own count, unless another upload has begun.
    if (!form_.UploadRunning())
        form_.ShowFeedback(ArchiveUploadText(read, {tally.New, tally.AlreadyArchived}));
    if (tally.NotArchived == 0)
        return;
    // The tester's memory may be cleared next: this must not pass as a line in the status bar.
    form_.Dialogs().MessageBox(ArchiveNotArchivedText(tally.NotArchived, tally.Reason),
                               MainWindow::ShownCaption(), MB_OK | MB_ICONWARNING);
}

void WindowArchive::PendingChanged(int64_t pending) {
    pending_ = pending;
    if (pending_ > 0 && !retry_.isActive())
        retry_.start();
    ShowStatus();
}

void WindowArchive::ShowStatus() {
    QString text = failure_;
    if (Enabled() && pending_ > 0)
        text = text.isEmpty() ? ArchivePendingText(pending_)
                              : ArchivePendingText(pending_) + QStringLiteral("; ") + text;
    status_->setText(text);
    status_->setToolTip(text);
    status_->setVisible(!text.isEmpty());
}

void WindowArchive::ImportFile(const QString& path,
                               std::function<void(const ArchiveImportSummary&)> done,
                               std::function<void(const ArchiveFailure&)> failed) {
    const std::string local = QFile::encodeName(path).toStdString();
    const std::string absolute = QFileInfo(path).absoluteFilePath().toStdString();
    const char separator = form_.DecimalSeparatorInUse();
    // Read, hashed and checked on the archive thread: a full tester's file takes a moment.
    worker_->Ask<ImportOutcome>(
        [local, absolute, separator](ArchiveWorker::Access& access) {
            ArchiveSource source;
            source.Kind = ArchiveSourceKind::File;
            source.FilePath = absolute;
            QFile file(QFile::decodeName(QByteArray::fromStdString(local)));
            QCryptographicHash hash(QCryptographicHash::Sha256);
            if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
                throw RecordFileError(file.errorString().toStdString(), FileProblem::CannotRead,
                                      local, 0);
            source.FileHash = hash.result().toHex().toStdString();
            std::vector<ArchiveInput> records;
            ReadRecordFileRecords(local, separator,
                                  [&records](std::size_t, std::string_view line,
                                             const RecordTextFields&) {
                                      records.push_back({std::string(line), 0});
                                  });
            // A server that cannot be reached keeps them in the local file for later, as an
            // upload's records are kept.
            return ImportOrKeepPending(access.Location(), access.Local(), source, records, {}, "");
        },
        [this, done = std::move(done)](ImportOutcome outcome) {
            if (outcome.Pending && outcome.Summary.Added > 0)
                PendingChanged(pending_ + outcome.Summary.Added);
            if (done)
                done(outcome.Summary);
        },
        std::move(failed));
}

}  // namespace leeb
