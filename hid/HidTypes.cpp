#include "HidTypes.h"

#include <system_error>

namespace leeb {

namespace {
thread_local uint32_t lastError = 0;
}

uint32_t HidLastError() {
    return lastError;
}

void SetHidLastError(uint32_t code) {
    lastError = code;
}

std::string HidErrorText(uint32_t code) {
    return std::error_code(static_cast<int>(code), std::system_category()).message();
}

}  // namespace leeb
