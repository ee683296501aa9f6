// The upload's state machine driven directly: replies are delivered by the test, one by one,
// as the GUI thread's hand-off delivers them.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "CommandFrames.h"

#include "FakeUpload.h"
#include "RecordUpload.h"
#include "UploadScenarios.h"

namespace leeb::test {
namespace {

constexpr uint16_t HL = 0;
constexpr uint16_t HRC = 3 << 12;

class RecordUploadTest : public ::testing::Test {
  protected:
    void Load(std::vector<SimulatedRecord> records, std::optional<int> single = std::nullopt) {
        SimulatorRecordSet set;
        set.Records = std::move(records);
        set.Single = single;
        device.Tester.emplace(set);
    }
    // Starts an upload and delivers every reply the tester gives.
    void Upload() {
        upload.Start();
        DeliverReplies(device, upload);
    }
    // Delivers `count` replies, leaving the rest unanswered.
    void Deliver(int count) {
        for (int i = 0; i < count && !device.Replies.empty(); ++i) {
            const std::vector<uint8_t> data = device.Replies.front();
            device.Replies.pop_front();
            upload.UploadDataReceived(0, data.data(), static_cast<uint16_t>(data.size()));
        }
    }
    void Receive(const std::vector<uint8_t>& data) {
        upload.UploadDataReceived(0, data.data(), static_cast<uint16_t>(data.size()));
    }

