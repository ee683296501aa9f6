// The controller's scan: start-up, arrivals, removals, duplicates, the counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "HidTestSupport.h"

namespace leeb::test {
namespace {

using Events = std::vector<std::string>;

class ControllerScanTest : public SimulatedControllerTest {};

TEST_F(ControllerScanTest, StartUpWithoutDevicesRaisesOneChangeAfterDispatch) {
    HidDeviceControllerSettings settings;
    settings.OnDeviceChange = HidNotifyEvent::Bind(&rec, &Recorder::Change);
    controller = std::make_unique<HidDeviceController>(bus, gui, std::move(settings));
    EXPECT_TRUE(rec.events.empty()) << "the first scan waits for the event loop";
    gui->ProcessPending();
    EXPECT_EQ(rec.events, Events{"change"});
    EXPECT_EQ(controller->LastChangeParam(), HidDeviceController::ForcedChangeParam);
    EXPECT_EQ(controller->EnumerateDevices(), 0);
    EXPECT_FALSE(controller->ChangeInProgress());
}

TEST_F(ControllerScanTest, UnboundPlatformNeverFindsDevicesNorNotifies) {
    bus->SetAvailable(false);
    PlugTester("a");
    Create();
    EXPECT_FALSE(controller->HidBound());
    EXPECT_TRUE(controller->Devices().empty());
    PlugTester("b");
    gui->ProcessPending();
    controller->DeviceChange();
    EXPECT_TRUE(controller->Devices().empty());
    EXPECT_TRUE(rec.events.empty());
}

TEST_F(ControllerScanTest, ArrivalThenChangeAndTheNewDeviceIsLast) {
    PlugTester("a", 1);
    Create();
    std::vector<size_t> sizeAtArrival;
    controller->SetOnArrival(HidPlugEvent::Tagged(&sizeAtArrival, [&](HidDevice* d) {
        sizeAtArrival.push_back(controller->Devices().size());
        EXPECT_EQ(controller->Devices().back(), d);
        EXPECT_TRUE(d->EventAccess());
        EXPECT_TRUE(d->Accessible());
        rec.Arrival(d);
    }));
    PlugTester("b", 2);
    PlugTester("c", 3);
    gui->ProcessPending();  // two notifications: the second finds nothing new
    EXPECT_EQ(rec.events, (Events{"arrival 2", "arrival 3", "change"}));
    EXPECT_EQ(sizeAtArrival, (std::vector<size_t>{2, 3}));
    ASSERT_EQ(controller->Devices().size(), 3u);
    for (HidDevice* d : controller->Devices()) {
        EXPECT_FALSE(d->EventAccess());
    }
    EXPECT_EQ(controller->CheckedInCount(), 3);
}

TEST_F(ControllerScanTest, QuietNotificationRaisesNothing) {
    PlugTester("a");
    Create();
    const std::vector<HidDevice*> before = controller->Devices();
    bus->RaiseChange();
    gui->ProcessPending();
    EXPECT_TRUE(rec.events.empty());
    EXPECT_EQ(controller->LastChangeParam(), 0);
    EXPECT_EQ(controller->Devices(), before) << "duplicates are dropped, the listed ones stay";
}

TEST_F(ControllerScanTest, DeviceNotCheckedOutPulledLeavesItsSlot) {
    PlugTester("a", 1);
    const SimulatedDeviceId b = PlugTester("b", 2);
    PlugTester("c", 3);
    Create();
    bus->Unplug(b);
    gui->ProcessPending();
    EXPECT_EQ(rec.events, (Events{"unplugged 2", "removal 2", "change"}));
    ASSERT_EQ(controller->Devices().size(), 2u);
    EXPECT_EQ(Recorder::Name(controller->Devices()[0]), "1");
    EXPECT_EQ(Recorder::Name(controller->Devices()[1]), "3");
    EXPECT_EQ(controller->CheckedInCount(), 2);
    EXPECT_EQ(controller->UnpluggedCount(), 0);
}

TEST_F(ControllerScanTest, CheckedOutDevicePulledAndKeptIsRemovedAtEveryScan) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    Create();
    HidDevice* kept = CheckOut(0);
    bus->Unplug(a);
    gui->ProcessPending();
    EXPECT_EQ(rec.events, (Events{"unplugged 1", "removal 1", "change"}));
    EXPECT_FALSE(kept->Plugged());
    EXPECT_EQ(controller->UnpluggedCount(), 1);
    EXPECT_EQ(controller->CheckedOutCount(), 0);

