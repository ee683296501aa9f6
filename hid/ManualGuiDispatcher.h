#pragma once
// A dispatcher for tests and headless programs: posted calls wait in a queue until the thread
// that plays the GUI thread pumps it. Pumping is re-entrant: a call may pump again.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "HidGuiDispatcher.h"

namespace leeb {

class ManualGuiDispatcher : public HidGuiDispatcher {
  public:
    void Post(std::function<void()> call) override;

    // Runs the calls queued so far (and those they post meanwhile); returns how many ran.
    // An exception from a call propagates; the remaining calls stay queued.
    int ProcessPending();
    // Waits until a call is queued or `timeout` passes, then runs what is queued; returns how
    // many ran (0 on time-out).
    int WaitAndProcess(std::chrono::milliseconds timeout);
    // Pumps until `done()` holds or `timeout` passes; returns done().
    bool ProcessUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

    int PendingCount() const;

  private:
    bool RunOne();

    mutable std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> queue_;
};

}  // namespace leeb
