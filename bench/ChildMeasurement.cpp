#include "ChildMeasurement.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace leeb::bench {

Measurement InChild(const std::function<int()>& work) {
    std::fflush(stdout);  // or the child would write the parent's buffered lines again
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        std::_Exit(work());
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    Measurement m;
    m.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.PeakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    m.CpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    m.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return m;
}

}  // namespace leeb::bench
