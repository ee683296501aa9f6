#include <windows.h>

#include <QString>
#include <cstdlib>

#include "SqlArchive.h"

namespace leeb {

std::string SystemUserName() {
    if (const char* value = std::getenv("USERNAME"); value != nullptr && *value != '\0')
        return QString::fromLocal8Bit(value).toStdString();
    // The account's own name when the environment does not say (a service, a scheduled task).
    wchar_t name[257];
    DWORD size = static_cast<DWORD>(std::size(name));
    if (GetUserNameW(name, &size) && size > 1)
        return QString::fromWCharArray(name, static_cast<int>(size - 1)).toStdString();
    return "?";
}

}  // namespace leeb
