// Hand-off latency: from an input report becoming available to its handler running on the GUI
// thread, on the simulated bus and through a FUSE hidraw-like node (real poll/read). Prints
// the median and the 99th percentile.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "FakeHidrawTree.h"
#include "LinuxHidPlatform.h"
#include "ManualGuiDispatcher.h"
#include "SimulatedHidBus.h"
#include "HidDevice.h"
#include "HidDeviceController.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Samples = 2000;

void Print(const char* name, std::vector<double> micros) {
    std::sort(micros.begin(), micros.end());
    std::printf("%-28s median %7.1f us   p99 %7.1f us   (%zu reports)\n", name,
                micros[micros.size() / 2], micros[micros.size() * 99 / 100], micros.size());
}

// Checks out device 0 and measures `send` (which makes one report available) to handler.
std::vector<double> Measure(std::shared_ptr<leeb::HidPlatform> platform,
                            const std::function<void()>& send) {
    auto gui = std::make_shared<leeb::ManualGuiDispatcher>();
    Clock::time_point sent;
    std::vector<double> micros;
    bool arrived = false;
    leeb::HidDeviceControllerSettings settings;
    settings.OnDeviceData = leeb::HidDataEvent::Tagged(&micros, [&](leeb::HidDevice*, uint8_t,
                                                                     const uint8_t*, uint16_t) {
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - sent).count());
        arrived = true;
    });
    leeb::HidDeviceController controller(platform, gui, std::move(settings));
    gui->ProcessPending();
    leeb::HidDevice* device = nullptr;
    if (!controller.CheckOutAt(0, device)) {
        std::fprintf(stderr, "no device to check out\n");
        return micros;
    }
    for (int i = 0; i < Samples; ++i) {
        arrived = false;
        sent = Clock::now();
        send();
        while (!arrived) {
            gui->WaitAndProcess(std::chrono::milliseconds(1000));
        }
    }
    delete device;
    gui->ProcessPending();
    return micros;
}

}  // namespace

int main() {
    auto bus = std::make_shared<leeb::SimulatedHidBus>();
    const leeb::SimulatedDeviceId id = bus->Plug("tester", 0x1234, 0x5678, 1, 9, 9);
    Print("simulated bus", Measure(bus, [&] { bus->QueueInputReport(id, {0, 1, 2, 3}); }));

    leeb::test::FakeHidrawTree tree;
    std::string whyNot;
    if (!tree.MountFuse(whyNot)) {
        std::printf("FUSE node: skipped (%s)\n", whyNot.c_str());
        return 0;
    }
    tree.AddNode(0, 0x1234, 0x5678, 1, leeb::test::UnnumberedDescriptor());
    auto linuxPlatform = std::make_shared<leeb::LinuxHidPlatform>(tree.SysfsRoot(), tree.DevRoot(),
                                                                  leeb::HidChangeSource::None);
    Print("FUSE hidraw node", Measure(linuxPlatform, [&] {
              tree.Send(0, {1, 2, 3, 4, 5, 6, 7, 8});
          }));
    return 0;
}
