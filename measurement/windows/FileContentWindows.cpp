#include <windows.h>

#include <algorithm>
#include <cstring>

#include "FileContent.h"
#include "RecordFile.h"
#include "WindowsFileNames.h"

namespace leeb {

namespace {

[[noreturn]] void FailRead(const std::string& path, DWORD error) {
    throw RecordFileError("Cannot read file '" + path + "': " + WindowsErrorText(error));
}

}  // namespace

std::string ReadFileUpToNul(const std::string& path) {
    const std::wstring name = WideFileName(path);
    if (name.empty()) {
        FailRead(path, ERROR_INVALID_NAME);
    }
    // Others may go on writing or replacing the file while it is read, as on other systems.
    const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        FailRead(path, ::GetLastError());
    }
    // A regular file is read in one go: its size plus one byte, to see the end at once.
    std::size_t capacity = 1 << 16;
    LARGE_INTEGER size{};
    if (::GetFileType(file) == FILE_TYPE_DISK && ::GetFileSizeEx(file, &size) &&
        size.QuadPart > 0 && static_cast<unsigned long long>(size.QuadPart) < (1ULL << 40)) {
        capacity = static_cast<std::size_t>(size.QuadPart) + 1;
    }
    std::string content(capacity, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == content.size()) {
            content.resize(content.size() * 2);  // the file grew
        }
        const DWORD want =
            static_cast<DWORD>(std::min<std::size_t>(content.size() - used, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(file, content.data() + used, want, &got, nullptr)) {
            const DWORD error = ::GetLastError();
            ::CloseHandle(file);
            FailRead(path, error);
        }
        if (got == 0) {
            break;
        }
        const char* nul = static_cast<const char*>(std::memchr(content.data() + used, '\0', got));
        used += got;
        if (nul != nullptr) {
            used = static_cast<std::size_t>(nul - content.data());
            break;
        }
    }
    ::CloseHandle(file);
    content.resize(used);
    return content;
}

}  // namespace leeb
