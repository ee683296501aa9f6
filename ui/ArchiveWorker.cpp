#include "ArchiveWorker.h"

#include "HidGuiDispatcher.h"

namespace leeb {

Archive& ArchiveWorker::Access::Reading() {
    if (reading_)
        return *reading_;
    // Browsing reads an archive the user may only read; one not made yet is made, as it
    // always was here: the window's uploads go there.
    try {
        reading_ = OpenArchive(location_, ArchiveAccess::Read);
    } catch (const ArchiveError& error) {
        if (error.Code != ArchiveErrorCode::NoArchive)
            throw;
        reading_ = OpenArchive(location_);
    }
    return *reading_;
}

Archive& ArchiveWorker::Access::Writing() {
    if (!writing_)
        writing_ = OpenArchive(location_);
    return *writing_;
}

UploadArchiving& ArchiveWorker::Access::Upload(const std::string& tester,
                                               const std::string& startTime) {
    if (!upload_) {
        auto made = std::make_unique<UploadArchiving>(location_, local_);
        made->Begin(tester, startTime, {}, "");
        upload_ = std::move(made);
    }
    return *upload_;
}

ArchiveWorker::ArchiveWorker(ArchiveLocation location, ArchiveLocation local,
                             std::shared_ptr<HidGuiDispatcher> gui)
    : gui_(std::move(gui)), location_(std::move(location)), local_(std::move(local)) {
    thread_ = std::thread([this] { Loop(); });
}

ArchiveWorker::~ArchiveWorker() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_one();
    // The thread finishes the jobs already queued and takes no lock the GUI thread holds, so
    // this wait ends; a server that does not answer holds it at most the library's 5 s a job.
    thread_.join();
    alive_.reset();
}

void ArchiveWorker::Post(Job job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void ArchiveWorker::ToGui(std::function<void()> call) {
    std::weak_ptr<int> alive = alive_;
    gui_->Post([alive = std::move(alive), call = std::move(call)] {
        if (alive.lock())
            call();
    });
}

int ArchiveWorker::Queued() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(jobs_.size()) + running_;
}

void ArchiveWorker::Loop() {
    // Made and dropped on this thread: the archive's connections never change thread.
    Access access(location_, local_);
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return ending_ || !jobs_.empty(); });
            if (jobs_.empty())
                return;  // ending, and nothing handed over is left
            job = std::move(jobs_.front());
            jobs_.pop_front();
            ++running_;
        }
        try {
            job(access);
        } catch (const std::exception&) {
            // Ask catches for its reply; a bare Post that throws loses only its own job.
        }
        std::lock_guard lock(mutex_);
        --running_;
    }
}

}  // namespace leeb
