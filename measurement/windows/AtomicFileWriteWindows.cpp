// Replacing a file on Windows: a new file beside it (CREATE_NEW), every write checked,
// FlushFileBuffers, then ReplaceFileW over an existing file or MoveFileExW (written through)
// to a new name. Paths go to the system in their long form ("\\?\C:\..."), so that a
// temporary name beside a target near the old 260-character limit still opens.
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cwctype>
#include <random>

#include "AtomicFileWrite.h"
#include "RecordFileErrors.h"
#include "StaleTemporaryFiles.h"
#include "WindowsFileNames.h"

namespace leeb {

class AtomicFileWriter::SystemFile {
  public:
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::wstring path;  // the target, long form, links followed
    std::wstring tempPath;
    bool exists = false;
    DWORD attributes = 0;  // of the target when it exists
};

namespace {

enum class TargetKind { Missing, RegularFile, Folder, Device };

struct Target {
    TargetKind kind = TargetKind::Missing;
    std::wstring path;  // long form, links followed
    DWORD attributes = 0;
    DWORD error = ERROR_SUCCESS;  // set when the target could not be looked at
};

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    const std::wstring_view p(prefix);
    return text.size() >= p.size() &&
           std::equal(p.begin(), p.end(), text.begin(),
                      [](wchar_t a, wchar_t b) { return std::towupper(a) == std::towupper(b); });
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool IsDriveRoot(const std::wstring& text, std::size_t at) {
    return text.size() > at + 2 && std::iswalpha(text[at]) && text[at + 1] == L':' &&
           IsSeparator(text[at + 2]);
}

// The names the system keeps for devices in every folder: "NUL", "nul.txt" and "C:\x\con"
// all reach a device on the versions of Windows that are still in use. COM and LPT take one
// digit, also a superscript one.
bool IsReservedDeviceName(std::wstring name) {
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && (name.back() == L' ' || name.back() == L':')) {
        name.pop_back();
    }
    for (wchar_t& c : name) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    if (name == L"CON" || name == L"PRN" || name == L"AUX" || name == L"NUL" || name == L"CONIN$" ||
        name == L"CONOUT$") {
        return true;
    }
    if (name.size() == 4 && (name.compare(0, 3, L"COM") == 0 || name.compare(0, 3, L"LPT") == 0)) {
        const wchar_t digit = name[3];
        return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' ||
               digit == L'\u00B3';
    }
    return false;
}

// A path in the device namespace ("\\.\pipe\x", "\\.\COM1", "\\?\GLOBALROOT\...") names no
// file; "\\?\C:\..." and "\\?\UNC\..." are only the long form of file names.
bool IsDevicePath(const std::wstring& full) {
    if (!StartsWith(full, L"\\\\.\\") && !StartsWith(full, L"\\\\?\\")) {
        return false;
    }
    return !IsDriveRoot(full, 4) && !StartsWith(full, L"\\\\?\\UNC\\");
}

std::wstring FullPath(const std::wstring& path) {
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return {};
    }
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) {
        return {};
    }
    full.resize(length);
    return full;
}

