// A checked-out device: report framing, the read thread's start conditions, writes, access.
#include <gtest/gtest.h>

#include <thread>

#include "HidTestSupport.h"
#include "HidReadThread.h"

namespace leeb::test {
namespace {

class DeviceTest : public SimulatedControllerTest {};

TEST_F(DeviceTest, InputReportsAreSplitIntoReportIdAndData) {
    const SimulatedDeviceId a = PlugTester("a", 1, 9);
    Create();
    HidDevice* device = CheckOut(0);
    ASSERT_NE(device->ReadThread(), nullptr);
    EXPECT_EQ(device->ReadThread()->ReportLength(), 9u);

    bus->QueueInputReport(a, {});                                  // 0 bytes: nothing
    bus->QueueInputReport(a, {7, 1, 2, 3, 4, 5, 6, 7, 8});         // a whole report
    bus->QueueInputReport(a, {0, 0xAA});                           // shorter
    bus->QueueInputReport(a, {3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});  // longer: cut to 9
    ASSERT_TRUE(WaitForReports(3));
    ASSERT_EQ(rec.reports.size(), 3u);
    EXPECT_EQ(rec.reports[0].device, device);
    EXPECT_EQ(rec.reports[0].id, 7);
    EXPECT_EQ(rec.reports[0].data, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(rec.reports[1].id, 0);
    EXPECT_EQ(rec.reports[1].data, (std::vector<uint8_t>{0xAA}));
    EXPECT_EQ(rec.reports[2].id, 3);
    EXPECT_EQ(rec.reports[2].data.size(), 8u);
    delete device;
}

TEST_F(DeviceTest, ReadThreadStartsOnlyWhenAllConditionsHold) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    Create(false);
    HidDevice* device = controller->Devices()[0];
    device->SetOnInputReport(HidDataEvent::Bind(&rec, &Recorder::Data));
    EXPECT_EQ(device->ReadThread(), nullptr) << "not checked out";
    EXPECT_EQ(bus->OpenHandleCount(a), 0);

    device = CheckOut(0);
    EXPECT_NE(device->ReadThread(), nullptr);

    HidDevice* quiet = nullptr;
    controller->SetOnDeviceData({});
    PlugTester("b", 2);
    gui->ProcessPending();
    ASSERT_TRUE(controller->CheckOutAt(1, quiet));
    EXPECT_EQ(quiet->ReadThread(), nullptr) << "no handler";
    delete quiet;
    delete device;
}

TEST_F(DeviceTest, SameHandlerTwiceKeepsOneThreadEmptyHandlerJoinsIt) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    Create();
    HidDevice* device = CheckOut(0);
    HidReadThread* thread = device->ReadThread();
    ASSERT_NE(thread, nullptr);
    const HidDataEvent own = HidDataEvent::Bind(&rec, &Recorder::OtherData);
    device->SetOnInputReport(own);
    device->SetOnInputReport(own);
    EXPECT_EQ(device->ReadThread(), thread) << "a non-empty handler only swaps";
    bus->QueueInputReport(a, {1, 2});
    ASSERT_TRUE(gui->ProcessUntil([&] { return rec.otherReports.size() == 1; }, Patience));
    EXPECT_TRUE(rec.reports.empty());

    device->SetOnInputReport({});
    EXPECT_EQ(device->ReadThread(), nullptr);
    EXPECT_EQ(bus->OutstandingReads(a), 0);
    delete device;
}

TEST_F(DeviceTest, ReadWaitTimeAcceptsOnlyTenToTenThousand) {
    PlugTester("a", 1);
    Create();
    HidDevice* device = controller->Devices()[0];
    const std::pair<int32_t, int32_t> cases[] = {{9, 100},       {10, 10},    {10000, 10000},
                                                 {10001, 10000}, {-5, 10000}, {500, 500}};
    for (const auto& [value, expected] : cases) {
        device->SetReadWaitTime(value);
        EXPECT_EQ(device->ReadWaitTime(), expected) << value;
    }
}

TEST_F(DeviceTest, QueryOnlyDeviceIsIdentifiedButNeverReadNorWritten) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    bus->SetReadWriteRefused(a, true);
    Create();
    HidDevice* device = CheckOut(0);
    EXPECT_EQ(device->HidAttributes().VendorID, 0x1234);
    EXPECT_EQ(device->HidAttributes().ProductID, 1);
    EXPECT_EQ(device->HidAttributes().VersionNumber, 0x0102);
    EXPECT_FALSE(device->ReadWriteGranted());
    EXPECT_EQ(device->ReadThread(), nullptr);
    EXPECT_EQ(device->Capabilities().OutputReportByteLength, 9);
    uint32_t written = 99;
    const uint8_t report[9] = {};
    EXPECT_FALSE(device->WriteReport(report, sizeof report, written));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(HidLastError().Error, HidError::AccessDenied);
    EXPECT_TRUE(bus->WrittenReports(a).empty());
    delete device;
}

TEST_F(DeviceTest, WriteReportGoesOutWholeOnlyWhileAccessible) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    Create(false);
    const uint8_t report[9] = {0, 0xA8, 1, 2, 3, 4, 5, 6, 7};
    uint32_t written = 0;
    HidDevice* listed = controller->Devices()[0];
    EXPECT_FALSE(listed->WriteReport(report, sizeof report, written)) << "not checked out";
    EXPECT_EQ(bus->ReadWriteOpenCount(a), 0);

    HidDevice* device = CheckOut(0);
    EXPECT_TRUE(device->WriteReport(report, sizeof report, written));
    EXPECT_EQ(written, 9u);
    ASSERT_EQ(bus->WrittenReports(a).size(), 1u);
    EXPECT_EQ(bus->WrittenReports(a)[0], std::vector<uint8_t>(report, report + 9));

    bus->SetWriteFails(a, true);
    EXPECT_FALSE(device->WriteReport(report, sizeof report, written));
    EXPECT_EQ(HidLastError().Error, HidError::Failed);
    delete device;
}

TEST_F(DeviceTest, ReplyBehaviourAnswersThroughTheReadThread) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    bus->SetReplyBehaviour(a, [](SimulatedHidBus& b, SimulatedDeviceId id,
                                 const std::vector<uint8_t>& out) {
        b.QueueInputReport(id, {0, static_cast<uint8_t>(out[1] + 1)}, std::chrono::milliseconds(5));
    });
    Create();
    HidDevice* device = CheckOut(0);
    const uint8_t report[9] = {0, 0xA8};
    uint32_t written = 0;
    ASSERT_TRUE(device->WriteReport(report, sizeof report, written));
    ASSERT_TRUE(WaitForReports(1));
    EXPECT_EQ(rec.reports[0].data, (std::vector<uint8_t>{0xA9}));
    delete device;
}

TEST_F(DeviceTest, UnpluggedDeviceReportsFailedReadsPacedByItsWaitTime) {
    const SimulatedDeviceId a = PlugTester("a", 1);
    Create();
    HidDevice* device = CheckOut(0);
    device->SetReadWaitTime(50);
    bus->Unplug(a);
    gui->ProcessPending();
    EXPECT_FALSE(device->Plugged());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    gui->ProcessPending();
    EXPECT_GE(rec.errors.size(), 1u);
    EXPECT_LE(rec.errors.size(), 10u) << "failed starts must not spin";
    for (const HidFailure& failure : rec.errors) {
        EXPECT_EQ(failure.Error, HidError::NotConnected);
    }
    delete device;
    EXPECT_EQ(bus->OpenHandleCount(a), 0);
}

}  // namespace
}  // namespace leeb::test
