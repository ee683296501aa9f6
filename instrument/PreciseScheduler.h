#pragma once
// Runs calls at given instants on one worker thread, late by a few microseconds at most.
//
// The worker blocks on a condition variable until shortly before the instant (so a new call
// or the stop wakes it), then sleeps the last 2 ms at most with the system's most precise
// sleep (PreciseSleep). Nothing spins: an idle scheduler costs no CPU. A call scheduled for an instant
// earlier than the one being slept for runs after it.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace leeb {

class PreciseScheduler {
  public:
    using Clock = std::chrono::steady_clock;

    // How late calls ran, measured from their instant to the moment they started.
    struct Lateness {
        uint64_t Calls = 0;
        std::chrono::nanoseconds Max{0};
        std::chrono::nanoseconds Total{0};
        uint64_t Within50us = 0;  // calls that ran at most 50 us late
        std::chrono::nanoseconds Mean() const {
            return Calls == 0 ? std::chrono::nanoseconds{0} : Total / static_cast<int64_t>(Calls);
        }
    };

    PreciseScheduler();
    // Drops the calls not yet run; waits for one that is running.
    ~PreciseScheduler();
    PreciseScheduler(const PreciseScheduler&) = delete;
    PreciseScheduler& operator=(const PreciseScheduler&) = delete;

    // Calls with the same instant run in the order they were scheduled.
    void Schedule(Clock::time_point at, std::function<void()> call);
    // Drops every call not yet run.
    void Clear();

    Lateness Measured() const;
    void ResetMeasurement();

  private:
    void Run();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::multimap<Clock::time_point, std::function<void()>> calls_;
    bool stopping_ = false;
    Lateness lateness_;
    std::thread worker_;
};

}  // namespace leeb
