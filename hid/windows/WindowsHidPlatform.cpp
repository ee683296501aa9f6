#include "WindowsHidPlatform.h"

#include <windows.h>
// windows.h first
#include <dbt.h>
#include <setupapi.h>

#include <cstring>
#include <vector>

#include "Hid.h"
#include "SetupApi.h"

namespace leeb {

namespace {

// The entry points this system calls, as the bound slots hold them (ANSI forms).
using GetClassDevsFn = HDEVINFO(WINAPI*)(const GUID*, PCSTR, HWND, DWORD);
using EnumDeviceInterfacesFn = BOOL(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA, const GUID*, DWORD,
                                             PSP_DEVICE_INTERFACE_DATA);
using GetDeviceInterfaceDetailFn = BOOL(WINAPI*)(HDEVINFO, PSP_DEVICE_INTERFACE_DATA,
                                                 PSP_DEVICE_INTERFACE_DETAIL_DATA_A, DWORD, PDWORD,
                                                 PSP_DEVINFO_DATA);
using DestroyDeviceInfoListFn = BOOL(WINAPI*)(HDEVINFO);
using GetHidGuidFn = void(WINAPI*)(GUID*);
using GetAttributesFn = BOOLEAN(WINAPI*)(HANDLE, HIDD_ATTRIBUTES*);
using GetPreparsedDataFn = BOOLEAN(WINAPI*)(HANDLE, void**);
using FreePreparsedDataFn = BOOLEAN(WINAPI*)(void*);
using GetCapsFn = LONG(WINAPI*)(void*, HIDP_CAPS*);
constexpr LONG HidpStatusSuccess = 0x00110000;

template <class Fn>
Fn Setup(const char* name) {
    return reinterpret_cast<Fn>(SetupApiEntry(name));
}
template <class Fn>
Fn HidFn(const char* name) {
    return reinterpret_cast<Fn>(HidEntry(name));
}

bool Fail() {
    SetHidLastError(::GetLastError());
    return false;
}

class WindowsHidHandle : public HidHandle {
  public:
    WindowsHidHandle(HANDLE handle, HidOpenMode mode) : handle_(handle), mode_(mode) {
        readEvent_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        wakeEvent_ = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    ~WindowsHidHandle() override {
        if (reading_) {
            CancelRead();
        }
        ::CloseHandle(handle_);
        ::CloseHandle(readEvent_);
        ::CloseHandle(wakeEvent_);
    }

    bool GetAttributes(HIDD_ATTRIBUTES& attributes) override {
        const auto get = HidFn<GetAttributesFn>("HidD_GetAttributes");
        attributes.Size = 12;
        return get != nullptr && get(handle_, &attributes) ? true : Fail();
    }

    bool GetCaps(HIDP_CAPS& caps) override {
        const auto getData = HidFn<GetPreparsedDataFn>("HidD_GetPreparsedData");
        const auto freeData = HidFn<FreePreparsedDataFn>("HidD_FreePreparsedData");
        const auto getCaps = HidFn<GetCapsFn>("HidP_GetCaps");
        void* preparsed = nullptr;
        if (getData == nullptr || freeData == nullptr || getCaps == nullptr ||
            !getData(handle_, &preparsed)) {
            return Fail();
        }
        // The capabilities are all the transport needs of the preparsed data: read them once
        // and free it, so nothing is left to free after the library is released.
        caps = HIDP_CAPS{};
        const bool ok = getCaps(preparsed, &caps) == HidpStatusSuccess;
        freeData(preparsed);
        return ok;
    }

    bool Write(const uint8_t* buffer, uint32_t count, uint32_t& written) override {
        written = 0;
        DWORD n = 0;
        if (mode_ == HidOpenMode::OverlappedWrite) {
            OVERLAPPED overlapped{};
            overlapped.hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
            BOOL ok = ::WriteFile(handle_, buffer, count, nullptr, &overlapped);
            if (!ok && ::GetLastError() == ERROR_IO_PENDING) {
                ok = ::GetOverlappedResult(handle_, &overlapped, &n, TRUE);
            } else if (ok) {
                ok = ::GetOverlappedResult(handle_, &overlapped, &n, FALSE);
            }
            const DWORD error = ::GetLastError();
            ::CloseHandle(overlapped.hEvent);
            written = n;
            if (!ok) {
                SetHidLastError(error);
            }
            return ok != FALSE;
        }
        if (!::WriteFile(handle_, buffer, count, &n, nullptr)) {
            return Fail();
        }
        written = n;
        return true;
    }

    bool StartRead(uint8_t* buffer, uint32_t count) override {
        if (mode_ != HidOpenMode::OverlappedRead) {
            SetHidLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        std::memset(&overlapped_, 0, sizeof overlapped_);
        ::ResetEvent(readEvent_);
        overlapped_.hEvent = readEvent_;
        if (!::ReadFile(handle_, buffer, count, nullptr, &overlapped_) &&
            ::GetLastError() != ERROR_IO_PENDING) {
            return Fail();
        }
        reading_ = true;
        return true;
    }

    HidWaitResult WaitRead(int milliseconds) override {
        if (!reading_) {
            return HidWaitResult::Completed;
        }
        const HANDLE events[2] = {readEvent_, wakeEvent_};
        switch (::WaitForMultipleObjects(2, events, FALSE, static_cast<DWORD>(milliseconds))) {
            case WAIT_OBJECT_0:
                reading_ = false;
                return HidWaitResult::Completed;
            case WAIT_OBJECT_0 + 1:
                return HidWaitResult::Interrupted;
            default:
                return HidWaitResult::TimedOut;
        }
    }

    uint32_t ReadResult() override {
        DWORD n = 0;
        return ::GetOverlappedResult(handle_, &overlapped_, &n, FALSE) ? n : 0;
    }

    bool CancelRead() override {
        if (reading_) {
            ::CancelIo(handle_);
            DWORD n = 0;
            // Waits for the cancelled read to let go of the buffer.
            ::GetOverlappedResult(handle_, &overlapped_, &n, TRUE);
            reading_ = false;
        }
        return true;
    }

    void Interrupt() override { ::SetEvent(wakeEvent_); }

  private:
    HANDLE handle_;
    HidOpenMode mode_;
    HANDLE readEvent_;
    HANDLE wakeEvent_;
    OVERLAPPED overlapped_{};
    bool reading_ = false;
};

HANDLE OpenPath(const std::string& path, DWORD access, DWORD flags) {
    return ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, flags, nullptr);
}

const char* const NotifyWindowClass = "LeebdeskHidNotifyWindow";

}  // namespace

struct WindowsHidPlatform::NotifyWindow {
    HWND window = nullptr;
    std::function<void()> changed;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<NotifyWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_DEVICECHANGE && wParam == DBT_DEVNODES_CHANGED && self != nullptr) {
            self->changed();
            return TRUE;
        }
        if (message == WM_QUERYENDSESSION) {
            return 1;
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
};

WindowsHidPlatform::WindowsHidPlatform() = default;

WindowsHidPlatform::~WindowsHidPlatform() {
    StopChangeNotification();
}

bool WindowsHidPlatform::Bind() {
    return BindSetupApi() && BindHid();
}

void WindowsHidPlatform::Release() {
    if (HidBound()) {
        ReleaseSetupApi();
    }
    ReleaseHid();
}

std::vector<HidInterfaceEntry> WindowsHidPlatform::Enumerate() {
    std::vector<HidInterfaceEntry> entries;
    const auto getGuid = HidFn<GetHidGuidFn>("HidD_GetHidGuid");
    const auto getClassDevs = Setup<GetClassDevsFn>("SetupDiGetClassDevs");
    const auto enumInterfaces = Setup<EnumDeviceInterfacesFn>("SetupDiEnumDeviceInterfaces");
    const auto getDetail = Setup<GetDeviceInterfaceDetailFn>("SetupDiGetDeviceInterfaceDetail");
    const auto destroyList = Setup<DestroyDeviceInfoListFn>("SetupDiDestroyDeviceInfoList");
    if (!getGuid || !getClassDevs || !enumInterfaces || !getDetail || !destroyList) {
        return entries;
    }
    GUID guid;
    getGuid(&guid);
    const HDEVINFO set =
        getClassDevs(&guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) {
        return entries;
    }
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof interfaceData;
        if (!enumInterfaces(set, nullptr, &guid, index, &interfaceData)) {
            break;
        }
        DWORD required = 0;
        if (getDetail(set, &interfaceData, nullptr, 0, &required, nullptr) ||
            ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || required == 0) {
            continue;  // no detail data: skipped
        }
        std::vector<uint8_t> block(required + 1, 0);  // zero-filled; the path stays terminated
        auto* detail = reinterpret_cast<PSP_DEVICE_INTERFACE_DETAIL_DATA_A>(block.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        SP_DEVINFO_DATA node{};
        node.cbSize = sizeof node;
        if (getDetail(set, &interfaceData, detail, required, nullptr, &node)) {
            entries.push_back({std::to_string(node.DevInst), detail->DevicePath});
        }
    }
    destroyList(set);
    return entries;
}

std::unique_ptr<HidHandle> WindowsHidPlatform::OpenForIdentification(const std::string& path,
                                                                     bool& readWriteGranted) {
    HANDLE handle = OpenPath(path, GENERIC_READ | GENERIC_WRITE, 0);
    readWriteGranted = handle != INVALID_HANDLE_VALUE;
    if (handle == INVALID_HANDLE_VALUE) {
        handle = OpenPath(path, 0, 0);
    }
    if (handle == INVALID_HANDLE_VALUE) {
        Fail();
        return nullptr;
    }
    return std::make_unique<WindowsHidHandle>(
        handle, readWriteGranted ? HidOpenMode::ReadWrite : HidOpenMode::QueryOnly);
}

std::unique_ptr<HidHandle> WindowsHidPlatform::Open(const std::string& path, HidOpenMode mode) {
    DWORD access = 0;
    DWORD flags = 0;
    switch (mode) {
        case HidOpenMode::ReadWrite:
            access = GENERIC_READ | GENERIC_WRITE;
            break;
        case HidOpenMode::QueryOnly:
            break;
        case HidOpenMode::OverlappedRead:
            access = GENERIC_READ;
            flags = FILE_FLAG_OVERLAPPED;
            break;
        case HidOpenMode::OverlappedWrite:
            access = GENERIC_WRITE;
            flags = FILE_FLAG_OVERLAPPED;
            break;
    }
    const HANDLE handle = OpenPath(path, access, flags);
    if (handle == INVALID_HANDLE_VALUE) {
        Fail();
        return nullptr;
    }
    return std::make_unique<WindowsHidHandle>(handle, mode);
}

void WindowsHidPlatform::StartChangeNotification(std::function<void()> changed) {
    StopChangeNotification();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &NotifyWindow::Procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = NotifyWindowClass;
    ::RegisterClassA(&windowClass);  // fails harmlessly when already registered
    auto window = std::make_unique<NotifyWindow>();
    window->changed = std::move(changed);
    // A hidden top-level window: message-only windows miss the device-change broadcast.
    window->window = ::CreateWindowExA(0, NotifyWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                       nullptr, windowClass.hInstance, nullptr);
    if (window->window == nullptr) {
        return;
    }
    ::SetWindowLongPtrA(window->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window.get()));
    window_ = std::move(window);
}

void WindowsHidPlatform::StopChangeNotification() {
    if (window_) {
        ::DestroyWindow(window_->window);
        window_.reset();
    }
}

}  // namespace leeb
