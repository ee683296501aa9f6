#include <windows.h>

#include <algorithm>
#include <thread>

#include "PreciseSleep.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace leeb {

// A high-resolution waitable timer (Windows 10 1803 and later) wakes within a few hundred
// microseconds without raising the whole system's timer rate; older systems get a plain
// waitable timer, which wakes on the next system tick.
struct PreciseSleep::Timer {
    HANDLE handle = nullptr;
};

PreciseSleep::PreciseSleep() : timer_(std::make_unique<Timer>()) {
    timer_->handle = ::CreateWaitableTimerExW(
        nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    if (timer_->handle == nullptr) {
        timer_->handle = ::CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    }
}

PreciseSleep::~PreciseSleep() {
    if (timer_->handle != nullptr) {
        ::CloseHandle(timer_->handle);
    }
}

void PreciseSleep::Until(Clock::time_point at) {
    const auto left = at - Clock::now();
    if (left <= Clock::duration::zero()) {
        return;
    }
    // Relative due times are negative, in 100 ns units.
    LARGE_INTEGER due{};
    due.QuadPart = -std::max<LONGLONG>(
        1, std::chrono::duration_cast<std::chrono::nanoseconds>(left).count() / 100);
    if (timer_->handle == nullptr ||
        !::SetWaitableTimer(timer_->handle, &due, 0, nullptr, nullptr, FALSE) ||
        ::WaitForSingleObject(timer_->handle, INFINITE) != WAIT_OBJECT_0) {
        std::this_thread::sleep_until(at);  // no timer: the standard sleep, coarser
    }
}

}  // namespace leeb
