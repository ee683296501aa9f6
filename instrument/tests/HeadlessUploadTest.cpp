#include <gtest/gtest.h>

#include <memory>

#include "FakeUpload.h"
#include "HeadlessUpload.h"
#include "ManualGuiDispatcher.h"
#include "SimulatedHidBus.h"
#include "HidDeviceController.h"
#include "TesterSimulator.h"

namespace leeb::test {
namespace {

class HeadlessUploadTest : public ::testing::Test {
  public:
    void SetUp() override {
        SimulatorRecordSet set;
        set.Records = {RawRecord(1, 0, {450, 0}), RawRecord(2, 3 << 12, {452}),
                       RawRecord(3, 0, {500})};
        simulator = std::make_unique<TesterSimulator>(set);
    }
    HeadlessUploadResult Run() {
        HidDeviceController controller(bus, gui);
        HeadlessUploadOptions options;
        options.Progress = [this](const std::string& text) { progress.push_back(text); };
        options.ReplyTimeout = std::chrono::milliseconds(50);
        return HeadlessUpload(controller, *gui, options);
    }
    std::string Failure() {
        try {
            Run();
        } catch (const HeadlessUploadError& error) {
            return error.what();
        }
        ADD_FAILURE() << "no error";
        return {};
    }

    std::shared_ptr<SimulatedHidBus> bus = std::make_shared<SimulatedHidBus>();
    std::shared_ptr<ManualGuiDispatcher> gui = std::make_shared<ManualGuiDispatcher>();
    std::unique_ptr<TesterSimulator> simulator;
    std::vector<std::string> progress;
};

TEST_F(HeadlessUploadTest, UploadsEveryRecordWithProgressAndGivesTheDeviceBack) {
    const SimulatedDeviceId id = simulator->PlugInto(bus);
    const HeadlessUploadResult result = Run();
    EXPECT_EQ(result.Lines,
              (RecordLines{"@Import Data@", "  2,2040/04/01,    0,  450,  888,",
                           "  1,2040/04/01,12288,045.2,", "  1,2040/04/01,    0,  500,"}));
    EXPECT_EQ(result.Outcome, UploadOutcome::Complete);
    EXPECT_EQ(result.RecordsNamed, 3);
    EXPECT_FALSE(result.Interrupted());
    EXPECT_EQ(progress, (std::vector<std::string>{"1/3", "2/3", "3/3"}));
    gui->ProcessPending();
    EXPECT_EQ(bus->OpenHandleCount(id), 0);
}

TEST_F(HeadlessUploadTest, TesterWithoutRecordsGivesTheHeaderAlone) {
    simulator = std::make_unique<TesterSimulator>(SimulatorRecordSet{});
    simulator->PlugInto(bus);
    const HeadlessUploadResult result = Run();
    EXPECT_EQ(result.Lines, RecordLines{"@Import Data@"});
    EXPECT_EQ(result.Outcome, UploadOutcome::NoData);
}

TEST_F(HeadlessUploadTest, NoUploadWithoutAReachableTester) {
    struct Case {
        const char* name;
        std::function<void(HeadlessUploadTest&)> arrange;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"no tester",
         [](HeadlessUploadTest& t) { t.bus->Plug("mouse", 0x046D, 0xC077, 1, 5, 0); },
         {"未连接", "No hardness tester"}},
        {"access denied",
         [](HeadlessUploadTest& t) {
             t.bus->SetReadWriteRefused(t.simulator->PlugInto(t.bus), true);
         },
         {"无权访问", "denied", "plug it in again"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bus = std::make_shared<SimulatedHidBus>();
        SetUp();
        c.arrange(*this);
        const std::string message = Failure();
        for (const std::string& word : c.words) {
            EXPECT_NE(message.find(word), std::string::npos) << message;
        }
    }
}

// An upload that stops early returns the records it completed, how many were named and why
// it stopped.
TEST_F(HeadlessUploadTest, InterruptedUploadsKeepTheRecordsRead) {
    struct Case {
        const char* name;
        std::function<void(HeadlessUploadTest&)> arrange;
        UploadOutcome outcome;
        int recordsRead;
        int recordsNamed;
        std::vector<UploadNoticeKind> notices;
    };
    const Case cases[] = {
        {"no reply in record 1",
         [](HeadlessUploadTest& t) { t.simulator->InjectFault(SimulatorFault::NoReply, 4); },
         UploadOutcome::TimedOut,
         0,
         3,
         {}},
        {"no reply in record 3",
         [](HeadlessUploadTest& t) { t.simulator->InjectFault(SimulatorFault::NoReply, 22); },
         UploadOutcome::TimedOut,
         2,
         3,
         {}},
        {"write fails",
         [](HeadlessUploadTest& t) { t.bus->SetWriteFails(*t.simulator->DeviceId(), true); },
         UploadOutcome::TimedOut,
         0,
         0,
         {UploadNoticeKind::WriteFailed}},
        {"unplugged in record 2",
         [](HeadlessUploadTest& t) { t.simulator->UnplugAfterCommands(12); },
         UploadOutcome::Unplugged,
         1,
         3,
         {}},
        {"short reply in record 2",
         [](HeadlessUploadTest& t) { t.simulator->InjectFault(SimulatorFault::ShortReport, 11); },
         UploadOutcome::ProtocolError,
         1,
         3,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bus = std::make_shared<SimulatedHidBus>();
        SetUp();
        simulator->PlugInto(bus);
        c.arrange(*this);
        const HeadlessUploadResult result = Run();
        EXPECT_EQ(result.Outcome, c.outcome);
        EXPECT_TRUE(result.Interrupted());
        EXPECT_EQ(result.RecordsRead(), c.recordsRead);
        EXPECT_EQ(result.RecordsNamed, c.recordsNamed);
        std::vector<UploadNoticeKind> notices;
        for (const UploadNotice& notice : result.Notices) {
            notices.push_back(notice.Kind);
        }
        EXPECT_EQ(notices, c.notices);
        EXPECT_EQ(result.Error.has_value(), c.outcome == UploadOutcome::ProtocolError);
        const RecordLines all{"@Import Data@", "  2,2040/04/01,    0,  450,  888,",
                              "  1,2040/04/01,12288,045.2,", "  1,2040/04/01,    0,  500,"};
        EXPECT_EQ(result.Lines, RecordLines(all.begin(), all.begin() + 1 + c.recordsRead));
    }
}

}  // namespace
}  // namespace leeb::test
