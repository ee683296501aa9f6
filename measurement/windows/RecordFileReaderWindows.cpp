// Opening and reading a record file on Windows: UTF-8 names as UTF-16, ReadFile in pieces.
#include <windows.h>

#include <algorithm>
#include <cerrno>

#include "RecordFileErrors.h"
#include "RecordFileReader.h"
#include "WindowsFileNames.h"

namespace leeb {

class RecordFileReader::SystemFile {
  public:
    explicit SystemFile(HANDLE handle) : handle(handle) {}
    ~SystemFile() { ::CloseHandle(handle); }
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;

    const HANDLE handle;
};

namespace {

[[noreturn]] void Fail(const std::string& path, FileProblem problem, DWORD error) {
    throw RecordFileError("Cannot read file '" + path + "': " + WindowsErrorText(error), problem,
                          path, ErrnoFromWindowsError(error));
}

}  // namespace

RecordFileReader::RecordFileReader(const std::string& path) : path_(path) {
    const std::wstring wide = WideFileName(path);
    if (wide.empty()) {
        Fail(path, FileProblem::CannotOpen, ERROR_INVALID_NAME);
    }
    // Opening a folder as a file fails with "access denied", which would send the user looking
    // at permissions; the attributes tell what it is.
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw RecordFileError("Cannot read file '" + path + "': it is a folder",
                              FileProblem::IsAFolder, path, EISDIR);
    }
    // Others may go on reading and writing it, as on POSIX systems.
    const HANDLE handle = ::CreateFileW(wide.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        Fail(path, FileProblem::CannotOpen, ::GetLastError());
    }
    file_ = std::make_unique<SystemFile>(handle);
}

RecordFileReader::~RecordFileReader() = default;

std::size_t RecordFileReader::ReadSome(char* data, std::size_t size) {
    DWORD got = 0;
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!::ReadFile(file_->handle, data, piece, &got, nullptr)) {
        const DWORD error = ::GetLastError();
        // The writing end of a pipe closed: the end of the content, as on POSIX systems.
        if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) {
            return 0;
        }
        Fail(path_, FileProblem::CannotRead, error);
    }
    return got;
}

}  // namespace leeb
