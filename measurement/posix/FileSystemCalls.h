#pragma once
// The POSIX calls that replacing a file makes, each as the system has it (same arguments, same
// return value and errno convention). Tests derive from it to record the order of the calls or
// to make one fail; the program uses SystemFileCalls().

#include <sys/types.h>

#include <cstddef>

namespace leeb {

class FileSystemCalls {
  public:
    virtual ~FileSystemCalls() = default;
    virtual int Open(const char* path, int flags, mode_t mode);
    virtual ssize_t Write(int fd, const void* data, std::size_t size);
    virtual int Fchmod(int fd, mode_t mode);
    virtual int Fsync(int fd);
    virtual int Close(int fd);
    virtual int Rename(const char* from, const char* to);
    virtual int Unlink(const char* path);
};

FileSystemCalls& SystemFileCalls();

}  // namespace leeb
