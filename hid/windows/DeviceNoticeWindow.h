#pragma once
// The hidden window that receives the system's device notices, on a thread of its own that
// pumps its messages: notices arrive whether or not the program's own thread runs a Win32
// message loop, and other programs' device broadcasts are answered at once.
//
// Registered for the HID interface class, it acts on HID interfaces arriving and going only;
// the general "device nodes changed" broadcast is acted on only where that registration is
// refused. A burst of notices (a hub with several devices) becomes one call of `changed`,
// CoalesceTime after the last notice.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace leeb {

class DeviceNoticeWindow {
  public:
    static constexpr const wchar_t* ClassName = L"LeebdeskHidNoticeWindow";
    static constexpr std::chrono::milliseconds CoalesceTime{100};

    // `removed` gets the path of every HID interface the system reports gone, at once;
    // `changed` is called on the window's thread.
    DeviceNoticeWindow(const GUID& hidClass, std::function<void(const std::string&)> removed,
                       std::function<void()> changed);
    // Asks the window to close itself on its own thread and waits for the thread: no call of
    // `removed` or `changed` runs or follows afterwards.
    ~DeviceNoticeWindow();
    DeviceNoticeWindow(const DeviceNoticeWindow&) = delete;
    DeviceNoticeWindow& operator=(const DeviceNoticeWindow&) = delete;

    bool Running() const { return window_ != nullptr; }
    // Whether the class-filtered registration was granted.
    bool Filtered() const { return registration_ != nullptr; }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DeviceChange(WPARAM event, LPARAM data);
    void Run(HANDLE ready);

    GUID hidClass_;
    std::function<void(const std::string&)> removed_;
    std::function<void()> changed_;
    HWND window_ = nullptr;
    HDEVNOTIFY registration_ = nullptr;
    std::thread thread_;
};

}  // namespace leeb