    FakeUploadView view;
    FakeUploadDevice device;
    RecordLines lines{"@Import Data@", "old line"};
    RecordUpload upload{device, view, lines, '.'};
};

using leeb::test::Command;

TEST_F(RecordUploadTest, ThreeRecordsTakeOneCountAndTwentySevenChunkRequests) {
    Load({RawRecord(1, HL, {450, 460, 470}), RawRecord(2, HL, {500}), RawRecord(3, HRC, {452})});
    Upload();

    std::vector<std::vector<uint8_t>> expected{Command(0xA8)};
    for (uint8_t r = 1; r <= 3; ++r) {
        expected.push_back(Command(0xA9, 0, r));
        for (int k = 2; k <= 9; ++k) {
            expected.push_back(Command(0xA9));
        }
    }
    EXPECT_EQ(device.Written, expected);
    EXPECT_EQ(lines, (RecordLines{"@Import Data@", "  3,2040/04/01,    0,  450,  460,  470,",
                                  "  1,2040/04/01,    0,  500,", "  1,2040/04/01,12288,045.2,"}));
    EXPECT_EQ(view.Appended, (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(view.Bars, (std::vector<std::pair<int, double>>{{1, 450}, {2, 460}, {3, 470}}));
    ASSERT_EQ(view.Details.size(), 1u);
    EXPECT_EQ(view.Details[0].Statistics.Max(), 470);
    EXPECT_EQ(view.Details[0].DateText, "2040/04/01");
    EXPECT_EQ(view.ButtonRow(), "11111");
    EXPECT_EQ(view.ProgressTexts, (std::vector<std::string>{"1/3", "2/3", "3/3", ""}));
    EXPECT_FALSE(upload.Running());
    EXPECT_FALSE(view.ReplyTimerRunning);
    EXPECT_EQ(view.Finished, 1);
}

TEST_F(RecordUploadTest, StartClearsDisablesInOrderAndBindsBeforeWriting) {
    Load({RawRecord(1, HL, {450})});
    upload.Start();
    EXPECT_EQ(lines, RecordLines{"@Import Data@"});
    const std::vector<std::string> start(view.Calls.begin(), view.Calls.begin() + 6);
    EXPECT_EQ(start, (std::vector<std::string>{"ClearRecords", "disable save", "disable chart",
                                               "disable report", "disable open", "disable read"}));
    EXPECT_EQ(device.HandlerAssignments, 1);
    EXPECT_TRUE(upload.ReplyPending());
    EXPECT_TRUE(view.ReplyTimerRunning);
}

// Record 1: bars, then the panel, then its line; the window builds the nodes from the line.
TEST_F(RecordUploadTest, RecordOneIsChartedAndShownBeforeItsLineIsAnnounced) {
    Load({RawRecord(1, HL, {450, 452})});
    Upload();
    std::vector<std::string> recordCalls;
    for (const std::string& call : view.Calls) {
        if (call.rfind("AddBar", 0) == 0 || call == "ShowRecordDetails" ||
            call.rfind("RecordAppended", 0) == 0) {
            recordCalls.push_back(call);
        }
    }
    EXPECT_EQ(recordCalls, (std::vector<std::string>{"AddBar 1", "AddBar 2", "ShowRecordDetails",
                                                     "RecordAppended 1 1"}));
}

TEST_F(RecordUploadTest, OneRecordEnablesEveryButton) {
    Load({RawRecord(1, HRC, {452, 453})});
    Upload();
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(view.ButtonRow(), "11111");
    ASSERT_EQ(view.Details.size(), 1u);
    EXPECT_TRUE(view.Details[0].OneDecimal);
    EXPECT_EQ(view.Details[0].Statistics.PanelMeanText('.'), "45.2");
}

TEST_F(RecordUploadTest, SingleRecordReplyReadsOnlyThatRecordAndLeavesChartAndPanel) {
    Load({RawRecord(1, HL, {450}), RawRecord(517, HL, {600, 610})}, 517);
    Upload();
    ASSERT_EQ(device.Written.size(), 10u);
    EXPECT_EQ(device.Written[1], Command(0xA9, 0x02, 0x05));
    EXPECT_EQ(lines, (RecordLines{"@Import Data@", "  2,2040/04/01,    0,  600,  610,"}));
    EXPECT_EQ(view.Appended, (std::vector<std::pair<int, int>>{{517, 1}}));
    EXPECT_TRUE(view.Bars.empty());
    EXPECT_TRUE(view.Details.empty());
    EXPECT_EQ(view.ButtonRow(), "11111");
    EXPECT_EQ(view.ProgressTexts.front(), "517/517");
}

struct FirstReplyCase {
    const char* name;
    std::vector<uint8_t> reply;
    std::size_t messages;
    const char* buttons;
};

TEST_F(RecordUploadTest, FirstRepliesThatNameNoRecord) {
    const FirstReplyCase cases[] = {
        {"no records", DataReport({0xA8, 0x00, 0x00}), 1, "10001"},
        {"single record 0", DataReport({0xA8, 0xF0, 0x00}), 1, "10001"},
    };
    for (const FirstReplyCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeUploadView view;
        FakeUploadDevice device;
        RecordLines lines;
        RecordUpload upload(device, view, lines, '.');
        upload.Start();
        upload.UploadDataReceived(0, c.reply.data(), static_cast<uint16_t>(c.reply.size()));
        EXPECT_EQ(device.Written.size(), 1u);
        ASSERT_EQ(view.Notices.size(), c.messages);
        if (c.messages == 1) {
            EXPECT_EQ(view.Notices[0], UploadNoticeKind::NoData);
        }
        EXPECT_EQ(view.ButtonRow(), std::string(c.buttons));
        EXPECT_EQ(lines, RecordLines{"@Import Data@"});
        EXPECT_FALSE(upload.Running());
    }
}

struct ReadingCase {
    const char* name;
    uint16_t settings;
    std::vector<uint16_t> raw;
    std::vector<double> bars;
    const char* line;
};

TEST_F(RecordUploadTest, ReadingSubstitutions) {
    const ReadingCase cases[] = {
        {"zero and the fourth above 1000",
         HL,
         {0, 1200, 950, 1001, 1001},
         {888, 1200, 950, 888, 1001},
         "  5,2040/04/01,    0,  888, 1200,  950,  888, 1001,"},
        {"fourth of exactly 1000 stays",
         HL,
         {500, 500, 500, 1000},
         {500, 500, 500, 1000},
         "  4,2040/04/01,    0,  500,  500,  500, 1000,"},
        {"zero on HRC is 88.8", HRC, {452, 0}, {45.2, 88.8}, "  2,2040/04/01,12288,045.2,088.8,"},
        {"too wide for one decimal",
         HRC,
         {9999, 10000, 65535},
         {999.9, 88.8, 88.8},
         "  3,2040/04/01,12288,999.9,088.8,088.8,"},
        {"whole-number scale keeps wide values",
         HL,
         {65535},
         {65535},
         "  1,2040/04/01,    0,65535,"},
    };
    for (const ReadingCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeUploadView view;
        FakeUploadDevice device;
        RecordLines lines;
        RecordUpload upload(device, view, lines, '.');
        SimulatorRecordSet set;
        set.Records = {RawRecord(1, c.settings, c.raw)};
        device.Tester.emplace(set);
        upload.Start();
        DeliverReplies(device, upload);
        std::vector<double> bars;
        for (const auto& bar : view.Bars) {
            bars.push_back(bar.second);
        }
        EXPECT_EQ(bars, c.bars);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[1], c.line);
    }
}

// A record holds 1 to 32 impacts. Another count is asked for once more, after stray reports
// have passed; the same answer again is what the tester holds: the record is kept marked
// damaged (no readings for 0, the first 32 for more) and the upload goes on.
TEST_F(RecordUploadTest, ImpactCountsOutsideOneToThirtyTwoAreKeptDamaged) {
    std::vector<uint16_t> full;
    for (uint16_t k = 0; k < 32; ++k) {
        full.push_back(static_cast<uint16_t>(500 + k));
    }
    struct Case {
        uint16_t count;
        bool damaged;
        std::size_t readingsKept;
    };
    const Case cases[] = {
        {1, false, 1}, {32, false, 32}, {0, true, 0}, {33, true, 32}, {0xFFFF, true, 32}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        FakeUploadView view;
        FakeUploadDevice device;
        RecordLines lines;
        RecordUpload upload(device, view, lines, '.');
        SimulatorRecordSet set;
        set.Records = {RawRecord(1, HL, {450}), RawRecord(2, HL, full, c.count),
                       RawRecord(3, HL, {460})};
        device.Tester.emplace(set);
        upload.Start();
        DeliverReplies(device, upload);
        EXPECT_FALSE(upload.Running());
        EXPECT_EQ(upload.Outcome(), UploadOutcome::Complete);
        EXPECT_TRUE(view.ProtocolErrors.empty());
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[2].size(), 21u + 6u * c.readingsKept);
        EXPECT_EQ(lines[3], "  1,2040/04/01,    0,  460,");
        ASSERT_EQ(view.AppendedFields.size(), 3u);
        EXPECT_EQ(view.AppendedFields[1].Readings.size(), c.readingsKept);
        EXPECT_EQ(view.ButtonRow(), "11111");
        if (!c.damaged) {
            EXPECT_TRUE(upload.Damaged().empty());
            EXPECT_EQ(device.Written.size(), 1u + 3 * 9);
            continue;
        }
        // Record 2 is read twice; the end names it once.
        EXPECT_EQ(device.Written.size(), 1u + 4 * 9);
        ASSERT_EQ(upload.Damaged().size(), 1u);
        EXPECT_EQ(upload.Damaged()[0].Record, 2);
        EXPECT_EQ(upload.Damaged()[0].ImpactCount, c.count);
        ASSERT_FALSE(view.AllNotices.empty());
        EXPECT_EQ(view.AllNotices.back().Kind, UploadNoticeKind::DamagedRecords);
        ASSERT_EQ(view.AllNotices.back().Damaged.size(), 1u);
        EXPECT_EQ(view.AllNotices.back().Damaged[0].ImpactCount, c.count);
    }
}

// The command waits three seconds for its reply; stray reports are let pass for a tenth of
// that before a record is read again.
TEST_F(RecordUploadTest, ReplyTimerWaitsThreeSecondsAndADrainATenth) {
    Load({RawRecord(1, HL, {}, 0)});
    Upload();
    ASSERT_FALSE(view.TimerIntervals.empty());
    EXPECT_EQ(view.TimerIntervals.front(), 3000);
    EXPECT_EQ(std::count(view.TimerIntervals.begin(), view.TimerIntervals.end(), 100), 1);
    EXPECT_EQ(std::count(view.TimerIntervals.begin(), view.TimerIntervals.end(), 3000),
              static_cast<long>(device.Written.size()));
}

TEST_F(RecordUploadTest, AutoStartFrame) {
    const std::vector<uint8_t> autoFrame = DataReport({0x41, 0x55, 0x54, 0x4F});
    Receive(autoFrame);
    EXPECT_TRUE(view.Armed);
    view.Calls.clear();
    Receive(autoFrame);  // Timer2 already armed: nothing changes
    EXPECT_TRUE(view.Calls.empty());

    view.Armed = false;
    Load({RawRecord(1, HL, {450}), RawRecord(2, HL, {451})});
    Upload();
    for (const std::string& call : view.Calls) {
        EXPECT_NE(call, "ArmAutoStart");  // a count reply never arms the timer
    }
}

TEST_F(RecordUploadTest, StartRequestsDuringAnUploadAreIgnored) {
    Load({RawRecord(1, HL, {450}), RawRecord(2, HL, {451})});
    upload.Start();
    Deliver(4);
    const std::size_t written = device.Written.size();
    view.Calls.clear();
    upload.Start();
    EXPECT_TRUE(view.Calls.empty());
    EXPECT_EQ(device.Written.size(), written);
    DeliverReplies(device, upload);
    EXPECT_EQ(lines.size(), 3u);
}

TEST_F(RecordUploadTest, NoTesterEnablesOnlyTheReadButton) {
    device.Connected = false;
    upload.Start();
    EXPECT_EQ(view.Calls, std::vector<std::string>{"enable read"});
    EXPECT_TRUE(device.Written.empty());
    EXPECT_EQ(lines.size(), 2u);  // untouched
}

TEST_F(RecordUploadTest, FailedWriteShowsTheErrorAndWaitsForTheTimeOut) {
    device.WriteSucceeds = false;
    upload.Start();
    ASSERT_EQ(view.Notices.size(), 1u);
    EXPECT_EQ(view.Notices[0], UploadNoticeKind::WriteFailed);
    EXPECT_TRUE(upload.Running());
    EXPECT_TRUE(view.ReplyTimerRunning);
    upload.ReplyTimedOut();
    ASSERT_EQ(view.Notices.size(), 2u);
    EXPECT_EQ(view.Notices[1], UploadNoticeKind::NoReply);
    EXPECT_FALSE(upload.Running());
}

TEST_F(RecordUploadTest, ReportTooShortForACommandIsNotWritten) {
    device.Length = 4;
    upload.Start();
    EXPECT_TRUE(device.Written.empty());
    ASSERT_EQ(view.Notices.size(), 1u);
    EXPECT_EQ(view.Notices[0], UploadNoticeKind::WriteFailed);
}

struct InterruptionCase {
    const char* name;
    int repliesBefore;  // delivered before the interruption
    bool unplug;        // unplugged instead of timed out
    std::size_t lines;
    const char* buttons;
    std::size_t messages;
};

TEST_F(RecordUploadTest, TimeOutAndUnplugKeepTheRecordsRead) {
    const InterruptionCase cases[] = {
        {"time-out at the count", 0, false, 1, "10001", 1},
        {"time-out in record 2", 1 + 9 + 4, false, 2, "11111", 1},
        {"unplug in record 1", 1 + 3, true, 1, "00001", 0},
        {"unplug in record 3", 1 + 18 + 8, true, 3, "01111", 0},
    };
    for (const InterruptionCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeUploadView view;
        FakeUploadDevice device;
        RecordLines lines;
        RecordUpload upload(device, view, lines, '.');
        SimulatorRecordSet set;
        set.Records = {RawRecord(1, HL, {450}), RawRecord(2, HL, {451}), RawRecord(3, HL, {452})};
        device.Tester.emplace(set);
        upload.Start();
        for (int i = 0; i < c.repliesBefore; ++i) {
            const std::vector<uint8_t> data = device.Replies.front();
            device.Replies.pop_front();
            upload.UploadDataReceived(0, data.data(), static_cast<uint16_t>(data.size()));
        }
        device.Replies.clear();
        const std::size_t written = device.Written.size();
        if (c.unplug) {
            device.Connected = false;
            upload.ConnectionChanged();
        } else {
            upload.ReplyTimedOut();
        }
        EXPECT_FALSE(upload.Running());
        EXPECT_EQ(device.Written.size(), written);
        EXPECT_EQ(lines.size(), c.lines);
        EXPECT_EQ(view.ButtonRow(), std::string(c.buttons));
        ASSERT_EQ(view.Notices.size(), c.messages);
        if (c.messages == 1) {
            EXPECT_EQ(view.Notices[0], UploadNoticeKind::NoReply);
        }
        EXPECT_EQ(view.ProgressTexts.back(), "");
        // A reply that comes late changes nothing.
        upload.UploadDataReceived(0, DataReport({1, 2, 3}).data(), 64);
        EXPECT_EQ(device.Written.size(), written);
        EXPECT_EQ(lines.size(), c.lines);
    }
}

TEST_F(RecordUploadTest, CountRequestKeepsWhatThePreviousCommandLeft) {
    Load({RawRecord(1, HL, {450}), RawRecord(2, HL, {451})});
    upload.Start();
    Deliver(1 + 9);  // the first chunk request of record 2 is the last command
    device.Replies.clear();
    upload.ReplyTimedOut();
    upload.Start();
    std::vector<uint8_t> expected = Command(0xA8, 0x00, 0x02);
    EXPECT_EQ(device.Written.back(), expected);
}

TEST_F(RecordUploadTest, WatcherRunDuringAnUploadKeepsReadDisabled) {
    Load({RawRecord(1, HL, {450}), RawRecord(2, HL, {451})});
    upload.Start();
    Deliver(5);
    view.SetButtonEnabled(CommandButton::Read, true);  // what the watcher may do
    upload.ConnectionChanged();
    EXPECT_FALSE(view.Enabled(CommandButton::Read));
    EXPECT_EQ(device.HandlerAssignments, 2);
    DeliverReplies(device, upload);
    EXPECT_EQ(lines.size(), 3u);
}

// Giving the tester's device back lets a queued reply through while the watcher has no
// device: the next command waits for the watcher's verdict instead of failing its write.
TEST_F(RecordUploadTest, ReplyDuringAWatcherRunDefersTheNextCommand) {
    for (const bool testerStays : {true, false}) {
        SCOPED_TRACE(testerStays ? "tester stays" : "tester gone");
        FakeUploadView view;
        FakeUploadDevice device;
        RecordLines lines;
        RecordUpload upload(device, view, lines, '.');
        SimulatorRecordSet set;
        set.Records = {RawRecord(1, HL, {450})};
        device.Tester.emplace(set);
        upload.Start();
        device.Connected = false;
        DeliverReplies(device, upload);
        EXPECT_EQ(device.Written.size(), 1u);
        EXPECT_TRUE(view.Notices.empty());
        device.Connected = testerStays;
        upload.ConnectionChanged();
        DeliverReplies(device, upload);
        EXPECT_FALSE(upload.Running());
        EXPECT_EQ(device.Written.size(), testerStays ? 10u : 1u);
        EXPECT_EQ(lines.size(), testerStays ? 2u : 1u);
        EXPECT_TRUE(view.Notices.empty());
    }
}

TEST_F(RecordUploadTest, AbortEndsAtOnceAndIgnoresEverythingAfterwards) {
    Load({RawRecord(1, HL, {450}), RawRecord(2, HL, {451})});
    upload.Start();
    Deliver(3);
    upload.Abort();
    EXPECT_FALSE(upload.Running());
    EXPECT_FALSE(view.ReplyTimerRunning);
    const std::size_t written = device.Written.size();
    view.Calls.clear();
    DeliverReplies(device, upload);
    upload.ReplyTimedOut();
    upload.ConnectionChanged();
    upload.Start();
    EXPECT_TRUE(view.Calls.empty());
    EXPECT_EQ(device.Written.size(), written);
}

// The window may close while one of the upload's message boxes is up.
TEST_F(RecordUploadTest, AbortInsideAMessageBoxTouchesNothingAfterIt) {
    for (const bool timeOut : {false, true}) {
        SCOPED_TRACE(timeOut ? "time-out box" : "no-data box");
        FakeUploadView view;
        FakeUploadDevice device;
        RecordLines lines;
        RecordUpload upload(device, view, lines, '.');
        upload.Start();
        view.WhileMessageShown = [&] { upload.Abort(); };
        view.Calls.clear();
        if (timeOut) {
            upload.ReplyTimedOut();
        } else {
            const std::vector<uint8_t> empty = DataReport({0xA8, 0, 0});
            upload.UploadDataReceived(0, empty.data(), 64);
        }
        ASSERT_EQ(view.Calls.size(), 1u);
        EXPECT_EQ(view.Calls[0].rfind("Notify", 0), 0u);
        EXPECT_FALSE(upload.Running());
    }
}

// A reply handled inside the write-error box must not leave a second timer behind or make
// the upload repeat a step.
TEST_F(RecordUploadTest, ReplyInsideTheWriteErrorBox) {
    Load({RawRecord(1, HL, {450})});
    device.WriteSucceeds = false;
    view.WhileMessageShown = [&] {
        device.WriteSucceeds = true;
        Receive(DataReport({0xA8, 0x00, 0x01}));
    };
    upload.Start();
    DeliverReplies(device, upload);
    EXPECT_FALSE(upload.Running());
    EXPECT_FALSE(view.ReplyTimerRunning);
    EXPECT_EQ(device.Written.size(), 10u);
    EXPECT_EQ(lines.size(), 2u);
}

// With no upload waiting for a reply, reports of any size are neither stored nor collected.
TEST_F(RecordUploadTest, ReportsOutsideAnUploadAreNotStored) {
    std::vector<uint8_t> big(300, 0x5A);
    Receive(big);                   // more than ReplyBytes holds
    for (int i = 0; i < 20; ++i) {  // far more than one record image
        Receive(DataReport({static_cast<uint8_t>(i), 0x77}));
    }
    const uint8_t one = 0x11;
    upload.UploadDataReceived(0, &one, 1);
    upload.UploadDataReceived(0, nullptr, 0);
    EXPECT_EQ(upload.ReplyBytes(), (std::array<uint8_t, MaxReplyBytes>{}));
    EXPECT_EQ(upload.RecordBuffer(), RecordImage{});
    EXPECT_EQ(upload.AccumulationPosition(), 0u);
    EXPECT_TRUE(view.Calls.empty());
    EXPECT_EQ(lines, (RecordLines{"@Import Data@", "old line"}));

    Load({RawRecord(1, HL, {450, 451})});
    Upload();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "  2,2040/04/01,    0,  450,  451,");
    EXPECT_EQ(upload.ReplyBytes()[64], 0x00);  // nothing of the big report is left

