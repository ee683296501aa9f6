#include "SimulatedHidBus.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>

namespace leeb {

namespace {

using Clock = std::chrono::steady_clock;

struct QueuedReport {
    Clock::time_point due;
    std::vector<uint8_t> bytes;
};

struct SimulatedDevice {
    SimulatedDeviceId id = 0;
    std::string identity;
    std::string path;
    HIDD_ATTRIBUTES attributes;
    HIDP_CAPS caps;
    SimulatedHidBus::ReplyBehaviour reply;
    bool plugged = true;
    bool refused = false;
    bool writeFails = false;
    std::deque<QueuedReport> input;  // ordered by due time
    std::vector<std::vector<uint8_t>> written;
    int openHandles = 0;
    int readWriteOpens = 0;
    int outstandingReads = 0;
};

}  // namespace

struct SimulatedHidBus::State {
    std::mutex mutex;
    std::condition_variable changed;  // input queued, unplug, interrupt
    std::map<SimulatedDeviceId, std::shared_ptr<SimulatedDevice>> devices;
    SimulatedDeviceId nextId = 1;
    bool available = true;
    bool bound = false;
    // Platform calls made while the bus was not bound (before Bind or after Release).
    int callsWhileUnbound = 0;
    SimulatedHidBus* bus = nullptr;  // null once the bus is gone

    std::mutex notifyMutex;  // held while the change callback runs
    std::function<void()> notify;

    std::shared_ptr<SimulatedDevice> Find(SimulatedDeviceId id) const {
        const auto it = devices.find(id);
        return it == devices.end() ? nullptr : it->second;
    }
    std::shared_ptr<SimulatedDevice> FindPath(const std::string& path) const {
        for (const auto& [id, device] : devices) {
            if (device->path == path && device->plugged) {
                return device;
            }
        }
        return nullptr;
    }
};

namespace {

class SimulatedHandle : public HidHandle {
  public:
    SimulatedHandle(std::shared_ptr<SimulatedHidBus::State> state,
                    std::shared_ptr<SimulatedDevice> device, HidOpenMode mode)
        : state_(std::move(state)), device_(std::move(device)), mode_(mode) {}

    ~SimulatedHandle() override {
        std::lock_guard lock(state_->mutex);
        --device_->openHandles;
        if (reading_) {
            --device_->outstandingReads;
        }
    }

    bool GetAttributes(HIDD_ATTRIBUTES& attributes) override {
        std::lock_guard lock(state_->mutex);
        state_->callsWhileUnbound += state_->bound ? 0 : 1;
        if (!device_->plugged) {
            return Fail(HidError::NotConnected);
        }
        attributes = device_->attributes;
        return true;
    }

    bool GetCaps(HIDP_CAPS& caps) override {
        std::lock_guard lock(state_->mutex);
        state_->callsWhileUnbound += state_->bound ? 0 : 1;
        if (!device_->plugged) {
            return Fail(HidError::NotConnected);
        }
        caps = device_->caps;
        return true;
    }

    bool Write(const uint8_t* buffer, uint32_t count, uint32_t& written) override {
        written = 0;
        SimulatedHidBus::ReplyBehaviour reply;
        SimulatedHidBus* bus = nullptr;
        std::vector<uint8_t> report(buffer, buffer + count);
        {
            std::lock_guard lock(state_->mutex);
            if (mode_ != HidOpenMode::ReadWrite && mode_ != HidOpenMode::OverlappedWrite) {
                return Fail(HidError::AccessDenied);
            }
            if (!device_->plugged) {
                return Fail(HidError::NotConnected);
            }
            if (device_->writeFails) {
                return Fail(HidError::Failed);
            }
            device_->written.push_back(report);
            reply = device_->reply;
            bus = state_->bus;
        }
        written = count;
        if (reply && bus != nullptr) {
            reply(*bus, device_->id, report);
        }
        return true;
    }

    bool StartRead(uint8_t* buffer, uint32_t count) override {
        std::lock_guard lock(state_->mutex);
        if (mode_ != HidOpenMode::OverlappedRead) {
            return Fail(HidError::AccessDenied);
        }
        if (!device_->plugged) {
            return Fail(HidError::NotConnected);
        }
        if (reading_) {
            return Fail(HidError::Busy);
        }
        buffer_ = buffer;
        count_ = count;
        result_ = 0;
        reading_ = true;
        ++device_->outstandingReads;
        return true;
    }

