#pragma once
// The thread that reads one device's input reports and hands each to the GUI thread.
//
// Hand-off: the thread posts the delivery through the dispatcher and sleeps until the GUI
// thread has run it. A stop (always on the GUI thread) joins the thread while itself running a
// delivery the thread has pending, so the two never wait for each other: either the delivery
// is still pending (the stop runs it), or it is running further down the GUI thread's own
// stack (a handler pumped events and got here; the thread then leaves without waiting), or it
// is done. The thread never calls a handler itself.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "HidTypes.h"

namespace leeb {

class HidGuiDispatcher;
class HidDevice;

class HidReadThread {
  public:
    // Report: `reportLength` bytes, reused for every read.
    HidReadThread(HidDevice& device, std::shared_ptr<HidGuiDispatcher> dispatcher,
                         uint16_t reportLength);
    ~HidReadThread();  // StopAndJoin
    HidReadThread(const HidReadThread&) = delete;
    HidReadThread& operator=(const HidReadThread&) = delete;

    void Start();
    // GUI thread: requests the stop, runs any delivery the thread has pending, joins.
    void StopAndJoin();
    // The body has ended: stopped, or a handler failed.
    bool Finished() const;

    HidDevice& Device() const { return device_; }
    HidFailure ErrorCode() const { return errorCode_.load(); }
    uint32_t BytesRead() const { return bytesRead_.load(); }
    size_t ReportLength() const { return report_->size(); }

    struct Channel;

  private:
    void Body();
    void ReadLoop();
    // False when the thread must end (a handler failed, or a stop came during the delivery).
    bool HandOff(std::function<void()> delivery);
    void SleepUnlessStopped(int milliseconds);

    HidDevice& device_;
    std::shared_ptr<HidGuiDispatcher> dispatcher_;
    std::shared_ptr<Channel> channel_;
    std::shared_ptr<std::vector<uint8_t>> report_;
    std::atomic<bool> stop_{false};
    std::atomic<HidFailure> errorCode_{HidFailure{}};
    std::atomic<uint32_t> bytesRead_{0};
    std::thread thread_;
};

}  // namespace leeb
