// End to end through the Linux backend: the tester simulator behind a FUSE hidraw node, the
// headless upload over the real open/write/poll/read path, and the record file it gives.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <thread>

#include "FakeHidrawTree.h"
#include "FakeUpload.h"
#include "HeadlessUpload.h"
#include "LinuxHidPlatform.h"
#include "ManualGuiDispatcher.h"
#include "HidDeviceController.h"
#include "TesterSimulator.h"
#include "UploadScenarios.h"

namespace leeb::test {
namespace {

// A vendor-defined interface with 64-byte input and output reports and no report IDs.
std::vector<uint8_t> TesterDescriptor() {
    return {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x40,
            0x09, 0x01, 0x81, 0x02, 0x95, 0x40, 0x09, 0x01, 0x91, 0x02, 0xC0};
}

// Answers what the upload writes to the node. The fake node offers no write notification, so
// this thread looks for new writes every 100 us while the test runs.
class NodeServer {
  public:
    NodeServer(FakeHidrawTree& tree, int number, TesterSimulator& simulator)
        : tree_(tree), number_(number), simulator_(simulator), thread_([this] { Serve(); }) {}
    ~NodeServer() {
        stop_ = true;
        thread_.join();
    }

  private:
    void Serve() {
        std::size_t answered = 0;
        while (!stop_) {
            const auto written = tree_.Written(number_);
            for (; answered < written.size(); ++answered) {
                const auto& report = written[answered];
                const SimulatorResponse response = simulator_.Respond(report.data(), report.size());
                for (const auto& input : response.Reports) {
                    // hidraw hands out reports of unnumbered devices without the ID byte.
                    tree_.Send(number_, std::vector<uint8_t>(input.begin() + 1, input.end()));
                }
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }

    FakeHidrawTree& tree_;
    int number_;
    TesterSimulator& simulator_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST(HidrawUpload, SimulatedTesterOnAHidrawNodeGivesTheExpectedFile) {
    FakeHidrawTree tree;
    std::string whyNot;
    if (!tree.MountFuse(whyNot)) {
        GTEST_SKIP() << whyNot;
    }
    SimulatorRecordSet set;
    set.Records = {RawRecord(1, 0, {450, 0, 470, 1001}), RawRecord(2, 3 << 12, {452, 0}),
                   RawRecord(3, 0x1121, {612, 620}), RawRecord(4, 0x0008, {420, 425, 430})};
    TesterSimulator simulator(set);
    tree.AddNode(0, 0x1234, 0x5678, 0x0102, TesterDescriptor());
    tree.AddNode(1, 0x046D, 0xC077, 0x0100, TesterDescriptor());
    NodeServer server(tree, 0, simulator);

    auto platform =
        std::make_shared<LinuxHidPlatform>(tree.SysfsRoot(), tree.DevRoot(), HidChangeSource::None);
    auto gui = std::make_shared<ManualGuiDispatcher>();
    RecordLines lines;
    std::vector<std::string> progress;
    {
        HidDeviceController controller(platform, gui);
        HeadlessUploadOptions options;
        options.Progress = [&](const std::string& text) { progress.push_back(text); };
        const HeadlessUploadResult result = HeadlessUpload(controller, *gui, options);
        EXPECT_EQ(result.Outcome, UploadOutcome::Complete);
        lines = result.Lines;
    }
    gui->ProcessPending();
    EXPECT_EQ(progress, (std::vector<std::string>{"1/4", "2/4", "3/4", "4/4"}));
    EXPECT_EQ(tree.Written(0).size(), 1u + 4 * 9);
    EXPECT_EQ(tree.Written(0)[1].size(), 65u);
    EXPECT_EQ(tree.Opens(1), 0);  // the other device is never opened

    QTemporaryDir dir;
    const std::string path = dir.filePath("records.txt").toStdString();
    WriteRecordFile(path, lines);
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(bytes,
              "@Import Data@\r\n"
              "  4,2040/04/01,    0,  450,  888,  470,  888,\r\n"
              "  2,2040/04/01,12288,045.2,088.8,\r\n"
              "  2,2040/04/01, 4385,  612,  620,\r\n"
              "  3,2040/04/01,    8,  420,  425,  430,\r\n");
}

// A tester that sends its count reply short: hidraw hands out the three bytes, the backend pads
// them to the report length as Windows does, and the upload reads every record.
TEST(HidrawUpload, AShortReplyIsPaddedToTheReportLength) {
    FakeHidrawTree tree;
    std::string whyNot;
    if (!tree.MountFuse(whyNot)) {
        GTEST_SKIP() << whyNot;
    }
    SimulatorRecordSet set;
    set.Records = {RawRecord(1, 0, {450}), RawRecord(2, 0, {460})};
    TesterSimulator simulator(set);
    simulator.InjectFault(SimulatorFault::ShortReport, 1);
    tree.AddNode(0, 0x1234, 0x5678, 0x0102, TesterDescriptor());
    NodeServer server(tree, 0, simulator);
    auto platform =
        std::make_shared<LinuxHidPlatform>(tree.SysfsRoot(), tree.DevRoot(), HidChangeSource::None);
    auto gui = std::make_shared<ManualGuiDispatcher>();
    HeadlessUploadResult result;
    {
        HidDeviceController controller(platform, gui);
        result = HeadlessUpload(controller, *gui);
    }
    gui->ProcessPending();
    EXPECT_EQ(result.Outcome, UploadOutcome::Complete);
    EXPECT_EQ(result.Lines, (RecordLines{"@Import Data@", "  1,2040/04/01,    0,  450,",
                                         "  1,2040/04/01,    0,  460,"}));
}

// The shared scenarios through the Linux backend. Two kinds are left to the other levels: a
// short report reaches the upload padded to the report length here, as on every platform the
// backend stands for, so the bus's unpadded short report has no counterpart; and the node
// server cannot pull its node out.
std::vector<UploadScenario> NodeScenarios() {
    std::vector<UploadScenario> scenarios;
    for (const UploadScenario& scenario : UploadScenarios()) {
        const bool shortReport =
            std::any_of(scenario.Faults.begin(), scenario.Faults.end(),
                        [](const auto& fault) { return fault.first == SimulatorFault::ShortReport; });
        if (!shortReport && !scenario.Tester.UnplugAfterCommands) {
            scenarios.push_back(scenario);
        }
    }
    return scenarios;
}

class HidrawUploadScenarioTest : public ::testing::TestWithParam<UploadScenario> {};

TEST_P(HidrawUploadScenarioTest, EndsAsTheScenarioSays) {
    FakeHidrawTree tree;
    std::string whyNot;
    if (!tree.MountFuse(whyNot)) {
        GTEST_SKIP() << whyNot;
    }
    const UploadScenario& scenario = GetParam();
    TesterSimulator simulator(scenario.Tester);
    ApplyFaults(scenario, simulator);
    tree.AddNode(0, 0x1234, 0x5678, 0x0102, TesterDescriptor());
    NodeServer server(tree, 0, simulator);
    auto platform =
        std::make_shared<LinuxHidPlatform>(tree.SysfsRoot(), tree.DevRoot(), HidChangeSource::None);
    auto gui = std::make_shared<ManualGuiDispatcher>();
    HeadlessUploadResult result;
    {
        HidDeviceController controller(platform, gui);
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
    run.Commands = simulator.CommandsReceived();
    run.Named = result.RecordsNamed;
    ExpectScenario(scenario, run);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, HidrawUploadScenarioTest, ::testing::ValuesIn(NodeScenarios()),
                         [](const auto& info) { return ScenarioTestName(info.param); });

}  // namespace
}  // namespace leeb::test
