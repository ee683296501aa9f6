// A writer is gone when no process has its id (kill(pid, 0) fails with ESRCH) and no process
// holds the lock it keeps on its temporary file. The lock covers a folder shared with another
// machine, whose process ids mean nothing here; the id covers file systems without locks.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "AtomicFileWrite.h"
#include "StaleTemporaryFiles.h"

namespace leeb {

namespace {

bool ProcessExists(unsigned long id) {
    const auto pid = static_cast<pid_t>(id);
    if (pid <= 0 || static_cast<unsigned long>(pid) != id) {
        return true;  // not a process id we can ask about: assume a live writer
    }
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

bool LockedByAnyone(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return true;
    }
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    const bool locked = ::fcntl(fd, F_GETLK, &lock) != 0 || lock.l_type != F_UNLCK;
    ::close(fd);
    return locked;
}

}  // namespace

void RemoveStaleTemporaries(const std::string& targetPath, std::size_t nameMax) {
    const std::size_t slash = targetPath.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : targetPath.substr(0, slash));
    const std::string target =
        slash == std::string::npos ? targetPath : targetPath.substr(slash + 1);
    const std::unique_ptr<DIR, int (*)(DIR*)> entries(::opendir(folder.c_str()), ::closedir);
    if (!entries) {
        return;
    }
    const auto self = static_cast<unsigned long>(::getpid());
    while (const dirent* entry = ::readdir(entries.get())) {
        const std::string name = entry->d_name;
        const std::optional<unsigned long> writer = TemporaryWriterId(name, target, nameMax);
        if (!writer || *writer == self || ProcessExists(*writer)) {
            continue;
        }
        const std::string path = folder + "/" + name;
        if (!LockedByAnyone(path)) {
            ::unlink(path.c_str());
        }
    }
}

}  // namespace leeb
