// The connection watcher on the simulated bus: which devices it checks out and which one it
// takes for the tester.

#include <gtest/gtest.h>

#include <memory>

#include "ConnectionWatcher.h"
#include "ManualGuiDispatcher.h"
#include "SimulatedHidBus.h"
#include "HidDevice.h"
#include "HidDeviceController.h"

namespace leeb::test {
namespace {

class ConnectionWatcherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HidDeviceControllerSettings settings;
        settings.OnDeviceData = HidDataEvent::Bind(this, &ConnectionWatcherTest::Data);
        controller = std::make_unique<HidDeviceController>(bus, gui, std::move(settings));
        watcher = std::make_unique<ConnectionWatcher>(
            *controller,
            ConnectionWatcher::Callbacks{[this](const std::string& text) { status = text; },
                                         [this](bool enabled) { readEnabled = enabled; }});
        controller->SetOnEnumerate(HidEnumerateEvent::Bind(
            watcher.get(), &ConnectionWatcher::CheckOutEnumeratedDevice));
        controller->SetOnDeviceChange(HidNotifyEvent::Bind(this, &ConnectionWatcherTest::Change));
        gui->ProcessPending();
    }
    void TearDown() override {
        controller->SetOnDeviceChange(nullptr);
        watcher->GiveBackDevices();
        controller.reset();
        gui->ProcessPending();
    }

    void Change(HidDeviceController*) {
        ++runs;
        watcher->DevicesChanged();
    }
    void Data(HidDevice*, uint8_t, const uint8_t*, uint16_t) {}

    SimulatedDeviceId Plug(const std::string& name, uint16_t vendor, uint16_t product) {
        const SimulatedDeviceId id = bus->Plug(name, vendor, product, 1, 65, 65);
        gui->ProcessPending();
        return id;
    }
    void Unplug(SimulatedDeviceId id) {
        bus->Unplug(id);
        gui->ProcessPending();
    }
    int CheckedOutEntries() const {
        int n = 0;
        for (HidDevice* device : watcher->DeviceList()) {
            n += device != nullptr && device->CheckedOut() ? 1 : 0;
        }
        return n;
    }

    std::shared_ptr<SimulatedHidBus> bus = std::make_shared<SimulatedHidBus>();
    std::shared_ptr<ManualGuiDispatcher> gui = std::make_shared<ManualGuiDispatcher>();
    std::unique_ptr<HidDeviceController> controller;
    std::unique_ptr<ConnectionWatcher> watcher;
    std::string status;
    bool readEnabled = true;
    int runs = 0;
};

TEST_F(ConnectionWatcherTest, NothingPlugged) {
    EXPECT_GE(runs, 1);
    EXPECT_EQ(status, "未连接");
    EXPECT_FALSE(readEnabled);
    EXPECT_FALSE(watcher->DeviceConnected());
    EXPECT_EQ(watcher->ActiveDevice(), nullptr);
    EXPECT_TRUE(watcher->DeviceList().empty());
}

TEST_F(ConnectionWatcherTest, OnlyTheTestersIdentityCounts) {
    struct Case {
        uint16_t vendor, product;
        bool tester;
    };
    const Case cases[] = {{0x1234, 0x5678, true},
                          {0x1234, 0x5679, false},
                          {0x1235, 0x5678, false},
                          {0x046D, 0xC077, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.vendor) + ":" + std::to_string(c.product));
        const SimulatedDeviceId id = Plug("device", c.vendor, c.product);
        EXPECT_EQ(watcher->DeviceConnected(), c.tester);
        EXPECT_EQ(readEnabled, c.tester);
        EXPECT_EQ(status, c.tester ? "连接OK" : "未连接");
        ASSERT_EQ(watcher->DeviceList().size(), 1u);
        EXPECT_EQ(watcher->DeviceList()[0] != nullptr, c.tester);
        EXPECT_EQ(watcher->ActiveDevice(), watcher->DeviceList()[0]);
        // Another device is never opened for reading or writing.
        EXPECT_EQ(bus->ReadWriteOpenCount(id) > 0, c.tester);
        EXPECT_EQ(controller->Devices()[0]->ReadThread() != nullptr, c.tester);
        Unplug(id);
        EXPECT_FALSE(watcher->DeviceConnected());
        EXPECT_FALSE(readEnabled);
        EXPECT_EQ(status, "未连接");
        EXPECT_EQ(watcher->ActiveDevice(), nullptr);
    }
}

TEST_F(ConnectionWatcherTest, TwoTestersBothCheckedOutTheLaterActive) {
    Plug("first", 0x1234, 0x5678);
    Plug("keyboard", 0x04D9, 0x1603);
    const SimulatedDeviceId second = Plug("second", 0x1234, 0x5678);
    ASSERT_EQ(watcher->DeviceList().size(), 3u);
    EXPECT_EQ(CheckedOutEntries(), 2);
    EXPECT_EQ(watcher->ActiveDevice(), watcher->DeviceList()[2]);
    EXPECT_EQ(watcher->ActiveDevice(), controller->Devices()[2]);

    Unplug(second);
    EXPECT_TRUE(watcher->DeviceConnected());
    EXPECT_EQ(watcher->ActiveDevice(), watcher->DeviceList()[0]);
}

TEST_F(ConnectionWatcherTest, AnotherDeviceComingAndGoingWhileTheTesterStays) {
    const SimulatedDeviceId tester = Plug("tester", 0x1234, 0x5678);
    const int opensBefore = bus->ReadWriteOpenCount(tester);
    const int runsBefore = runs;
    readEnabled = false;
    const SimulatedDeviceId mouse = Plug("mouse", 0x046D, 0xC077);
    EXPECT_EQ(runs, runsBefore + 1);
    EXPECT_TRUE(readEnabled);
    ASSERT_NE(watcher->ActiveDevice(), nullptr);
    // Given back and checked out again: a fresh device object that opened the tester anew.
    EXPECT_TRUE(watcher->ActiveDevice()->CheckedOut());
    EXPECT_EQ(watcher->ActiveDevice(), controller->Devices()[0]);
    EXPECT_GT(bus->ReadWriteOpenCount(tester), opensBefore);
    EXPECT_EQ(bus->ReadWriteOpenCount(mouse), 0);

    readEnabled = false;
    Unplug(mouse);
    EXPECT_TRUE(readEnabled);
    EXPECT_EQ(status, "连接OK");
    EXPECT_EQ(watcher->DeviceList().size(), 1u);
}

}  // namespace
}  // namespace leeb::test
