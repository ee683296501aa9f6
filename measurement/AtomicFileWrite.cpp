// What replacing a file does alike on every operating system.
#include "AtomicFileWrite.h"

#include <algorithm>

namespace leeb {

std::string TemporaryFileName(const std::string& targetName, const std::string& unique,
                              std::size_t nameMax) {
    const std::string suffix = "." + unique + ".tmp";
    const std::size_t fixed = 1 + suffix.size();  // the leading "." and the suffix
    if (fixed >= nameMax) {
        return ("." + unique).substr(0, nameMax);
    }
    std::size_t keep = std::min(targetName.size(), nameMax - fixed);
    // Cut between characters, not inside a UTF-8 sequence.
    while (keep > 0 && keep < targetName.size() &&
           (static_cast<unsigned char>(targetName[keep]) & 0xC0) == 0x80) {
        --keep;
    }
    return "." + targetName.substr(0, keep) + suffix;
}

void ReplaceFileContent(const std::string& path, std::string_view content) {
    AtomicFileWriter writer(path);
    writer.Write(content);
    writer.Commit();
}

}  // namespace leeb