    // The same after the upload has ended.
    const auto before = upload.ReplyBytes();
    Receive(big);
    EXPECT_EQ(upload.ReplyBytes(), before);
}

// The tester holds records 1 to 3; record 2 has all 32 readings (500, 501, ...), so that a
// shifted record takes its count from readings. `disturb` runs after `repliesBefore` correct
// replies, in place of the next one when `replaces` is set.
struct ViolationCase {
    const char* name;
    int repliesBefore;
    bool replaces;
    std::vector<uint8_t> report;
    ReplyFault fault;
    int record;  // where the upload was: record and reply, 0 and 0 at the count
    int chunk;
    std::size_t received;
    std::size_t linesKept;  // record lines kept
};

std::vector<uint8_t> Bytes(std::size_t size, uint8_t fill) {
    return std::vector<uint8_t>(size, fill);
}

TEST(RecordUploadViolations, EndTheUploadAndKeepTheRecordsBefore) {
    const std::vector<ViolationCase> cases = {
        {"short count reply", 0, true, Bytes(3, 0xA8), ReplyFault::WrongLength, 0, 0, 3, 0},
        {"long count reply", 0, true, Bytes(65, 0xA8), ReplyFault::WrongLength, 0, 0, 65, 0},
        {"short chunk in record 2", 1 + 9 + 3, true, Bytes(7, 1), ReplyFault::WrongLength, 2, 4, 7,
         1},
        {"count reply without the echo", 0, true, DataReport({0x41, 0x00, 0x00}),
         ReplyFault::NotACountReply, 0, 0, 0x41, 0},
        {"garbled count reply", 0, true, DataReport({0xAB, 0xAB, 0xAC}), ReplyFault::NotACountReply,
         0, 0, 0xAB, 0},
    };
    std::vector<uint16_t> full;
    for (uint16_t k = 0; k < 32; ++k) {
        full.push_back(static_cast<uint16_t>(500 + k));
    }
    const RecordLines correct = [&] {
        FakeUploadView view;
        FakeUploadDevice device;
        RecordLines lines;
        RecordUpload upload(device, view, lines, '.');
        SimulatorRecordSet set;
        set.Records = {RawRecord(1, HL, {450, 460}), RawRecord(2, HL, full),
                       RawRecord(3, HRC, {452})};
        device.Tester.emplace(set);
        upload.Start();
        DeliverReplies(device, upload);
        return lines;
    }();
    ASSERT_EQ(correct.size(), 4u);

    for (const ViolationCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeUploadView view;
        FakeUploadDevice device;
        RecordLines lines;
        RecordUpload upload(device, view, lines, '.');
        SimulatorRecordSet set;
        set.Records = {RawRecord(1, HL, {450, 460}), RawRecord(2, HL, full),
                       RawRecord(3, HRC, {452})};
        device.Tester.emplace(set);
        upload.Start();
        for (int i = 0; i < c.repliesBefore; ++i) {
            const std::vector<uint8_t> data = device.Replies.front();
            device.Replies.pop_front();
            upload.UploadDataReceived(0, data.data(), static_cast<uint16_t>(data.size()));
        }
        if (c.replaces) {
            device.Replies.pop_front();
        }
        upload.UploadDataReceived(0, c.report.data(), static_cast<uint16_t>(c.report.size()));
        DeliverReplies(device, upload);

        EXPECT_FALSE(upload.Running());
        EXPECT_EQ(upload.Outcome(), UploadOutcome::ProtocolError);
        ASSERT_EQ(view.ProtocolErrors.size(), 1u);
        const UploadProtocolError& error = view.ProtocolErrors[0];
        EXPECT_EQ(error.Fault, c.fault);
        EXPECT_EQ(error.Record, c.record);
        EXPECT_EQ(error.Chunk, c.chunk);
        EXPECT_EQ(error.Received, c.received);
        EXPECT_EQ(error.RecordsKept, static_cast<int>(c.linesKept));
        if (c.fault == ReplyFault::WrongLength) {
            EXPECT_EQ(error.Expected, 64u);
        }
        ASSERT_TRUE(upload.ProtocolError().has_value());
        EXPECT_EQ(upload.ProtocolError()->Fault, c.fault);
        // Only whole, correct records, and nothing asked of the tester after the fault.
        EXPECT_EQ(lines, RecordLines(correct.begin(), correct.begin() + 1 + c.linesKept));
        EXPECT_TRUE(view.Notices.empty());
        EXPECT_EQ(view.ButtonRow(), c.linesKept > 0 ? "11111" : "10001");
        EXPECT_FALSE(view.ReplyTimerRunning);
        EXPECT_EQ(view.ProgressTexts.back(), "");
        const std::size_t written = device.Written.size();
        upload.UploadDataReceived(0, DataReport({0xA8, 0, 1}).data(), 64);
        EXPECT_EQ(device.Written.size(), written);
    }
}

// Faults a real tester makes that the upload reads through: a report too many, noise in the
// count's chunk, the last report sent again, and record numbers beyond what it holds.
struct ReadThroughCase {
    const char* name;
    int repliesBefore;  // replies delivered before the fault
    bool replaces;      // the fault takes the place of the next reply instead of adding one
    std::function<std::vector<uint8_t>(const std::vector<uint8_t>& previous)> report;
    std::vector<std::string> extraLines;  // lines after the three correct ones
};

std::vector<std::vector<uint8_t>> UploadWith(const ReadThroughCase* fault, bool verified,
                                             RecordLines& lines, FakeUploadView& view,
                                             const SimulatorRecordSet& set,
                                             std::optional<RecordUpload>& upload,
                                             FakeUploadDevice& device) {
    device.Tester.emplace(set);
    upload.emplace(device, view, lines, '.');
    upload->SetVerified(verified);
    upload->Start();
    std::vector<uint8_t> previous;
    if (fault != nullptr) {
        for (int i = 0; i < fault->repliesBefore; ++i) {
            previous = device.Replies.front();
            device.Replies.pop_front();
            upload->UploadDataReceived(0, previous.data(), static_cast<uint16_t>(previous.size()));
        }
        if (fault->replaces) {
            device.Replies.pop_front();
        }
        const std::vector<uint8_t> report = fault->report(previous);
        upload->UploadDataReceived(0, report.data(), static_cast<uint16_t>(report.size()));
    }
    DeliverReplies(device, *upload);
    return device.Written;
}

TEST(RecordUploadReadThrough, FaultsOfOneReadLeaveEveryRecordAsTheTesterHoldsIt) {
    std::vector<uint16_t> full;
    for (uint16_t k = 0; k < 32; ++k) {
        full.push_back(static_cast<uint16_t>(500 + k));
    }
    SimulatorRecordSet set;
    set.Records = {RawRecord(1, HL, {450, 460}), RawRecord(2, HL, full), RawRecord(3, HRC, {452})};
    const auto same = [](std::vector<uint8_t> bytes) {
        return [bytes](const std::vector<uint8_t>&) { return bytes; };
    };
    const auto again = [](const std::vector<uint8_t>& previous) { return previous; };
    const std::vector<ReadThroughCase> cases = {
        {"none", 0, false, nullptr, {}},
        // The extra report shifts every later reply by one: the ninth chunk is then the eighth,
        // readings 29-32, and the count comes from readings.
        {"extra report in record 1", 1 + 2, false, same(DataReport({0xEE})), {}},
        {"extra report after record 1", 1 + 9, false, same(DataReport({0xEE})), {}},
        {"noise as the ninth chunk", 1 + 9 + 8, true, same(std::vector<uint8_t>(64, 0x5C)), {}},
        {"chunk 3 of record 2 sent as chunk 4 again", 1 + 9 + 3, true, again, {}},
        {"chunk 9 of record 1 sent as chunk 1 of record 2 again", 1 + 9, true, again, {}},
        // Records 4 and 5 do not exist: the tester answers them with zeros, twice the same.
        {"count beyond the records held",
         0,
         true,
         same(DataReport({0xA8, 0x00, 0x05})),
         {"  0,2000/00/00,    0,", "  0,2000/00/00,    0,"}},
    };
    RecordLines correct;
    {
        FakeUploadView view;
        FakeUploadDevice device;
        std::optional<RecordUpload> upload;
        UploadWith(nullptr, false, correct, view, set, upload, device);
        ASSERT_EQ(correct.size(), 4u);
    }
    for (const bool verified : {false, true}) {
        for (const ReadThroughCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (verified ? ", verified" : ""));
            FakeUploadView view;
            FakeUploadDevice device;
            RecordLines lines;
            std::optional<RecordUpload> upload;
            UploadWith(c.report ? &c : nullptr, verified, lines, view, set, upload, device);
            EXPECT_EQ(upload->Outcome(), UploadOutcome::Complete);
            EXPECT_TRUE(view.ProtocolErrors.empty());
            RecordLines expected = correct;
            expected.insert(expected.end(), c.extraLines.begin(), c.extraLines.end());
            EXPECT_EQ(lines, expected);
            EXPECT_EQ(upload->Damaged().size(), c.extraLines.size());
            EXPECT_FALSE(view.ReplyTimerRunning);
        }
    }
}

