#include "ConnectionWatcher.h"

#include "HidDevice.h"
#include "HidDeviceController.h"

namespace leeb {

ConnectionWatcher::ConnectionWatcher(HidDeviceController& controller, Callbacks callbacks)
    : controller_(controller), callbacks_(std::move(callbacks)) {}

ConnectionWatcher::~ConnectionWatcher() = default;

bool ConnectionWatcher::IsTester(const HidDevice& device) {
    const HIDD_ATTRIBUTES& attributes = device.HidAttributes();
    return attributes.VendorID == TesterVendorId && attributes.ProductID == TesterProductId;
}

void ConnectionWatcher::GiveBackDevices() {
    // Giving a device back may run a pending report hand-off while its read thread stops; the
    // active device is forgotten first so nothing reaches a destroyed object through it.
    activeDevice_ = nullptr;
    deviceConnected_ = false;
    std::vector<HidDevice*> held;
    held.swap(deviceList_);
    for (HidDevice* device : held) {
        delete device;
    }
}

void ConnectionWatcher::DevicesChanged() {
    GiveBackDevices();
    controller_.EnumerateDevices();

    activeDevice_ = nullptr;
    deviceConnected_ = false;
    if (callbacks_.SetStatusText) {
        callbacks_.SetStatusText(NotConnectedText);
    }
    if (callbacks_.SetReadEnabled) {
        callbacks_.SetReadEnabled(false);
    }
    for (HidDevice* device : deviceList_) {
        if (device != nullptr && IsTester(*device)) {
            deviceConnected_ = true;
            activeDevice_ = device;
        }
    }
    if (deviceConnected_) {
        if (callbacks_.SetStatusText) {
            callbacks_.SetStatusText(ConnectedText);
        }
        if (callbacks_.SetReadEnabled) {
            callbacks_.SetReadEnabled(true);
        }
    }
}

bool ConnectionWatcher::CheckOutEnumeratedDevice(HidDevice* device, int idx) {
    HidDevice* checkedOut = nullptr;
    if (device != nullptr && IsTester(*device)) {
        controller_.CheckOutAt(idx, checkedOut);
    }
    deviceList_.push_back(checkedOut);
    return true;
}

}  // namespace leeb
