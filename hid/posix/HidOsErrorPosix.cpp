// errno codes as HID failures.
#include <cerrno>
#include <cstring>

#include "HidTypes.h"

namespace leeb {

HidError HidErrorFromOs(uint32_t osCode) {
    switch (static_cast<int>(osCode)) {
        case 0:
            return HidError::None;
        case ENODEV:
        case ENOENT:
        case ENXIO:
        case ESHUTDOWN:
            return HidError::NotConnected;
        case EACCES:
        case EPERM:
            return HidError::AccessDenied;
        case EBUSY:
            return HidError::Busy;
        case ETIMEDOUT:
            return HidError::TimedOut;
        default:
            return HidError::Failed;
    }
}

std::string HidOsErrorText(uint32_t osCode) {
    return std::strerror(static_cast<int>(osCode));
}

}  // namespace leeb