// "C:\x" -> "\\?\C:\x", "\\server\share\x" -> "\\?\UNC\server\share\x"; other forms stay.
std::wstring LongForm(const std::wstring& full) {
    if (IsDriveRoot(full, 0)) {
        return L"\\\\?\\" + full;
    }
    if (full.size() > 2 && IsSeparator(full[0]) && IsSeparator(full[1]) && full[2] != L'?' &&
        full[2] != L'.') {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return full;
}

std::size_t NameStart(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? 0 : slash + 1;
}

// What `given` names, a link followed to the file it points at. A link is resolved by opening
// it: a dangling link or a loop then fails with the system's reason instead of replacing the
// link with a separate file.
Target Inspect(const std::wstring& given) {
    Target target;
    const std::wstring full = FullPath(given);
    if (full.empty()) {
        target.error = ::GetLastError() != ERROR_SUCCESS ? ::GetLastError() : ERROR_INVALID_NAME;
        return target;
    }
    if (IsDevicePath(full) || IsReservedDeviceName(full.substr(NameStart(full)))) {
        target.kind = TargetKind::Device;
        return target;
    }
    target.path = LongForm(full);
    target.attributes = ::GetFileAttributesW(target.path.c_str());
    if (target.attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            target.error = error;
        }
        return target;
    }
    if ((target.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        target.kind = TargetKind::Folder;
        return target;
    }
    target.kind = TargetKind::RegularFile;
    if ((target.attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return target;
    }
    const HANDLE linked =
        ::CreateFileW(target.path.c_str(), FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (linked == INVALID_HANDLE_VALUE) {
        target.error = ::GetLastError();
        return target;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    std::wstring resolved(MAX_PATH, L'\0');
    DWORD length = 0;
    if (::GetFileType(linked) != FILE_TYPE_DISK) {
        target.kind = TargetKind::Device;
    } else if (!::GetFileInformationByHandle(linked, &info)) {
        target.error = ::GetLastError();
    } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        target.kind = TargetKind::Folder;
    } else {
        target.attributes = info.dwFileAttributes;
        length = ::GetFinalPathNameByHandleW(
            linked, resolved.data(), static_cast<DWORD>(resolved.size()), FILE_NAME_NORMALIZED);
        if (length >= resolved.size()) {
            resolved.resize(length);
            length = ::GetFinalPathNameByHandleW(
                linked, resolved.data(), static_cast<DWORD>(resolved.size()), FILE_NAME_NORMALIZED);
        }
        if (length == 0 || length >= resolved.size()) {
            target.error = length == 0 ? ::GetLastError() : ERROR_FILENAME_EXCED_RANGE;
        } else {
            target.path = resolved.substr(0, length);
        }
    }
    ::CloseHandle(linked);
    return target;
}

// The longest file name the folder's volume takes, in UTF-16 units.
std::size_t NameLimit(const std::wstring& path) {
    std::wstring volume(path.size() + 1, L'\0');
    DWORD nameMax = 0;
    if (::GetVolumePathNameW(path.c_str(), volume.data(), static_cast<DWORD>(volume.size())) &&
        ::GetVolumeInformationW(volume.c_str(), nullptr, 0, nullptr, &nameMax, nullptr, nullptr,
                                0) &&
        nameMax > 0) {
        return nameMax;
    }
    return 255;
}

// A new file "<folder>\.<name>.<process id>-<random>.tmp"; CREATE_NEW guarantees it is ours,
// and being opened without sharing keeps anyone from removing it while we write. The name is
// shortened in UTF-8 bytes to the folder's limit in UTF-16 units: a character never takes
// more UTF-16 units than UTF-8 bytes, so it fits.
HANDLE CreateTemporary(const std::wstring& path, std::wstring& tempPath) {
    const std::size_t nameStart = NameStart(path);
    const std::string name = Utf8FileName(path.substr(nameStart));
    const std::size_t nameMax = NameLimit(path);
    std::random_device seed;
    std::mt19937 random(seed());
    const unsigned long self = ::GetCurrentProcessId();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string unique = TemporaryUniquePart(self, random());
        tempPath =
            path.substr(0, nameStart) + WideFileName(TemporaryFileName(name, unique, nameMax));
        const HANDLE file = ::CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& givenPath) : givenPath_(givenPath) {
    const std::wstring wide = WideFileName(givenPath);
    if (wide.empty()) {
        Fail(ERROR_INVALID_NAME);
    }
    const Target target = Inspect(wide);
    if (target.error != ERROR_SUCCESS) {
        Fail(static_cast<int>(target.error));
    }
    if (target.kind == TargetKind::Device || target.kind == TargetKind::Folder) {
        const bool folder = target.kind == TargetKind::Folder;
        throw RecordFileError("Cannot write file '" + givenPath_ + "': " +
                                  (folder ? "it is a folder" : "it is a device, not a file"),
                              FileProblem::NotARegularFile, givenPath_, folder ? EISDIR : 0);
    }
    const bool exists = target.kind == TargetKind::RegularFile;
    // A read-only file is refused as writing in place would refuse it.
    if (exists && (target.attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        Fail(ERROR_ACCESS_DENIED);
    }
    auto file = std::make_unique<SystemFile>();
    file->path = target.path;
    file->exists = exists;
    file->attributes = target.attributes;
    RemoveStaleTemporaries(Utf8FileName(file->path), NameLimit(file->path));
    file->handle = CreateTemporary(file->path, file->tempPath);
    if (file->handle == INVALID_HANDLE_VALUE) {
        Fail(static_cast<int>(::GetLastError()));
    }
    path_ = Utf8FileName(file->path);
    tempPath_ = Utf8FileName(file->tempPath);
    file_ = std::move(file);
}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

void AtomicFileWriter::Discard() {
    if (file_) {
        if (file_->handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file_->handle);
        }
        ::DeleteFileW(file_->tempPath.c_str());
        file_.reset();
    }
}

void AtomicFileWriter::Fail(int error) {
    Discard();
    const DWORD code = static_cast<DWORD>(error);
    throw RecordFileError("Cannot write file '" + givenPath_ + "': " + WindowsErrorText(code),
                          FileProblem::CannotWrite, givenPath_, ErrnoFromWindowsError(code));
}

bool AtomicFileWriter::Write(std::string_view data) {
    while (writeError_ == 0 && file_ && !data.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file_->handle, data.data(), piece, &written, nullptr)) {
            writeError_ = static_cast<int>(::GetLastError());
        } else if (written == 0) {
            writeError_ = ERROR_WRITE_FAULT;
        }
        data.remove_prefix(written);
    }
    return writeError_ == 0 && file_;
}

void AtomicFileWriter::Commit() {
    if (!file_) {
        Fail(ERROR_INVALID_HANDLE);
    }
    if (writeError_ != 0) {
        Fail(writeError_);
    }
    if (!::FlushFileBuffers(file_->handle)) {
        Fail(static_cast<int>(::GetLastError()));
    }
    const HANDLE handle = file_->handle;
    file_->handle = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(handle)) {
        Fail(static_cast<int>(::GetLastError()));
    }
    // ReplaceFileW keeps the replaced file's attributes and permissions; a new file is moved
    // into place, the move written through before it returns. A file removed meanwhile is
    // written as a new one.
    const wchar_t* const path = file_->path.c_str();
    const wchar_t* const tempPath = file_->tempPath.c_str();
    bool replaced =
        file_->exists &&
        ::ReplaceFileW(path, tempPath, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    if (!replaced && (!file_->exists || ::GetLastError() == ERROR_FILE_NOT_FOUND)) {
        replaced =
            ::MoveFileExW(tempPath, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    if (!replaced) {
        // Whatever step failed, no backup name was asked for, so the replaced file still has
        // its name and its old content; the temporary file goes.
        Fail(static_cast<int>(::GetLastError()));
    }
    // Not every implementation of ReplaceFileW carries the attributes over; the content is in
    // place already, so a failure here loses nothing.
    if (file_->exists) {
        ::SetFileAttributesW(path, file_->attributes);
    }
    file_.reset();
}

bool IsNonRegularFile(const std::string& path) {
    const std::wstring wide = WideFileName(path);
    if (wide.empty()) {
        return false;
    }
    const TargetKind kind = Inspect(wide).kind;
    return kind == TargetKind::Device || kind == TargetKind::Folder;
}

}  // namespace leeb
