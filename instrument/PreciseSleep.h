#pragma once
// Sleeping until an instant with the precision the system offers, one implementation per
// operating system. Made and used on one thread: the sleeping one.

#include <chrono>
#include <memory>

namespace leeb {

class PreciseSleep {
  public:
    using Clock = std::chrono::steady_clock;

    // Linux: sets the calling thread's timer slack to 1 ns, so the kernel does not defer the
    // wake-up by its default 50 us. Windows: a high-resolution waitable timer.
    PreciseSleep();
    ~PreciseSleep();
    PreciseSleep(const PreciseSleep&) = delete;
    PreciseSleep& operator=(const PreciseSleep&) = delete;

    // Returns at `at` or soon after; at once for an instant already past.
    void Until(Clock::time_point at);

  private:
    struct Timer;
    std::unique_ptr<Timer> timer_;
};

}  // namespace leeb
