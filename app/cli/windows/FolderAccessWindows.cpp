#include <windows.h>

#include "FolderAccess.h"

namespace leeb::cli {

bool FolderTakesNewFiles(const std::filesystem::path& folder) {
    // Windows grants file creation through the folder's access list, which only an attempt
    // answers reliably; a read-only attribute on a folder does not stop it. So only a folder
    // that is gone is known to refuse.
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace leeb::cli
