// The upload's state machine driven directly: replies are delivered by the test, one by one,
// as the GUI thread's hand-off delivers them.

#include <gtest/gtest.h>

#include "CommandFrames.h"

#include "FakeUpload.h"
#include "RecordUpload.h"

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
        {"not an echo, count 0", DataReport({0x41, 0x00, 0x00}), 0, "10000"},
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
        ASSERT_EQ(view.Messages.size(), c.messages);
        if (c.messages == 1) {
            EXPECT_EQ(view.Messages[0].Text, "里氏硬度计中没有数据");
            EXPECT_EQ(view.Messages[0].Caption, "无存储记录");
            EXPECT_EQ(view.Messages[0].Flags, unsigned{MB_OK | MB_ICONINFORMATION});
        }
        EXPECT_EQ(view.ButtonRow(), std::string(c.buttons));
        EXPECT_EQ(lines, RecordLines{"@Import Data@"});
        EXPECT_FALSE(upload.Running());
    }
}

// Whatever arrives first is the count, echo or not.
TEST_F(RecordUploadTest, CountIsTakenFromAnyFirstReply) {
    Load({RawRecord(1, HL, {450}), RawRecord(2, HL, {451})});
    upload.Start();
    device.Replies.clear();
    Receive(DataReport({0x00, 0x00, 0x02}));
    DeliverReplies(device, upload);
    EXPECT_EQ(lines.size(), 3u);
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

TEST_F(RecordUploadTest, ImpactCountsBeyondTheRecordAreLimited) {
    std::vector<uint16_t> readings(32, 500);
    Load({RawRecord(1, HL, readings, 40), RawRecord(2, HL, {}, 0)});
    Upload();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].size(), 21u + 6 * 32);
    EXPECT_EQ(lines[1].substr(0, 4), " 32,");
    EXPECT_EQ(lines[2], "  0,2040/04/01,    0,");
    ASSERT_EQ(view.Details.size(), 1u);
    EXPECT_EQ(view.Details[0].ImpactCount, 32);
    EXPECT_EQ(view.Bars.size(), 32u);
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
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Text, "Write to USB Derive Error");
    EXPECT_EQ(view.Messages[0].Caption, "USB Error");
    EXPECT_EQ(view.Messages[0].Flags, unsigned{MB_OK});
    EXPECT_TRUE(upload.Running());
    EXPECT_TRUE(view.ReplyTimerRunning);
    upload.ReplyTimedOut();
    ASSERT_EQ(view.Messages.size(), 2u);
    EXPECT_EQ(view.Messages[1].Text, "里氏硬度计无应答");
    EXPECT_FALSE(upload.Running());
}

TEST_F(RecordUploadTest, ReportTooShortForACommandIsNotWritten) {
    device.Length = 4;
    upload.Start();
    EXPECT_TRUE(device.Written.empty());
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Text, "Write to USB Derive Error");
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
        ASSERT_EQ(view.Messages.size(), c.messages);
        if (c.messages == 1) {
            EXPECT_EQ(view.Messages[0].Text, "里氏硬度计无应答");
            EXPECT_EQ(view.Messages[0].Caption, "USB Error");
            EXPECT_EQ(view.Messages[0].Flags, unsigned{MB_OK});
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
        EXPECT_TRUE(view.Messages.empty());
        device.Connected = testerStays;
        upload.ConnectionChanged();
        DeliverReplies(device, upload);
        EXPECT_FALSE(upload.Running());
        EXPECT_EQ(device.Written.size(), testerStays ? 10u : 1u);
        EXPECT_EQ(lines.size(), testerStays ? 2u : 1u);
        EXPECT_TRUE(view.Messages.empty());
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
        EXPECT_EQ(view.Calls[0].rfind("MessageBox", 0), 0u);
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

TEST_F(RecordUploadTest, OversizedShortAndUnsolicitedReportsStayInBounds) {
    std::vector<uint8_t> big(300, 0x5A);
    Receive(big);  // more than ReplyBytes holds
    EXPECT_EQ(upload.ReplyBytes()[64], 0x5A);
    for (int i = 0; i < 20; ++i) {  // far more than one record image
        Receive(DataReport({static_cast<uint8_t>(i)}));
        EXPECT_LE(upload.AccumulationPosition(), upload.RecordBuffer().size());
    }
    const uint8_t one = 0x11;
    upload.UploadDataReceived(0, &one, 1);  // short: older bytes stay
    EXPECT_EQ(upload.ReplyBytes()[0], 0x11);
    EXPECT_EQ(upload.ReplyBytes()[1], 0x00);
    EXPECT_EQ(upload.ReplyBytes()[64], 0x5A);
    upload.UploadDataReceived(0, nullptr, 0);

    // An upload after all that still starts its record at the beginning of the image.
    Load({RawRecord(1, HL, {450, 451})});
    Upload();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "  2,2040/04/01,    0,  450,  451,");
}

// An extra report during an upload is taken as the next reply; the upload still ends with the
// number of records it was told and nothing is written out of turn.
TEST_F(RecordUploadTest, UnsolicitedReportDuringAnUpload) {
    Load({RawRecord(1, HL, {450}), RawRecord(2, HL, {451})});
    upload.Start();
    Deliver(3);
    Receive(DataReport({0xEE}));
    DeliverReplies(device, upload);
    EXPECT_FALSE(upload.Running());
    EXPECT_EQ(lines.size(), 3u);
    EXPECT_EQ(device.Written.size(), 19u);
}

}  // namespace
}  // namespace leeb::test
