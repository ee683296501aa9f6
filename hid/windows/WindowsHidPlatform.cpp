#include "WindowsHidPlatform.h"

#include <windows.h>
// windows.h first
#include <setupapi.h>

#include <cstring>
#include <mutex>
#include <vector>

#include "DeviceNoticeWindow.h"
#include "Hid.h"
#include "InterfaceGenerations.h"
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
// GUID_DEVINTERFACE_HID, for the notice filter when HID.dll is not bound.
constexpr GUID StandardHidClass = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

template <class Fn>
Fn Setup(const char* name) {
    return reinterpret_cast<Fn>(SetupApiEntry(name));
}
template <class Fn>
Fn HidFn(const char* name) {
    return reinterpret_cast<Fn>(HidEntry(name));
}

GUID HidClass() {
    const auto getGuid = HidFn<GetHidGuidFn>("HidD_GetHidGuid");
    GUID guid = StandardHidClass;
    if (getGuid != nullptr) {
        getGuid(&guid);
    }
    return guid;
}

}  // namespace

// What the platform shares with its handles and its notice window, which may outlive it.
struct WindowsHidPlatform::Shared {
    InterfaceGenerations generations;
    std::mutex mutex;
    std::function<void()> changed;  // set while change notification runs
    std::unique_ptr<DeviceNoticeWindow> window;

    // The device at `path` is gone: the next scan gives the interface a new identity.
    void Gone(const std::string& path) {
        generations.Advance(path);
        // Called under the lock, so no call runs once Stop has cleared it; it only posts.
        std::lock_guard lock(mutex);
        if (changed) {
            changed();
        }
    }
};

namespace {

class WindowsHidHandle : public HidHandle {
  public:
    // Null (HidLastError set) when the events it needs cannot be had; the handle is closed then.
    static std::unique_ptr<WindowsHidHandle> Make(
        HANDLE handle, HidOpenMode mode, std::string path,
        std::shared_ptr<WindowsHidPlatform::Shared> shared,
        std::chrono::milliseconds writeTimeout) {
        std::unique_ptr<WindowsHidHandle> made(
            new WindowsHidHandle(handle, mode, std::move(path), std::move(shared), writeTimeout));
        if (made->readEvent_ == nullptr || made->wakeEvent_ == nullptr ||
            made->writeEvent_ == nullptr) {
            const DWORD error = ::GetLastError();
            made.reset();
            SetHidLastOsError(error);
        }
        return made;
    }

    ~WindowsHidHandle() override {
        CancelRead();
        ::CloseHandle(handle_);
        for (HANDLE event : {readEvent_, wakeEvent_, writeEvent_}) {
            if (event != nullptr) {
                ::CloseHandle(event);
            }
        }
    }

    bool GetAttributes(HIDD_ATTRIBUTES& attributes) override {
        const auto get = HidFn<GetAttributesFn>("HidD_GetAttributes");
        attributes.Size = 12;
        if (get == nullptr) {
            SetHidLastError(HidError::Failed, ERROR_PROC_NOT_FOUND);
            return false;
        }
        return get(handle_, &attributes) || Fail(::GetLastError());
    }

    bool GetCaps(HIDP_CAPS& caps) override {
        const auto getData = HidFn<GetPreparsedDataFn>("HidD_GetPreparsedData");
        const auto freeData = HidFn<FreePreparsedDataFn>("HidD_FreePreparsedData");
        const auto getCaps = HidFn<GetCapsFn>("HidP_GetCaps");
        if (getData == nullptr || freeData == nullptr || getCaps == nullptr) {
            SetHidLastError(HidError::Failed, ERROR_PROC_NOT_FOUND);
            return false;
        }
        void* preparsed = nullptr;
        if (!getData(handle_, &preparsed)) {
            return Fail(::GetLastError());
        }
        // The capabilities are all the transport needs of the preparsed data: read them once
        // and free it, so nothing is left to free after the library is released.
        caps = HIDP_CAPS{};
        const LONG status = getCaps(preparsed, &caps);
        freeData(preparsed);
        if (status != HidpStatusSuccess) {
            SetHidLastError(HidError::Failed, static_cast<uint32_t>(status));
            return false;
        }
        return true;
    }

