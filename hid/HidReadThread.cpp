#include "HidReadThread.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>

#include "HidGuiDispatcher.h"
#include "HidDevice.h"

namespace leeb {

// Shared by the thread, the stopping GUI thread and the deliveries posted to the dispatcher,
// which may outlive the thread object (a delivery still queued when the thread ends).
struct HidReadThread::Channel {
    enum class State { Idle, Pending, Running, Done };

    std::mutex mutex;
    std::condition_variable changed;
    State state = State::Idle;
    uint64_t sequence = 0;
    std::function<void()> delivery;
    bool failed = false;
    bool stopRequested = false;
    bool ended = false;

    // GUI thread: runs delivery `number` unless it already ran or is running.
    void RunIfPending(uint64_t number) {
        std::function<void()> call;
        {
            std::lock_guard lock(mutex);
            if (state != State::Pending || sequence != number) {
                return;
            }
            state = State::Running;
            call = std::move(delivery);
        }
        bool threw = false;
        try {
            call();
        } catch (...) {
            // A failing handler ends the read thread, never the program.
            threw = true;
        }
        {
            std::lock_guard lock(mutex);
            failed = threw;
            state = State::Done;
        }
        changed.notify_all();
    }
};

HidReadThread::HidReadThread(HidDevice& device,
                                           std::shared_ptr<HidGuiDispatcher> dispatcher,
                                           uint16_t reportLength)
    : device_(device),
      dispatcher_(std::move(dispatcher)),
      channel_(std::make_shared<Channel>()),
      report_(std::make_shared<std::vector<uint8_t>>(reportLength)) {}

HidReadThread::~HidReadThread() {
    StopAndJoin();
}

void HidReadThread::Start() {
    thread_ = std::thread([this] { Body(); });
}

bool HidReadThread::Finished() const {
    std::lock_guard lock(channel_->mutex);
    return channel_->ended;
}

void HidReadThread::StopAndJoin() {
    if (!thread_.joinable()) {
        return;
    }
    stop_.store(true);
    {
        std::lock_guard lock(channel_->mutex);
        channel_->stopRequested = true;
    }
    channel_->changed.notify_all();
    device_.InterruptRead();
    // Cannot deadlock: the thread waits only for a delivery in state Pending (run here) or
    // Running (it gives up waiting once the stop is requested), and for nothing else.
    for (;;) {
        std::unique_lock lock(channel_->mutex);
        channel_->changed.wait(
            lock, [this] { return channel_->ended || channel_->state == Channel::State::Pending; });
        if (channel_->ended) {
            break;
        }
        const uint64_t number = channel_->sequence;
        lock.unlock();
        channel_->RunIfPending(number);
    }
    thread_.join();
}

void HidReadThread::Body() {
    try {
        ReadLoop();
    } catch (...) {
        // Whatever went wrong ends this thread only.
    }
    {
        std::lock_guard lock(channel_->mutex);
        channel_->ended = true;
    }
    channel_->changed.notify_all();
}

void HidReadThread::ReadLoop() {
    std::vector<uint8_t>& report = *report_;
    while (!stop_.load()) {
        // The capabilities are asked anew on every loop; the buffer never grows.
        const uint32_t length =
            std::min<uint32_t>(device_.FetchedCapabilities().InputReportByteLength,
                               static_cast<uint32_t>(report.size()));
        std::fill(report.begin(), report.begin() + length, uint8_t{0});

        if (length == 0 || !device_.StartRead(report.data(), length)) {
            errorCode_.store(length == 0 ? HidFailure{HidError::NoReport, 0} : HidLastError());
            HidDevice* device = &device_;
            const HidFailure code = errorCode_.load();
            if (!HandOff([device, code] {
                    const HidDataErrorEvent handler = device->OnReadError();
                    if (handler) {
                        handler(device, code);
                    }
                })) {
                return;
            }
            // Every further try would fail the same way at once: pace them.
            SleepUnlessStopped(device_.ReadWaitTime());
            continue;
        }

        // No time-out: an idle device costs no wake-ups. The stop cannot be missed: the read
        // was registered under the device's slot lock before stop_ is looked at here, and the
        // stop sets stop_ before it takes that lock to interrupt the registered read, so
        // either this check sees the stop or the wait below is (or will be) interrupted.
        bool completed = false;
        while (!stop_.load()) {
            if (device_.WaitRead(HidWaitForever) == HidWaitResult::Completed) {
                completed = true;
                break;
            }
        }
        if (stop_.load()) {
            // A report that completed in the same wait as the stop is dropped.
            if (!completed) {
                device_.CancelOverlapped(HidOverlappedMode::OverlappedRead);
            } else {
                device_.ReadResult();
            }
            return;
        }
        const uint32_t bytes = device_.ReadResult();
        bytesRead_.store(bytes);
        if (bytes == 0) {
            continue;
        }
        HidDevice* device = &device_;
        std::shared_ptr<std::vector<uint8_t>> buffer = report_;
        const uint16_t size = static_cast<uint16_t>(std::min<uint32_t>(bytes, length) - 1);
        if (!HandOff([device, buffer, size] {
                const HidDataEvent handler = device->OnInputReport();
                if (handler) {
                    handler(device, (*buffer)[0], buffer->data() + 1, size);
                }
            })) {
            return;
        }
    }
}

bool HidReadThread::HandOff(std::function<void()> delivery) {
    uint64_t number;
    {
        std::lock_guard lock(channel_->mutex);
        channel_->delivery = std::move(delivery);
        channel_->state = Channel::State::Pending;
        channel_->failed = false;
        number = ++channel_->sequence;
    }
    channel_->changed.notify_all();
    dispatcher_->Post([channel = channel_, number] { channel->RunIfPending(number); });

    std::unique_lock lock(channel_->mutex);
    channel_->changed.wait(lock, [this] {
        return channel_->state == Channel::State::Done ||
               (channel_->stopRequested && channel_->state == Channel::State::Running);
    });
    if (channel_->state != Channel::State::Done) {
        // The stop comes from within this very delivery's handler: it finishes on its own,
        // holding its own reference to the report.
        return false;
    }
    channel_->state = Channel::State::Idle;
    return !channel_->failed;
}

void HidReadThread::SleepUnlessStopped(int milliseconds) {
    std::unique_lock lock(channel_->mutex);
    channel_->changed.wait_for(lock, std::chrono::milliseconds(milliseconds),
                               [this] { return channel_->stopRequested; });
}

}  // namespace leeb
