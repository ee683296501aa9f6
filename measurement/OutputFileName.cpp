#include "OutputFileName.h"

#include "AtomicFileWrite.h"

namespace leeb {

std::string WithDefaultExtension(const std::string& path, std::string_view extension) {
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (path.find('.', nameStart) != std::string::npos || IsNonRegularFile(path)) {
        return path;
    }
    return path + std::string(extension);
}

}  // namespace leeb
