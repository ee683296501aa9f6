// The record file: the lines of RecordLines, each followed by CR LF. Reading splits the whole
// content at CR, LF or CR LF; a NUL byte ends the content.

#include "RecordFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "AtomicFileWrite.h"

namespace leeb {

namespace {

[[noreturn]] void FailRead(const std::string& path, int error) {
    throw RecordFileError("Cannot read file '" + path + "': " + std::strerror(error));
}

// Reads up to the first NUL byte or the end of the file: what follows a NUL is never used,
// so reading stops there.
std::string ReadContent(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        FailRead(path, errno);
    }
    std::string content;
    std::size_t used = 0;
    // One read for a regular file: its size plus one byte to see the end.
    struct stat info {};
    std::size_t chunk = 1 << 16;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        chunk = static_cast<std::size_t>(info.st_size) + 1;
    }
    for (;;) {
        content.resize(used + chunk);
        const ssize_t got = ::read(fd, content.data() + used, chunk);
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
        if (nul != nullptr) {
            used = static_cast<std::size_t>(nul - content.data());
            break;
        }
        used += static_cast<std::size_t>(got);
        if (chunk < (std::size_t{1} << 24)) {
            chunk *= 2;
        }
    }
    ::close(fd);
    content.resize(used);
    return content;
}

}  // namespace

RecordLines SplitRecordContent(std::string_view content) {
    const std::size_t nul = content.find('\0');
    if (nul != std::string_view::npos) {
        content = content.substr(0, nul);
    }
    RecordLines lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = start;
        while (end < content.size() && content[end] != '\r' && content[end] != '\n') {
            ++end;
        }
        lines.emplace_back(content.substr(start, end - start));
        if (end == content.size()) {
            break;  // a last line without a line end
        }
        start = end + 1;
        if (content[end] == '\r' && start < content.size() && content[start] == '\n') {
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
