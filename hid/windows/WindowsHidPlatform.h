#pragma once
// HID on Windows through the run-time bound device-setup and HID libraries: the SetupDi scan
// of the HID interface class, CreateFile handles with overlapped reads and writes, and a
// notice window on a thread of its own (DeviceNoticeWindow).
//
// Identities are the interface path plus a generation that a removal notice for the interface,
// or I/O that finds the device gone, advances: a device plugged back into the same port is a
// new device, not the old one with dead handles.

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "HidPlatform.h"

namespace leeb {

class WindowsHidPlatform : public HidPlatform {
  public:
    // How long a write may wait for the device to take the report before it is cancelled and
    // fails with HidError::TimedOut.
    static constexpr std::chrono::milliseconds DefaultWriteTimeout{1000};

    // The library names are the system's; tests give stand-ins by path.
    explicit WindowsHidPlatform(std::chrono::milliseconds writeTimeout = DefaultWriteTimeout,
                                std::string setupApiLibrary = "SetupApi.dll",
                                std::string hidLibrary = "HID.dll");
    ~WindowsHidPlatform() override;

    // BindSetupApi, then BindHid; true when both are in place. A failed HID bind gives the
    // device-setup binding back.
    bool Bind() override;
    // Undoes what a successful Bind did; nothing after a failed one.
    void Release() override;
    // Why the last Bind failed, naming the library or the missing name; "" after a success.
    std::string BindProblem() const override { return bindProblem_; }
    std::vector<HidInterfaceEntry> Enumerate() override;
    // Opens the interface with no access rights: identifying a device never claims it, and
    // whether read/write access will be granted is known only when the device is opened for
    // use; until then it is reported as granted.
    std::unique_ptr<HidHandle> OpenForIdentification(const std::string& path,
                                                     bool& readWriteGranted) override;
    std::unique_ptr<HidHandle> Open(const std::string& path, HidOpenMode mode) override;
    void StartChangeNotification(std::function<void()> changed) override;
    void StopChangeNotification() override;

    // The identity a scan gives the interface at `path` now.
    std::string IdentityOf(const std::string& path) const;

    struct Shared;

  private:
    std::chrono::milliseconds writeTimeout_;
    std::string setupApiLibrary_;
    std::string hidLibrary_;
    std::shared_ptr<Shared> shared_;
    bool bound_ = false;
    std::string bindProblem_;
};

}  // namespace leeb
