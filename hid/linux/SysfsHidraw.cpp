#include "SysfsHidraw.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace leeb {

namespace fs = std::filesystem;

namespace {

constexpr size_t MaxDescriptorBytes = 4096;  // the kernel's own limit

bool ReadSmallFile(const fs::path& path, std::string& text, size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    text.assign(limit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(limit));
    text.resize(static_cast<size_t>(in.gcount()));
    return !in.bad();
}

std::optional<unsigned long> NumberAfter(const std::string& name, const std::string& prefix) {
    if (name.rfind(prefix, 0) != 0 || name.size() == prefix.size()) {
        return std::nullopt;
    }
    const std::string digits = name.substr(prefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return std::strtoul(digits.c_str(), nullptr, 10);
}

// HID_ID=0003:00001234:00005678
bool ParseHidId(const std::string& uevent, HIDD_ATTRIBUTES& attributes) {
    std::istringstream lines(uevent);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("HID_ID=", 0) != 0) {
            continue;
        }
        const std::string value = line.substr(7);
        const size_t first = value.find(':');
        const size_t second = value.find(':', first == std::string::npos ? first : first + 1);
        if (first == std::string::npos || second == std::string::npos) {
            return false;
        }
        char* end = nullptr;
        const unsigned long vendor = std::strtoul(value.c_str() + first + 1, &end, 16);
        if (end != value.c_str() + second) {
            return false;
        }
        const unsigned long product = std::strtoul(value.c_str() + second + 1, &end, 16);
        if (end == value.c_str() + second + 1) {
            return false;
        }
        attributes.VendorID = static_cast<uint16_t>(vendor);
        attributes.ProductID = static_cast<uint16_t>(product);
        return true;
    }
    return false;
}

uint16_t FindVersion(const fs::path& hidDevice, const fs::path& sysfsRoot) {
    std::error_code error;
    const fs::path root = fs::weakly_canonical(sysfsRoot, error);
    fs::path dir = hidDevice.parent_path();
    for (int level = 0; level < 4 && !dir.empty() && dir != root && dir != dir.root_path();
         ++level, dir = dir.parent_path()) {
        std::string text;
        if (ReadSmallFile(dir / "bcdDevice", text, 16)) {
            return static_cast<uint16_t>(std::strtoul(text.c_str(), nullptr, 16));
        }
    }
    return 0;
}

}  // namespace

std::vector<std::string> ListHidrawNodes(const std::string& sysfsRoot) {
    std::vector<std::pair<unsigned long, std::string>> nodes;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(sysfsRoot) / "class/hidraw", error)) {
        const std::string name = entry.path().filename().string();
        if (const auto number = NumberAfter(name, "hidraw")) {
            nodes.emplace_back(*number, name);
        }
    }
    std::sort(nodes.begin(), nodes.end());
    std::vector<std::string> names;
    for (auto& node : nodes) {
        names.push_back(std::move(node.second));
    }
    return names;
}

std::optional<HidrawDescription> DescribeHidrawNode(const std::string& sysfsRoot,
                                                    const std::string& node) {
    if (!NumberAfter(node, "hidraw")) {
        return std::nullopt;
    }
    std::error_code error;
    const fs::path device =
        fs::canonical(fs::path(sysfsRoot) / "class/hidraw" / node / "device", error);
    if (error) {
        return std::nullopt;
    }
    HidrawDescription description;
    description.Identity = device.string();
    std::string uevent;
    if (!ReadSmallFile(device / "uevent", uevent, 4096) ||
        !ParseHidId(uevent, description.Attributes)) {
        return std::nullopt;
    }
    description.Attributes.Size = 12;
    description.Attributes.VersionNumber = FindVersion(device, sysfsRoot);
    std::string descriptor;
    if (!ReadSmallFile(device / "report_descriptor", descriptor, MaxDescriptorBytes)) {
        return std::nullopt;
    }
    const auto layout = ParseReportDescriptor(reinterpret_cast<const uint8_t*>(descriptor.data()),
                                              descriptor.size());
    if (!layout) {
        return std::nullopt;
    }
    description.Layout = *layout;
    return description;
}

}  // namespace leeb
