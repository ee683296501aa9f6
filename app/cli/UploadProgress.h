#pragma once
// The upload's progress on a terminal: one line, redrawn in place, with the record being read
// of all, the rate so far and the time left. Into a file or a pipe nothing is written: a log
// gets the summary alone.

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

namespace leeb::cli {

// "记录 (record) 5/14  2.5 条/秒 (records/s)  剩余 (left) 0:04". `elapsed` is the time since
// the first record was asked for; before a record is complete there is no rate to tell.
std::string ProgressText(int record, int last, std::chrono::duration<double> elapsed);

// "r/Last" as the upload reports it; nothing for any other text.
std::optional<std::pair<int, int>> ParseRecordCounter(const std::string& text);

class UploadProgress {
  public:
    using Clock = std::chrono::steady_clock;

    // terminal: whether `out` is a terminal (the line is drawn only then).
    UploadProgress(std::FILE* out, bool terminal) : out_(out), terminal_(terminal) {}
    ~UploadProgress();
    UploadProgress(const UploadProgress&) = delete;
    UploadProgress& operator=(const UploadProgress&) = delete;

    // text: the upload's "r/Last".
    void Show(const std::string& text, Clock::time_point now = Clock::now());

  private:
    std::FILE* out_;
    bool terminal_;
    std::optional<Clock::time_point> started_;
    std::size_t shownWidth_ = 0;
};

}  // namespace leeb::cli
