#pragma once
// Peak resident memory and time of work run in a child process of its own, so that one
// measurement's memory does not hide the next.

#include <functional>

namespace leeb::bench {

struct Measurement {
    double PeakMiB = 0;
    double Seconds = 0;     // wall time
    double CpuSeconds = 0;  // user and system: the wall time also counts waits on a busy machine
    int Status = -1;        // the child's exit status, -1 when it did not exit
};

// Runs `work` in a forked child; its exit status is what `work` returns (work may also exec).
Measurement InChild(const std::function<int()>& work);

}  // namespace leeb::bench
