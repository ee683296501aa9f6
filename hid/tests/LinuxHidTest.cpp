// The Linux backend end to end: a fake sysfs tree, and hidraw-like nodes served by FUSE so the
// real open/write/poll/read code runs through the kernel.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "FakeHidrawTree.h"
#include "HidTestSupport.h"
#include "LinuxHidPlatform.h"
#include "HidReadThread.h"

namespace leeb::test {
namespace {

using namespace std::chrono_literals;

bool Eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 300 && !condition(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    return condition();
}

TEST(LinuxSysfsTest, InterfacesAreIdentifiedFromSysfsAlone) {
    FakeHidrawTree tree;  // plain files as nodes: nothing could be read from them
    tree.AddNode(10, 0x1234, 0x5678, 0x0102, UnnumberedDescriptor());
    tree.AddNode(2, 0x046D, 0xC077, 0x7200, NumberedDescriptor());
    std::filesystem::create_directories(tree.SysfsRoot() + "/class/hidraw/hidraw7");  // no link
    LinuxHidPlatform platform(tree.SysfsRoot(), tree.DevRoot(), HidChangeSource::None);

    const std::vector<HidInterfaceEntry> entries = platform.Enumerate();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Path, tree.DevRoot() + "/hidraw2");
    EXPECT_EQ(entries[1].Path, tree.DevRoot() + "/hidraw10");
    EXPECT_EQ(entries[1].Identity, tree.HidDirectory(10));

    struct Expected {
        size_t entry;
        uint16_t vendor, product, version, input, output;
    };
    for (const Expected& e :
         {Expected{0, 0x046D, 0xC077, 0x7200, 9, 9}, Expected{1, 0x1234, 0x5678, 0x0102, 9, 9}}) {
        bool granted = false;
        auto handle = platform.OpenForIdentification(entries[e.entry].Path, granted);
        ASSERT_NE(handle, nullptr);
        EXPECT_TRUE(granted);
        HIDD_ATTRIBUTES attributes;
        ASSERT_TRUE(handle->GetAttributes(attributes));
        EXPECT_EQ(attributes.VendorID, e.vendor);
        EXPECT_EQ(attributes.ProductID, e.product);
        EXPECT_EQ(attributes.VersionNumber, e.version);
        HIDP_CAPS caps;
        ASSERT_TRUE(handle->GetCaps(caps));
        EXPECT_EQ(caps.InputReportByteLength, e.input);
        EXPECT_EQ(caps.OutputReportByteLength, e.output);
        EXPECT_EQ(caps.UsagePage, 0xFF00);
    }
}

TEST(LinuxSysfsTest, ReplugGivesANewIdentityAndBrokenEntriesAreSkipped) {
    FakeHidrawTree tree;
    tree.AddNode(0, 0x1234, 0x5678, 1, UnnumberedDescriptor());
    LinuxHidPlatform platform(tree.SysfsRoot(), tree.DevRoot(), HidChangeSource::None);
    const std::string before = platform.Enumerate().at(0).Identity;
    tree.RemoveNode(0);
    tree.AddNode(0, 0x1234, 0x5678, 1, UnnumberedDescriptor());
    EXPECT_NE(platform.Enumerate().at(0).Identity, before);

    // A cut-off descriptor and a uevent without HID_ID: not identifiable, not listed.
    tree.AddNode(1, 0x1234, 0x5678, 1, {0x75});
    tree.AddNode(2, 0x1234, 0x5678, 1, UnnumberedDescriptor());
    std::ofstream(tree.HidDirectory(2) + "/uevent") << "DRIVER=hid-generic\n";
    EXPECT_EQ(platform.Enumerate().size(), 1u);
}

class LinuxFuseTest : public SimulatedControllerTest {
  protected:
    void SetUp() override {
        SimulatedControllerTest::SetUp();
        std::string whyNot;
        if (!tree.MountFuse(whyNot)) {
            GTEST_SKIP() << whyNot;
        }
    }
    void CreateOnLinux(HidChangeSource source = HidChangeSource::None) {
        linuxPlatform =
            std::make_shared<LinuxHidPlatform>(tree.SysfsRoot(), tree.DevRoot(), source);
        controller.reset();
        bus.reset();
        HidDeviceControllerSettings settings;
        settings.OnDeviceChange = HidNotifyEvent::Bind(&rec, &Recorder::Change);
        settings.OnArrival = HidPlugEvent::Bind(&rec, &Recorder::Arrival);
        settings.OnRemoval = HidPlugEvent::Bind(&rec, &Recorder::Removal);
        settings.OnDeviceUnplug = HidPlugEvent::Bind(&rec, &Recorder::Unplugged);
        settings.OnDeviceData = HidDataEvent::Bind(&rec, &Recorder::Data);
        settings.OnDeviceDataError = HidDataErrorEvent::Bind(&rec, &Recorder::Error);
        settings.OnEnumerate = HidEnumerateEvent::Bind(&rec, &Recorder::Enumerate);
        controller =
            std::make_unique<HidDeviceController>(linuxPlatform, gui, std::move(settings));
        gui->ProcessPending();
        rec.events.clear();
    }

