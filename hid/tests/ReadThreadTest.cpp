// The read thread, the hand-off to the GUI thread and the stop, run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "HidTestSupport.h"
#include "HidReadThread.h"

namespace leeb::test {
namespace {

using namespace std::chrono_literals;

// A hang in a stop is the fault these tests look for: end the program instead of waiting for
// the test runner's time-out.
class Watchdog {
  public:
    explicit Watchdog(std::chrono::seconds limit)
        : thread_([this, limit] {
              std::unique_lock lock(mutex_);
              if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
                  std::fprintf(stderr, "deadlock: the test did not finish in time\n");
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        thread_.join();
    }

  private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

class ReadThreadTest : public SimulatedControllerTest {
  protected:
    Watchdog watchdog{std::chrono::seconds(30)};
};

TEST_F(ReadThreadTest, StopCancelsAnOutstandingReadAtOnce) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    Create();
    HidDevice* device = CheckOut(0);
    device->SetReadWaitTime(10000);
    ASSERT_TRUE(gui->ProcessUntil([&] { return bus->OutstandingReads(a) == 1; }, Patience));
    const auto start = std::chrono::steady_clock::now();
    device->SetOnInputReport({});
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "the stop wakes the wait";
    EXPECT_EQ(bus->OutstandingReads(a), 0);
    EXPECT_EQ(device->ReadThread(), nullptr);
    delete device;
}

// Completes the read (with a report) instead of interrupting it: the stop and the report
// arrive in the same wait.
class SameWaitBus : public SimulatedHidBus {
  public:
    class Handle : public HidHandle {
      public:
        Handle(SameWaitBus& bus, std::unique_ptr<HidHandle> inner)
            : bus_(bus), inner_(std::move(inner)) {}
        bool GetAttributes(HIDD_ATTRIBUTES& a) override { return inner_->GetAttributes(a); }
        bool GetCaps(HIDP_CAPS& c) override { return inner_->GetCaps(c); }
        bool Write(const uint8_t* b, uint32_t n, uint32_t& w) override {
            return inner_->Write(b, n, w);
        }
        bool StartRead(uint8_t* b, uint32_t n) override { return inner_->StartRead(b, n); }
        HidWaitResult WaitRead(int ms) override { return inner_->WaitRead(ms); }
        uint32_t ReadResult() override { return inner_->ReadResult(); }
        bool CancelRead() override { return inner_->CancelRead(); }
        void Interrupt() override { bus_.QueueInputReport(1, {5, 6, 7}); }

      private:
        SameWaitBus& bus_;
        std::unique_ptr<HidHandle> inner_;
    };
    std::unique_ptr<HidHandle> Open(const std::string& path, HidOpenMode mode) override {
        auto inner = SimulatedHidBus::Open(path, mode);
        if (!inner || mode != HidOpenMode::OverlappedRead) {
            return inner;
        }
        return std::make_unique<Handle>(*this, std::move(inner));
    }
};

TEST_F(ReadThreadTest, ReportCompletingInTheSameWaitAsTheStopIsDropped) {
    bus = std::make_shared<SameWaitBus>();
    const SimulatedDeviceId a = PlugTester("a", 1);
    Create();
    HidDevice* device = CheckOut(0);
    device->SetReadWaitTime(10000);
    ASSERT_TRUE(gui->ProcessUntil([&] { return bus->OutstandingReads(a) == 1; }, Patience));
    device->SetOnInputReport({});
    gui->ProcessPending();
    EXPECT_TRUE(rec.reports.empty());
    EXPECT_EQ(bus->QueuedInputReports(a), 0) << "the report was read, then dropped";
    delete device;
}

// Records the time-out of every wait and counts the reads started.
class WaitRecordingBus : public SimulatedHidBus {
  public:
    class Handle : public HidHandle {
      public:
        Handle(WaitRecordingBus& bus, std::unique_ptr<HidHandle> inner)
            : bus_(bus), inner_(std::move(inner)) {}
        bool GetAttributes(HIDD_ATTRIBUTES& a) override { return inner_->GetAttributes(a); }
        bool GetCaps(HIDP_CAPS& c) override { return inner_->GetCaps(c); }
        bool Write(const uint8_t* b, uint32_t n, uint32_t& w) override {
            return inner_->Write(b, n, w);
        }
        bool StartRead(uint8_t* b, uint32_t n) override {
            ++bus_.readsStarted;
            return inner_->StartRead(b, n);
        }
        HidWaitResult WaitRead(int ms) override {
            {
                std::lock_guard lock(bus_.mutex);
                bus_.waits.push_back(ms);
            }
            return inner_->WaitRead(ms);
        }
        uint32_t ReadResult() override { return inner_->ReadResult(); }
        bool CancelRead() override { return inner_->CancelRead(); }
        void Interrupt() override { inner_->Interrupt(); }

