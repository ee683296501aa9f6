#include "OutputFileName.h"

#include "AtomicFileWrite.h"

namespace leeb {

namespace {

// Windows takes both slashes between folder names; elsewhere a backslash is part of a name.
#ifdef _WIN32
constexpr const char* FolderSeparators = "\\/";
#else
constexpr const char* FolderSeparators = "/";
#endif

}  // namespace

std::string WithDefaultExtension(const std::string& path, std::string_view extension) {
    const std::size_t slash = path.find_last_of(FolderSeparators);
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (path.find('.', nameStart) != std::string::npos || IsNonRegularFile(path)) {
        return path;
    }
    return path + std::string(extension);
}

}  // namespace leeb