    HidWaitResult WaitRead(int milliseconds) override {
        std::unique_lock lock(state_->mutex);
        const bool forever = milliseconds == HidWaitForever;
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
        for (;;) {
            if (interrupted_) {
                interrupted_ = false;
                return HidWaitResult::Interrupted;
            }
            if (!reading_) {
                return HidWaitResult::Completed;
            }
            const Clock::time_point now = Clock::now();
            if (!device_->plugged) {
                // The device went away under the read: it ends with nothing.
                Finish(0);
                return HidWaitResult::Completed;
            }
            if (!device_->input.empty() && device_->input.front().due <= now) {
                const std::vector<uint8_t>& bytes = device_->input.front().bytes;
                const uint32_t n = std::min<uint32_t>(static_cast<uint32_t>(bytes.size()), count_);
                if (n > 0) {
                    std::memcpy(buffer_, bytes.data(), n);
                }
                device_->input.pop_front();
                Finish(n);
                return HidWaitResult::Completed;
            }
            if (!forever && now >= deadline) {
                return HidWaitResult::TimedOut;
            }
            if (device_->input.empty() && forever) {
                state_->changed.wait(lock);
                continue;
            }
            Clock::time_point wake = forever ? device_->input.front().due : deadline;
            if (!forever && !device_->input.empty()) {
                wake = std::min(wake, device_->input.front().due);
            }
            state_->changed.wait_until(lock, wake);
        }
    }

    uint32_t ReadResult() override {
        std::lock_guard lock(state_->mutex);
        return result_;
    }

    bool CancelRead() override {
        std::lock_guard lock(state_->mutex);
        if (reading_) {
            reading_ = false;
            buffer_ = nullptr;
            --device_->outstandingReads;
        }
        return true;
    }

    void Interrupt() override {
        {
            std::lock_guard lock(state_->mutex);
            interrupted_ = true;
        }
        state_->changed.notify_all();
    }

  private:
    static bool Fail(HidError error) {
        SetHidLastError(error);
        return false;
    }
    void Finish(uint32_t bytes) {
        result_ = bytes;
        reading_ = false;
        buffer_ = nullptr;
        --device_->outstandingReads;
    }

