#pragma once
// HID on Linux through hidraw: interfaces and their identification from sysfs
// (<sysfs>/class/hidraw/hidrawN), I/O on <dev>/hidrawN, change notifications from udev, the
// kernel's uevent socket or inotify. Both roots are parameters so tests can use a fake tree.

#include <memory>
#include <string>

#include "HidPlatform.h"

namespace leeb {

class HidChangeMonitor;

enum class HidChangeSource {
    Automatic,     // udev where udevd runs, else the kernel uevent socket plus inotify
    Udev,          // a udev monitor on the hidraw subsystem
    KernelUevent,  // the kernel's uevent netlink socket, hidraw events only
    Inotify,       // inotify on the /dev root and on <sysfs>/class/hidraw
    None,
};

class LinuxHidPlatform : public HidPlatform {
  public:
    explicit LinuxHidPlatform(std::string sysfsRoot = "/sys", std::string devRoot = "/dev",
                              HidChangeSource source = HidChangeSource::Automatic);
    ~LinuxHidPlatform() override;

    bool Bind() override;
    void Release() override;
    std::vector<HidInterfaceEntry> Enumerate() override;
    std::unique_ptr<HidHandle> OpenForIdentification(const std::string& path,
                                                     bool& readWriteGranted) override;
    std::unique_ptr<HidHandle> Open(const std::string& path, HidOpenMode mode) override;
    void StartChangeNotification(std::function<void()> changed) override;
    void StopChangeNotification() override;

    // Which source StartChangeNotification chose (Automatic resolved).
    HidChangeSource ActiveChangeSource() const;

  private:
    std::string sysfsRoot_;
    std::string devRoot_;
    HidChangeSource source_;
    std::unique_ptr<HidChangeMonitor> monitor_;
};

}  // namespace leeb
