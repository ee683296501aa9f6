#include "HidDeviceController.h"

#include <algorithm>

#include "ControllerError.h"
#include "HidGuiDispatcher.h"
#include "HidPlatform.h"
#include "HidDevice.h"
#include "HidDeviceInfo.h"

namespace leeb {

// Calls posted to the dispatcher find the controller through this; it dies with the
// controller, so a notification still queued then does nothing.
struct HidDeviceController::Liveness {
    HidDeviceController* controller;
};

namespace {

// Clears a device's EventAccess when a handler returns or fails, unless the handler destroyed
// the device.
class EventAccessScope {
  public:
    EventAccessScope(std::atomic<bool>& flag, std::function<bool()> stillThere)
        : flag_(flag), stillThere_(std::move(stillThere)) {
        flag_.store(true);
    }
    ~EventAccessScope() {
        if (stillThere_()) {
            flag_.store(false);
        }
    }
    EventAccessScope(const EventAccessScope&) = delete;
    EventAccessScope& operator=(const EventAccessScope&) = delete;

  private:
    std::atomic<bool>& flag_;
    std::function<bool()> stillThere_;
};

}  // namespace

HidDeviceController::HidDeviceController(std::shared_ptr<HidPlatform> platform,
                                           std::shared_ptr<HidGuiDispatcher> dispatcher,
                                           HidDeviceControllerSettings settings)
    : platform_(std::move(platform)),
      dispatcher_(std::move(dispatcher)),
      liveness_(std::make_shared<Liveness>(Liveness{this})),
      devThreadSleepTime_(settings.DevThreadSleepTime),
      onArrival_(std::move(settings.OnArrival)),
      onEnumerate_(std::move(settings.OnEnumerate)),
      onDeviceChange_(std::move(settings.OnDeviceChange)),
      onDeviceData_(std::move(settings.OnDeviceData)),
      onDeviceDataError_(std::move(settings.OnDeviceDataError)),
      onDeviceUnplug_(std::move(settings.OnDeviceUnplug)),
      onRemoval_(std::move(settings.OnRemoval)) {
    hidBound_ = platform_->Bind();
    if (!hidBound_) {
        return;  // works, but never has a device
    }
    std::weak_ptr<Liveness> weak = liveness_;
    std::shared_ptr<HidGuiDispatcher> dispatcher_copy = dispatcher_;
    // The platform may call this from a helper thread: it only posts.
    platform_->StartChangeNotification([weak, dispatcher_copy] {
        dispatcher_copy->Post([weak] {
            if (const auto alive = weak.lock()) {
                alive->controller->HandleDeviceChangeNotification(0);
            }
        });
    });
    PostChangeNotification(ForcedChangeParam);
}

HidDeviceController::~HidDeviceController() {
    onDeviceChange_ = {};
    onDeviceUnplug_ = {};
    onEnumerate_ = {};
    if (hidBound_) {
        platform_->StopChangeNotification();
    }
    liveness_.reset();
    std::vector<HidDevice*> devices = std::move(devices_);
    devices_.clear();
    for (HidDevice* device : devices) {
        device->controller_ = nullptr;
        if (device->CheckedOut()) {
            device->MarkUnplugged();  // lives on, owned by whoever checked it out
        } else {
            delete device;
        }
    }
    if (hidBound_) {
        platform_->Release();
    }
}

std::string HidDeviceController::BindProblem() const {
    return hidBound_ ? std::string() : platform_->BindProblem();
}

bool HidDeviceController::Contains(const HidDevice* device) const {
    return std::find(devices_.begin(), devices_.end(), device) != devices_.end();
}

void HidDeviceController::HandleDeviceChangeNotification(int32_t param) {
    if (changeInProgress_) {
        // A handler pumps events (a message box, say): the notice is kept for when it returns,
        // since a plug or unplug in that time would otherwise never be seen. A forced notice
        // keeps its forcing whatever arrives after it.
        pendingParam_ =
            changePending_ && pendingParam_ == ForcedChangeParam ? ForcedChangeParam : param;
        changePending_ = true;
        return;
    }
    for (;;) {
        lastChangeParam_ = param;
        changeInProgress_ = true;
        try {
            DeviceChange();
        } catch (...) {
            changeInProgress_ = false;
            // The error goes to the event loop; the remembered notice is not lost with it.
            if (changePending_) {
                changePending_ = false;
                PostChangeNotification(pendingParam_);
            }
            throw;
        }
        changeInProgress_ = false;
        if (!changePending_) {
            return;
        }
        changePending_ = false;
        param = pendingParam_;
    }
}

void HidDeviceController::PostChangeNotification(int32_t param) {
    std::weak_ptr<Liveness> weak = liveness_;
    dispatcher_->Post([weak, param] {
        if (const auto alive = weak.lock()) {
            alive->controller->HandleDeviceChangeNotification(param);
        }
    });
}

std::unique_ptr<HidDevice> HidDeviceController::CreateDevice(std::unique_ptr<HidDeviceInfo> info) {
    return std::unique_ptr<HidDevice>(new HidDevice(std::move(info), this, platform_, dispatcher_));
}

std::vector<std::unique_ptr<HidDevice>> HidDeviceController::ScanInterfaces() {
    std::vector<std::unique_ptr<HidDevice>> found;
    if (!hidBound_) {
        return found;
    }
    for (HidInterfaceEntry& entry : platform_->Enumerate()) {
        try {
            found.push_back(CreateDevice(
                std::make_unique<HidDeviceInfo>(std::move(entry.Identity), std::move(entry.Path))));
        } catch (const ControllerError&) {
            // An interface that cannot be opened or identified is skipped.
        }
    }
    return found;
}

void HidDeviceController::RaisePlugEvent(const HidPlugEvent& event, HidDevice* device) {
    if (!event) {
        return;
    }
    const HidPlugEvent handler = event;
    {
        EventAccessScope access(device->eventAccess_, [this, device] { return Contains(device); });
        handler(device);
    }
    // Handles opened inside the event stay open only for a device someone checked out.
    if (Contains(device) && !device->CheckedOut()) {
        device->CloseSync();
        device->CloseOverlapped(HidOverlappedMode::OverlappedRead);
        device->CloseOverlapped(HidOverlappedMode::OverlappedWrite);
    }
}

void HidDeviceController::DeviceChange() {
    bool changed = lastChangeParam_ == ForcedChangeParam;
    // Owned here until listed: a handler that fails part-way loses none of them.
    std::vector<std::unique_ptr<HidDevice>> found = ScanInterfaces();
    const auto foundHas = [&found](const std::string& instance) {
        return std::any_of(found.begin(), found.end(), [&instance](const auto& n) {
            return n->InterfaceInfo().DeviceInstance == instance;
        });
    };

    // Removals, from the last index down. Handlers may change the list, so each device is
    // looked up again before it is touched.
    const std::vector<HidDevice*> listed = devices_;
    for (auto it = listed.rbegin(); it != listed.rend(); ++it) {
        HidDevice* device = *it;
        if (!Contains(device)) {
            continue;
        }
        if (device->Plugged() && foundHas(device->InterfaceInfo().DeviceInstance)) {
            continue;
        }
        changed = true;
        device->MarkUnplugged();
        if (Contains(device)) {
            RaisePlugEvent(onRemoval_, device);
        }
        if (Contains(device) && !device->CheckedOut()) {
            devices_.erase(std::find(devices_.begin(), devices_.end(), device));
            const std::unique_ptr<HidDevice> removed(device);  // the list held the only claim
        }
    }

    // Duplicates: interfaces already listed and still plugged.
    for (auto& candidate : found) {
        const std::string& instance = candidate->InterfaceInfo().DeviceInstance;
        if (std::any_of(devices_.begin(), devices_.end(), [&instance](HidDevice* d) {
                return d->Plugged() && d->InterfaceInfo().DeviceInstance == instance;
            })) {
            candidate->controller_ = nullptr;
            candidate.reset();
        }
    }

    // Arrivals, in scan order: each is last in the list while its OnArrival runs.
    for (auto& arrival : found) {
        if (!arrival) {
            continue;
        }
        HidDevice* device = arrival.release();
        devices_.push_back(device);
        changed = true;
        try {
            RaisePlugEvent(onArrival_, device);
        } catch (...) {
            for (auto& rest : found) {
                if (rest) {
                    devices_.push_back(rest.release());
                }
            }
            Recount();
            throw;
        }
    }

    Recount();
    if (changed && onDeviceChange_) {
        const HidNotifyEvent handler = onDeviceChange_;
        handler(this);
    }
}

void HidDeviceController::Recount() {
    int32_t notCheckedOut = 0;
    int32_t unplugged = 0;
    int32_t checkedOut = 0;
    for (const HidDevice* device : devices_) {
        notCheckedOut += device->CheckedOut() ? 0 : 1;
        checkedOut += device->CheckedOut() ? 1 : 0;
        unplugged += device->Plugged() ? 0 : 1;
    }
    checkedInCount_ = notCheckedOut;
    unpluggedCount_ = unplugged;
    checkedOutCount_ = checkedOut - unplugged;
}

int32_t HidDeviceController::EnumerateDevices() {
    int32_t count = 0;
    for (size_t i = 0; i < devices_.size(); ++i) {
        HidDevice* device = devices_[i];
        if (!device->Plugged()) {
            continue;
        }
        ++count;
        if (!onEnumerate_) {
            break;  // no handler answers false
        }
        const HidEnumerateEvent handler = onEnumerate_;
        bool goOn;
        {
            EventAccessScope access(device->eventAccess_,
                                    [this, device] { return Contains(device); });
            goOn = handler(device, static_cast<int32_t>(i));
        }
        if (Contains(device) && !device->CheckedOut()) {
            device->CloseSync();
            device->CloseOverlapped(HidOverlappedMode::OverlappedRead);
            device->CloseOverlapped(HidOverlappedMode::OverlappedWrite);
        }
        if (!goOn) {
            break;
        }
    }
    return count;
}

CheckedOutDevice HidDeviceController::CheckOut(int32_t idx) {
    HidDevice* device = nullptr;
    CheckOutAt(idx, device);
    return CheckedOutDevice(device);
}

bool HidDeviceController::CheckOutAt(int32_t Idx, HidDevice*& HidDev) {
    HidDev = nullptr;
    if (Idx < 0 || static_cast<size_t>(Idx) >= devices_.size()) {
        return false;
    }
    HidDevice* device = devices_[static_cast<size_t>(Idx)];
    if (device->CheckedOut()) {
        return false;
    }
    HidDev = device;
    device->checkedOut_.store(true);
    ++checkedOutCount_;
    --checkedInCount_;
    device->StartReadThread();
    return true;
}

void HidDeviceController::DeviceDestroyed(HidDevice* device, std::unique_ptr<HidDeviceInfo> info,
                                           HidDataEvent input, HidPlugEvent unplugged,
                                           int32_t readWaitTime) {
    const auto slot = std::find(devices_.begin(), devices_.end(), device);
    if (slot == devices_.end()) {
        return;
    }
    if (!device->Plugged()) {
        devices_.erase(slot);
        --unpluggedCount_;
        return;
    }
    if (device->CheckedOut()) {
        --checkedOutCount_;
        ++checkedInCount_;
    }
    std::unique_ptr<HidDevice> replacement;
    try {
        replacement = CreateDevice(std::move(info));
    } catch (const ControllerError&) {
        // The interface vanished before its notification was handled: the slot goes, and the
        // next scan reconciles nothing more for it.
        devices_.erase(slot);
        --checkedInCount_;
        return;
    }
    replacement->SetOnInputReport(std::move(input));
    replacement->SetOnUnplugged(std::move(unplugged));
    replacement->SetReadWaitTime(readWaitTime);
    *slot = replacement.release();  // the list owns it until it is checked out
}

void HidDeviceController::SetOnDeviceChange(HidNotifyEvent handler) {
    if (handler.SameFunction(onDeviceChange_)) {
        return;
    }
    onDeviceChange_ = std::move(handler);
    DeviceChange();
}

void HidDeviceController::SetOnDeviceData(HidDataEvent handler) {
    if (handler.SameFunction(onDeviceData_)) {
        return;
    }
    const std::vector<HidDevice*> listed = devices_;
    for (HidDevice* device : listed) {
        if (Contains(device) && device->OnInputReport().SameFunction(onDeviceData_)) {
            device->SetOnInputReport(handler);
        }
    }
    onDeviceData_ = std::move(handler);
}

void HidDeviceController::SetOnDeviceDataError(HidDataErrorEvent handler) {
    if (handler.SameFunction(onDeviceDataError_)) {
        return;
    }
    for (HidDevice* device : devices_) {
        if (device->OnReadError().SameFunction(onDeviceDataError_)) {
            device->SetOnReadError(handler);
        }
    }
    onDeviceDataError_ = std::move(handler);
}

void HidDeviceController::SetOnDeviceUnplug(HidPlugEvent handler) {
    if (handler.SameFunction(onDeviceUnplug_)) {
        return;
    }
    for (HidDevice* device : devices_) {
        if (device->OnUnplugged().SameFunction(onDeviceUnplug_)) {
            device->SetOnUnplugged(handler);
        }
    }
    onDeviceUnplug_ = std::move(handler);
}

void HidDeviceController::SetDevThreadSleepTime(int32_t milliseconds) {
    if (milliseconds == devThreadSleepTime_) {
        return;
    }
    for (HidDevice* device : devices_) {
        if (device->ReadWaitTime() == devThreadSleepTime_) {
            device->SetReadWaitTime(milliseconds);
        }
    }
    devThreadSleepTime_ = milliseconds;
}

}  // namespace leeb
