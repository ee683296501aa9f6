#include "PreciseScheduler.h"

#include "PreciseSleep.h"

namespace leeb {
namespace {

// An instant this close is slept for directly: one wake-up, and a stop waits no longer than
// this. Farther ones are waited for on the condition variable (which a stop or an earlier call
// interrupts, but which wakes up to 50 us late) until they come this close.
constexpr std::chrono::microseconds DirectSleep{2000};

}  // namespace

PreciseScheduler::PreciseScheduler() : worker_([this] { Run(); }) {}

PreciseScheduler::~PreciseScheduler() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        calls_.clear();
    }
    changed_.notify_all();
    worker_.join();
}

void PreciseScheduler::Schedule(Clock::time_point at, std::function<void()> call) {
    {
        std::lock_guard lock(mutex_);
        calls_.emplace(at, std::move(call));
    }
    changed_.notify_all();
}

void PreciseScheduler::Clear() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

PreciseScheduler::Lateness PreciseScheduler::Measured() const {
    std::lock_guard lock(mutex_);
    return lateness_;
}

void PreciseScheduler::ResetMeasurement() {
    std::lock_guard lock(mutex_);
    lateness_ = {};
}

void PreciseScheduler::Run() {
    PreciseSleep sleep;
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (calls_.empty()) {
            changed_.wait(lock, [this] { return stopping_ || !calls_.empty(); });
            continue;
        }
        const Clock::time_point at = calls_.begin()->first;
        if (Clock::now() < at - DirectSleep) {
            // Ends early for a new call or the stop: then look again.
            changed_.wait_until(lock, at - DirectSleep);
            continue;
        }
        lock.unlock();
        sleep.Until(at);
        lock.lock();
        if (stopping_ || calls_.empty() || calls_.begin()->first != at) {
            continue;
        }
        auto call = std::move(calls_.begin()->second);
        calls_.erase(calls_.begin());
        const auto late = Clock::now() - at;
        ++lateness_.Calls;
        lateness_.Total += late;
        if (late <= std::chrono::microseconds(50)) {
            ++lateness_.Within50us;
        }
        if (late > lateness_.Max) {
            lateness_.Max = late;
        }
        lock.unlock();
        call();
        lock.lock();
    }
}

}  // namespace leeb
