#pragma once
// The event types of the HID devices and their controller.

#include <cstdint>

#include "HidEvent.h"
#include "HidTypes.h"

namespace leeb {

class THidDevice;
class THidDeviceController;

// An input report: ReportID is byte 0 of the report, Data/Size the bytes after it. Data is
// valid only during the call.
using THidDataEvent =
    THidEvent<void(THidDevice* HidDev, uint8_t ReportID, const uint8_t* Data, uint16_t Size)>;
// A read that could not be started, with what went wrong and the OS error code.
using THidDataErrorEvent = THidEvent<void(THidDevice* HidDev, HidFailure Error)>;
using THidPlugEvent = THidEvent<void(THidDevice* HidDev)>;
// Offered a plugged device and its index in the controller's list; true to go on.
using THidEnumerateEvent = THidEvent<bool(THidDevice* HidDev, int32_t Idx)>;
using THidNotifyEvent = THidEvent<void(THidDeviceController* Sender)>;

}  // namespace leeb
