#include "ConnectionWatcher.h"

#include "HidDevice.h"
#include "HidDeviceController.h"

namespace leeb {

ConnectionWatcher::ConnectionWatcher(HidDeviceController& controller, Callbacks callbacks)
    : controller_(controller), callbacks_(std::move(callbacks)) {}

ConnectionWatcher::~ConnectionWatcher() {
    GiveBackDevices();
}

bool ConnectionWatcher::IsTester(const HidDevice& device) {
    const HIDD_ATTRIBUTES& attributes = device.HidAttributes();
    return attributes.VendorID == TesterVendorId && attributes.ProductID == TesterProductId;
}

void ConnectionWatcher::GiveBackDevices() {
    // Giving a device back may run a pending report hand-off while its read thread stops; the
    // active device is forgotten first so nothing reaches a destroyed object through it.
    activeDevice_ = nullptr;
    deviceConnected_ = false;
    std::vector<CheckedOutDevice> held;
    held.swap(deviceList_);
    held.clear();
}

std::vector<HidDevice*> ConnectionWatcher::DeviceList() const {
    std::vector<HidDevice*> devices;
    devices.reserve(deviceList_.size());
    for (const CheckedOutDevice& device : deviceList_) {
        devices.push_back(device.Get());
    }
    return devices;
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
    for (const CheckedOutDevice& device : deviceList_) {
        if (device && IsTester(*device)) {
            deviceConnected_ = true;
            activeDevice_ = device.Get();
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
    CheckedOutDevice checkedOut;
    if (device != nullptr && IsTester(*device)) {
        checkedOut = controller_.CheckOut(idx);
    }
    deviceList_.push_back(std::move(checkedOut));
    return true;
}

}  // namespace leeb
