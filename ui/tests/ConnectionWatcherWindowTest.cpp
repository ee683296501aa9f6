#include <QShortcut>
#include <chrono>
#include <thread>

#include "HidDevice.h"
#include "WindowFixture.h"

namespace leeb {
namespace {

using namespace std::chrono_literals;

class ConnectionWindowTest : public WindowTest {
  protected:
    int CheckedOutCount() const {
        int count = 0;
        for (HidDevice* device : form->DeviceList())
            count += device != nullptr ? 1 : 0;
        return count;
    }
};

TEST_F(ConnectionWindowTest, NoDeviceLeavesTheWindowNotConnected) {
    Pump();
    EXPECT_EQ(form->StatusPanel(1)->text(), "未连接");
    EXPECT_EQ(form->ActiveDevice(), nullptr);
    EXPECT_FALSE(form->DeviceConnected());
    EXPECT_TRUE(form->DeviceList().empty());
    EXPECT_EQ(ButtonStates(), "00001");
}

TEST_F(ConnectionWindowTest, OnlyTheTestersVendorAndProductTogetherMakeTheInstrument) {
    struct Case {
        const char* Name;
        uint16_t Vendor;
        uint16_t Product;
        bool Tester;
    };
    const Case cases[] = {
        {"tester", 0x1234, 0x5678, true},
        {"same vendor, other product", 0x1234, 0x5679, false},
        {"other vendor, same product", 0x4321, 0x5678, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const SimulatedDeviceId id = bus->Plug(c.Name, c.Vendor, c.Product, 1, 65, 65);
        Pump();
        EXPECT_EQ(form->StatusPanel(1)->text(), c.Tester ? "连接OK" : "未连接");
        EXPECT_EQ(form->DeviceConnected(), c.Tester);
        EXPECT_EQ(form->Button(CommandButton::Read)->isEnabled(), c.Tester);
        ASSERT_EQ(form->DeviceList().size(), 1u);
        EXPECT_EQ(form->ActiveDevice() != nullptr, c.Tester);
        EXPECT_EQ(CheckedOutCount(), c.Tester ? 1 : 0);
        bus->Unplug(id);
        Pump();
    }
}

TEST_F(ConnectionWindowTest, OfTwoTestersTheLaterIsActiveAndBothAreCheckedOut) {
    PlugTester("tester-a");
    PlugTester("tester-b");
    Pump();
    ASSERT_EQ(form->DeviceList().size(), 2u);
    EXPECT_EQ(CheckedOutCount(), 2);
    EXPECT_EQ(form->ActiveDevice(), form->DeviceList()[1]);
    EXPECT_EQ(form->StatusPanel(1)->text(), "连接OK");
}

TEST_F(ConnectionWindowTest, AnotherDevicePluggedWhileTheTesterStaysEnablesReadAgain) {
    PlugTester("tester");
    Pump();
    form->SetButtonEnabled(CommandButton::Read, false);
    bus->Plug("mouse", 0x046d, 0xc077, 1, 5, 0);
    Pump();
    ASSERT_EQ(form->DeviceList().size(), 2u);
    EXPECT_EQ(form->ActiveDevice(), form->DeviceList()[0]);
    ASSERT_NE(form->ActiveDevice(), nullptr);
    EXPECT_TRUE(form->ActiveDevice()->CheckedOut());
    EXPECT_TRUE(form->ActiveDevice()->Plugged());
    EXPECT_EQ(form->DeviceList()[1], nullptr);
    EXPECT_TRUE(form->Button(CommandButton::Read)->isEnabled());
}

TEST_F(ConnectionWindowTest, UnpluggingTheTesterDisablesReadAndNothingElse) {
    const SimulatedDeviceId tester = PlugTester("tester");
    Pump();
    for (CommandButton b :
         {CommandButton::Save, CommandButton::PrintChart, CommandButton::PrintReport}) {
        form->SetButtonEnabled(b, true);
    }
    EXPECT_EQ(ButtonStates(), "11111");
    bus->Unplug(tester);
    Pump();
    EXPECT_EQ(ButtonStates(), "01111");
    EXPECT_EQ(form->StatusPanel(1)->text(), "未连接");
    EXPECT_EQ(form->ActiveDevice(), nullptr);
}

TEST_F(ConnectionWindowTest, AnotherDeviceIsNeverOpenedNorRead) {
    const SimulatedDeviceId keyboard = bus->Plug("keyboard", 0x046d, 0xc31c, 1, 9, 2);
    PlugTester("tester");
    Pump();
    bus->QueueInputReport(keyboard, {0, 0, 0, 0x04, 0, 0, 0, 0, 0});
    std::this_thread::sleep_for(150ms);
    Pump();
    EXPECT_EQ(bus->ReadWriteOpenCount(keyboard), 0);
    EXPECT_EQ(bus->OutstandingReads(keyboard), 0);
    EXPECT_EQ(bus->QueuedInputReports(keyboard), 1);
    // A keystroke must not arm the automatic upload start.
    EXPECT_FALSE(form->Upload().AutoStartArmed());
}

TEST_F(ConnectionWindowTest, TheTestersFirstReportArmsTheAutomaticStart) {
    const SimulatedDeviceId tester = PlugTester("tester");
    Pump();
    bus->QueueInputReport(tester, {0, 0x41, 0x55, 0x54, 0x4F});
    EXPECT_TRUE(dispatcher->ProcessUntil([&] { return form->Upload().AutoStartArmed(); }, 2000ms));
}

// The read command and F5 with no tester: after an open the read button is enabled and does
// nothing, and without one it is disabled; either way the user is told why.
TEST_F(ConnectionWindowTest, ReadingWithNoTesterSaysNoTesterIsConnected) {
    Pump();
    QShortcut* f5 = nullptr;
    for (QShortcut* shortcut : form->findChildren<QShortcut*>()) {
        if (shortcut->key() == QKeySequence(Qt::Key_F5))
            f5 = shortcut;
    }
    ASSERT_NE(f5, nullptr);
    const struct {
        const char* name;
        bool readEnabled;
        bool byKey;
    } cases[] = {{"button after an open", true, false},
                 {"F5 after an open", true, true},
                 {"F5 on the disabled button", false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form->ShowFeedback(QString());
        form->SetButtonEnabled(CommandButton::Read, c.readEnabled);
        if (c.byKey)
            emit f5->activated();
        else
            form->ReadRecordsClicked();
        EXPECT_EQ(form->FeedbackPanel()->text(), "未连接硬度计");
        EXPECT_FALSE(form->UploadRunning());
        EXPECT_EQ(form->Button(CommandButton::Read)->isEnabled(), c.readEnabled);
    }
    // With a tester the message stays away.
    PlugTester("tester");
    Pump();
    form->ShowFeedback(QString());
    emit f5->activated();
    EXPECT_NE(form->FeedbackPanel()->text(), "未连接硬度计");
}

}  // namespace
}  // namespace leeb
