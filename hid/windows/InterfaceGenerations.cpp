#include "InterfaceGenerations.h"

#include <algorithm>
#include <cctype>

namespace leeb {

std::string InterfaceGenerations::Key(const std::string& path) {
    std::string key = path;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

std::string InterfaceGenerations::IdentityOf(const std::string& path) const {
    const std::string key = Key(path);
    std::lock_guard lock(mutex_);
    const auto found = generations_.find(key);
    return key + "#" + std::to_string(found == generations_.end() ? 0 : found->second);
}

void InterfaceGenerations::Advance(const std::string& path) {
    std::lock_guard lock(mutex_);
    ++generations_[Key(path)];
}

}  // namespace leeb
