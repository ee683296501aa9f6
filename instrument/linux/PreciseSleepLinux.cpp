#include <sys/prctl.h>
#include <time.h>

#include <cerrno>

#include "PreciseSleep.h"

namespace leeb {

struct PreciseSleep::Timer {};

PreciseSleep::PreciseSleep() {
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
}

PreciseSleep::~PreciseSleep() = default;

// steady_clock is CLOCK_MONOTONIC on Linux.
void PreciseSleep::Until(Clock::time_point at) {
    const auto since = std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch());
    timespec deadline{};
    deadline.tv_sec = static_cast<time_t>(since.count() / 1'000'000'000);
    deadline.tv_nsec = static_cast<long>(since.count() % 1'000'000'000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

}  // namespace leeb
