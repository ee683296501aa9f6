// The upload through the simulated bus and the tester simulator: every output report's bytes
// as the tester saw them, and the faults a real link can show.

#include <gtest/gtest.h>

#include "CommandFrames.h"

#include "BusUpload.h"
#include "UploadScenarios.h"

namespace leeb::test {
namespace {

constexpr uint16_t HL = 0;
constexpr uint16_t HRC = 3 << 12;

SimulatorRecordSet Records(std::vector<SimulatedRecord> records,
                           std::optional<int> single = std::nullopt) {
    SimulatorRecordSet set;
    set.Records = std::move(records);
    set.Single = single;
    return set;
}

using leeb::test::Command;

// What the tester must see for records first..last: nine chunk requests each, the record
// number in the first only.
void AppendChunkRequests(std::vector<std::vector<uint8_t>>& reports, int first, int last) {
    for (int r = first; r <= last; ++r) {
        reports.push_back(Command(0xA9, static_cast<uint8_t>(r >> 8), static_cast<uint8_t>(r)));
        for (int k = 2; k <= 9; ++k) {
            reports.push_back(Command(0xA9));
        }
    }
}

class BusUploadTest : public ::testing::Test {
  protected:
    void Plug(const SimulatorRecordSet& set) {
        simulator = std::make_unique<TesterSimulator>(set);
        testerId = simulator->PlugInto(link.bus);
        link.Settle();
    }
    std::vector<std::vector<uint8_t>> Written() const { return link.bus->WrittenReports(testerId); }
    int ArmCalls() const {
        return static_cast<int>(
            std::count(link.view.Calls.begin(), link.view.Calls.end(), "ArmAutoStart"));
    }

