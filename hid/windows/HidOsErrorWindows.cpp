// GetLastError() codes as HID failures.
#include <windows.h>

#include "HidTypes.h"

#ifndef ERROR_NO_SUCH_DEVICE
#define ERROR_NO_SUCH_DEVICE 433L
#endif

namespace leeb {

HidError HidErrorFromOs(uint32_t osCode) {
    switch (osCode) {
        case ERROR_SUCCESS:
            return HidError::None;
        case ERROR_DEVICE_NOT_CONNECTED:
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_NO_SUCH_DEVICE:
            return HidError::NotConnected;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return HidError::AccessDenied;
        case ERROR_BUSY:
            return HidError::Busy;
        case WAIT_TIMEOUT:
        case ERROR_TIMEOUT:
        case ERROR_SEM_TIMEOUT:
            return HidError::TimedOut;
        default:
            return HidError::Failed;
    }
}

std::string HidOsErrorText(uint32_t osCode) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, osCode, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
        reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length > 0 && text != nullptr ? std::string(text, length) : std::string();
    if (text != nullptr) {
        ::LocalFree(text);
    }
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                               result.back() == ' ' || result.back() == '.')) {
        result.pop_back();
    }
    return result.empty() ? "system error " + std::to_string(osCode) : result;
}

}  // namespace leeb
