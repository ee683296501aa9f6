#include <windows.h>

#include <algorithm>
#include <random>

#include "AtomicFileWrite.h"
#include "RecordFile.h"
#include "WindowsFileNames.h"

namespace leeb {

namespace {

[[noreturn]] void Fail(const std::string& path, DWORD error) {
    throw RecordFileError("Cannot write file '" + path + "': " + WindowsErrorText(error));
}

std::wstring Folder(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash == 0 ? 1 : slash);
}

// A new file "<folder>\.<name>.<random>.tmp"; CREATE_NEW guarantees it is ours.
HANDLE CreateTemporary(const std::wstring& path, std::wstring& tempPath) {
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath =
            Folder(path) + L"\\." + name + L"." + std::to_wstring(random() % 1000000) + L".tmp";
        const HANDLE file = ::CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, std::string_view content) {
    while (!content.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, content.data(), chunk, &written, nullptr)) {
            return false;
        }
        if (written == 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        content.remove_prefix(written);
    }
    return true;
}

}  // namespace

void ReplaceFileContent(const std::string& givenPath, std::string_view content) {
    const std::wstring path = WideFileName(givenPath);
    if (path.empty()) {
        Fail(givenPath, ERROR_INVALID_NAME);
    }
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // A read-only file is refused as writing in place would refuse it; a folder is no file.
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        Fail(givenPath, ERROR_ACCESS_DENIED);
    }
    std::wstring tempPath;
    const HANDLE file = CreateTemporary(path, tempPath);
    if (file == INVALID_HANDLE_VALUE) {
        Fail(givenPath, ::GetLastError());
    }
    if (!WriteAll(file, content) || !::FlushFileBuffers(file)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(file);
        ::DeleteFileW(tempPath.c_str());
        Fail(givenPath, error);
    }
    if (!::CloseHandle(file)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(tempPath.c_str());
        Fail(givenPath, error);
    }
    // ReplaceFileW keeps the replaced file's attributes and permissions; a new file is moved
    // into place, the move written through before it returns.
    bool replaced = exists && ::ReplaceFileW(path.c_str(), tempPath.c_str(), nullptr,
                                             REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    if (!replaced && (!exists || ::GetLastError() == ERROR_FILE_NOT_FOUND)) {
        replaced = ::MoveFileExW(tempPath.c_str(), path.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    if (!replaced) {
        // Whatever step failed, the replaced file still has its name and its old content.
        const DWORD error = ::GetLastError();
        ::DeleteFileW(tempPath.c_str());
        Fail(givenPath, error);
    }
    // Not every implementation of ReplaceFileW carries the attributes over; the content is in
    // place already, so a failure here loses nothing.
    if (exists) {
        ::SetFileAttributesW(path.c_str(), attributes);
    }
}

}  // namespace leeb
