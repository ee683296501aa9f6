// CPU cost of an idle checked-out device: its read thread waits for a report that never
// comes while the GUI thread waits for hand-offs. Prints the process's CPU seconds over 10 s.
#include <time.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "FakeHidrawTree.h"
#include "LinuxHidPlatform.h"
#include "ManualGuiDispatcher.h"
#include "SimulatedHidBus.h"
#include "HidDevice.h"
#include "HidDeviceController.h"

namespace {

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void Idle(const char* name, std::shared_ptr<leeb::HidPlatform> platform, int seconds) {
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
    const double before = CpuSeconds();
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        gui->WaitAndProcess(std::chrono::milliseconds(500));
    }
    std::printf("%-20s %.4f CPU seconds over %d s idle\n", name, CpuSeconds() - before, seconds);
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
