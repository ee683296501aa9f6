#pragma once
// The event types of the HID devices and their controller.

#include <cstdint>

#include "HidEvent.h"
#include "HidTypes.h"

namespace leeb {

class HidDevice;
class HidDeviceController;

// An input report: ReportID is byte 0 of the report, Data/Size the bytes after it. Data is
// valid only during the call.
using HidDataEvent =
    HidEvent<void(HidDevice* HidDev, uint8_t ReportID, const uint8_t* Data, uint16_t Size)>;
// A read that could not be started, with what went wrong and the OS error code.
using HidDataErrorEvent = HidEvent<void(HidDevice* HidDev, HidFailure Error)>;
using HidPlugEvent = HidEvent<void(HidDevice* HidDev)>;
// Offered a plugged device and its index in the controller's list; true to go on.
using HidEnumerateEvent = HidEvent<bool(HidDevice* HidDev, int32_t Idx)>;
using HidNotifyEvent = HidEvent<void(HidDeviceController* Sender)>;

}  // namespace leeb
