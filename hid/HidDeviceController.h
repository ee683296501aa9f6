#pragma once
// Keeps one HidDevice per present HID interface, rescans when the platform reports that the
// set of interfaces may have changed, and hands devices out. Everything runs on the GUI thread.
//
// Creation binds the platform's HID layer and posts one notification through the dispatcher;
// when the GUI thread dispatches it, the first scan runs and always raises OnDeviceChange.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CheckedOutDevice.h"
#include "HidEvents.h"

namespace leeb {

class HidGuiDispatcher;
class HidPlatform;
class HidDevice;
class HidDeviceInfo;

// Handlers and values as a stored window layout gives them: taken without the side effects of
// the setters (no immediate rescan).
struct HidDeviceControllerSettings {
    int32_t DevThreadSleepTime = 100;
    HidPlugEvent OnArrival;
    HidEnumerateEvent OnEnumerate;
    HidNotifyEvent OnDeviceChange;
    HidDataEvent OnDeviceData;
    HidDataErrorEvent OnDeviceDataError;
    HidPlugEvent OnDeviceUnplug;
    HidPlugEvent OnRemoval;
};

class HidDeviceController {
  public:
    static constexpr int32_t ForcedChangeParam = -1;

    HidDeviceController(std::shared_ptr<HidPlatform> platform,
                         std::shared_ptr<HidGuiDispatcher> dispatcher,
                         HidDeviceControllerSettings settings = {});
    ~HidDeviceController();
    HidDeviceController(const HidDeviceController&) = delete;
    HidDeviceController& operator=(const HidDeviceController&) = delete;

    // Rescan and reconcile. Also callable directly (not guarded against re-entry).
    void DeviceChange();
    // Offers every plugged device to OnEnumerate; returns how many were offered.
    int32_t EnumerateDevices();
    // The device at `idx`, checked out and owned by the handle; an empty handle for an index
    // out of range or a device already checked out.
    CheckedOutDevice CheckOut(int32_t idx);
    // The same with a bare pointer that the caller must delete to give the device back; false,
    // with HidDev empty, where CheckOut gives an empty handle.
    bool CheckOutAt(int32_t Idx, HidDevice*& HidDev);

    // The platform's change notification as the GUI thread receives it: runs DeviceChange.
    // One that arrives while a notification's DeviceChange is in progress (a handler pumps
    // events) is remembered and runs its DeviceChange when the running one returns; any
    // number of them arriving meanwhile make one rescan. The posted start-up notification
    // arrives here with ForcedChangeParam.
    void HandleDeviceChangeNotification(int32_t param);

    int32_t DevThreadSleepTime() const { return devThreadSleepTime_; }
    void SetDevThreadSleepTime(int32_t milliseconds);
    static std::string Version() { return "1.0.32"; }

    const HidPlugEvent& OnArrival() const { return onArrival_; }
    void SetOnArrival(HidPlugEvent handler) { onArrival_ = std::move(handler); }
    const HidEnumerateEvent& OnEnumerate() const { return onEnumerate_; }
    void SetOnEnumerate(HidEnumerateEvent handler) { onEnumerate_ = std::move(handler); }
    const HidPlugEvent& OnRemoval() const { return onRemoval_; }
    void SetOnRemoval(HidPlugEvent handler) { onRemoval_ = std::move(handler); }
    const HidNotifyEvent& OnDeviceChange() const { return onDeviceChange_; }
    // A handler with another function is stored and a DeviceChange runs at once.
    void SetOnDeviceChange(HidNotifyEvent handler);
    const HidDataEvent& OnDeviceData() const { return onDeviceData_; }
    void SetOnDeviceData(HidDataEvent handler);
    const HidDataErrorEvent& OnDeviceDataError() const { return onDeviceDataError_; }
    void SetOnDeviceDataError(HidDataErrorEvent handler);
    const HidPlugEvent& OnDeviceUnplug() const { return onDeviceUnplug_; }
    void SetOnDeviceUnplug(HidPlugEvent handler);

    int32_t CheckedInCount() const { return checkedInCount_; }
    int32_t CheckedOutCount() const { return checkedOutCount_; }
    int32_t UnpluggedCount() const { return unpluggedCount_; }
    bool ChangeInProgress() const { return changeInProgress_; }
    // A notification arrived during the running DeviceChange and waits for its end.
    bool ChangePending() const { return changePending_; }
    int32_t LastChangeParam() const { return lastChangeParam_; }
    bool HidBound() const { return hidBound_; }
    // Why the platform's HID layer could not be bound, when it could not.
    std::string BindProblem() const;
    // The list; the controller owns every device in it that is not checked out.
    const std::vector<HidDevice*>& Devices() const { return devices_; }

  private:
    friend class HidDevice;
    struct Liveness;

    std::vector<std::unique_ptr<HidDevice>> ScanInterfaces();
    std::unique_ptr<HidDevice> CreateDevice(std::unique_ptr<HidDeviceInfo> info);
    void Recount();
    void PostChangeNotification(int32_t param);
    // A device given back by destruction: replace or remove its slot.
    void DeviceDestroyed(HidDevice* device, std::unique_ptr<HidDeviceInfo> info, HidDataEvent input,
                         HidPlugEvent unplugged, int32_t readWaitTime);
    bool Contains(const HidDevice* device) const;
    // OnArrival / OnRemoval with the device's EventAccess set for the call.
    void RaisePlugEvent(const HidPlugEvent& event, HidDevice* device);

    std::shared_ptr<HidPlatform> platform_;
    std::shared_ptr<HidGuiDispatcher> dispatcher_;
    std::shared_ptr<Liveness> liveness_;
    std::vector<HidDevice*> devices_;
    int32_t devThreadSleepTime_ = 100;
    HidPlugEvent onArrival_;
    HidEnumerateEvent onEnumerate_;
    HidNotifyEvent onDeviceChange_;
    HidDataEvent onDeviceData_;
    HidDataErrorEvent onDeviceDataError_;
    HidPlugEvent onDeviceUnplug_;
    HidPlugEvent onRemoval_;
    int32_t checkedInCount_ = 0;
    int32_t checkedOutCount_ = 0;
    int32_t unpluggedCount_ = 0;
    bool changeInProgress_ = false;
    bool changePending_ = false;
    int32_t pendingParam_ = 0;
    int32_t lastChangeParam_ = 0;
    bool hidBound_ = false;
};

}  // namespace leeb
