#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "FileContent.h"
#include "RecordFile.h"

namespace leeb {

namespace {

[[noreturn]] void FailRead(const std::string& path, int error) {
    throw RecordFileError("Cannot read file '" + path + "': " + std::strerror(error));
}

}  // namespace

std::string ReadFileUpToNul(const std::string& path) {
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

}  // namespace leeb
