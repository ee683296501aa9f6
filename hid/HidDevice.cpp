#include "HidDevice.h"

#include "ControllerError.h"
#include "HidDeviceController.h"
#include "HidReadThread.h"

namespace leeb {

HidDevice::HidDevice(std::unique_ptr<HidDeviceInfo> info, HidDeviceController* controller,
                       std::shared_ptr<HidPlatform> platform,
                       std::shared_ptr<HidGuiDispatcher> dispatcher)
    : controller_(controller),
      interfaceInfo_(std::move(info)),
      platform_(std::move(platform)),
      dispatcher_(std::move(dispatcher)) {
    if (controller_ != nullptr) {
        SetOnInputReport(controller_->OnDeviceData());  // starts nothing: not checked out
        onUnplugged_ = controller_->OnDeviceUnplug();
        onReadError_ = controller_->OnDeviceDataError();
    }
    // Identification only: where the platform allows it, this does not claim the device.
    bool granted = false;
    std::unique_ptr<HidHandle> handle =
        platform_->OpenForIdentification(interfaceInfo_->DevicePath, granted);
    readWriteGranted_ = granted;
    if (!handle) {
        throw ControllerError("device cannot be opened");
    }
    attributes_.Size = 12;
    if (!handle->GetAttributes(attributes_)) {
        throw ControllerError("device cannot be identified");
    }
}

HidDevice::~HidDevice() {
    HidDataEvent input = onInputReport_;
    HidPlugEvent unplugged = onUnplugged_;
    SetOnInputReport({});  // stops the read thread
    readThread_.reset();   // a thread that ended by a handler failure is still present
    onUnplugged_ = {};
    CloseSync();
    CloseOverlapped(HidOverlappedMode::OverlappedRead);
    CloseOverlapped(HidOverlappedMode::OverlappedWrite);
    {
        std::lock_guard lock(preparsedMutex_);
        preparsedData_.reset();
    }
    if (controller_ != nullptr) {
        controller_->DeviceDestroyed(this, std::move(interfaceInfo_), std::move(input),
                                     std::move(unplugged), readWaitTime_.load());
    }
}

HIDP_CAPS HidDevice::FetchedCapabilities() const {
    std::lock_guard lock(preparsedMutex_);
    return preparsedData_.value_or(HIDP_CAPS{});
}

HIDP_CAPS HidDevice::Capabilities() {
    FetchPreparsedData();
    return FetchedCapabilities();
}

bool HidDevice::FetchPreparsedData() {
    {
        std::lock_guard lock(preparsedMutex_);
        if (preparsedData_) {
            return true;
        }
    }
    if (!OpenSync()) {
        return false;
    }
    HIDP_CAPS caps;
    const bool fetched = syncHandle_->GetCaps(caps);
    CloseSync();
    if (fetched) {
        std::lock_guard lock(preparsedMutex_);
        preparsedData_ = caps;
    }
    return fetched;
}

bool HidDevice::WriteReport(const void* buffer, uint32_t count, uint32_t& written) {
    written = 0;
    if (!OpenSync()) {
        return false;
    }
    return syncHandle_->Write(static_cast<const uint8_t*>(buffer), count, written);
}

void HidDevice::SetOnInputReport(HidDataEvent handler) {
    if (!handler) {
        StopReadThread();
    }
    onInputReport_ = std::move(handler);
    StartReadThread();
}

void HidDevice::SetReadWaitTime(int32_t milliseconds) {
    if (milliseconds >= MinReadWaitTime && milliseconds <= MaxReadWaitTime) {
        readWaitTime_.store(milliseconds);
    }
}

bool HidDevice::OpenSyncHandle() {
    syncHandle_ = platform_->Open(interfaceInfo_->DevicePath, HidOpenMode::ReadWrite);
    readWriteGranted_ = syncHandle_ != nullptr;
    if (!syncHandle_) {
        syncHandle_ = platform_->Open(interfaceInfo_->DevicePath, HidOpenMode::QueryOnly);
    }
    return syncHandle_ != nullptr;
}

bool HidDevice::OpenSync() {
    if (Accessible() && !syncHandle_) {
        OpenSyncHandle();
    }
    if (!syncHandle_) {
        if (!Accessible()) {
            SetHidLastError(Plugged() ? HidError::AccessDenied : HidError::NotConnected);
        }
        return false;
    }
    return true;
}

void HidDevice::CloseSync() {
    syncHandle_.reset();
}

bool HidDevice::OpenOverlapped(HidOverlappedMode mode) {
    if (mode == HidOverlappedMode::OverlappedWrite) {
        if (!Accessible()) {
            SetHidLastError(HidError::NotConnected);
            return false;
        }
        if (!writeHandle_) {
            writeHandle_ =
                platform_->Open(interfaceInfo_->DevicePath, HidOpenMode::OverlappedWrite);
        }
        return writeHandle_ != nullptr;
    }
    // Accessible is checked under the slot's lock, which MarkUnplugged takes too: once a
    // device is unplugged no read handle is opened again, so a device that outlives its
    // controller never reaches the released platform.
    std::lock_guard lock(readSlotMutex_);
    if (!Accessible()) {
        SetHidLastError(Plugged() ? HidError::AccessDenied : HidError::NotConnected);
        return false;
    }
    if (!readHandle_) {
        readHandle_ = platform_->Open(interfaceInfo_->DevicePath, HidOpenMode::OverlappedRead);
    }
    return readHandle_ != nullptr;
}

void HidDevice::CloseOverlapped(HidOverlappedMode mode) {
    if (mode == HidOverlappedMode::OverlappedWrite) {
        writeHandle_.reset();
        return;
    }
    std::shared_ptr<HidHandle> closing;
    {
        std::lock_guard lock(readSlotMutex_);
        closing = std::move(readHandle_);
    }
    // A read thread waiting on it wakes and sees the read end with 0 bytes; the handle itself
    // is closed when the thread lets go of it.
    if (closing) {
        closing->Interrupt();
    }
}

bool HidDevice::StartRead(uint8_t* buffer, uint32_t count) {
    if (!OpenOverlapped(HidOverlappedMode::OverlappedRead)) {
        return false;
    }
    std::shared_ptr<HidHandle> handle;
    {
        std::lock_guard lock(readSlotMutex_);
        handle = readHandle_;
        readInFlight_ = handle;
    }
    readOrphaned_ = false;
    if (!handle || !handle->StartRead(buffer, count)) {
        std::lock_guard lock(readSlotMutex_);
        readInFlight_.reset();
        return false;
    }
    return true;
}

HidWaitResult HidDevice::WaitRead(int milliseconds) {
    const std::shared_ptr<HidHandle> handle = readInFlight_;
    if (!handle) {
        return HidWaitResult::Completed;
    }
    const HidWaitResult result = handle->WaitRead(milliseconds);
    if (result == HidWaitResult::Interrupted) {
        std::lock_guard lock(readSlotMutex_);
        if (readHandle_ != handle) {
            // The handle was closed under the read: it ends as a read of 0 bytes.
            handle->CancelRead();
            readOrphaned_ = true;
            return HidWaitResult::Completed;
        }
    }
    return result;
}

uint32_t HidDevice::ReadResult() {
    std::shared_ptr<HidHandle> handle;
    {
        std::lock_guard lock(readSlotMutex_);
        handle = std::move(readInFlight_);
    }
    if (!handle || readOrphaned_) {
        return 0;
    }
    return handle->ReadResult();
}

bool HidDevice::CancelOverlapped(HidOverlappedMode mode) {
    if (mode == HidOverlappedMode::OverlappedWrite) {
        return writeHandle_ != nullptr;
    }
    std::shared_ptr<HidHandle> handle;
    {
        std::lock_guard lock(readSlotMutex_);
        handle = readInFlight_ ? std::move(readInFlight_) : readHandle_;
    }
    return handle && handle->CancelRead();
}

void HidDevice::InterruptRead() {
    std::lock_guard lock(readSlotMutex_);
    if (readHandle_) {
        readHandle_->Interrupt();
    }
    if (readInFlight_ && readInFlight_ != readHandle_) {
        readInFlight_->Interrupt();
    }
}

void HidDevice::StartReadThread() {
    if (!onInputReport_ || !Plugged() || !CheckedOut() || !readWriteGranted_ || readThread_) {
        return;
    }
    // Fetching the preparsed data opens the device for real, which may show that read/write
    // access is refused after all.
    FetchPreparsedData();
    if (!readWriteGranted_) {
        return;
    }
    readThread_ = std::make_unique<HidReadThread>(
        *this, dispatcher_, FetchedCapabilities().InputReportByteLength);
    readThread_->Start();
}

void HidDevice::StopReadThread() {
    // Taken out of the slot first: a handler run during the stop may stop it again.
    std::unique_ptr<HidReadThread> thread = std::move(readThread_);
    if (thread) {
        thread->StopAndJoin();
    }
}

void HidDevice::MarkUnplugged() {
    CloseSync();
    std::shared_ptr<HidHandle> closing;
    {
        std::lock_guard lock(readSlotMutex_);
        plugged_.store(false);
        closing = std::move(readHandle_);
    }
    if (closing) {
        closing->Interrupt();
    }
    writeHandle_.reset();
    // Emptied before the call, so it fires at most once even if the handler re-enters.
    HidPlugEvent unplugged = std::move(onUnplugged_);
    onUnplugged_ = {};
    if (unplugged) {
        unplugged(this);
    }
}

}  // namespace leeb
