#pragma once
// The window's archive thread: it owns the archive the window reads and the upload's archiving,
// runs the jobs handed to it one after another, and hands every result or failure back to the
// GUI thread through the window's hand-off. Qt SQL connections belong to the thread that opened
// them, so nothing the jobs touch ever leaves this thread; a slow or absent server stalls this
// thread only (the library waits at most 5 s for a server).
//
// Ending: the destructor runs every job already handed over (an upload's records are committed)
// and then ends the thread; replies that arrive after it are dropped, never run on a window
// that is gone.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "Archive.h"
#include "UploadArchiving.h"

namespace leeb {

class HidGuiDispatcher;

// Why a job failed: the archive's error, or a record line that did not convert.
struct ArchiveFailure {
    bool FromArchive = true;
    ArchiveErrorCode Code = ArchiveErrorCode::CannotOpen;
    std::string Detail;
};

class ArchiveWorker {
  public:
    // What a job works on. Everything here lives on the worker's thread.
    class Access {
      public:
        Access(ArchiveLocation location, ArchiveLocation local)
            : location_(std::move(location)), local_(std::move(local)) {}
        // The archive the window reads (the server when one is set); opened at first use and
        // opened again after a failed open. Throws ArchiveError.
        Archive& Reading();
        // The archive the window writes to itself (amendments): the same place as Reading.
        // Throws ArchiveError.
        Archive& Writing();
        // The running upload's archiving: made, and its source begun with the tester's name
        // and the upload's start time (ISO 8601, UTC), at its first record. Throws ArchiveError
        // when neither the server nor the local file can be used.
        UploadArchiving& Upload(const std::string& tester, const std::string& startTime);
        // The next upload starts a new source.
        void EndUpload() { upload_.reset(); }
        const ArchiveLocation& Location() const { return location_; }
        const ArchiveLocation& Local() const { return local_; }

      private:
        ArchiveLocation location_, local_;
        std::unique_ptr<Archive> reading_;
        std::unique_ptr<Archive> writing_;
        std::unique_ptr<UploadArchiving> upload_;
    };
    using Job = std::function<void(Access&)>;

    // `location`: where the records go (a file, or a server); `local`: the file that keeps
    // them while a server cannot be reached.
    ArchiveWorker(ArchiveLocation location, ArchiveLocation local,
                  std::shared_ptr<HidGuiDispatcher> gui);
    ~ArchiveWorker();
    ArchiveWorker(const ArchiveWorker&) = delete;
    ArchiveWorker& operator=(const ArchiveWorker&) = delete;

    // Queues `job` to run on the worker's thread; never blocks on the archive.
    void Post(Job job);

    // Runs `work` on the worker's thread; `done` receives its result on the GUI thread, or
    // `failed` the reason it failed. Either may be empty.
    template <typename Result>
    void Ask(std::function<Result(Access&)> work, std::function<void(Result)> done,
             std::function<void(const ArchiveFailure&)> failed) {
        Post([this, work = std::move(work), done = std::move(done),
              failed = std::move(failed)](Access& access) mutable {
            ArchiveFailure failure;
            try {
                auto result = std::make_shared<Result>(work(access));
                if (done)
                    ToGui([done, result] { done(std::move(*result)); });
                return;
            } catch (const ArchiveError& error) {
                failure = {true, error.Code, error.what()};
            } catch (const std::exception& error) {
                failure = {false, ArchiveErrorCode::WriteFailed, error.what()};
            }
            if (failed)
                ToGui([failed, failure] { failed(failure); });
        });
    }

    // Hands `call` to the GUI thread; dropped once the worker is gone.
    void ToGui(std::function<void()> call);

    // Jobs handed over and not yet finished, for checks.
    int Queued() const;

  private:
    void Loop();

    std::shared_ptr<HidGuiDispatcher> gui_;
    // Owned and released on the GUI thread: a reply checks it there before it runs.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    int running_ = 0;
    bool ending_ = false;
    ArchiveLocation location_, local_;
    std::thread thread_;  // last: started once everything above is made
};

}  // namespace leeb