    BusUpload link;
    std::unique_ptr<TesterSimulator> simulator;
    SimulatedDeviceId testerId = 0;
};

TEST_F(BusUploadTest, ThreeRecordsOnTheWire) {
    Plug(Records({RawRecord(1, HL, {450, 0, 470, 1001}), RawRecord(2, HRC, {452, 0}),
                  RawRecord(3, HL, {500})}));
    ASSERT_TRUE(link.watcher->DeviceConnected());
    EXPECT_EQ(link.view.ButtonRow(), "10000");
    ASSERT_TRUE(link.RunUpload());

    std::vector<std::vector<uint8_t>> expected{Command(0xA8)};
    AppendChunkRequests(expected, 1, 3);
    EXPECT_EQ(Written(), expected);
    EXPECT_EQ(link.lines,
              (RecordLines{"@Import Data@", "  4,2040/04/01,    0,  450,  888,  470,  888,",
                           "  2,2040/04/01,12288,045.2,088.8,", "  1,2040/04/01,    0,  500,"}));
    EXPECT_EQ(link.view.Bars,
              (std::vector<std::pair<int, double>>{{1, 450}, {2, 888}, {3, 470}, {4, 888}}));
    EXPECT_EQ(link.view.Details.size(), 1u);
    EXPECT_EQ(link.view.ButtonRow(), "11111");
    EXPECT_EQ(ArmCalls(), 0);  // replies never arm the automatic start

    // A second upload: its count request keeps bytes 2-4 as the last chunk request left them.
    ASSERT_TRUE(link.RunUpload());
    EXPECT_EQ(Written().at(28), Command(0xA8));
    EXPECT_EQ(link.lines.size(), 4u);
}

TEST_F(BusUploadTest, OneRecordAndASingleRecordReply) {
    Plug(Records({RawRecord(1, HL, {450})}));
    ASSERT_TRUE(link.RunUpload());
    EXPECT_EQ(Written().size(), 10u);
    EXPECT_EQ(link.lines.size(), 2u);
    EXPECT_EQ(link.view.ButtonRow(), "11111");

    BusUpload other;
    TesterSimulator single(Records({RawRecord(1, HL, {450}), RawRecord(517, HL, {600})}, 517));
    const SimulatedDeviceId id = single.PlugInto(other.bus);
    other.Settle();
    ASSERT_TRUE(other.RunUpload());
    std::vector<std::vector<uint8_t>> expected{Command(0xA8)};
    AppendChunkRequests(expected, 517, 517);
    EXPECT_EQ(other.bus->WrittenReports(id), expected);
    EXPECT_EQ(other.view.Appended, (std::vector<std::pair<int, int>>{{517, 1}}));
    EXPECT_TRUE(other.view.Bars.empty());
    EXPECT_TRUE(other.view.Details.empty());
    EXPECT_EQ(other.view.ButtonRow(), "11111");
}

// A device that answers every command with one fixed report.
TEST_F(BusUploadTest, FirstRepliesThatNameNoRecord) {
    struct Case {
        const char* name;
        std::vector<uint8_t> reply;  // with report ID
        std::size_t messages;
        std::size_t protocolErrors;
        const char* buttons;
    };
    const Case cases[] = {
        {"no data", {0x00, 0xA8, 0xF0, 0x00}, 1, 0, "10001"},
        {"not an echo", {0x00, 0x41, 0x00, 0x00}, 0, 1, "10001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BusUpload fixed;
        std::vector<uint8_t> reply = c.reply;
        reply.resize(65, 0);
        const SimulatedDeviceId id = fixed.bus->Plug(
            "fixed", 0x1234, 0x5678, 1, 65, 65,
            [reply](SimulatedHidBus& bus, SimulatedDeviceId device, const std::vector<uint8_t>&) {
                bus.QueueInputReport(device, reply);
            });
        fixed.Settle();
        ASSERT_TRUE(fixed.RunUpload());
        EXPECT_EQ(fixed.bus->WrittenReports(id).size(), 1u);
        EXPECT_EQ(fixed.view.Notices.size(), c.messages);
        EXPECT_EQ(fixed.view.ProtocolErrors.size(), c.protocolErrors);
        EXPECT_EQ(fixed.view.ButtonRow(), std::string(c.buttons));
        EXPECT_EQ(fixed.lines, RecordLines{"@Import Data@"});
    }
}

TEST_F(BusUploadTest, AutomaticStart) {
    Plug(Records({RawRecord(1, HL, {450}), RawRecord(2, HL, {460})}));
    // Before any upload the tester delivers to the controller-level handler: any report arms.
    simulator->SendAutoStart();
    ASSERT_TRUE(link.PumpUntil([&] { return link.view.Armed; }));
    EXPECT_EQ(link.controllerLevelReports, 1);
    link.FireAutoStart();
    ASSERT_TRUE(link.PumpUntil([&] { return !link.upload->Running(); }));
    EXPECT_EQ(link.lines.size(), 3u);

    // Now the upload's own handler has it: only "AUTO" arms, and only while disarmed.
    link.view.Calls.clear();
    simulator->SendAutoStart();
    ASSERT_TRUE(link.PumpUntil([&] { return link.view.Armed; }));
    simulator->SendAutoStart();
    link.bus->QueueInputReport(testerId, std::vector<uint8_t>(65, 0x00));
    ASSERT_TRUE(link.PumpUntil([&] { return link.bus->QueuedInputReports(testerId) == 0; }));
    link.Settle();
    EXPECT_EQ(ArmCalls(), 1);
    EXPECT_EQ(link.controllerLevelReports, 1);
}

// The tester that had the upload's handler is no longer the active one once a second tester
// comes later in the list: what it sends does not reach the upload.
TEST_F(BusUploadTest, OnlyTheActiveTesterSpeaksForTheUpload) {
    Plug(Records({RawRecord(1, HL, {450}), RawRecord(2, HL, {460})}));
    ASSERT_TRUE(link.RunUpload());
    TesterSimulator second(Records({RawRecord(1, HL, {999})}));
    const SimulatedDeviceId secondId = second.PlugInto(link.bus, "second tester");
    link.Settle();
    ASSERT_NE(link.watcher->ActiveDevice(), link.watcher->DeviceList()[0]);

    simulator->SendAutoStart();
    ASSERT_TRUE(link.PumpUntil([&] { return link.bus->QueuedInputReports(testerId) == 0; }));
    link.Settle();
    EXPECT_FALSE(link.view.Armed);

    ASSERT_TRUE(link.RunUpload());
    EXPECT_EQ(link.bus->WrittenReports(secondId).size(), 10u);
    EXPECT_EQ(link.lines, (RecordLines{"@Import Data@", "  1,2040/04/01,    0,  999,"}));
}

TEST_F(BusUploadTest, FailedWriteShowsTheUsbErrorThenTimesOut) {
    Plug(Records({RawRecord(1, HL, {450})}));
    link.bus->SetWriteFails(testerId, true);
    link.upload->Start();
    ASSERT_EQ(link.view.Notices.size(), 1u);
    EXPECT_EQ(link.view.Notices[0], UploadNoticeKind::WriteFailed);
    link.Settle();
    ASSERT_TRUE(link.upload->Running());
    EXPECT_TRUE(link.view.ReplyTimerRunning);
    link.upload->ReplyTimedOut();
    EXPECT_EQ(link.view.Notices.back(), UploadNoticeKind::NoReply);
    EXPECT_EQ(link.view.ButtonRow(), "10001");
}

TEST_F(BusUploadTest, NoReplyKeepsWhatWasReadUntilTheTimeOut) {
    Plug(Records({RawRecord(1, HL, {450}), RawRecord(2, HL, {460}), RawRecord(3, HL, {470})}));
    simulator->InjectFault(SimulatorFault::NoReply, 1 + 9 + 3);
    link.upload->Start();
    ASSERT_TRUE(link.PumpUntil([&] { return simulator->CommandsReceived() == 13; }));
    link.Settle();
    ASSERT_TRUE(link.upload->Running());
    link.upload->ReplyTimedOut();  // the 3 s reply timer elapses
    EXPECT_FALSE(link.upload->Running());
    EXPECT_EQ(link.lines.size(), 2u);
    EXPECT_EQ(link.view.Notices.back(), UploadNoticeKind::NoReply);
    EXPECT_EQ(link.view.ButtonRow(), "11111");
    EXPECT_EQ(Written().size(), 13u);
}

TEST_F(BusUploadTest, TesterUnpluggedAtAChunk) {
    Plug(Records({RawRecord(1, HL, {450}), RawRecord(2, HL, {460}), RawRecord(3, HL, {470})}));
    simulator->UnplugAfterCommands(1 + 9 + 4);
    ASSERT_TRUE(link.RunUpload());
    EXPECT_EQ(link.upload->Outcome(), UploadOutcome::Unplugged);
    EXPECT_TRUE(link.view.Notices.empty());
    EXPECT_EQ(link.statusTexts.back(), "未连接");
    EXPECT_EQ(link.lines.size(), 2u);
    EXPECT_EQ(link.view.ButtonRow(), "01111");
    EXPECT_EQ(Written().size(), 15u);  // nothing written after the plug was pulled
}

TEST_F(BusUploadTest, AnotherDevicePluggedDuringAnUpload) {
    Plug(Records({RawRecord(1, HL, {450}), RawRecord(2, HL, {460}), RawRecord(3, HL, {470})}));
    simulator->SetReplyDelay(std::chrono::microseconds(500));
    link.upload->Start();
    ASSERT_TRUE(link.PumpUntil([&] { return simulator->CommandsReceived() >= 5; }));
    const SimulatedDeviceId mouse = link.bus->Plug("mouse", 0x046D, 0xC077, 1, 5, 0);
    ASSERT_TRUE(link.PumpUntil([&] { return link.statusTexts.size() >= 4; }));
    // The watcher has run mid-upload: the read button stays off and a nested start is ignored.
    EXPECT_FALSE(link.view.Enabled(CommandButton::Read));
    link.upload->Start();
    if (!link.PumpUntil([&] { return !link.upload->Running(); })) {
        // A reply lost while the tester's device object was replaced ends in the time-out.
        link.upload->ReplyTimedOut();
    }
    EXPECT_EQ(link.statusTexts.back(), "连接OK");
    EXPECT_EQ(std::count(link.view.Calls.begin(), link.view.Calls.end(), "ClearRecords"), 1);
    EXPECT_TRUE(link.view.Enabled(CommandButton::Read));
    EXPECT_EQ(link.bus->ReadWriteOpenCount(mouse), 0);
}

// The tester's transfer key pressed while a reply is due: the frame arms the automatic start
// and the upload goes on with the reply.
TEST_F(BusUploadTest, TransferKeyBeforeAReply) {
    Plug(Records({RawRecord(1, HL, {450}), RawRecord(2, HRC, {460, 461})}));
    simulator->InjectFault(SimulatorFault::AutoStartFirst, 5);
    ASSERT_TRUE(link.RunUpload());
    EXPECT_EQ(link.upload->Outcome(), UploadOutcome::Complete);
    EXPECT_EQ(link.lines, (RecordLines{"@Import Data@", "  1,2040/04/01,    0,  450,",
                                       "  2,2040/04/01,12288,046.0,046.1,"}));
    EXPECT_TRUE(link.view.Armed);
}

// The shared scenarios on the wire: the tester simulator on the bus, its replies through the
// read thread and the hand-off, and whatever it sends late reaching the upload too.
class BusUploadScenarioTest : public ::testing::TestWithParam<UploadScenario> {};

TEST_P(BusUploadScenarioTest, EndsAsTheScenarioSays) {
    const UploadScenario& scenario = GetParam();
    BusUpload link;
    // Far longer than a round trip on the bus; the window waits three seconds.
    link.replyTimeout = std::chrono::milliseconds(500);
    TesterSimulator tester(scenario.Tester);
    ApplyFaults(scenario, tester);
    const SimulatedDeviceId id = tester.PlugInto(link.bus);
    link.Settle();
    link.upload->SetVerified(scenario.Verified);
    ASSERT_TRUE(link.RunUpload());
    ASSERT_TRUE(link.PumpUntil([&] { return link.bus->QueuedInputReports(id) == 0; }));
    link.Settle();

    ScenarioRun run;
    run.Outcome = link.upload->Outcome();
    run.Lines = link.lines;
    run.Damaged = link.upload->Damaged();
    const auto& error = link.upload->ProtocolError();
    run.Fault = error ? std::optional(error->Fault) : std::nullopt;
    run.Commands = tester.CommandsReceived();
    run.Named = link.upload->RecordsNamed();
    run.Notices = link.view.Notices;
    ExpectScenario(scenario, run);
    EXPECT_EQ(link.view.ProtocolErrors.size(), scenario.Fault ? 1u : 0u);
    EXPECT_LE(link.upload->AccumulationPosition(), RecordImageSize);
    EXPECT_FALSE(link.view.Armed);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, BusUploadScenarioTest, ::testing::ValuesIn(UploadScenarios()),
                         [](const auto& info) { return ScenarioTestName(info.param); });

TEST_F(BusUploadTest, ImpactCountAboveThirtyTwoAndAnOversizedReport) {
    std::vector<uint16_t> readings(32, 450);
    Plug(Records({RawRecord(1, HL, readings), RawRecord(2, HL, readings, 40)}));
    ASSERT_TRUE(link.RunUpload());
    EXPECT_EQ(link.upload->Outcome(), UploadOutcome::Complete);
    ASSERT_EQ(link.lines.size(), 3u);
    EXPECT_EQ(link.lines[1].size(), 21u + 6 * 32);
    EXPECT_EQ(link.lines[2].size(), 21u + 6 * 32);
    EXPECT_EQ(link.view.Bars.size(), 32u);
    EXPECT_TRUE(link.view.ProtocolErrors.empty());
    ASSERT_EQ(link.upload->Damaged().size(), 1u);
    EXPECT_EQ(link.upload->Damaged()[0].ImpactCount, 40);

    // Input reports of 300 bytes: more than ReplyBytes holds.
    BusUpload wide;
    std::vector<uint8_t> reply(300, 0x77);
    reply[0] = 0;
    reply[1] = 0xA8;
    reply[2] = 0x00;
    reply[3] = 0x00;
    wide.bus->Plug("wide", 0x1234, 0x5678, 1, 300, 65,
                   [reply](SimulatedHidBus& bus, SimulatedDeviceId device,
                           const std::vector<uint8_t>&) { bus.QueueInputReport(device, reply); });
    wide.Settle();
    ASSERT_TRUE(wide.RunUpload());
    EXPECT_EQ(wide.upload->ReplyBytes()[64], 0x77);
    EXPECT_EQ(wide.view.Notices.size(), 1u);
}

TEST_F(BusUploadTest, ClosingDuringAnUploadEndsItAtOnce) {
    Plug(Records({RawRecord(1, HL, {450}), RawRecord(2, HL, {460})}));
    simulator->SetReplyDelay(std::chrono::microseconds(200));
    link.upload->Start();
    ASSERT_TRUE(link.PumpUntil([&] { return simulator->CommandsReceived() >= 4; }));
    const std::size_t calls = link.view.Calls.size();
    link.Close();
    const int commands = simulator->CommandsReceived();
    // Replies still in flight reach nobody.
    link.gui->ProcessUntil([] { return false; }, std::chrono::milliseconds(20));
    EXPECT_EQ(link.view.Calls.size(), calls);
    EXPECT_EQ(simulator->CommandsReceived(), commands);
}

}  // namespace
}  // namespace leeb::test
