#pragma once
// One HID interface found by the controller. Obtained by checking it out from the controller
// and given back by destroying it: a device that is still plugged then leaves a fresh device
// object (not checked out, same OnInputReport) at its index in the controller's list.
//
// Everything here runs on the GUI thread except the read side (StartRead, WaitRead,
// ReadResult, CancelOverlapped, Capabilities), which the device's read thread calls.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "HidEvents.h"
#include "HidPlatform.h"
#include "HidTypes.h"
#include "HidDeviceInfo.h"

namespace leeb {

class HidGuiDispatcher;
class HidReadThread;

enum class HidOverlappedMode { OverlappedRead, OverlappedWrite };

class HidDevice {
  public:
    static constexpr int32_t DefaultReadWaitTime = 100;
    static constexpr int32_t MinReadWaitTime = 10;
    static constexpr int32_t MaxReadWaitTime = 10000;

    ~HidDevice();
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    HidDeviceController* Controller() const { return controller_; }
    bool Plugged() const { return plugged_.load(); }
    bool CheckedOut() const { return checkedOut_.load(); }
    bool EventAccess() const { return eventAccess_.load(); }
    // Handles may be opened only while this holds.
    bool Accessible() const { return Plugged() && (CheckedOut() || EventAccess()); }
    // Whether the last opening for synchronous use obtained read and write access.
    bool ReadWriteGranted() const { return readWriteGranted_; }

    const HIDD_ATTRIBUTES& HidAttributes() const { return attributes_; }
    // All zero when no preparsed data can be had.
    HIDP_CAPS Capabilities();
    // As Capabilities, but never opens the device to fetch the preparsed data (read thread).
    HIDP_CAPS FetchedCapabilities() const;
    const HidDeviceInfo& InterfaceInfo() const { return *interfaceInfo_; }

    // One synchronous write of `count` bytes (byte 0 the report ID). False when the device is
    // not accessible, cannot be opened or the write fails (HidLastError() tells why).
    bool WriteReport(const void* buffer, uint32_t count, uint32_t& written);

    const HidDataEvent& OnInputReport() const { return onInputReport_; }
    // An empty handler stops the read thread; a non-empty one starts it where allowed, or only
    // swaps the handler of a running thread (the next report goes to the new one).
    void SetOnInputReport(HidDataEvent handler);
    const HidDataErrorEvent& OnReadError() const { return onReadError_; }
    void SetOnReadError(HidDataErrorEvent handler) { onReadError_ = std::move(handler); }
    const HidPlugEvent& OnUnplugged() const { return onUnplugged_; }
    void SetOnUnplugged(HidPlugEvent handler) { onUnplugged_ = std::move(handler); }

    int32_t ReadWaitTime() const { return readWaitTime_.load(); }
    // Values outside 10..10000 are ignored.
    void SetReadWaitTime(int32_t milliseconds);

    bool OpenSync();
    void CloseSync();
    bool OpenOverlapped(HidOverlappedMode mode);
    void CloseOverlapped(HidOverlappedMode mode);

    // The read side, for the read thread.
    bool StartRead(uint8_t* buffer, uint32_t count);
    HidWaitResult WaitRead(int milliseconds);
    uint32_t ReadResult();
    bool CancelOverlapped(HidOverlappedMode mode);
    // Any thread: wakes the read thread's current wait.
    void InterruptRead();

    void StartReadThread();
    void StopReadThread();
    HidReadThread* ReadThread() const { return readThread_.get(); }

    // The interface is gone (or the controller ends while the device is checked out).
    void MarkUnplugged();

  private:
    friend class HidDeviceController;

    HidDevice(std::unique_ptr<HidDeviceInfo> info, HidDeviceController* controller,
               std::shared_ptr<HidPlatform> platform, std::shared_ptr<HidGuiDispatcher> dispatcher);
    bool OpenSyncHandle();
    bool FetchPreparsedData();

    HidDeviceController* controller_;
    std::atomic<bool> plugged_{true};
    std::atomic<bool> checkedOut_{false};
    std::atomic<bool> eventAccess_{false};
    std::unique_ptr<HidHandle> syncHandle_;
    // The read thread opens the read handle; the GUI thread may close it (unplug). The slot is
    // guarded; the handle object lives until the read thread has let go of it too.
    mutable std::mutex readSlotMutex_;
    std::shared_ptr<HidHandle> readHandle_;
    std::shared_ptr<HidHandle> readInFlight_;  // set by the read thread only
    bool readOrphaned_ = false;                // read thread only
    std::unique_ptr<HidHandle> writeHandle_;
    HIDD_ATTRIBUTES attributes_;
    std::unique_ptr<HidDeviceInfo> interfaceInfo_;
    mutable std::mutex preparsedMutex_;
    std::optional<HIDP_CAPS> preparsedData_;
    std::atomic<int32_t> readWaitTime_{DefaultReadWaitTime};
    HidDataEvent onInputReport_;
    HidDataErrorEvent onReadError_;
    HidPlugEvent onUnplugged_;
    bool readWriteGranted_ = false;
    std::unique_ptr<HidReadThread> readThread_;
    std::shared_ptr<HidPlatform> platform_;
    std::shared_ptr<HidGuiDispatcher> dispatcher_;
};

}  // namespace leeb
