#pragma once
// HID on Windows through the run-time bound device-setup and HID libraries: the SetupDi scan
// of the HID interface class, CreateFile handles, overlapped reads, and a hidden window that
// receives the system's WM_DEVICECHANGE / DBT_DEVNODES_CHANGED broadcast.

#include <functional>
#include <memory>

#include "HidPlatform.h"

namespace leeb {

class WindowsHidPlatform : public HidPlatform {
  public:
    WindowsHidPlatform();
    ~WindowsHidPlatform() override;

    // BindSetupApi, and only if that succeeded BindHid; true when the HID binding is in place.
    bool Bind() override;
    // One release of SetupApi if HID is bound, then the HID release.
    void Release() override;
    std::vector<HidInterfaceEntry> Enumerate() override;
    std::unique_ptr<HidHandle> OpenForIdentification(const std::string& path,
                                                     bool& readWriteGranted) override;
    std::unique_ptr<HidHandle> Open(const std::string& path, HidOpenMode mode) override;
    // Creates the hidden window on the calling (GUI) thread.
    void StartChangeNotification(std::function<void()> changed) override;
    void StopChangeNotification() override;

    struct NotifyWindow;

  private:
    std::unique_ptr<NotifyWindow> window_;
};

}  // namespace leeb