    FakeHidrawTree tree;
    std::shared_ptr<LinuxHidPlatform> linuxPlatform;
};

TEST_F(LinuxFuseTest, ScanAndEnumerationNeverOpenANode) {
    tree.AddNode(0, 0x1234, 0x5678, 1, UnnumberedDescriptor());
    tree.AddNode(1, 0x1234, 0x9999, 1, UnnumberedDescriptor());
    CreateOnLinux();
    ASSERT_EQ(controller->Devices().size(), 2u);
    EXPECT_EQ(controller->EnumerateDevices(), 2);
    controller->DeviceChange();
    EXPECT_EQ(tree.Opens(0), 0);
    EXPECT_EQ(tree.Opens(1), 0);
}

TEST_F(LinuxFuseTest, ReportsTravelWithTheSameFramingEitherWay) {
    tree.AddNode(0, 0x1234, 0x5678, 1, UnnumberedDescriptor());
    tree.AddNode(1, 0x1234, 0x5679, 1, NumberedDescriptor());
    CreateOnLinux();
    HidDevice* plain = CheckOut(0);
    HidDevice* numbered = CheckOut(1);
    ASSERT_NE(plain->ReadThread(), nullptr);
    ASSERT_NE(numbered->ReadThread(), nullptr);
    EXPECT_EQ(plain->Capabilities().InputReportByteLength, 9);

    const uint8_t command[9] = {0, 0xA8, 0, 0, 0, 0, 0, 0, 0};
    uint32_t written = 0;
    ASSERT_TRUE(plain->WriteReport(command, sizeof command, written));
    EXPECT_EQ(written, 9u);
    ASSERT_EQ(tree.Written(0).size(), 1u);
    EXPECT_EQ(tree.Written(0)[0], std::vector<uint8_t>(command, command + 9));

    tree.Send(0, {1, 2, 3, 4, 5, 6, 7, 8});     // no ID byte from the node
    tree.Send(1, {5, 9, 8, 7, 6, 5, 4, 3, 2});  // the ID comes first
    ASSERT_TRUE(WaitForReports(2));
    for (const Report& r : rec.reports) {
        if (r.device == plain) {
            EXPECT_EQ(r.id, 0);
            EXPECT_EQ(r.data, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
        } else {
            EXPECT_EQ(r.device, numbered);
            EXPECT_EQ(r.id, 5);
            EXPECT_EQ(r.data, (std::vector<uint8_t>{9, 8, 7, 6, 5, 4, 3, 2}));
        }
    }
    delete plain;
    delete numbered;
    EXPECT_TRUE(Eventually([&] { return tree.OpenNow(0) == 0 && tree.OpenNow(1) == 0; }));
}

// The layers above see the input report length on every platform: a device that sends fewer
// bytes than its descriptor declares gets the rest as zeros, never bytes of an earlier report.
TEST_F(LinuxFuseTest, ShortReportsArePaddedToTheInputReportLength) {
    tree.AddNode(0, 0x1234, 0x5678, 1, UnnumberedDescriptor());
    tree.AddNode(1, 0x1234, 0x5679, 1, NumberedDescriptor());
    CreateOnLinux();
    HidDevice* plain = CheckOut(0);
    HidDevice* numbered = CheckOut(1);
    struct Case {
        int node;
        std::vector<uint8_t> sent;  // as the node hands it out
        uint8_t id;
        std::vector<uint8_t> data;  // after the ID byte
    };
    const Case cases[] = {
        {0, {9, 9, 9, 9, 9, 9, 9, 9}, 0, {9, 9, 9, 9, 9, 9, 9, 9}},  // fills the buffer first
        {0, {1, 2, 3}, 0, {1, 2, 3, 0, 0, 0, 0, 0}},
        {0, {4}, 0, {4, 0, 0, 0, 0, 0, 0, 0}},
        {1, {5, 8, 8, 8, 8, 8, 8, 8, 8}, 5, {8, 8, 8, 8, 8, 8, 8, 8}},
        {1, {5, 6, 7}, 5, {6, 7, 0, 0, 0, 0, 0, 0}},
        {1, {5}, 5, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        rec.reports.clear();
        tree.Send(c.node, c.sent);
        ASSERT_TRUE(WaitForReports(1));
        EXPECT_EQ(rec.reports[0].device, c.node == 0 ? plain : numbered);
        EXPECT_EQ(rec.reports[0].id, c.id);
        EXPECT_EQ(rec.reports[0].data, c.data) << c.sent.size() << " bytes sent";
    }
    delete plain;
    delete numbered;
}

TEST_F(LinuxFuseTest, NodeRefusingReadWriteIsQueryOnly) {
    tree.AddNode(0, 0x1234, 0x5678, 0x0102, UnnumberedDescriptor(), true);
    CreateOnLinux();
    ASSERT_EQ(controller->Devices().size(), 1u);
    HidDevice* device = CheckOut(0);
    EXPECT_FALSE(device->ReadWriteGranted());
    EXPECT_EQ(device->HidAttributes().ProductID, 0x5678);
    EXPECT_EQ(device->HidAttributes().VersionNumber, 0x0102);
    EXPECT_EQ(device->ReadThread(), nullptr);
    const uint8_t command[9] = {};
    uint32_t written = 0;
    EXPECT_FALSE(device->WriteReport(command, sizeof command, written));
    EXPECT_EQ(device->Capabilities().OutputReportByteLength, 9) << "from sysfs";
    EXPECT_EQ(tree.Opens(0), 0);
    delete device;
}

TEST_F(LinuxFuseTest, StopWhilePollWaitsIsImmediate) {
    tree.AddNode(0, 0x1234, 0x5678, 1, UnnumberedDescriptor());
    CreateOnLinux();
    HidDevice* device = CheckOut(0);
    device->SetReadWaitTime(10000);
    ASSERT_TRUE(Eventually([&] { return tree.Opens(0) >= 2; }));  // sync for caps, then read
    std::this_thread::sleep_for(20ms);
    const auto start = std::chrono::steady_clock::now();
    device->SetOnInputReport({});
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    delete device;
}

TEST_F(LinuxFuseTest, PulledNodeIsUnpluggedAndNoticedThroughTheChangeSource) {
    tree.AddNode(0, 0x1234, 0x5678, 1, UnnumberedDescriptor());
    CreateOnLinux(HidChangeSource::Inotify);
    EXPECT_EQ(linuxPlatform->ActiveChangeSource(), HidChangeSource::Inotify);
    HidDevice* device = CheckOut(0);
    device->SetReadWaitTime(50);

    tree.AddNode(1, 0x1234, 0x6000, 1, UnnumberedDescriptor());
    ASSERT_TRUE(gui->ProcessUntil([&] { return !rec.events.empty(); }, Patience));
    gui->ProcessPending();
    EXPECT_EQ(rec.events.front(), "arrival 24576");

    rec.events.clear();
    tree.RemoveNode(0);
    ASSERT_TRUE(gui->ProcessUntil(
        [&] { return std::count(rec.events.begin(), rec.events.end(), "change") > 0; }, Patience));
    EXPECT_EQ(rec.events[0], "unplugged 22136");
    EXPECT_EQ(rec.events[1], "removal 22136");
    EXPECT_FALSE(device->Plugged());
    ASSERT_TRUE(gui->ProcessUntil([&] { return !rec.errors.empty(); }, Patience));
    delete device;
    EXPECT_EQ(controller->Devices().size(), 1u);
}

}  // namespace
}  // namespace leeb::test