    // Overlapped, so a device that never takes the report cannot hold the caller: after the
    // time-out the write is cancelled and waited for (its buffer is the caller's) and fails.
    bool Write(const uint8_t* buffer, uint32_t count, uint32_t& written) override {
        written = 0;
        OVERLAPPED overlapped{};
        ::ResetEvent(writeEvent_);
        overlapped.hEvent = writeEvent_;
        if (!::WriteFile(handle_, buffer, count, nullptr, &overlapped) &&
            ::GetLastError() != ERROR_IO_PENDING) {
            return Fail(::GetLastError());
        }
        bool timedOut = false;
        const DWORD waited =
            ::WaitForSingleObject(writeEvent_, static_cast<DWORD>(writeTimeout_.count()));
        if (waited != WAIT_OBJECT_0) {
            timedOut = waited == WAIT_TIMEOUT;
            ::CancelIoEx(handle_, &overlapped);
        }
        DWORD n = 0;
        // Waits for the cancelled write to let go of the buffer; a write that completed just
        // before the cancel counts as written.
        if (!::GetOverlappedResult(handle_, &overlapped, &n, TRUE)) {
            const DWORD error = ::GetLastError();
            if (timedOut && error == ERROR_OPERATION_ABORTED) {
                SetHidLastError(HidError::TimedOut, ERROR_TIMEOUT);
                return false;
            }
            return Fail(error);
        }
        written = n;
        return true;
    }

    bool StartRead(uint8_t* buffer, uint32_t count) override {
        if (mode_ != HidOpenMode::OverlappedRead) {
            SetHidLastError(HidError::Failed, ERROR_INVALID_HANDLE);
            return false;
        }
        if (reading_) {
            // The OVERLAPPED record belongs to the read in flight until it ends.
            SetHidLastError(HidError::Busy, ERROR_BUSY);
            return false;
        }
        if (broken_ != 0) {
            return Fail(broken_);
        }
        std::memset(&overlapped_, 0, sizeof overlapped_);
        ::ResetEvent(readEvent_);
        overlapped_.hEvent = readEvent_;
        readFailed_ = false;
        if (!::ReadFile(handle_, buffer, count, nullptr, &overlapped_) &&
            ::GetLastError() != ERROR_IO_PENDING) {
            return Fail(::GetLastError());
        }
        reading_ = true;
        return true;
    }

    HidWaitResult WaitRead(int milliseconds) override {
        if (!reading_) {
            return HidWaitResult::Completed;
        }
        const HANDLE events[2] = {readEvent_, wakeEvent_};
        const DWORD timeout =
            milliseconds == HidWaitForever ? INFINITE : static_cast<DWORD>(milliseconds);
        switch (::WaitForMultipleObjects(2, events, FALSE, timeout)) {
            case WAIT_OBJECT_0:
                reading_ = false;
                return HidWaitResult::Completed;
            case WAIT_OBJECT_0 + 1:
                return HidWaitResult::Interrupted;
            case WAIT_TIMEOUT:
                return HidWaitResult::TimedOut;
            default: {
                // The wait itself failed and would fail at once every time: end the read as a
                // failed one and refuse further reads, so the read thread reports the failure
                // paced by its wait time instead of spinning.
                broken_ = ::GetLastError() != 0 ? ::GetLastError() : ERROR_INVALID_HANDLE;
                CancelRead();
                readFailed_ = true;
                return HidWaitResult::Completed;
            }
        }
    }

    uint32_t ReadResult() override {
        if (readFailed_) {
            SetHidLastOsError(broken_);
            return 0;
        }
        DWORD n = 0;
        if (!::GetOverlappedResult(handle_, &overlapped_, &n, FALSE)) {
            Fail(::GetLastError());
            return 0;
        }
        return n;
    }

    // Any thread: CancelIoEx names this read, where CancelIo would cancel only the calling
    // thread's I/O and the wait below would last until a report arrived.
    bool CancelRead() override {
        if (reading_) {
            ::CancelIoEx(handle_, &overlapped_);
            DWORD n = 0;
            // Waits for the cancelled read to let go of the buffer.
            ::GetOverlappedResult(handle_, &overlapped_, &n, TRUE);
            reading_ = false;
        }
        return true;
    }

    void Interrupt() override { ::SetEvent(wakeEvent_); }

  private:
    WindowsHidHandle(HANDLE handle, HidOpenMode mode, std::string path,
                     std::shared_ptr<WindowsHidPlatform::Shared> shared,
                     std::chrono::milliseconds writeTimeout)
        : handle_(handle),
          mode_(mode),
          path_(std::move(path)),
          shared_(std::move(shared)),
          writeTimeout_(writeTimeout),
          readEvent_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          wakeEvent_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
          writeEvent_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

    // Records the failure; a device found gone gets a new identity (once per handle).
    bool Fail(DWORD error) {
        SetHidLastOsError(error);
        if (error == ERROR_DEVICE_NOT_CONNECTED && !goneNoted_) {
            goneNoted_ = true;
            shared_->Gone(path_);
            SetHidLastOsError(error);
        }
        return false;
    }

