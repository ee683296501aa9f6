#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "FileSystemCalls.h"

namespace leeb {

int FileSystemCalls::Open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

ssize_t FileSystemCalls::Write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

int FileSystemCalls::Fchmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}

int FileSystemCalls::Fsync(int fd) {
    return ::fsync(fd);
}

int FileSystemCalls::Close(int fd) {
    return ::close(fd);
}

int FileSystemCalls::Rename(const char* from, const char* to) {
    return ::rename(from, to);
}

int FileSystemCalls::Unlink(const char* path) {
    return ::unlink(path);
}

FileSystemCalls& SystemFileCalls() {
    static FileSystemCalls calls;
    return calls;
}

}  // namespace leeb