// A verified upload reads every record twice; a difference takes a third read, and three
// reads that do not agree end the upload naming the record.
TEST(RecordUploadReadThrough, VerifiedUploadReadsTwiceAndSettlesADifference) {
    SimulatorRecordSet set;
    set.Records = {RawRecord(1, HL, {450, 460}), RawRecord(2, HL, {470})};
    struct Case {
        const char* name;
        std::vector<int> garbled;  // replies (counted from 1, the count reply) replaced by noise
        UploadOutcome outcome;
        std::size_t written;
    };
    // A record's read is nine replies; record 1's reads are replies 2-10 and 11-19.
    const Case cases[] = {
        {"clean", {}, UploadOutcome::Complete, 1 + 4 * 9},
        {"first read of record 1 garbled", {3}, UploadOutcome::Complete, 1 + 5 * 9},
        {"second read of record 2 garbled", {1 + 18 + 9 + 5}, UploadOutcome::Complete, 1 + 5 * 9},
        {"every read of record 1 garbled", {3, 12, 21}, UploadOutcome::ProtocolError, 1 + 3 * 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeUploadView view;
        FakeUploadDevice device;
        RecordLines lines;
        RecordUpload upload(device, view, lines, '.');
        upload.SetVerified(true);
        device.Tester.emplace(set);
        upload.Start();
        int reply = 0;
        uint8_t noise = 0x31;
        for (;;) {
            if (device.Replies.empty()) {
                if (!upload.Draining())
                    break;
                upload.ReplyTimedOut();
                continue;
            }
            std::vector<uint8_t> data = device.Replies.front();
            device.Replies.pop_front();
            if (std::count(c.garbled.begin(), c.garbled.end(), ++reply) > 0) {
                data.assign(64, noise);
                noise = static_cast<uint8_t>(noise + 0x22);
            }
            upload.UploadDataReceived(0, data.data(), static_cast<uint16_t>(data.size()));
        }
        EXPECT_EQ(upload.Outcome(), c.outcome);
        EXPECT_EQ(device.Written.size(), c.written);
        if (c.outcome == UploadOutcome::Complete) {
            EXPECT_EQ(lines, (RecordLines{"@Import Data@", "  2,2040/04/01,    0,  450,  460,",
                                          "  1,2040/04/01,    0,  470,"}));
            continue;
        }
        ASSERT_EQ(view.ProtocolErrors.size(), 1u);
        EXPECT_EQ(view.ProtocolErrors[0].Fault, ReplyFault::ReadsDisagree);
        EXPECT_EQ(view.ProtocolErrors[0].Record, 1);
        EXPECT_EQ(lines, RecordLines{"@Import Data@"});
    }
}

// Giving the tester's device back lets its reply through while the next command cannot be
// written; a second report in that moment answers nothing.
TEST_F(RecordUploadTest, ReportWhileTheNextCommandWaitsForTheWatcher) {
    Load({RawRecord(1, HL, {450})});
    upload.Start();
    device.Connected = false;
    Deliver(1);
    ASSERT_EQ(device.Written.size(), 1u);
    Receive(DataReport({0x12, 0x34}));
    EXPECT_FALSE(upload.Running());
    ASSERT_EQ(view.ProtocolErrors.size(), 1u);
    EXPECT_EQ(view.ProtocolErrors[0].Fault, ReplyFault::UnexpectedReport);
    EXPECT_EQ(view.ProtocolErrors[0].Record, 1);
    device.Connected = true;
    upload.ConnectionChanged();
    EXPECT_EQ(device.Written.size(), 1u);
}

// Between taking a record's last reply and writing the next command the upload hands the
// record to the view, which may dispatch events there (whoever keeps the record may wait in a
// local event loop), and so hand over a report. No command is out then, so the report answers
// nothing: taken as a reply it would complete the record a second time and move the upload on
// twice, with two commands out at once.
TEST_F(RecordUploadTest, ReportWhileNoCommandIsOutAnswersNothing) {
    Load({RawRecord(1, HL, {450}), RawRecord(2, HL, {451}), RawRecord(3, HL, {452})});
    view.WhileRecordAppended = [&] { Receive(DataReport({0x12, 0x34})); };
    Upload();
    EXPECT_FALSE(upload.Running());
    ASSERT_EQ(view.ProtocolErrors.size(), 1u);
    EXPECT_EQ(view.ProtocolErrors[0].Fault, ReplyFault::UnexpectedReport);
    EXPECT_EQ(view.ProtocolErrors[0].Record, 1);
    EXPECT_EQ(device.Written.size(), 1u + 9) << "nothing asked after the stray report";
    EXPECT_EQ(lines, (RecordLines{"@Import Data@", "  1,2040/04/01,    0,  450,"}));
    EXPECT_EQ(view.Appended.size(), 1u);
}

// The length a reply must have comes from the tester's input report; a report too short to
// carry a chunk never makes a reply.
TEST(RecordUploadReplyLength, FollowsTheInputReportLength) {
    struct Case {
        std::size_t inputLength;  // report ID included; 0 unknown
        std::size_t replySize;    // data bytes
        bool accepted;
    };
    const Case cases[] = {
        {65, 64, true}, {65, 63, false}, {9, 8, true},  {9, 64, false},
        {0, 8, true},   {0, 64, true},   {0, 7, false}, {5, 4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.inputLength) + "/" + std::to_string(c.replySize));
        FakeUploadView view;
        FakeUploadDevice device;
        device.InputLength = c.inputLength;
        RecordLines lines;
        RecordUpload upload(device, view, lines, '.');
        upload.Start();
        std::vector<uint8_t> reply(c.replySize, 0);
        reply[0] = 0xA8;
        upload.UploadDataReceived(0, reply.data(), static_cast<uint16_t>(reply.size()));
        EXPECT_EQ(upload.Outcome(),
                  c.accepted ? UploadOutcome::NoData : UploadOutcome::ProtocolError);
    }
}