    rec.events.clear();
    bus->RaiseChange();
    gui->ProcessPending();
    EXPECT_EQ(rec.events, (Events{"removal 1", "change"})) << "OnUnplugged fires only once";

    rec.events.clear();
    PlugTester("a", 1);  // the same interface again
    gui->ProcessPending();
    EXPECT_EQ(rec.events, (Events{"removal 1", "arrival 1", "change"}));
    ASSERT_EQ(controller->Devices().size(), 2u);
    EXPECT_EQ(controller->Devices()[0], kept);
    EXPECT_NE(controller->Devices()[1], kept);
    EXPECT_EQ(controller->UnpluggedCount(), 1);
    EXPECT_EQ(controller->CheckedInCount(), 1);

    delete kept;  // giving back an unplugged device removes its slot
    ASSERT_EQ(controller->Devices().size(), 1u);
    EXPECT_EQ(controller->UnpluggedCount(), 0);
    EXPECT_TRUE(controller->Devices()[0]->Plugged());
}

TEST_F(ControllerScanTest, InterfaceThatCannotBeIdentifiedIsSkipped) {
    // Pulled between the scan's list and the device's identification.
    class VanishingBus : public SimulatedHidBus {
      public:
        std::unique_ptr<HidHandle> OpenForIdentification(const std::string& path,
                                                         bool& granted) override {
            if (path == vanishing) {
                granted = false;
                return nullptr;
            }
            return SimulatedHidBus::OpenForIdentification(path, granted);
        }
        std::string vanishing;
    };
    auto vanishingBus = std::make_shared<VanishingBus>();
    bus = vanishingBus;
    PlugTester("a", 1);
    PlugTester("b", 2);
    vanishingBus->vanishing = "sim:1";
    Create();
    ASSERT_EQ(controller->Devices().size(), 1u);
    EXPECT_EQ(Recorder::Name(controller->Devices()[0]), "2");
}

// A handler that pumps events (a message box) while a notice arrives: the notice is kept and
// its rescan runs as soon as the handler returns, so the plug or unplug behind it is seen.
TEST_F(ControllerScanTest, NotificationDuringAPumpingHandlerIsRescannedWhenItReturns) {
    struct Case {
        const char* Name;
        std::function<void()> DuringPump;
        Events Expected;
    };
    const Case cases[] = {
        {"a device plugged", [this] { PlugTester("b", 2); },
         Events{"unplugged 1", "removal 1", "change", "arrival 2", "change"}},
        {"two devices plugged: one rescan",
         [this] {
             PlugTester("b", 2);
             PlugTester("c", 3);
         },
         Events{"unplugged 1", "removal 1", "change", "arrival 2", "arrival 3", "change"}},
        {"the pulled device plugged back", [this] { PlugTester("a", 1); },
         Events{"unplugged 1", "removal 1", "change", "arrival 1", "change"}},
        {"a notice without a change", [this] { bus->RaiseChange(); },
         Events{"unplugged 1", "removal 1", "change"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        bus = std::make_shared<SimulatedHidBus>();
        const SimulatedDeviceId a = PlugTester("a", 1);
        Create();
        bool pumped = false;
        controller->SetOnRemoval(HidPlugEvent::Tagged(&pumped, [&](HidDevice* d) {
            rec.Removal(d);
            if (pumped)
                return;
            pumped = true;
            c.DuringPump();
            gui->ProcessPending();  // the nested loop delivers the notice
            EXPECT_TRUE(controller->ChangeInProgress());
            EXPECT_TRUE(controller->ChangePending());
        }));
        bus->Unplug(a);
        gui->ProcessPending();
        EXPECT_EQ(rec.events, c.Expected);
        EXPECT_FALSE(controller->ChangeInProgress());
        EXPECT_FALSE(controller->ChangePending());
        EXPECT_EQ(gui->PendingCount(), 0) << "the rescan ran at once, not later";
        controller.reset();
        gui->ProcessPending();
    }
}

TEST_F(ControllerScanTest, ANoticeKeptDuringAFailingHandlerIsPostedWithTheError) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    Create();
    bool failed = false;
    controller->SetOnRemoval(HidPlugEvent::Tagged(&failed, [&](HidDevice* d) {
        rec.Removal(d);
        if (failed)
            return;
        failed = true;
        PlugTester("b", 2);
        gui->ProcessPending();
        throw std::runtime_error("handler failed");
    }));
    bus->Unplug(a);
    EXPECT_THROW(gui->ProcessPending(), std::runtime_error);
    EXPECT_FALSE(controller->ChangeInProgress());
    EXPECT_EQ(gui->PendingCount(), 1) << "the kept notice waits in the event queue";
    gui->ProcessPending();
    ASSERT_FALSE(rec.events.empty());
    EXPECT_EQ(rec.events.back(), "change");
    EXPECT_NE(std::find(rec.events.begin(), rec.events.end(), "arrival 2"), rec.events.end());
    EXPECT_EQ(controller->Devices().size(), 1u);
}

TEST_F(ControllerScanTest, ADirectCallFromAHandlerReenters) {
    PlugTester("a", 1);
    Create();
    int directChanges = 0;
    controller->SetOnArrival(HidPlugEvent::Tagged(&directChanges, [&](HidDevice* d) {
        rec.Arrival(d);
        if (directChanges++ == 0)
            controller->DeviceChange();  // not guarded: scans again inside this one
    }));
    PlugTester("b", 2);
    gui->ProcessPending();
    EXPECT_EQ(directChanges, 1) << "the nested scan finds b listed already";
    EXPECT_EQ(controller->Devices().size(), 2u);
    EXPECT_FALSE(controller->ChangePending());
}

TEST_F(ControllerScanTest, FailingHandlerClearsChangeInProgressAndKeepsArrivals) {
    Create();
    controller->SetOnArrival(HidPlugEvent::Tagged(
        &rec, [](HidDevice*) { throw std::runtime_error("handler failed"); }));
    PlugTester("a", 1);
    PlugTester("b", 2);
    EXPECT_THROW(gui->ProcessPending(), std::runtime_error);
    EXPECT_FALSE(controller->ChangeInProgress());
    EXPECT_EQ(controller->Devices().size(), 2u);
    for (HidDevice* d : controller->Devices()) {
        EXPECT_FALSE(d->EventAccess());
    }
}

TEST_F(ControllerScanTest, DestructionMarksCheckedOutDevicesAndDestroysTheRest) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    const SimulatedDeviceId b = PlugTester("b", 2);
    PlugTester("c", 3);
    Create();
    HidDevice* kept = CheckOut(0);
    controller->Devices()[2]->SetOnInputReport({});
    HidDevice* silent = CheckOut(2);  // no thread: its capabilities were never fetched
    EXPECT_EQ(bus->OpenHandleCount(b), 0);
    controller.reset();
    EXPECT_EQ(rec.events, (Events{"unplugged 1", "unplugged 3"}))
        << "the device's own OnUnplugged fires";
    EXPECT_FALSE(kept->Plugged());
    EXPECT_EQ(kept->Controller(), nullptr);
    uint32_t written = 0;
    const uint8_t report[9] = {};
    EXPECT_FALSE(kept->WriteReport(report, sizeof report, written));
    EXPECT_EQ(silent->Capabilities().InputReportByteLength, 0);
    gui->ProcessUntil([&] { return rec.errors.size() >= 2; }, Patience);
    EXPECT_GE(rec.errors.size(), 2u) << "its read thread reports failed reads, paced";
    delete kept;
    delete silent;
    EXPECT_EQ(bus->OpenHandleCount(a), 0);
    EXPECT_EQ(bus->CallsWhileUnbound(), 0) << "nothing reaches the released platform";
    gui->ProcessPending();
}

}  // namespace
}  // namespace leeb::test
