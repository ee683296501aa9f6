#pragma once
// The whole upload path on the simulated bus: controller, connection watcher, upload and a
// recording window, with the GUI queue pumped by the test. Replies travel write -> simulator
// -> read thread -> dispatcher -> upload, as in the program.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ConnectionWatcher.h"
#include "FakeUpload.h"
#include "HidUploadDevice.h"
#include "ManualGuiDispatcher.h"
#include "RecordUpload.h"
#include "SimulatedHidBus.h"
#include "HidDeviceController.h"
#include "TesterSimulator.h"

namespace leeb::test {

class BusUpload {
  public:
    static constexpr std::chrono::milliseconds Patience{5000};

    BusUpload();
    ~BusUpload();

    // Runs the controller's start-up notification and every change queued since.
    void Settle();
    // Starts an upload and pumps the GUI queue until it has ended; false on time-out. With
    // replyTimeout set, a reply timer left running that long elapses, as the window's would.
    bool RunUpload();
    // Pumps until `done` holds; false on time-out.
    bool PumpUntil(const std::function<bool()>& done);
    // Whether the automatic start fired (Timer2): clears the armed state and starts.
    void FireAutoStart();
    // The window closes: the upload aborts and everything it used goes away.
    void Close();

    std::shared_ptr<SimulatedHidBus> bus = std::make_shared<SimulatedHidBus>();
    std::shared_ptr<ManualGuiDispatcher> gui = std::make_shared<ManualGuiDispatcher>();
    std::unique_ptr<HidDeviceController> controller;
    std::unique_ptr<ConnectionWatcher> watcher;
    std::unique_ptr<HidUploadDevice> device;
    FakeUploadView view;
    RecordLines lines;
    std::unique_ptr<RecordUpload> upload;
    std::vector<std::string> statusTexts;
    std::optional<std::chrono::milliseconds> replyTimeout;
    int controllerLevelReports = 0;

  private:
    void DeviceChange(HidDeviceController*);
    void DeviceData(HidDevice*, uint8_t, const uint8_t*, uint16_t);
};

}  // namespace leeb::test
