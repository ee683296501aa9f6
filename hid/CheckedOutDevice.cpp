#include "CheckedOutDevice.h"

#include "HidDevice.h"

namespace leeb {

void CheckedOutDevice::GiveBack() noexcept {
    // Emptied before the device goes: its destructor may run a pending report hand-off that
    // looks at this holder again.
    delete std::exchange(device_, nullptr);
}

}  // namespace leeb
