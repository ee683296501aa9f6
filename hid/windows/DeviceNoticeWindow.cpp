#include "DeviceNoticeWindow.h"

#include <dbt.h>

#include <cstddef>

namespace leeb {

namespace {

constexpr UINT_PTR CoalesceTimer = 1;

std::string Narrow(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string result(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.pop_back();  // the terminating NUL
    return result;
}

}  // namespace

DeviceNoticeWindow::DeviceNoticeWindow(const GUID& hidClass,
                                       std::function<void(const std::string&)> removed,
                                       std::function<void()> changed)
    : hidClass_(hidClass), removed_(std::move(removed)), changed_(std::move(changed)) {
    const HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (ready == nullptr) {
        return;
    }
    thread_ = std::thread([this, ready] { Run(ready); });
    // The thread sets the event once the window exists or could not be made.
    ::WaitForSingleObject(ready, INFINITE);
    ::CloseHandle(ready);
}

DeviceNoticeWindow::~DeviceNoticeWindow() {
    if (window_ != nullptr) {
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
    }
    if (thread_.joinable()) {
        thread_.join();
    }
}

void DeviceNoticeWindow::Run(HANDLE ready) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &DeviceNoticeWindow::Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = ClassName;
    ::RegisterClassW(&windowClass);  // fails harmlessly when already registered
    // A hidden top-level window: message-only windows miss the device broadcasts.
    window_ = ::CreateWindowExW(0, ClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                                this);
    if (window_ != nullptr) {
        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = hidClass_;
        registration_ =
            ::RegisterDeviceNotificationW(window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
    ::SetEvent(ready);
    if (window_ == nullptr) {
        return;
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&message);
    }
}

LRESULT CALLBACK DeviceNoticeWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<DeviceNoticeWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_DEVICECHANGE:
            return self != nullptr ? self->DeviceChange(wParam, lParam) : TRUE;
        case WM_TIMER:
            if (wParam == CoalesceTimer && self != nullptr) {
                ::KillTimer(window, CoalesceTimer);
                self->changed_();
                return 0;
            }
            break;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_CLOSE:
            // Only the owning thread can destroy the window; Stop posts WM_CLOSE to get here.
            ::DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            if (self != nullptr && self->registration_ != nullptr) {
                ::UnregisterDeviceNotification(self->registration_);
            }
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT DeviceNoticeWindow::DeviceChange(WPARAM event, LPARAM data) {
    bool relevant = false;
    if (event == DBT_DEVNODES_CHANGED) {
        relevant = registration_ == nullptr;
    } else if ((event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE) && data != 0) {
        const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
        if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE &&
            header->dbch_size >= sizeof(DEV_BROADCAST_DEVICEINTERFACE_W)) {
            const auto* notice = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(data);
            relevant = ::IsEqualGUID(notice->dbcc_classguid, hidClass_) != FALSE;
            if (relevant && event == DBT_DEVICEREMOVECOMPLETE) {
                removed_(Narrow(notice->dbcc_name));
            }
        }
    }
    if (relevant) {
        // Replaces a timer already running: the call follows the last notice of a burst.
        ::SetTimer(window_, CoalesceTimer, static_cast<UINT>(CoalesceTime.count()), nullptr);
    }
    return TRUE;
}

}  // namespace leeb