    std::shared_ptr<SimulatedHidBus::State> state_;
    std::shared_ptr<SimulatedDevice> device_;
    HidOpenMode mode_;
    uint8_t* buffer_ = nullptr;
    uint32_t count_ = 0;
    uint32_t result_ = 0;
    bool reading_ = false;
    bool interrupted_ = false;
};

}  // namespace

SimulatedHidBus::SimulatedHidBus() : state_(std::make_shared<State>()) {
    state_->bus = this;
}

SimulatedHidBus::~SimulatedHidBus() {
    StopChangeNotification();
    std::lock_guard lock(state_->mutex);
    state_->bus = nullptr;
}

SimulatedDeviceId SimulatedHidBus::Plug(std::string identity, uint16_t vendorId, uint16_t productId,
                                        uint16_t version, uint16_t inputReportLength,
                                        uint16_t outputReportLength, ReplyBehaviour reply) {
    SimulatedDeviceId id;
    {
        std::lock_guard lock(state_->mutex);
        auto device = std::make_shared<SimulatedDevice>();
        id = state_->nextId++;
        device->id = id;
        device->identity = std::move(identity);
        device->path = "sim:" + std::to_string(id);
        device->attributes.Size = 12;
        device->attributes.VendorID = vendorId;
        device->attributes.ProductID = productId;
        device->attributes.VersionNumber = version;
        device->caps.InputReportByteLength = inputReportLength;
        device->caps.OutputReportByteLength = outputReportLength;
        device->reply = std::move(reply);
        state_->devices[id] = std::move(device);
    }
    Notify();
    return id;
}

void SimulatedHidBus::Unplug(SimulatedDeviceId device) {
    {
        std::lock_guard lock(state_->mutex);
        const auto found = state_->Find(device);
        if (!found || !found->plugged) {
            return;
        }
        found->plugged = false;
        found->input.clear();
    }
    state_->changed.notify_all();
    Notify();
}

bool SimulatedHidBus::IsPlugged(SimulatedDeviceId device) const {
    std::lock_guard lock(state_->mutex);
    const auto found = state_->Find(device);
    return found && found->plugged;
}

void SimulatedHidBus::SetReadWriteRefused(SimulatedDeviceId device, bool refused) {
    std::lock_guard lock(state_->mutex);
    if (const auto found = state_->Find(device)) {
        found->refused = refused;
    }
}

void SimulatedHidBus::SetReplyBehaviour(SimulatedDeviceId device, ReplyBehaviour reply) {
    std::lock_guard lock(state_->mutex);
    if (const auto found = state_->Find(device)) {
        found->reply = std::move(reply);
    }
}

void SimulatedHidBus::SetWriteFails(SimulatedDeviceId device, bool fails) {
    std::lock_guard lock(state_->mutex);
    if (const auto found = state_->Find(device)) {
        found->writeFails = fails;
    }
}

void SimulatedHidBus::SetAvailable(bool available) {
    std::lock_guard lock(state_->mutex);
    state_->available = available;
}

void SimulatedHidBus::QueueInputReport(SimulatedDeviceId device, std::vector<uint8_t> report,
                                       std::chrono::microseconds delay) {
    {
        std::lock_guard lock(state_->mutex);
        const auto found = state_->Find(device);
        if (!found || !found->plugged) {
            return;
        }
        QueuedReport queued{Clock::now() + delay, std::move(report)};
        const auto at = std::upper_bound(
            found->input.begin(), found->input.end(), queued.due,
            [](Clock::time_point due, const QueuedReport& r) { return due < r.due; });
        found->input.insert(at, std::move(queued));
    }
    state_->changed.notify_all();
}

void SimulatedHidBus::RaiseChange() {
    Notify();
}

void SimulatedHidBus::Notify() {
    std::lock_guard lock(state_->notifyMutex);
    if (state_->notify) {
        state_->notify();
    }
}

// The test counters of one device, read under the bus's lock; `fallback` for a device the bus
// never had.
template <typename Read>
static auto ReadDevice(SimulatedHidBus::State& state, SimulatedDeviceId device, Read read,
                       decltype(read(std::declval<const SimulatedDevice&>())) fallback) {
    std::lock_guard lock(state.mutex);
    const auto found = state.Find(device);
    return found ? read(*found) : fallback;
}

std::vector<std::vector<uint8_t>> SimulatedHidBus::WrittenReports(SimulatedDeviceId device) const {
    return ReadDevice(*state_, device, [](const SimulatedDevice& d) { return d.written; }, {});
}

int SimulatedHidBus::OpenHandleCount(SimulatedDeviceId device) const {
    return ReadDevice(
        *state_, device, [](const SimulatedDevice& d) { return d.openHandles; }, 0);
}

int SimulatedHidBus::ReadWriteOpenCount(SimulatedDeviceId device) const {
    return ReadDevice(
        *state_, device, [](const SimulatedDevice& d) { return d.readWriteOpens; }, 0);
}

int SimulatedHidBus::OutstandingReads(SimulatedDeviceId device) const {
    return ReadDevice(
        *state_, device, [](const SimulatedDevice& d) { return d.outstandingReads; }, 0);
}

int SimulatedHidBus::QueuedInputReports(SimulatedDeviceId device) const {
    return ReadDevice(
        *state_, device, [](const SimulatedDevice& d) { return static_cast<int>(d.input.size()); },
        0);
}

bool SimulatedHidBus::Bind() {
    std::lock_guard lock(state_->mutex);
    state_->bound = state_->available;
    return state_->available;
}

void SimulatedHidBus::Release() {
    std::lock_guard lock(state_->mutex);
    state_->bound = false;
}

int SimulatedHidBus::CallsWhileUnbound() const {
    std::lock_guard lock(state_->mutex);
    return state_->callsWhileUnbound;
}

std::vector<HidInterfaceEntry> SimulatedHidBus::Enumerate() {
    std::lock_guard lock(state_->mutex);
    state_->callsWhileUnbound += state_->bound ? 0 : 1;
    std::vector<HidInterfaceEntry> entries;
    for (const auto& [id, device] : state_->devices) {
        if (device->plugged) {
            entries.push_back({device->identity, device->path});
        }
    }
    return entries;
}

std::unique_ptr<HidHandle> SimulatedHidBus::OpenForIdentification(const std::string& path,
                                                                  bool& readWriteGranted) {
    readWriteGranted = false;
    std::lock_guard lock(state_->mutex);
    state_->callsWhileUnbound += state_->bound ? 0 : 1;
    const auto device = state_->FindPath(path);
    if (!device) {
        SetHidLastError(HidError::NotConnected);
        return nullptr;
    }
    readWriteGranted = !device->refused;
    ++device->openHandles;
    return std::make_unique<SimulatedHandle>(state_, device, HidOpenMode::QueryOnly);
}

std::unique_ptr<HidHandle> SimulatedHidBus::Open(const std::string& path, HidOpenMode mode) {
    std::lock_guard lock(state_->mutex);
    state_->callsWhileUnbound += state_->bound ? 0 : 1;
    const auto device = state_->FindPath(path);
    if (!device) {
        SetHidLastError(HidError::NotConnected);
        return nullptr;
    }
    if (mode != HidOpenMode::QueryOnly && device->refused) {
        SetHidLastError(HidError::AccessDenied);
        return nullptr;
    }
    ++device->openHandles;
    if (mode == HidOpenMode::ReadWrite) {
        ++device->readWriteOpens;
    }
    return std::make_unique<SimulatedHandle>(state_, device, mode);
}

void SimulatedHidBus::StartChangeNotification(std::function<void()> changed) {
    std::lock_guard lock(state_->notifyMutex);
    state_->notify = std::move(changed);
}

void SimulatedHidBus::StopChangeNotification() {
    std::lock_guard lock(state_->notifyMutex);
    state_->notify = nullptr;
}

}  // namespace leeb