      private:
        WaitRecordingBus& bus_;
        std::unique_ptr<HidHandle> inner_;
    };
    std::unique_ptr<HidHandle> Open(const std::string& path, HidOpenMode mode) override {
        auto inner = SimulatedHidBus::Open(path, mode);
        if (!inner || mode != HidOpenMode::OverlappedRead) {
            return inner;
        }
        return std::make_unique<Handle>(*this, std::move(inner));
    }
    std::vector<int> Waits() {
        std::lock_guard lock(mutex);
        return waits;
    }

    std::atomic<int> readsStarted{0};
    std::mutex mutex;
    std::vector<int> waits;
};

// An idle device must cost no wake-ups: one wait per read, and that wait without a time-out
// (ReadWaitTime only paces retries after a failure).
TEST_F(ReadThreadTest, AnIdleReadWaitsOnceWithoutATimeOut) {
    auto recording = std::make_shared<WaitRecordingBus>();
    bus = recording;
    const SimulatedDeviceId a = PlugTester("a", 1);
    Create();
    HidDevice* device = CheckOut(0);
    device->SetReadWaitTime(HidDevice::MinReadWaitTime);
    ASSERT_TRUE(gui->ProcessUntil([&] { return !recording->Waits().empty(); }, Patience));
    bus->QueueInputReport(a, {0, 7});
    ASSERT_TRUE(WaitForReports(1));
    ASSERT_TRUE(gui->ProcessUntil([&] { return recording->Waits().size() >= 2; }, Patience));
    // Long enough for a handful of the shortest timed waits, were there any.
    std::this_thread::sleep_for(50ms);
    gui->ProcessPending();
    const std::vector<int> waits = recording->Waits();
    EXPECT_EQ(waits, std::vector<int>(waits.size(), HidWaitForever));
    EXPECT_EQ(static_cast<int>(waits.size()), recording->readsStarted.load())
        << "a wait that returned early was waited again";
    delete device;
}

TEST_F(ReadThreadTest, StopRunsTheDeliveryThePendingHandOffHolds) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    Create();
    HidDevice* device = CheckOut(0);
    bus->QueueInputReport(a, {0, 42});
    // The thread now waits in its hand-off; the GUI thread has not pumped. A thread that never
    // gets there fails the case here rather than at the watchdog's abort.
    const auto deadline = std::chrono::steady_clock::now() + Patience;
    while (gui->PendingCount() == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    if (gui->PendingCount() == 0) {
        delete device;
        FAIL() << "the read thread did not hand the report over within " << Patience.count()
               << " ms";
    }
    device->SetOnInputReport({});
    ASSERT_EQ(rec.reports.size(), 1u) << "delivered by the stop";
    EXPECT_EQ(rec.reports[0].data, std::vector<uint8_t>{42});
    gui->ProcessPending();
    EXPECT_EQ(rec.reports.size(), 1u) << "the queued delivery does not run twice";
    delete device;
}

TEST_F(ReadThreadTest, HandlerThatStopsItsOwnThreadDoesNotDeadlock) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    Create();
    HidDevice* device = CheckOut(0);
    int calls = 0;
    device->SetOnInputReport(
        HidDataEvent::Tagged(&calls, [&](HidDevice* d, uint8_t, const uint8_t*, uint16_t) {
            ++calls;
            gui->ProcessPending();
            d->SetOnInputReport({});  // the stop comes from within the delivery
            gui->ProcessPending();
        }));
    bus->QueueInputReport(a, {0, 1});
    bus->QueueInputReport(a, {0, 2});
    ASSERT_TRUE(gui->ProcessUntil([&] { return calls > 0; }, Patience));
    std::this_thread::sleep_for(50ms);
    gui->ProcessPending();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(device->ReadThread(), nullptr);
    delete device;
}

TEST_F(ReadThreadTest, HandlerThatPumpsWhileAStopWaitsLetsOtherDevicesDeliver) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    const SimulatedDeviceId b = PlugTester("b", 2);
    Create();
    HidDevice* first = CheckOut(0);
    HidDevice* second = CheckOut(1);
    std::atomic<int> pumped{0};
    first->SetOnInputReport(
        HidDataEvent::Tagged(&pumped, [&](HidDevice*, uint8_t, const uint8_t*, uint16_t) {
            // Pumps until the other device has delivered, inside the stop's servicing.
            gui->ProcessUntil([&] { return !rec.reports.empty(); }, Patience);
            ++pumped;
        }));
    bus->QueueInputReport(a, {0, 1});
    while (gui->PendingCount() == 0) {
        std::this_thread::sleep_for(1ms);
    }
    bus->QueueInputReport(b, {0, 2});
    first->SetOnInputReport({});
    EXPECT_EQ(pumped.load(), 1);
    ASSERT_EQ(rec.reports.size(), 1u);
    EXPECT_EQ(rec.reports[0].device, second);
    delete first;
    delete second;
}

TEST_F(ReadThreadTest, FailingHandlerEndsTheThreadOnly) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    Create();
    HidDevice* device = CheckOut(0);
    int calls = 0;
    device->SetOnInputReport(
        HidDataEvent::Tagged(&calls, [&](HidDevice*, uint8_t, const uint8_t*, uint16_t) {
            ++calls;
            throw std::runtime_error("handler failed");
        }));
    bus->QueueInputReport(a, {0, 1});
    ASSERT_TRUE(gui->ProcessUntil([&] { return device->ReadThread()->Finished(); }, Patience));
    bus->QueueInputReport(a, {0, 2});
    device->SetOnInputReport(HidDataEvent::Bind(&rec, &Recorder::Data));
    std::this_thread::sleep_for(50ms);
    gui->ProcessPending();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(rec.reports.empty()) << "the ended thread stays until an empty handler";
    device->SetOnInputReport({});
    device->SetOnInputReport(HidDataEvent::Bind(&rec, &Recorder::Data));
    ASSERT_TRUE(WaitForReports(1));
    delete device;
}

