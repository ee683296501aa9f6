// What replacing a file does alike on every operating system.
#include "AtomicFileWrite.h"

#include <algorithm>
#include <exception>

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

std::string TemporaryUniquePart(unsigned long processId, unsigned long attempt) {
    std::string number = std::to_string(attempt % 1000000);
    number.insert(0, 6 - number.size(), '0');
    return std::to_string(processId) + "-" + number;
}

std::optional<unsigned long> TemporaryWriterId(const std::string& candidate,
                                               const std::string& targetName, std::size_t nameMax) {
    // ".<target>.<pid>-<nnnnnn>.tmp": the unique part is the last dot-separated piece.
    constexpr std::string_view Suffix = ".tmp";
    if (candidate.size() <= Suffix.size() || !candidate.ends_with(Suffix)) {
        return std::nullopt;
    }
    const std::string stem = candidate.substr(0, candidate.size() - Suffix.size());
    const std::size_t dot = stem.rfind('.');
    if (dot == std::string::npos) {
        return std::nullopt;
    }
    const std::string unique = stem.substr(dot + 1);
    const std::size_t dash = unique.find('-');
    if (dash == std::string::npos || dash == 0 || unique.size() - dash - 1 != 6 ||
        unique.find_first_not_of("0123456789-") != std::string::npos ||
        unique.find('-', dash + 1) != std::string::npos) {
        return std::nullopt;
    }
    // The whole name made again for this target: a temporary of "a.txt" is never taken for
    // one of "b.txt" or of "a.txt.bak", however the names were shortened.
    if (TemporaryFileName(targetName, unique, nameMax) != candidate) {
        return std::nullopt;
    }
    try {
        return std::stoul(unique.substr(0, dash));
    } catch (const std::exception&) {
        return std::nullopt;  // a number too large to be a process id
    }
}

void ReplaceFileContent(const std::string& path, std::string_view content) {
    AtomicFileWriter writer(path);
    writer.Write(content);
    writer.Commit();
}

}  // namespace leeb
