#include "ManualGuiDispatcher.h"

namespace leeb {

void ManualGuiDispatcher::Post(std::function<void()> call) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(call));
    }
    posted_.notify_all();
}

bool ManualGuiDispatcher::RunOne() {
    std::function<void()> call;
    {
        std::lock_guard lock(mutex_);
        if (queue_.empty()) {
            return false;
        }
        call = std::move(queue_.front());
        queue_.pop_front();
    }
    // Run outside the lock: the call may post or pump again.
    call();
    return true;
}

int ManualGuiDispatcher::ProcessPending() {
    int ran = 0;
    while (RunOne()) {
        ++ran;
    }
    return ran;
}

int ManualGuiDispatcher::WaitAndProcess(std::chrono::milliseconds timeout) {
    {
        std::unique_lock lock(mutex_);
        if (!posted_.wait_for(lock, timeout, [this] { return !queue_.empty(); })) {
            return 0;
        }
    }
    return ProcessPending();
}

bool ManualGuiDispatcher::ProcessUntil(const std::function<bool()>& done,
                                       std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    ProcessPending();
    while (!done()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return done();
        }
        WaitAndProcess(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now) +
                       std::chrono::milliseconds(1));
    }
    return true;
}

int ManualGuiDispatcher::PendingCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(queue_.size());
}

}  // namespace leeb
