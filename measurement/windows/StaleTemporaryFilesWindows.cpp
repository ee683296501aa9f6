// A writer is gone when no running process has its id. Its temporary file is then removed only
// if the system lets it be deleted: a writer opens its file without sharing, so a file still
// open anywhere (a writer on another machine sharing the folder) stays.
#include <windows.h>

#include "AtomicFileWrite.h"
#include "StaleTemporaryFiles.h"
#include "WindowsFileNames.h"

namespace leeb {

namespace {

bool ProcessRunning(unsigned long id) {
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
    if (process == nullptr) {
        // No such process; any other refusal (access denied) means one is there.
        return ::GetLastError() != ERROR_INVALID_PARAMETER;
    }
    const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    ::CloseHandle(process);
    return running;
}

// The path as it came (already in the long form the writer uses), in UTF-16.
std::wstring Wide(const std::string& utf8) {
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                              length);
    }
    return wide;
}

}  // namespace

void RemoveStaleTemporaries(const std::string& targetPath, std::size_t nameMax) {
    const std::wstring path = Wide(targetPath);
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        return;
    }
    const std::wstring folder = path.substr(0, slash + 1);
    const std::string target = Utf8FileName(path.substr(slash + 1));
    WIN32_FIND_DATAW entry{};
    const HANDLE search = ::FindFirstFileW((folder + L"*.tmp").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    const unsigned long self = ::GetCurrentProcessId();
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            continue;
        }
        const std::optional<unsigned long> writer =
            TemporaryWriterId(Utf8FileName(entry.cFileName), target, nameMax);
        if (writer && *writer != self && !ProcessRunning(*writer)) {
            ::DeleteFileW((folder + entry.cFileName).c_str());
        }
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
}

}  // namespace leeb
