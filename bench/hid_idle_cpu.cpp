// CPU cost of an idle checked-out device: its read thread waits for a report that never
// comes while the GUI thread waits for hand-offs. Prints the process's CPU seconds over 10 s
// and the wake-ups a second of the threads the device started (their context switches, from
// /proc), which an idle device should not cause at all.
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>

#include "FakeHidrawTree.h"
#include "LinuxHidPlatform.h"
#include "ManualGuiDispatcher.h"
#include "SimulatedHidBus.h"
#include "HidDevice.h"
#include "HidDeviceController.h"

namespace {

std::set<std::string> Threads() {
    std::set<std::string> ids;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        ids.insert(entry.path().filename().string());
    }
    return ids;
}

// Voluntary and involuntary context switches of the threads named, summed.
long Switches(const std::set<std::string>& threads) {
    long total = 0;
    for (const std::string& id : threads) {
        std::ifstream status("/proc/self/task/" + id + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0 ||
                line.rfind("nonvoluntary_ctxt_switches:", 0) == 0) {
                total += std::stol(line.substr(line.find(':') + 1));
            }
        }
    }
    return total;
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void Idle(const char* name, std::shared_ptr<leeb::HidPlatform> platform, int seconds) {
    const std::set<std::string> before = Threads();
    auto gui = std::make_shared<leeb::ManualGuiDispatcher>();
    leeb::HidDeviceControllerSettings settings;
    settings.OnDeviceData = leeb::HidDataEvent::Tagged(
        &settings, [](leeb::HidDevice*, uint8_t, const uint8_t*, uint16_t) {});
    leeb::HidDeviceController controller(platform, gui, std::move(settings));
    gui->ProcessPending();
    leeb::HidDevice* device = nullptr;
    if (!controller.CheckOutAt(0, device)) {
        std::fprintf(stderr, "no device to check out\n");
        return;
    }
    // Settled: the read thread has started and is waiting.
    gui->WaitAndProcess(std::chrono::milliseconds(200));
    std::set<std::string> started;
    for (const std::string& id : Threads()) {
        if (before.count(id) == 0) {
            started.insert(id);
        }
    }
    const long switchesBefore = Switches(started);
    const double cpuBefore = CpuSeconds();
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        gui->WaitAndProcess(std::chrono::milliseconds(500));
    }
    const double cpu = CpuSeconds() - cpuBefore;
    const double wakeUps = static_cast<double>(Switches(started) - switchesBefore) / seconds;
    std::printf("%-20s %.4f CPU seconds over %d s idle; %zu device thread(s): %.1f wake-ups/s\n",
                name, cpu, seconds, started.size(), wakeUps);
    delete device;
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    auto bus = std::make_shared<leeb::SimulatedHidBus>();
    bus->Plug("tester", 0x1234, 0x5678, 1, 9, 9);
    Idle("simulated bus", bus, seconds);

    leeb::test::FakeHidrawTree tree;
    std::string whyNot;
    if (!tree.MountFuse(whyNot)) {
        std::printf("FUSE node: skipped (%s)\n", whyNot.c_str());
        return 0;
    }
    tree.AddNode(0, 0x1234, 0x5678, 1, leeb::test::UnnumberedDescriptor());
    Idle("FUSE hidraw node",
         std::make_shared<leeb::LinuxHidPlatform>(tree.SysfsRoot(), tree.DevRoot(),
                                                  leeb::HidChangeSource::None),
         seconds);
    return 0;
}
