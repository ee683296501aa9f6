#pragma once
// The plug-and-play description of one HID interface, as the controller's scan found it.

#include <string>

namespace leeb {

class HidDeviceInfo {
  public:
    HidDeviceInfo(std::string deviceInstance, std::string devicePath)
        : DeviceInstance(std::move(deviceInstance)), DevicePath(std::move(devicePath)) {}

    // The platform's stable identity of the present interface: the controller tells devices
    // apart by this value alone.
    const std::string DeviceInstance;
    // What opens the interface.
    const std::string DevicePath;
};

}  // namespace leeb