TEST_F(ReadThreadTest, ManyReportsWithStopsAndRestartsInBetween) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    const SimulatedDeviceId b = PlugTester("b", 2);
    Create();
    HidDevice* first = CheckOut(0);
    HidDevice* second = CheckOut(1);
    std::atomic<bool> feeding{true};
    std::thread feeder([&] {
        for (uint8_t i = 0; feeding.load(); ++i) {
            bus->QueueInputReport(a, {0, i});
            bus->QueueInputReport(b, {0, i});
            std::this_thread::sleep_for(200us);
        }
    });
    for (int round = 0; round < 20; ++round) {
        gui->WaitAndProcess(5ms);
        first->SetOnInputReport({});
        gui->ProcessPending();
        first->SetOnInputReport(HidDataEvent::Bind(&rec, &Recorder::Data));
    }
    feeding = false;
    feeder.join();
    EXPECT_FALSE(rec.reports.empty());
    delete first;
    delete second;
    gui->ProcessPending();
}

TEST_F(ReadThreadTest, UnplugWhileReadingEndsTheReadAndPacesErrors) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    Create();
    HidDevice* device = CheckOut(0);
    device->SetReadWaitTime(10000);
    ASSERT_TRUE(gui->ProcessUntil([&] { return bus->OutstandingReads(a) == 1; }, Patience));
    bus->Unplug(a);
    ASSERT_TRUE(gui->ProcessUntil([&] { return !rec.errors.empty(); }, Patience));
    EXPECT_EQ(rec.errors.size(), 1u) << "the next try waits a ReadWaitTime";
    const auto start = std::chrono::steady_clock::now();
    delete device;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

}  // namespace
}  // namespace leeb::test
