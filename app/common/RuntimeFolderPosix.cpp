#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "RuntimeFolder.h"

namespace leeb {

void EnsureRuntimeFolder() {
    const char* set = std::getenv("XDG_RUNTIME_DIR");
    if (set != nullptr && *set != '\0')
        return;
    const char* temp = std::getenv("TMPDIR");
    std::string folder = (temp != nullptr && *temp != '\0') ? temp : "/tmp";
    folder += "/leebdesk-runtime-" + std::to_string(::getuid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return;
    // A folder someone else made under that name, or one others may enter, is not used: the
    // runtime folder holds sockets and locks.
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid() || (info.st_mode & 0077) != 0) {
        return;
    }
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

}  // namespace leeb
