#pragma once
// Fills a marked message's %1 and %2 (the way Qt's arg() does) for the layers below Qt: each
// placeholder is replaced once, and a value that itself holds "%1" is left as it is.

#include <string>

namespace leeb {

std::string WithArguments(std::string message, const std::string& first, const std::string& second);

}  // namespace leeb
