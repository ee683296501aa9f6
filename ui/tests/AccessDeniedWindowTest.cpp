// A tester that is plugged in but whose device may not be opened for reading and writing (on
// Linux: the udev rule is missing): the window says so and never tries to upload from it.

#include <QFontMetrics>
#include <chrono>

#include "TesterSimulator.h"
#include "WindowFixture.h"

namespace leeb {
namespace {

using namespace std::chrono_literals;

class AccessDeniedWindowTest : public WindowTest {
  protected:
    TesterSimulator tester;  // the built-in sample records

    SimulatedDeviceId PlugRefusedTester() {
        const SimulatedDeviceId id = tester.PlugInto(bus);
        bus->SetReadWriteRefused(id, true);  // before the controller's scan identifies it
        Pump();
        return id;
    }
    void ExpectAccessDeniedShown() {
        EXPECT_EQ(form->StatusPanel(1)->text(), "连接OK");
        EXPECT_EQ(form->StatusPanel(2)->text(), MainWindow::AccessDeniedText);
        EXPECT_EQ(form->StatusPanel(2)->toolTip(), MainWindow::AccessDeniedText);
        EXPECT_TRUE(form->TesterAccessDenied());
        EXPECT_FALSE(form->Button(CommandButton::Read)->isEnabled());
    }
};

TEST_F(AccessDeniedWindowTest, ARefusedTesterIsConnectedButCannotBeRead) {
    const SimulatedDeviceId id = PlugRefusedTester();
    ExpectAccessDeniedShown();
    EXPECT_FALSE(form->DeviceConnected()) << "not for the upload";
    EXPECT_EQ(ButtonStates(), "00001");
    EXPECT_EQ(bus->ReadWriteOpenCount(id), 0);
}

TEST_F(AccessDeniedWindowTest, NothingEnablesReadingOrStartsAnUploadWhileAccessIsDenied) {
    const SimulatedDeviceId id = PlugRefusedTester();
    struct Step {
        const char* Name;
        std::function<void()> Run;
    };
    const Step steps[] = {
        {"another device makes the watcher run again",
         [&] {
             bus->Plug("mouse", 0x046d, 0xc077, 1, 5, 0);
             Pump();
         }},
        {"a command enables every button (as an open or an upload's end does)",
         [&] {
             for (CommandButton b : {CommandButton::Read, CommandButton::Save,
                                     CommandButton::PrintChart, CommandButton::PrintReport}) {
                 form->SetButtonEnabled(b, true);
             }
         }},
        {"the read command runs anyway", [&] { form->RunCommand([&] { form->ReadRecordsClicked(); }); }},
        {"the automatic start fires",
         [&] {
             form->Upload().ArmAutoStart();
             dispatcher->ProcessUntil([&] { return !form->Upload().AutoStartArmed(); }, 1000ms);
             QCoreApplication::processEvents();
         }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.Name);
        step.Run();
        ExpectAccessDeniedShown();
        EXPECT_FALSE(form->UploadRunning());
        EXPECT_TRUE(bus->WrittenReports(id).empty());
        EXPECT_TRUE(dialogs.Messages.empty());
    }
    EXPECT_EQ(tester.CommandsReceived(), 0);
}

TEST_F(AccessDeniedWindowTest, AReplugWithAccessGrantedClearsTheMessageAndUploads) {
    PlugRefusedTester();
    tester.Unplug();
    Pump();
    EXPECT_EQ(form->StatusPanel(1)->text(), "未连接");
    EXPECT_EQ(form->StatusPanel(2)->text(), "") << "no tester, nothing denied";
    EXPECT_FALSE(form->Button(CommandButton::Read)->isEnabled());

    tester.PlugInto(bus);  // the udev rule is installed now
    Pump();
    EXPECT_EQ(form->StatusPanel(1)->text(), "连接OK");
    EXPECT_EQ(form->StatusPanel(2)->text(), "");
    EXPECT_EQ(form->StatusPanel(2)->toolTip(), "");
    EXPECT_FALSE(form->TesterAccessDenied());
    EXPECT_EQ(ButtonStates(), "10001");

    form->RunCommand([&] { form->ReadRecordsClicked(); });
    ASSERT_TRUE(dispatcher->ProcessUntil([&] { return !form->UploadRunning(); }, 5000ms));
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(form->TreeModel().RecordCount(), 14);
    EXPECT_EQ(ButtonStates(), "11111");
}

TEST_F(AccessDeniedWindowTest, ATesterReplugedRefusedDuringAnUploadLeavesReadDisabledAfterIt) {
    tester.SetReplyDelay(20ms);
    const SimulatedDeviceId first = tester.PlugInto(bus);
    Pump();
    form->RunCommand([&] { form->ReadRecordsClicked(); });
    ASSERT_TRUE(form->UploadRunning());
    dispatcher->WaitAndProcess(60ms);
    // A second tester whose device refuses: the later one in the list becomes the active one.
    const SimulatedDeviceId second = PlugTester("refused");
    bus->SetReadWriteRefused(second, true);
    ASSERT_TRUE(dispatcher->ProcessUntil([&] { return form->DeviceList().size() == 2; }, 2000ms));
    EXPECT_FALSE(form->UploadRunning()) << "ended as for a tester pulled out";
    ExpectAccessDeniedShown();
    EXPECT_TRUE(dialogs.Messages.empty()) << "no write error, no time-out";
    EXPECT_GT(bus->WrittenReports(first).size(), 0u);
    EXPECT_TRUE(bus->WrittenReports(second).empty());
}

TEST_F(AccessDeniedWindowTest, TheStatusBarWidensToShowTheWholeMessage) {
    form->show();
    PlugRefusedTester();
    QCoreApplication::processEvents();
    const QLabel* panel = form->StatusPanel(2);
    EXPECT_GE(panel->contentsRect().width(),
              QFontMetrics(panel->font()).horizontalAdvance(MainWindow::AccessDeniedText));
    EXPECT_LE(panel->geometry().right(), form->width());

    tester.Unplug();
    Pump();
    QCoreApplication::processEvents();
    EXPECT_EQ(panel->width(), 50);
}

}  // namespace
}  // namespace leeb