    HANDLE handle_;
    HidOpenMode mode_;
    std::string path_;
    std::shared_ptr<WindowsHidPlatform::Shared> shared_;
    std::chrono::milliseconds writeTimeout_;
    HANDLE readEvent_;
    HANDLE wakeEvent_;
    HANDLE writeEvent_;
    OVERLAPPED overlapped_{};
    bool reading_ = false;
    bool readFailed_ = false;
    DWORD broken_ = 0;
    bool goneNoted_ = false;
};

HANDLE OpenPath(const std::string& path, DWORD access, DWORD flags) {
    return ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, flags, nullptr);
}

}  // namespace

WindowsHidPlatform::WindowsHidPlatform(std::chrono::milliseconds writeTimeout,
                                       std::string setupApiLibrary, std::string hidLibrary)
    : writeTimeout_(writeTimeout),
      setupApiLibrary_(std::move(setupApiLibrary)),
      hidLibrary_(std::move(hidLibrary)),
      shared_(std::make_shared<Shared>()) {}

WindowsHidPlatform::~WindowsHidPlatform() {
    StopChangeNotification();
    if (bound_) {
        Release();
    }
}

bool WindowsHidPlatform::Bind() {
    if (bound_) {
        return true;
    }
    if (!BindSetupApi(setupApiLibrary_.c_str())) {
        bindProblem_ = SetupApiBindProblem();
        return false;
    }
    if (!BindHid(hidLibrary_.c_str())) {
        bindProblem_ = HidBindProblem();
        ReleaseSetupApi();
        return false;
    }
    bindProblem_.clear();
    bound_ = true;
    return true;
}

void WindowsHidPlatform::Release() {
    if (!bound_) {
        return;
    }
    bound_ = false;
    ReleaseSetupApi();
    ReleaseHid();
}

std::string WindowsHidPlatform::IdentityOf(const std::string& path) const {
    return shared_->generations.IdentityOf(path);
}

std::vector<HidInterfaceEntry> WindowsHidPlatform::Enumerate() {
    std::vector<HidInterfaceEntry> entries;
    const auto getClassDevs = Setup<GetClassDevsFn>("SetupDiGetClassDevs");
    const auto enumInterfaces = Setup<EnumDeviceInterfacesFn>("SetupDiEnumDeviceInterfaces");
    const auto getDetail = Setup<GetDeviceInterfaceDetailFn>("SetupDiGetDeviceInterfaceDetail");
    const auto destroyList = Setup<DestroyDeviceInfoListFn>("SetupDiDestroyDeviceInfoList");
    if (!bound_ || !getClassDevs || !enumInterfaces || !getDetail || !destroyList) {
        return entries;
    }
    GUID guid = HidClass();
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
            entries.push_back({IdentityOf(detail->DevicePath), detail->DevicePath});
        }
    }
    destroyList(set);
    return entries;
}

std::unique_ptr<HidHandle> WindowsHidPlatform::OpenForIdentification(const std::string& path,
                                                                     bool& readWriteGranted) {
    readWriteGranted = true;
    return Open(path, HidOpenMode::QueryOnly);
}

std::unique_ptr<HidHandle> WindowsHidPlatform::Open(const std::string& path, HidOpenMode mode) {
    DWORD access = 0;
    switch (mode) {
        case HidOpenMode::ReadWrite:
            access = GENERIC_READ | GENERIC_WRITE;
            break;
        case HidOpenMode::QueryOnly:
            break;
        case HidOpenMode::OverlappedRead:
            access = GENERIC_READ;
            break;
        case HidOpenMode::OverlappedWrite:
            access = GENERIC_WRITE;
            break;
    }
    // Every handle is overlapped: writes wait with a time-out, reads can be cancelled.
    const HANDLE handle = OpenPath(path, access, FILE_FLAG_OVERLAPPED);
    if (handle == INVALID_HANDLE_VALUE) {
        SetHidLastOsError(::GetLastError());
        return nullptr;
    }
    return WindowsHidHandle::Make(handle, mode, path, shared_, writeTimeout_);
}

void WindowsHidPlatform::StartChangeNotification(std::function<void()> changed) {
    StopChangeNotification();
    {
        std::lock_guard lock(shared_->mutex);
        shared_->changed = changed;
    }
    std::weak_ptr<Shared> weak = shared_;
    shared_->window = std::make_unique<DeviceNoticeWindow>(
        HidClass(),
        [weak](const std::string& path) {
            if (const auto shared = weak.lock()) {
                shared->generations.Advance(path);
            }
        },
        std::move(changed));
}

void WindowsHidPlatform::StopChangeNotification() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->changed = nullptr;
    }
    shared_->window.reset();  // joins the window's thread
}

}  // namespace leeb
