#pragma once
// The HID layer of the system the program runs on: hidraw on Linux, the device-setup and HID
// libraries on Windows. Only builds with one of these backends have this function.

#include <memory>

#include "HidPlatform.h"

namespace leeb {

std::shared_ptr<HidPlatform> MakeSystemHidPlatform();

}  // namespace leeb
