#include <gtest/gtest.h>

#include <memory>

#include "FakeUpload.h"
#include "HeadlessUpload.h"
#include "ManualGuiDispatcher.h"
#include "SimulatedHidBus.h"
#include "HidDeviceController.h"
#include "TesterSimulator.h"
#include "UploadScenarios.h"

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
// it stopped; a failed write is told and the upload still waits for the reply.
TEST_F(HeadlessUploadTest, AFailedWriteIsToldAndEndsInTheTimeOut) {
    simulator->PlugInto(bus);
    bus->SetWriteFails(*simulator->DeviceId(), true);
    const HeadlessUploadResult result = Run();
    EXPECT_EQ(result.Outcome, UploadOutcome::TimedOut);
    EXPECT_TRUE(result.Interrupted());
    EXPECT_EQ(result.RecordsRead(), 0);
    EXPECT_EQ(result.RecordsNamed, 0);
    ASSERT_EQ(result.Notices.size(), 1u);
    EXPECT_EQ(result.Notices[0].Kind, UploadNoticeKind::WriteFailed);
    EXPECT_FALSE(result.Error.has_value());
    EXPECT_EQ(result.Lines, RecordLines{"@Import Data@"});
}

// The shared scenarios as the command line runs them: the headless upload over the bus.
class HeadlessUploadScenarioTest : public ::testing::TestWithParam<UploadScenario> {};

TEST_P(HeadlessUploadScenarioTest, EndsAsTheScenarioSays) {
    const UploadScenario& scenario = GetParam();
    auto bus = std::make_shared<SimulatedHidBus>();
    auto gui = std::make_shared<ManualGuiDispatcher>();
    TesterSimulator tester(scenario.Tester);
    ApplyFaults(scenario, tester);
    tester.PlugInto(bus);
    HeadlessUploadResult result;
    {
        HidDeviceController controller(bus, gui);
        HeadlessUploadOptions options;
        options.Verified = scenario.Verified;
        options.ReplyTimeout = std::chrono::milliseconds(500);
        result = HeadlessUpload(controller, *gui, options);
    }
    gui->ProcessPending();

    ScenarioRun run;
    run.Outcome = result.Outcome;
    run.Lines = result.Lines;
    run.Damaged = result.Damaged;
    run.Fault = result.Error ? std::optional(result.Error->Fault) : std::nullopt;
    run.Commands = tester.CommandsReceived();
    run.Named = result.RecordsNamed;
    ExpectScenario(scenario, run);
    // How it ended is in the outcome; notices are what happened on the way.
    EXPECT_TRUE(result.Notices.empty());
    EXPECT_EQ(result.Interrupted(), scenario.Outcome == UploadOutcome::TimedOut ||
                                        scenario.Outcome == UploadOutcome::Unplugged ||
                                        scenario.Outcome == UploadOutcome::ProtocolError);
    EXPECT_EQ(result.RecordNumbers.size(), result.Lines.size() - 1);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, HeadlessUploadScenarioTest,
                         ::testing::ValuesIn(UploadScenarios()),
                         [](const auto& info) { return ScenarioTestName(info.param); });

}  // namespace
}  // namespace leeb::test
