// The record file: the lines of RecordLines, each followed by CR LF. Reading splits the whole
// content at CR, LF or CR LF; a NUL byte ends the content.

#include "RecordFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "AtomicFileWrite.h"

namespace leeb {

namespace {

[[noreturn]] void FailRead(const std::string& path, int error) {
    throw RecordFileError(RecordFileError::Operation::Read, path, error);
}

// Reads up to the first NUL byte or the end of the file: what follows a NUL is never used,
// so reading stops there.
std::string ReadContent(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        FailRead(path, errno);
    }
    // A regular file is read in one go: its size plus one byte, to see the end at once.
    struct stat info {};
    std::size_t capacity = 1 << 16;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        capacity = static_cast<std::size_t>(info.st_size) + 1;
    }
    std::string content(capacity, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == content.size()) {
            content.resize(content.size() * 2);  // the file grew, or is no regular file
        }
        const ssize_t got = ::read(fd, content.data() + used, content.size() - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            FailRead(path, error);
        }
        if (got == 0) {
            break;
        }
        const char* nul = static_cast<const char*>(
            std::memchr(content.data() + used, '\0', static_cast<std::size_t>(got)));
        used += static_cast<std::size_t>(got);
        if (nul != nullptr) {
            used = static_cast<std::size_t>(nul - content.data());
            break;
        }
    }
    ::close(fd);
    content.resize(used);
    return content;
}

}  // namespace

RecordFileError::RecordFileError(Operation operation, std::string path, int errorNumber)
    : std::runtime_error(
          std::string(operation == Operation::Read ? "Cannot read file '" : "Cannot write file '") +
          path + "': " + std::strerror(errorNumber)),
      operation_(operation),
      path_(std::move(path)),
      errorNumber_(errorNumber) {}

RecordLines SplitRecordContent(std::string_view content) {
    const std::size_t nul = content.find('\0');
    if (nul != std::string_view::npos) {
        content = content.substr(0, nul);
    }
    // The next CR and the next LF are each looked up with memchr and kept until passed: two
    // fast scans instead of a byte-by-byte test of both characters.
    if (content.empty()) {
        return {};
    }
    const char* const begin = content.data();
    const char* const end = begin + content.size();
    auto next = [end](const char* from, char c) {
        const void* found = std::memchr(from, c, static_cast<std::size_t>(end - from));
        return found != nullptr ? static_cast<const char*>(found) : end;
    };
    RecordLines lines;
    const char* start = begin;
    const char* cr = next(start, '\r');
    const char* lf = next(start, '\n');
    while (start < end) {
        if (cr < start) {
            cr = next(start, '\r');
        }
        if (lf < start) {
            lf = next(start, '\n');
        }
        const char* lineEnd = std::min(cr, lf);
        lines.emplace_back(start, lineEnd);
        if (lineEnd == end) {
            break;  // a last line without a line end
        }
        start = lineEnd + 1;
        if (*lineEnd == '\r' && start < end && *start == '\n') {
            ++start;
        }
    }
    return lines;
}

void WriteRecordFile(const std::string& path, const RecordLines& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines) {
        size += line.size() + 2;
    }
    std::string content;
    content.reserve(size);
    for (const std::string& line : lines) {
        content += line;
        content += "\r\n";
    }
    ReplaceFileContent(path, content);
}

RecordLines ReadRecordFile(const std::string& path) {
    return SplitRecordContent(ReadContent(path));
}

}  // namespace leeb
