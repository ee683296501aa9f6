#include <gtest/gtest.h>

#include <memory>

#include "FakeUpload.h"
#include "HeadlessUpload.h"
#include "ManualGuiDispatcher.h"
#include "SimulatedHidBus.h"
#include "THidDeviceController.h"
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
    RecordLines Run() {
        THidDeviceController controller(bus, gui);
        HeadlessUploadOptions options;
        options.Progress = [this](const std::string& text) { progress.push_back(text); };
        options.ReplyTimeout = std::chrono::milliseconds(50);
        return HeadlessUpload(controller, *gui, options);
    }
    struct Failed {
        std::string Message;
        HeadlessUploadError::Reason Why{};
        std::vector<std::string> UploadMessages;
    };
    Failed Failure() {
        try {
            Run();
        } catch (const HeadlessUploadError& error) {
            return {error.what(), error.Why(), error.UploadMessages()};
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
    EXPECT_EQ(Run(), (RecordLines{"@Import Data@", "  2,2040/04/01,    0,  450,  888,",
                                  "  1,2040/04/01,12288,045.2,", "  1,2040/04/01,    0,  500,"}));
    EXPECT_EQ(progress, (std::vector<std::string>{"1/3", "2/3", "3/3"}));
    gui->ProcessPending();
    EXPECT_EQ(bus->OpenHandleCount(id), 0);
}

TEST_F(HeadlessUploadTest, TesterWithoutRecordsGivesTheHeaderAlone) {
    simulator = std::make_unique<TesterSimulator>(SimulatorRecordSet{});
    simulator->PlugInto(bus);
    EXPECT_EQ(Run(), RecordLines{"@Import Data@"});
}

TEST_F(HeadlessUploadTest, FailuresSayWhatIsWrong) {
    struct Case {
        const char* name;
        std::function<void(HeadlessUploadTest&)> arrange;
        std::vector<std::string> words;
        HeadlessUploadError::Reason why;
        std::vector<std::string> uploadMessages = {};  // besides the reason's own
    };
    using Reason = HeadlessUploadError::Reason;
    const Case cases[] = {
        {"no tester",
         [](HeadlessUploadTest& t) { t.bus->Plug("mouse", 0x046D, 0xC077, 1, 5, 0); },
         {"未连接", "No hardness tester"},
         Reason::NotConnected},
        {"access denied",
         [](HeadlessUploadTest& t) {
             t.bus->SetReadWriteRefused(t.simulator->PlugInto(t.bus), true);
         },
         {"无权访问", "udev", "denied"},
         Reason::AccessDenied},
        {"no reply",
         [](HeadlessUploadTest& t) {
             t.simulator->InjectFault(SimulatorFault::NoReply, 4);
             t.simulator->PlugInto(t.bus);
         },
         {"无应答"},
         Reason::NoReply},
        {"write fails",
         [](HeadlessUploadTest& t) { t.bus->SetWriteFails(t.simulator->PlugInto(t.bus), true); },
         {"无应答", "Write to USB Derive Error"},
         Reason::NoReply,
         {"Write to USB Derive Error"}},
        {"unplugged",
         [](HeadlessUploadTest& t) {
             t.simulator->UnplugAfterCommands(12);
             t.simulator->PlugInto(t.bus);
         },
         {"拔出", "unplugged"},
         Reason::Unplugged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bus = std::make_shared<SimulatedHidBus>();
        SetUp();
        c.arrange(*this);
        const Failed failed = Failure();
        for (const std::string& word : c.words) {
            EXPECT_NE(failed.Message.find(word), std::string::npos) << failed.Message;
        }
        EXPECT_EQ(failed.Why, c.why);
        EXPECT_EQ(failed.UploadMessages, c.uploadMessages);
    }
}

}  // namespace
}  // namespace leeb::test
