#pragma once
// The HID layer of the system the program runs on, for talking to a real tester.

#include <memory>

#include "HidPlatform.h"

namespace leeb::cli {

// Linux: hidraw with the default roots; Windows: the system's HID libraries. Throws
// CliFailure on a build without a HID backend.
std::shared_ptr<HidPlatform> SystemHidPlatform();

}  // namespace leeb::cli
