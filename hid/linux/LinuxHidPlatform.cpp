#include "LinuxHidPlatform.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "HidChangeMonitor.h"
#include "HidrawHandle.h"
#include "SysfsHidraw.h"

namespace leeb {

LinuxHidPlatform::LinuxHidPlatform(std::string sysfsRoot, std::string devRoot,
                                   HidChangeSource source)
    : sysfsRoot_(std::move(sysfsRoot)), devRoot_(std::move(devRoot)), source_(source) {}

LinuxHidPlatform::~LinuxHidPlatform() {
    StopChangeNotification();
}

bool LinuxHidPlatform::Bind() {
    return true;
}

void LinuxHidPlatform::Release() {}

std::vector<HidInterfaceEntry> LinuxHidPlatform::Enumerate() {
    std::vector<HidInterfaceEntry> entries;
    for (const std::string& node : ListHidrawNodes(sysfsRoot_)) {
        if (const auto description = DescribeHidrawNode(sysfsRoot_, node)) {
            entries.push_back({description->Identity, devRoot_ + "/" + node});
        }
    }
    return entries;
}

std::unique_ptr<HidHandle> LinuxHidPlatform::OpenForIdentification(const std::string& path,
                                                                   bool& readWriteGranted) {
    readWriteGranted = false;
    const std::string node = std::filesystem::path(path).filename().string();
    const auto description = DescribeHidrawNode(sysfsRoot_, node);
    if (!description) {
        SetHidLastError(HidError::NotConnected);
        return nullptr;
    }
    // Whether an open would be granted, asked without opening: identification never claims
    // a device.
    if (::access(path.c_str(), F_OK) != 0) {
        SetHidLastOsError(static_cast<uint32_t>(errno));
        return nullptr;
    }
    readWriteGranted = ::access(path.c_str(), R_OK | W_OK) == 0;
    return HidrawHandle::Open(path, HidOpenMode::QueryOnly, *description);
}

std::unique_ptr<HidHandle> LinuxHidPlatform::Open(const std::string& path, HidOpenMode mode) {
    const std::string node = std::filesystem::path(path).filename().string();
    const auto description = DescribeHidrawNode(sysfsRoot_, node);
    if (!description) {
        SetHidLastError(HidError::NotConnected);
        return nullptr;
    }
    return HidrawHandle::Open(path, mode, *description);
}

void LinuxHidPlatform::StartChangeNotification(std::function<void()> changed) {
    StopChangeNotification();
    monitor_ =
        std::make_unique<HidChangeMonitor>(source_, sysfsRoot_, devRoot_, std::move(changed));
}

void LinuxHidPlatform::StopChangeNotification() {
    monitor_.reset();
}

HidChangeSource LinuxHidPlatform::ActiveChangeSource() const {
    return monitor_ ? monitor_->Source() : HidChangeSource::None;
}

}  // namespace leeb
