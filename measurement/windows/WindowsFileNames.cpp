#include "WindowsFileNames.h"

#include <windows.h>

namespace leeb {

std::wstring WideFileName(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int wide =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (wide <= 0) {
        return {};
    }
    std::wstring result(static_cast<std::size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, result.data(), wide);
    return result;
}

std::string WindowsErrorText(uint32_t code) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string result;
    if (length > 0 && text != nullptr) {
        const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr,
                                               0, nullptr, nullptr);
        result.resize(static_cast<std::size_t>(size > 0 ? size : 0));
        if (size > 0) {
            ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), result.data(), size,
                                  nullptr, nullptr);
        }
    }
    if (text != nullptr) {
        ::LocalFree(text);
    }
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                               result.back() == ' ' || result.back() == '.')) {
        result.pop_back();
    }
    return result.empty() ? "system error " + std::to_string(code) : result;
}

}  // namespace leeb
