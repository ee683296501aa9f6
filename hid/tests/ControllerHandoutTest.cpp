// Enumeration, check-out, giving back, and the setters that pass handlers on to devices.
#include <gtest/gtest.h>

#include "HidTestSupport.h"

namespace leeb::test {
namespace {

class ControllerHandoutTest : public SimulatedControllerTest {};

TEST_F(ControllerHandoutTest, EnumerateCountsUpToTheFirstFalseAnswer) {
    struct Case {
        int plugged;
        bool withHandler;
        bool answer;
        int expected;
    };
    const Case cases[] = {
        {0, true, true, 0},  {0, false, true, 0}, {3, true, true, 3},
        {3, true, false, 1}, {3, false, true, 1}, {1, false, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.plugged << " plugged, handler " << c.withHandler
                                        << ", answer " << c.answer);
        bus = std::make_shared<SimulatedHidBus>();
        for (int i = 0; i < c.plugged; ++i) {
            PlugTester("dev" + std::to_string(i), static_cast<uint16_t>(i));
        }
        Create();
        if (!c.withHandler) {
            controller->SetOnEnumerate({});
        }
        rec.answer = c.answer;
        EXPECT_EQ(controller->EnumerateDevices(), c.expected);
        controller.reset();
        rec = Recorder{};
    }
}

TEST_F(ControllerHandoutTest, EnumerateSkipsUnpluggedOffersCheckedOutAndClosesHandles) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    const SimulatedDeviceId b = PlugTester("b", 2);
    const SimulatedDeviceId c = PlugTester("c", 3);
    Create(false);
    HidDevice* first = CheckOut(0);
    HidDevice* pulled = CheckOut(1);
    bus->Unplug(b);
    gui->ProcessPending();
    rec.events.clear();
    controller->SetOnEnumerate(HidEnumerateEvent::Tagged(&rec, [&](HidDevice* d, int32_t i) {
        uint32_t written = 0;
        const uint8_t report[9] = {0, 0xA8};
        EXPECT_TRUE(d->WriteReport(report, sizeof report, written)) << "EventAccess opens";
        return rec.Enumerate(d, i);
    }));
    EXPECT_EQ(controller->EnumerateDevices(), 2);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"enumerate 1 0", "enumerate 3 2"}));
    EXPECT_EQ(bus->OpenHandleCount(a), 1) << "a checked-out device keeps its handle";
    EXPECT_EQ(bus->OpenHandleCount(c), 0) << "handles of a device not checked out are closed";
    EXPECT_FALSE(controller->Devices()[2]->Accessible());
    delete first;
    delete pulled;
}

TEST_F(ControllerHandoutTest, CheckOutAtRejectsBadIndexesAndSecondCheckOut) {
    PlugTester("a", 1);
    PlugTester("b", 2);
    Create();
    for (int idx : {-1, 2, 1000}) {
        HidDevice* device = reinterpret_cast<HidDevice*>(&rec);
        EXPECT_FALSE(controller->CheckOutAt(idx, device)) << idx;
        EXPECT_EQ(device, nullptr) << idx;
    }
    HidDevice* device = CheckOut(1);
    EXPECT_TRUE(device->CheckedOut());
    EXPECT_EQ(controller->CheckedOutCount(), 1);
    EXPECT_EQ(controller->CheckedInCount(), 1);
    HidDevice* again = device;
    EXPECT_FALSE(controller->CheckOutAt(1, again));
    EXPECT_EQ(again, nullptr);
    EXPECT_EQ(controller->CheckedOutCount(), 1);
    delete device;
}

TEST_F(ControllerHandoutTest, GivingBackAPluggedDeviceLeavesAFreshOneInItsSlot) {
    PlugTester("a", 1);
    PlugTester("b", 2);
    Create();
    HidDevice* device = CheckOut(1);
    const HidDataEvent own = HidDataEvent::Bind(&rec, &Recorder::OtherData);
    device->SetOnInputReport(own);
    device->SetReadWaitTime(250);
    delete device;
    ASSERT_EQ(controller->Devices().size(), 2u);
    HidDevice* fresh = controller->Devices()[1];
    EXPECT_EQ(Recorder::Name(fresh), "2");
    EXPECT_FALSE(fresh->CheckedOut());
    EXPECT_TRUE(fresh->OnInputReport().SameFunction(own));
    EXPECT_EQ(fresh->ReadWaitTime(), 250);
    EXPECT_EQ(fresh->ReadThread(), nullptr);
    EXPECT_EQ(controller->CheckedOutCount(), 0);
    EXPECT_EQ(controller->CheckedInCount(), 2);
    HidDevice* again = CheckOut(1);
    EXPECT_EQ(again, fresh);
    delete again;
}

TEST_F(ControllerHandoutTest, TheHandleGivesItsDeviceBackWhenItGoesAndMovesItsClaim) {
    PlugTester("a", 1);
    PlugTester("b", 2);
    Create();
    EXPECT_FALSE(controller->CheckOut(5)) << "out of range: an empty handle";
    {
        CheckedOutDevice held = controller->CheckOut(1);
        ASSERT_TRUE(held);
        EXPECT_TRUE(held->CheckedOut());
        EXPECT_FALSE(controller->CheckOut(1)) << "checked out once only";
        CheckedOutDevice moved = std::move(held);
        EXPECT_FALSE(held);
        EXPECT_EQ(controller->CheckedOutCount(), 1) << "a move gives nothing back";
        moved = controller->CheckOut(0);  // the old claim goes back as the new one arrives
        EXPECT_EQ(controller->CheckedOutCount(), 1);
        EXPECT_FALSE(controller->Devices()[1]->CheckedOut());
    }
    EXPECT_EQ(controller->CheckedOutCount(), 0);
    EXPECT_EQ(controller->CheckedInCount(), 2);

    // Outliving the controller: the device only goes away.
    CheckedOutDevice late = controller->CheckOut(0);
    controller.reset();
    EXPECT_FALSE(late->Plugged());
    late.GiveBack();
    EXPECT_FALSE(late);
}

