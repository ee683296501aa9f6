#include <unistd.h>

#include "FolderAccess.h"

namespace leeb::cli {

bool FolderTakesNewFiles(const std::filesystem::path& folder) {
    // Creating a file needs write and search permission on the folder.
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace leeb::cli
