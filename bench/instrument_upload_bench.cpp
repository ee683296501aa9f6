// The upload's cost over the simulated bus with the tester simulator, on the whole path
// write -> simulator -> read thread -> hand-off to the GUI thread -> upload -> next write.
//
//  1. No reply delay, 1,000 records (9,001 round trips): the stack's overhead per round
//     trip, median and total.
//  2. A 1 ms reply delay, 200 records: total time over the sum of the delays, and the
//     process's CPU time over its wall time (an idle wait must cost nothing).

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "ConnectionWatcher.h"
#include "HidUploadDevice.h"
#include "ManualGuiDispatcher.h"
#include "RecordUpload.h"
#include "SimulatedHidBus.h"
#include "HidDeviceController.h"
#include "TesterSimulator.h"

namespace {

using namespace leeb;
using Clock = std::chrono::steady_clock;

class QuietView : public UploadView {
  public:
    void ClearRecords() override {}
    void RecordAppended(const AppendedRecord&) override {}
    void AddBar(int, double) override {}
    void ShowRecordDetails(const RecordView&) override {}
    void SetButtonEnabled(CommandButton, bool) override {}
    void SetProgress(const std::string&) override {}
    bool AutoStartArmed() const override { return true; }
    void ArmAutoStart() override {}
    void StartReplyTimer(int) override {}
    void CancelReplyTimer() override {}
    void Notify(const UploadNotice& notice) override {
        std::fprintf(stderr, "upload notice %d at record %d\n", static_cast<int>(notice.Kind),
                     notice.Record);
    }
};

// Notes the instant of every write: the gaps between writes are the round trips.
class TimedDevice : public UploadDevice {
  public:
    explicit TimedDevice(UploadDevice& inner) : inner_(inner) {}
    bool DeviceConnected() const override { return inner_.DeviceConnected(); }
    std::size_t OutputReportByteLength() const override { return inner_.OutputReportByteLength(); }
    std::size_t InputReportByteLength() const override { return inner_.InputReportByteLength(); }
    bool WriteReport(const std::vector<uint8_t>& report) override {
        Writes.push_back(Clock::now());
        return inner_.WriteReport(report);
    }
    void AssignUploadHandler() override { inner_.AssignUploadHandler(); }

    std::vector<Clock::time_point> Writes;

  private:
    UploadDevice& inner_;
};

SimulatorRecordSet ManyRecords(int count) {
    SimulatorRecordSet set;
    for (int n = 1; n <= count; ++n) {
        SimulatedRecord record;
        record.Number = n;
        record.Record.ImpactCount = 32;
        for (std::size_t k = 0; k < 32; ++k) {
            record.Record.Readings[k] = static_cast<uint16_t>(400 + (n + k) % 200);
        }
        record.Record.SettingsWord = static_cast<uint16_t>((n % 2) ? 0 : 3 << 12);
        record.Record.DateWord = 2600;
        set.Records.push_back(record);
    }
    return set;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Run {
    double WallSeconds = 0;
    double CpuSeconds = 0;
    std::vector<double> RoundTripsUs;
    int Lines = 0;
    PreciseScheduler::Lateness Lateness;
};

Run Upload(int records, std::chrono::microseconds delay) {
    auto bus = std::make_shared<SimulatedHidBus>();
    auto gui = std::make_shared<ManualGuiDispatcher>();
    TesterSimulator simulator(ManyRecords(records));
    simulator.SetReplyDelay(delay);
    simulator.PlugInto(bus);

    Run run;
    {
        HidDeviceController controller(bus, gui);
        ConnectionWatcher watcher(controller, {});
        HidUploadDevice hidDevice(watcher);
        TimedDevice device(hidDevice);
        QuietView view;
        RecordLines lines;
        RecordUpload upload(device, view, lines, '.');
        hidDevice.SetUpload(&upload);
        controller.SetOnEnumerate(
            HidEnumerateEvent::Bind(&watcher, &ConnectionWatcher::CheckOutEnumeratedDevice));
        controller.SetOnDeviceChange(HidNotifyEvent::Tagged(
            &watcher, [&](HidDeviceController*) { watcher.DevicesChanged(); }));
        gui->ProcessPending();

        const auto start = Clock::now();
        const double cpuStart = CpuSeconds();
        upload.Start();
        while (upload.Running()) {
            gui->WaitAndProcess(std::chrono::milliseconds(1000));
        }
        run.CpuSeconds = CpuSeconds() - cpuStart;
        run.WallSeconds = std::chrono::duration<double>(Clock::now() - start).count();
        for (std::size_t i = 1; i < device.Writes.size(); ++i) {
            run.RoundTripsUs.push_back(
                std::chrono::duration<double, std::micro>(device.Writes[i] - device.Writes[i - 1])
                    .count());
        }
        run.Lines = static_cast<int>(lines.size());
        run.Lateness = simulator.ReplyLateness();

        hidDevice.SetUpload(nullptr);
        controller.SetOnDeviceChange(nullptr);
        watcher.GiveBackDevices();
    }
    gui->ProcessPending();
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main() {
    {
        const Run run = Upload(1000, std::chrono::microseconds(0));
        std::vector<double> trips = run.RoundTripsUs;
        std::sort(trips.begin(), trips.end());
        std::printf("no delay, 1000 records: %d lines, %zu round trips in %.3f s\n", run.Lines - 1,
                    run.RoundTripsUs.size() + 1, run.WallSeconds);
        std::printf("  round trip: median %.1f us, 90%% %.1f us, 99%% %.1f us, mean %.1f us\n",
                    Median(trips), trips[trips.size() * 9 / 10], trips[trips.size() * 99 / 100],
                    run.WallSeconds * 1e6 / static_cast<double>(run.RoundTripsUs.size() + 1));
    }
    {
        const std::chrono::microseconds delay(1000);
        const Run run = Upload(200, delay);
        const int trips = static_cast<int>(run.RoundTripsUs.size()) + 1;
        const double delays = trips * 1e-3;
        std::printf("1 ms delay, 200 records: %d lines, %d round trips in %.3f s\n", run.Lines - 1,
                    trips, run.WallSeconds);
        std::printf("  total / sum of delays: %.3f\n", run.WallSeconds / delays);
        std::printf("  CPU / wall: %.3f (%.3f s CPU)\n", run.CpuSeconds / run.WallSeconds,
                    run.CpuSeconds);
        std::printf(
            "  reply lateness: mean %.1f us, max %.1f us, %.1f%% within 50 us, %llu replies\n",
            static_cast<double>(run.Lateness.Mean().count()) / 1e3,
            static_cast<double>(run.Lateness.Max.count()) / 1e3,
            100.0 * static_cast<double>(run.Lateness.Within50us) /
                static_cast<double>(std::max<uint64_t>(run.Lateness.Calls, 1)),
            static_cast<unsigned long long>(run.Lateness.Calls));
    }
    return 0;
}