TEST_F(ControllerHandoutTest, GivingBackWhenTheInterfaceVanishedUnnoticedRemovesTheSlot) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    Create();
    HidDevice* device = CheckOut(0);
    {
        // Pulled, but the notification is still queued.
        bus->Unplug(a);
        delete device;
    }
    EXPECT_TRUE(controller->Devices().empty());
    EXPECT_EQ(controller->CheckedInCount(), 0);
    EXPECT_EQ(controller->CheckedOutCount(), 0);
    gui->ProcessPending();
    EXPECT_TRUE(controller->Devices().empty());
}

TEST_F(ControllerHandoutTest, OnDeviceDataMovesOnlyDevicesWithThePreviousHandler) {
    PlugTester("a", 1);
    PlugTester("b", 2);
    Create();
    Recorder other;
    HidDevice* mine = CheckOut(0);
    const HidDataEvent own = HidDataEvent::Bind(&rec, &Recorder::OtherData);
    mine->SetOnInputReport(own);

    // Same function bound to another object: nothing happens.
    controller->SetOnDeviceData(HidDataEvent::Bind(&other, &Recorder::Data));
    EXPECT_EQ(controller->OnDeviceData().Object(), &rec);
    EXPECT_EQ(controller->Devices()[1]->OnInputReport().Object(), &rec);

    const HidDataEvent next =
        HidDataEvent::Tagged(&other, [](HidDevice*, uint8_t, const uint8_t*, uint16_t) {});
    controller->SetOnDeviceData(next);
    EXPECT_TRUE(mine->OnInputReport().SameFunction(own)) << "its user's own handler stays";
    EXPECT_TRUE(controller->Devices()[1]->OnInputReport().SameFunction(next));
    EXPECT_TRUE(controller->OnDeviceData().SameFunction(next));
    delete mine;
}

TEST_F(ControllerHandoutTest, ErrorAndUnplugSettersMoveMatchingDevices) {
    PlugTester("a", 1);
    PlugTester("b", 2);
    Create();
    HidDevice* first = controller->Devices()[0];
    HidDevice* second = controller->Devices()[1];
    EXPECT_TRUE(first->OnReadError().SameFunction(controller->OnDeviceDataError()))
        << "new devices take the controller's data-error handler";
    const HidPlugEvent own = HidPlugEvent::Tagged(&first, [](HidDevice*) {});
    first->SetOnUnplugged(own);
    const HidPlugEvent next = HidPlugEvent::Tagged(&second, [](HidDevice*) {});
    controller->SetOnDeviceUnplug(next);
    EXPECT_TRUE(first->OnUnplugged().SameFunction(own));
    EXPECT_TRUE(second->OnUnplugged().SameFunction(next));
    const HidDataErrorEvent error =
        HidDataErrorEvent::Tagged(&next, [](HidDevice*, HidFailure) {});
    controller->SetOnDeviceDataError(error);
    EXPECT_TRUE(first->OnReadError().SameFunction(error));
    EXPECT_TRUE(second->OnReadError().SameFunction(error));
}

TEST_F(ControllerHandoutTest, DevThreadSleepTimeReachesOnlyDevicesAtTheOldValue) {
    PlugTester("a", 1);
    PlugTester("b", 2);
    Create();
    HidDevice* first = controller->Devices()[0];
    HidDevice* second = controller->Devices()[1];
    second->SetReadWaitTime(300);

    controller->SetDevThreadSleepTime(5);
    EXPECT_EQ(controller->DevThreadSleepTime(), 5);
    EXPECT_EQ(first->ReadWaitTime(), 100) << "5 is outside what a device takes";
    EXPECT_EQ(second->ReadWaitTime(), 300);

    controller->SetDevThreadSleepTime(100);
    controller->SetDevThreadSleepTime(40);
    EXPECT_EQ(first->ReadWaitTime(), 40);
    EXPECT_EQ(second->ReadWaitTime(), 300);
    PlugTester("c", 3);
    gui->ProcessPending();
    EXPECT_EQ(controller->Devices()[2]->ReadWaitTime(), 100) << "a new device starts at 100";
}

TEST_F(ControllerHandoutTest, AssigningOnDeviceChangeRescansAtOnce) {
    Create();
    PlugTester("a", 1);  // its notification is still queued
    int changes = 0;
    controller->SetOnDeviceChange(
        HidNotifyEvent::Tagged(&changes, [&](HidDeviceController*) { ++changes; }));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(controller->Devices().size(), 1u);
    controller->SetOnDeviceChange(
        HidNotifyEvent::Tagged(&changes, [&](HidDeviceController*) { ++changes; }));
    EXPECT_EQ(changes, 1) << "the same function again does nothing";
}

}  // namespace
}  // namespace leeb::test
