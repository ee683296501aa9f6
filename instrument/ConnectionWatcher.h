#pragma once
// Tracks whether the tester is plugged in. On every device change reported by the controller
// it gives back the devices it holds, checks out the testers among the present devices, and
// makes the last of them the ActiveDevice.
//
// Only devices with the tester's vendor and product IDs are checked out: any other HID device
// (a keyboard, a mouse) is never opened or read. It still takes part in the enumeration and
// gets an empty entry in DeviceList.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "CheckedOutDevice.h"
#include "TranslationMarks.h"

namespace leeb {

class HidDevice;
class HidDeviceController;

class ConnectionWatcher {
  public:
    static constexpr uint16_t TesterVendorId = 0x1234;
    static constexpr uint16_t TesterProductId = 0x5678;
    // The window shows them translated under the context "ConnectionWatcher".
    static constexpr const char* ConnectedText = QT_TRANSLATE_NOOP("ConnectionWatcher", "连接OK");
    static constexpr const char* NotConnectedText =
        QT_TRANSLATE_NOOP("ConnectionWatcher", "未连接");

    struct Callbacks {
        std::function<void(const std::string&)> SetStatusText;  // status panel 1
        std::function<void(bool)> SetReadEnabled;
    };

    ConnectionWatcher(HidDeviceController& controller, Callbacks callbacks);
    // Gives back the devices it holds.
    ~ConnectionWatcher();
    ConnectionWatcher(const ConnectionWatcher&) = delete;
    ConnectionWatcher& operator=(const ConnectionWatcher&) = delete;

    // The controller's OnDeviceChange.
    void DevicesChanged();
    // The controller's OnEnumerate; always true.
    bool CheckOutEnumeratedDevice(HidDevice* device, int idx);

    // Destroys every device the watcher holds (giving each back to the controller) and forgets
    // the tester. For front ends that end before the controller does.
    void GiveBackDevices();

    HidDevice* ActiveDevice() const { return activeDevice_; }
    bool DeviceConnected() const { return deviceConnected_; }
    // One entry per plugged device of the last enumeration; null where nothing was checked out.
    // The watcher keeps them: the pointers are good until the next change or give-back.
    std::vector<HidDevice*> DeviceList() const;

    static bool IsTester(const HidDevice& device);

  private:
    HidDeviceController& controller_;
    Callbacks callbacks_;
    std::vector<CheckedOutDevice> deviceList_;
    HidDevice* activeDevice_ = nullptr;
    bool deviceConnected_ = false;
};

}  // namespace leeb
