#include "HidTypes.h"

namespace leeb {

namespace {
thread_local HidFailure lastError;
}

HidFailure HidLastError() {
    return lastError;
}

void SetHidLastError(HidError error, uint32_t osCode) {
    lastError = {error, osCode};
}

void SetHidLastOsError(uint32_t osCode) {
    SetHidLastError(HidErrorFromOs(osCode), osCode);
}

std::string HidErrorText(const HidFailure& failure) {
    std::string text;
    switch (failure.Error) {
        case HidError::None:
            text = "no error";
            break;
        case HidError::NotConnected:
            text = "the device is not connected";
            break;
        case HidError::AccessDenied:
            text = "access to the device is denied";
            break;
        case HidError::Busy:
            text = "the device is busy";
            break;
        case HidError::TimedOut:
            text = "the device did not answer in time";
            break;
        case HidError::NoReport:
            text = "the device has no report of that kind";
            break;
        case HidError::Failed:
            text = "the device failed";
            break;
    }
    if (failure.OsCode != 0) {
        text += " (" + HidOsErrorText(failure.OsCode) + ")";
    }
    return text;
}

}  // namespace leeb
