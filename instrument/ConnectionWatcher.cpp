#include "ConnectionWatcher.h"

#include "THidDevice.h"
#include "THidDeviceController.h"

namespace leeb {

ConnectionWatcher::ConnectionWatcher(THidDeviceController& controller, Callbacks callbacks)
    : controller_(controller), callbacks_(std::move(callbacks)) {}

ConnectionWatcher::~ConnectionWatcher() = default;

bool ConnectionWatcher::IsTester(const THidDevice& device) {
    const HIDD_ATTRIBUTES& attributes = device.HidAttributes();
    return attributes.VendorID == TesterVendorId && attributes.ProductID == TesterProductId;
}

void ConnectionWatcher::GiveBackDevices() {
    // Giving a device back may run a pending report hand-off while its read thread stops; the
    // active device is forgotten first so nothing reaches a destroyed object through it.
    activeDevice_ = nullptr;
    deviceConnected_ = false;
    std::vector<THidDevice*> held;
    held.swap(deviceList_);
    for (THidDevice* device : held) {
        delete device;
    }
}

void ConnectionWatcher::HidDeviceController1DeviceChange() {
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
    for (THidDevice* device : deviceList_) {
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

bool ConnectionWatcher::HidDeviceController1Enumerate(THidDevice* device, int idx) {
    THidDevice* checkedOut = nullptr;
    if (device != nullptr && IsTester(*device)) {
        controller_.CheckOutAt(idx, checkedOut);
    }
    deviceList_.push_back(checkedOut);
    return true;
}

}  // namespace leeb
