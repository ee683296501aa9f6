#pragma once
// Word that the set of hidraw nodes may have changed, from a helper thread that sleeps in
// poll() on its sources and on a stop eventfd: no timer, no polling.

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "LinuxHidPlatform.h"

namespace leeb {

// Reads every message waiting on a kernel uevent socket; true when one concerned a hidraw node
// or when messages were lost to an overflow.
bool DrainKernelUevents(int fd);

class HidChangeMonitor {
  public:
    // Opens the sources for `source` (Automatic resolved as documented there) and starts the
    // helper thread; `changed` runs on it once per burst of relevant events.
    HidChangeMonitor(HidChangeSource source, const std::string& sysfsRoot,
                     const std::string& devRoot, std::function<void()> changed);
    ~HidChangeMonitor();  // stops and joins
    HidChangeMonitor(const HidChangeMonitor&) = delete;
    HidChangeMonitor& operator=(const HidChangeMonitor&) = delete;

    HidChangeSource Source() const { return source_; }

  private:
    struct EventSource;
    bool OpenUdev();
    bool OpenKernelUevent();
    bool OpenInotify(const std::string& sysfsRoot, const std::string& devRoot);
    void Run();

    HidChangeSource source_;
    std::function<void()> changed_;
    std::vector<std::unique_ptr<EventSource>> sources_;
    int stopFd_ = -1;
    std::thread thread_;
};

}  // namespace leeb