// The tester's transfer key pressed during an upload: the frame arms the automatic start and
// the upload goes on with the real reply.
TEST_F(RecordUploadTest, AutoFrameDuringAnUploadIsNoReply) {
    for (const int before : {0, 1 + 4}) {
        SCOPED_TRACE(before);
        FakeUploadView view;
        FakeUploadDevice device;
        RecordLines lines;
        RecordUpload upload(device, view, lines, '.');
        SimulatorRecordSet set;
        set.Records = {RawRecord(1, HL, {450}), RawRecord(2, HL, {451})};
        device.Tester.emplace(set);
        upload.Start();
        for (int i = 0; i < before; ++i) {
            const std::vector<uint8_t> data = device.Replies.front();
            device.Replies.pop_front();
            upload.UploadDataReceived(0, data.data(), static_cast<uint16_t>(data.size()));
        }
        const std::vector<uint8_t> autoFrame = DataReport({0x41, 0x55, 0x54, 0x4F});
        upload.UploadDataReceived(0, autoFrame.data(), 64);
        EXPECT_TRUE(view.Armed);
        DeliverReplies(device, upload);
        EXPECT_EQ(upload.Outcome(), UploadOutcome::Complete);
        EXPECT_EQ(lines, (RecordLines{"@Import Data@", "  1,2040/04/01,    0,  450,",
                                      "  1,2040/04/01,    0,  451,"}));
    }
}

