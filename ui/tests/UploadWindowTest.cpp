// The window's wiring of the upload: the read button, the tester's replies, the automatic
// start, the watcher during an upload and closing the window in the middle of one.

#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>

#include "BarChart.h"
#include "LabSettings.h"
#include "TesterSimulator.h"
#include "WindowFixture.h"

namespace leeb {
namespace {

using namespace std::chrono_literals;

class UploadWindowTest : public WindowTest {
  protected:
    static SimulatorRecordSet Records(int count) {
        SimulatorRecordSet set;
        for (int r = 1; r <= count; ++r) {
            SimulatedRecord record;
            record.Number = r;
            record.Record.ImpactCount = 3;
            record.Record.Readings = {static_cast<uint16_t>(440 + r), 450, 460};
            record.Record.SettingsWord = 2;
            record.Record.DateWord = static_cast<uint16_t>(24 | 5 << 7 | 17 << 11);
            set.Records.push_back(record);
        }
        return set;
    }

    bool UploadEnds() {
        return dispatcher->ProcessUntil([&] { return !form->UploadRunning(); }, 5000ms);
    }
};

TEST_F(UploadWindowTest, TheReadButtonUploadsIntoTreeChartAndPanel) {
    TesterSimulator tester(Records(3));
    tester.PlugInto(bus);
    Pump();
    ASSERT_TRUE(form->DeviceConnected());

    form->RunCommand([this] { form->BitBtn1Click(); });
    ASSERT_TRUE(form->UploadRunning());
    EXPECT_EQ(ButtonStates(), "00000");
    ASSERT_TRUE(UploadEnds());

    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(TreeTexts(), (QStringList{"存储记录1", "存储记录2", "存储记录3"}));
    EXPECT_EQ(TreeTexts(form->TreeModel().RecordIndex(2)), (QStringList{"443", "450", "460"}));
    EXPECT_EQ(ChartValues(), (std::vector<double>{441, 450, 460}));
    EXPECT_EQ(Text("attackl"), "3");
    EXPECT_EQ(Text("reclab"), "记录号: ");
    EXPECT_EQ(form->Lines().size(), 4u);
    EXPECT_EQ(ButtonStates(), "11111");
    EXPECT_EQ(form->StatusPanel(0)->text(), "");
}

TEST_F(UploadWindowTest, RecordOneIsJudgedAgainstItsScalesLimitsAsItArrives) {
    QTemporaryDir dir;
    form->UseLabSettings(std::make_unique<LabSettings>(
        std::make_unique<QSettings>(dir.filePath("lab.ini"), QSettings::IniFormat)));
    form->Lab().SetLimits("HL", {445.0, 455.0});
    form->Lab().SetExcludeInvalid(true);
    SimulatorRecordSet records = Records(2);
    records.Records[0].Record.Readings = {450, 0, 452};  // 0 arrives as 888, a failed impact
    TesterSimulator tester(records);
    tester.PlugInto(bus);
    Pump();
    form->RunCommand([this] { form->BitBtn1Click(); });
    ASSERT_TRUE(UploadEnds());
    EXPECT_EQ(Text("maxp"), "452");
    EXPECT_EQ(Text("Verdict"), "合格");
    EXPECT_EQ(Text("Spread"), "标准偏差 1.4  极差 2  有效 2/3");
    EXPECT_EQ(form->Chart1()->LimitMarks().Marks,
              (std::vector<ReadingMark>{ReadingMark::Valid, ReadingMark::FailedImpact,
                                        ReadingMark::Valid}));
}

TEST_F(UploadWindowTest, TheTestersAutoFrameStartsAnUploadThroughTimer2) {
    TesterSimulator tester(Records(2));
    tester.PlugInto(bus);
    Pump();
    tester.SendAutoStart();
    ASSERT_TRUE(dispatcher->ProcessUntil([&] { return form->AutoStartArmed(); }, 2000ms));
    QThread::msleep(20);
    QCoreApplication::processEvents();  // Timer2 fires
    ASSERT_TRUE(form->UploadRunning());
    ASSERT_TRUE(UploadEnds());
    EXPECT_EQ(TreeTexts(), (QStringList{"存储记录1", "存储记录2"}));
}

TEST_F(UploadWindowTest, ReportsWhileTimer2IsArmedDoNotPutTheStartOff) {
    Pump();
    // Reports at controller level, 6 ms apart: Timer2 stays due 10 ms after the first.
    form->HidDeviceController1DeviceData(nullptr, 0, nullptr, 0);
    QThread::msleep(6);
    form->HidDeviceController1DeviceData(nullptr, 0, nullptr, 0);
    QThread::msleep(7);
    QCoreApplication::processEvents();
    EXPECT_FALSE(form->AutoStartArmed());
    // The start ran: without a tester it only enables the read button.
    EXPECT_EQ(ButtonStates(), "10001");
}

TEST_F(UploadWindowTest, TheWatcherLeavesReadDisabledWhileAnUploadRuns) {
    TesterSimulator tester(Records(2));
    tester.SetReplyDelay(30ms);
    tester.PlugInto(bus);
    Pump();
    form->RunCommand([this] { form->BitBtn1Click(); });
    bus->Plug("mouse", 0x046d, 0xc077, 1, 5, 0);
    // The change notice comes through the dispatcher like the replies.
    ASSERT_TRUE(dispatcher->ProcessUntil([&] { return form->DeviceList().size() == 2; }, 2000ms));
    EXPECT_TRUE(form->UploadRunning());
    EXPECT_FALSE(form->Button(CommandButton::Read)->isEnabled());
    ASSERT_TRUE(UploadEnds());
    EXPECT_EQ(ButtonStates(), "11111");
}

TEST_F(UploadWindowTest, ClosingTheWindowDuringAnUploadEndsIt) {
    TesterSimulator tester(Records(5));
    tester.SetReplyDelay(50ms);
    tester.PlugInto(bus);
    Pump();
    form->RunCommand([this] { form->BitBtn1Click(); });
    dispatcher->WaitAndProcess(200ms);
    ASSERT_TRUE(form->UploadRunning());
    form->close();
    EXPECT_FALSE(form->UploadRunning());
    form.reset();
    // Replies still on their way find nothing to write into.
    dispatcher->ProcessUntil([] { return false; }, 150ms);
}

}  // namespace
}  // namespace leeb
