#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "SqlArchive.h"

namespace leeb {

std::string SystemUserName() {
    for (const char* name : {"USER", "LOGNAME"})
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0')
            return value;
    // A service or a cron job may run without either: the account itself still has a name.
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_name != nullptr && *found->pw_name != '\0')
        return found->pw_name;
    return "uid " + std::to_string(geteuid());
}

}  // namespace leeb
