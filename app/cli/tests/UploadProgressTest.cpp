// The upload's progress line: its text, and that it is drawn in place on a terminal only.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "UploadProgress.h"

namespace leeb::cli {
namespace {

using namespace std::chrono_literals;

TEST(UploadProgressTest, TextTellsRecordRateAndTimeLeft) {
    struct Case {
        int Record;
        int Last;
        std::chrono::duration<double> Elapsed;
        const char* Text;
    };
    const Case cases[] = {
        // Nothing complete yet: no rate to tell.
        {1, 14, 0s, "记录 (record) 1/14"},
        {1, 14, 2s, "记录 (record) 1/14"},
        {5, 14, 2s, "记录 (record) 5/14  2.0 条/秒 (records/s)  剩余 (left) 0:05"},
        // The last record is being read: it is still to come.
        {14, 14, 6.5s, "记录 (record) 14/14  2.0 条/秒 (records/s)  剩余 (left) 0:01"},
        // A full tester at a slow rate: minutes and seconds.
        {2, 2048, 4s, "记录 (record) 2/2048  0.2 条/秒 (records/s)  剩余 (left) 136:28"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(ProgressText(c.Record, c.Last, c.Elapsed), c.Text);
    }
}

TEST(UploadProgressTest, OnlyTheUploadsCounterIsTaken) {
    EXPECT_EQ(ParseRecordCounter("3/14"), std::make_pair(3, 14));
    for (const char* text : {"", "3", "3/", "/14", "0/14", "15/14", "3/14x", "a/b"}) {
        EXPECT_EQ(ParseRecordCounter(text), std::nullopt) << text;
    }
}

std::string Written(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        text += static_cast<char>(c);
    }
    return text;
}

TEST(UploadProgressTest, OneLineRedrawnOnATerminalNothingElsewhere) {
    for (const bool terminal : {true, false}) {
        SCOPED_TRACE(terminal);
        std::FILE* out = std::tmpfile();
        ASSERT_NE(out, nullptr);
        {
            UploadProgress progress(out, terminal);
            const auto start = UploadProgress::Clock::now();
            progress.Show("1/100", start);
            progress.Show("51/100", start + 10s);
            progress.Show("100/100", start + 20s);
        }
        const std::string text = Written(out);
        std::fclose(out);
        if (!terminal) {
            EXPECT_EQ(text, "");
            continue;
        }
        const std::string first = "记录 (record) 1/100";
        const std::string second = "记录 (record) 51/100  5.0 条/秒 (records/s)  剩余 (left) 0:10";
        const std::string third = "记录 (record) 100/100  5.0 条/秒 (records/s)  剩余 (left) 0:00";
        // Each drawing starts at the line's beginning; a shorter one blanks what is left of
        // the longer one before it; the line is ended once, at the end.
        EXPECT_EQ(text, "\r" + first + "\r" + second + "\r" + third + "\n");
    }
}

}  // namespace
}  // namespace leeb::cli