// The shared scenarios, fed to the state machine directly: every reply as the tester gave it,
// the reply timer elapsing when nothing more comes, the watcher running when the tester
// pulled itself out.
class RecordUploadScenarioTest : public ::testing::TestWithParam<UploadScenario> {};

TEST_P(RecordUploadScenarioTest, EndsAsTheScenarioSays) {
    const UploadScenario& scenario = GetParam();
    TesterSimulator tester(scenario.Tester);
    ApplyFaults(scenario, tester);
    FakeUploadView view;
    FakeUploadDevice device;
    device.Simulator = &tester;
    RecordLines lines;
    RecordUpload upload(device, view, lines, '.');
    upload.SetVerified(scenario.Verified);
    upload.Start();
    while (upload.Running()) {
        DeliverReplies(device, upload);
        if (!upload.Running()) {
            break;
        }
        if (device.TesterGone) {
            upload.ConnectionChanged();
        } else if (view.ReplyTimerRunning) {
            upload.ReplyTimedOut();
        } else {
            FAIL() << "the upload waits for nothing";
        }
    }
    ScenarioRun run;
    run.Outcome = upload.Outcome();
    run.Lines = lines;
    run.Damaged = upload.Damaged();
    run.Fault = upload.ProtocolError() ? std::optional(upload.ProtocolError()->Fault)
                                       : std::nullopt;
    run.Commands = tester.CommandsReceived();
    run.Named = upload.RecordsNamed();
    run.Notices = view.Notices;
    ExpectScenario(scenario, run);
    EXPECT_EQ(view.ProtocolErrors.size(), scenario.Fault ? 1u : 0u);
    EXPECT_FALSE(view.ReplyTimerRunning);
    EXPECT_EQ(view.Finished, 1);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, RecordUploadScenarioTest, ::testing::ValuesIn(UploadScenarios()),
                         [](const auto& info) { return ScenarioTestName(info.param); });

}  // namespace
}  // namespace leeb::test
